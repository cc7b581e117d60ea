// Export/import marker for the library's public classes and functions.
#pragma once

#if defined(_WIN32)
#if defined(OSKEL_BUILD)
#define OSKEL_API __declspec(dllexport)
#else
#define OSKEL_API __declspec(dllimport)
#endif
#else
#define OSKEL_API
#endif

// printf-style functions: the compiler checks their arguments, and a format that is not a
// literal (text from a file, the port or the command line) is flagged.
#if defined(__MINGW32__)
#define OSKEL_PRINTF(text, first) __attribute__((format(gnu_printf, text, first)))
#else
#define OSKEL_PRINTF(text, first) __attribute__((format(printf, text, first)))
#endif
