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
