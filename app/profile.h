// Private-profile (INI) text handled the way the Windows profile functions read and write
// it: sections and keys match without regard to case, blanks around names and values do not
// count, a value in matching quotes loses them, the first matching section and key win.
#pragma once

#include <string>

namespace profile {

// The value of key in section; false when the section or key is absent.
bool Find(const std::string& content, const char* section, const char* key, std::string& value);

// The content with key set to value: replaced where the key stands, else added at the end of
// the section's keys, else added with a new section at the end. Other lines stay as they are.
std::string Set(const std::string& content, const char* section, const char* key,
                const char* value);

} // namespace profile
