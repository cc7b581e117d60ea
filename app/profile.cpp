#include "profile.h"

#include <cstring>
#include <vector>

namespace profile {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string text) {
    for (char& c : text)
        c = Lower(c);
    return text;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// One line of the file as the reader sees it.
struct Line {
    size_t begin, end; // the raw line in the content, without its line break
    enum Kind { kBlank, kSection, kKey } kind;
    std::string name, value;
};

Line Parse(const std::string& content, size_t begin, size_t end) {
    Line line{begin, end, Line::kBlank, {}, {}};
    std::string text = content.substr(begin, end - begin);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    text = Trimmed(text);
    if (text.empty()) return line;
    if (text[0] == '[') {
        const size_t close = text.rfind(']');
        line.kind = Line::kSection;
        line.name = Trimmed(text.substr(
            1, close == std::string::npos || close == 0 ? std::string::npos : close - 1));
        return line;
    }
    line.kind = Line::kKey;
    const size_t equals = text.find('=');
    line.name = Trimmed(text.substr(0, equals));
    if (equals != std::string::npos) line.value = Trimmed(text.substr(equals + 1));
    return line;
}

std::vector<Line> Lines(const std::string& content) {
    std::vector<Line> lines;
    for (size_t begin = 0; begin < content.size();) {
        size_t end = content.find('\n', begin);
        if (end == std::string::npos) end = content.size();
        lines.push_back(Parse(content, begin, end));
        begin = end + 1;
    }
    return lines;
}

std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

using KeysOf = std::unordered_map<std::string, std::string>;

// Index of the first section line with that name, or lines.size().
size_t FindSection(const std::vector<Line>& lines, const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == Line::kSection && SameName(lines[i].name, section)) return i;
    return lines.size();
}

// The content with its last line ended; a lone CR at the end becomes CR LF rather than a
// second CR that the reader would keep in that line's value.
std::string Ended(const std::string& content) {
    if (content.empty() || content.back() == '\n') return content;
    return content + (content.back() == '\r' ? "\n" : "\r\n");
}

} // namespace

bool Find(const std::string& content, const char* section, const char* key, std::string& value) {
    if (section == nullptr || key == nullptr) return false;
    const std::string wantedKey = Trimmed(key);
    if (Trimmed(section).empty() || wantedKey.empty()) return false;
    const std::vector<Line> lines = Lines(content);
    for (size_t i = FindSection(lines, Trimmed(section)) + 1; i < lines.size(); ++i) {
        if (lines[i].kind == Line::kSection) break;
        if (lines[i].kind == Line::kKey && SameName(lines[i].name, wantedKey)) {
            value = Unquoted(lines[i].value);
            return true;
        }
    }
    return false;
}

std::string Set(const std::string& content, const char* section, const char* key,
                const char* value) {
    const std::vector<Line> lines = Lines(content);
    const std::string name = Trimmed(section);
    const std::string keyName = Trimmed(key);
    std::string text = value;
    text.erase(0, text.find_first_not_of(" \t") == std::string::npos
                      ? text.size()
                      : text.find_first_not_of(" \t"));
    const std::string entry = keyName + "=" + text;
    const size_t at = FindSection(lines, name);
    if (at == lines.size()) {
        return Ended(content) + "[" + name + "]\r\n" + entry + "\r\n";
    }
    size_t lastKey = at;
    for (size_t i = at + 1; i < lines.size() && lines[i].kind != Line::kSection; ++i) {
        if (lines[i].kind != Line::kKey) continue;
        if (SameName(lines[i].name, keyName)) {
            std::string replaced = content.substr(0, lines[i].begin) + entry;
            const bool hadReturn =
                lines[i].end > lines[i].begin && content[lines[i].end - 1] == '\r';
            return replaced + (hadReturn ? "\r" : "") + content.substr(lines[i].end);
        }
        lastKey = i;
    }
    const Line& after = lines[lastKey];
    if (after.end >= content.size()) return Ended(content) + entry + "\r\n";
    return content.substr(0, after.end + 1) + entry + "\r\n" + content.substr(after.end + 1);
}

bool CIndex::Find(const std::string& content, const char* section, const char* key,
                  std::string& value) {
    if (section == nullptr || key == nullptr) return false;
    const std::string wantedSection = Trimmed(section), wantedKey = Trimmed(key);
    if (wantedSection.empty() || wantedKey.empty()) return false;
    if (!m_built || content != m_content) Build(content);
    const auto keys = m_sections.find(Lowered(wantedSection));
    if (keys == m_sections.end()) return false;
    const auto found = keys->second.find(Lowered(wantedKey));
    if (found == keys->second.end()) return false;
    value = found->second;
    return true;
}

void CIndex::Build(const std::string& content) {
    m_sections.clear();
    m_content = content;
    m_built = true;
    std::unordered_map<std::string, std::string>* keys = nullptr;
    for (const Line& line : Lines(content)) {
        if (line.kind == Line::kSection) {
            // A later section of the same name is never read.
            const auto placed = m_sections.emplace(Lowered(line.name), KeysOf());
            keys = placed.second ? &placed.first->second : nullptr;
        } else if (line.kind == Line::kKey && keys != nullptr && !line.name.empty()) {
            keys->emplace(Lowered(line.name), Unquoted(line.value));
        }
    }
}

} // namespace profile
