// Settings files of arbitrary content: a value the settings file accepts reads back the same
// (cut to the room a value has), writing one key leaves every other key as it was, and the
// settings file's index of keys answers as the plain reader does.
#include "fuzzcheck.h"
#include "inifile.h"
#include "profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// What follows the first n bytes of the input, taken as a text without NUL.
std::string Take(const uint8_t*& data, size_t& size, size_t n) {
    if (n > size) n = size;
    std::string text(reinterpret_cast<const char*>(data), n);
    data += n;
    size -= n;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Names reach the settings file as C texts: a NUL ends them.
bool SameName(std::string a, std::string b) {
    a = Trimmed(a.c_str());
    b = Trimmed(b.c_str());
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Section and key names that stand in the content, as the places a value may be read from.
void Names(const std::string& content, std::vector<std::string>& sections,
           std::vector<std::string>& keys) {
    for (size_t begin = 0; begin < content.size() && keys.size() < 12;) {
        size_t end = content.find('\n', begin);
        if (end == std::string::npos) end = content.size();
        std::string line = Trimmed(content.substr(begin, end - begin));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[' && sections.size() < 6)
            sections.push_back(line.substr(
                1, line.find(']') == std::string::npos ? std::string::npos : line.find(']') - 1));
        else if (line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
        begin = end + 1;
    }
}

std::string Path() {
    static const std::string path = "/dev/shm/tarlin-profile-fuzz-" + std::to_string(getpid());
    return path;
}

bool WriteFile(const std::string& path, const std::string& content) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const size_t sectionLength = data[0] % 16, keyLength = data[1] % 16;
    const size_t valueLength = (static_cast<size_t>(data[2]) << 4 | data[3] >> 4) % 3000;
    data += 4;
    size -= 4;
    const std::string section = Take(data, size, sectionLength);
    const std::string key = Take(data, size, keyLength);
    const std::string value = Take(data, size, valueLength);
    const std::string content(reinterpret_cast<const char*>(data), size);

    // The index answers as the plain reader does, for every name the content holds.
    static profile::CIndex index;
    std::vector<std::string> names, keyNames;
    Names(content, names, keyNames);
    names.push_back(section);
    keyNames.push_back(key);
    for (const std::string& s : names)
        for (const std::string& k : keyNames) {
            std::string plain, indexed;
            const bool inPlain = profile::Find(content, s.c_str(), k.c_str(), plain);
            Check(index.Find(content, s.c_str(), k.c_str(), indexed) == inPlain && plain == indexed,
                  "the index answers as the reader");
        }
    if (!WriteFile(Path(), content)) return 0;
    CMyIniFile file;
    if (!file.Attach(Path().c_str())) return 0;

    std::vector<std::string> sections, keys;
    Names(content, sections, keys);
    sections.push_back(section);
    keys.push_back(key);
    std::vector<std::string> before;
    for (const std::string& s : sections)
        for (const std::string& k : keys)
            before.push_back(file.Read(s.c_str(), k.c_str()) ? file.GetValue() : "<absent>");

    if (!file.Write(section.c_str(), key.c_str(), value.c_str())) {
        Check(Trimmed(section).empty() || Trimmed(key).empty() ||
                  value.find_first_of("\r\n") != std::string::npos ||
                  section.find_first_of("\r\n]") != std::string::npos ||
                  key.find_first_of("\r\n=") != std::string::npos || Trimmed(key)[0] == '[',
              "a plain value refused");
        return 0;
    }
    // An empty value reads as absent.
    Check(file.Read(section.c_str(), key.c_str()) == !value.empty(), "written key found");
    const std::string room = value.substr(0, CMyIniFile::kValueRoom - 1);
    Check(value.empty() || file.GetValue() == room, "written value reads back the same");

    size_t at = 0;
    for (const std::string& s : sections)
        for (const std::string& k : keys) {
            const std::string now = file.Read(s.c_str(), k.c_str()) ? file.GetValue() : "<absent>";
            if (!(SameName(s, section) && SameName(k, key)))
                Check(now == before[at], "other keys keep their values");
            ++at;
        }
    return 0;
}
