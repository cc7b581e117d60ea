// Private-profile (INI) text handled the way the Windows profile functions read and write
// it: sections and keys match without regard to case, blanks around names and values do not
// count, a value in matching quotes loses them, the first matching section and key win.
#pragma once

#include <string>
#include <unordered_map>

namespace profile {

// The value of key in section; false when the section or key is absent.
bool Find(const std::string& content, const char* section, const char* key, std::string& value);

// The content with key set to value: replaced where the key stands, else added at the end of
// the section's keys, else added with a new section at the end. Other lines stay as they are.
std::string Set(const std::string& content, const char* section, const char* key,
                const char* value);

// The keys of one content, read once and looked up by name while the content stays the same:
// a list of 10,000 versions read key by key would otherwise parse the file 10,000 times.
// Answers exactly as Find does.
class CIndex {
public:
    bool Find(const std::string& content, const char* section, const char* key, std::string& value);
    // Room to read the content into, kept between reads so a large file costs no new memory.
    std::string& Scratch() {
        m_scratch.clear();
        return m_scratch;
    }

private:
    void Build(const std::string& content);

    bool m_built = false;
    std::string m_content;
    std::string m_scratch;
    // Lower-cased section name -> lower-cased key -> value; first section, first key win.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_sections;
};

} // namespace profile
