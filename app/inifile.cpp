#include "inifile.h"

#include "platform.h"
#include "profile.h"

#include <cstring>

namespace {

// Names and values that would break the file's line structure are refused, not written.
bool FitsOneLine(const char* text) {
    return std::strpbrk(text, "\r\n") == nullptr;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A section or key of blanks only could never be read back.
bool HasName(const char* text) {
    return text[std::strspn(text, " \t")] != 0;
}

// A key line that starts with "[" reads as a section and would cut its section short.
bool IsKeyName(const char* key) {
    return HasName(key) && key[std::strspn(key, " \t")] != '[' && std::strchr(key, '=') == nullptr;
}

// Readers drop the blanks around a value and one pair of matching quotes (the Windows
// profile functions as well as ours), so a chat line such as " a " or "'b'" would come back
// changed; such a value is stored inside double quotes and reads back as it was.
std::string AsStored(const char* text) {
    const size_t length = std::strlen(text);
    const bool blankEnds = length > 0 && (IsBlank(text[0]) || IsBlank(text[length - 1]));
    const bool quoted =
        length >= 2 && (text[0] == '"' || text[0] == '\'') && text[length - 1] == text[0];
    if (!blankEnds && !quoted) return text;
    return '"' + std::string(text) + '"';
}

} // namespace

CMyIniFile::CMyIniFile() {
    m_value.InitBuffer(kValueRoom / 2);
}

CMyIniFile::~CMyIniFile() = default;

bool CMyIniFile::JoinPath(const char* folder, const char* name) {
    if (folder == nullptr || name == nullptr) return false;
    const size_t length = std::strlen(folder);
    const bool ends =
        length > 0 && (folder[length - 1] == oskel::kPathSeparator || folder[length - 1] == '/');
    const char separator[2] = {oskel::kPathSeparator, 0};
    return m_path.InitBuffer(folder) && (ends || m_path.Append(separator)) && m_path.Append(name);
}

bool CMyIniFile::AttachInFolder(const char* folder, const char* name) {
    if (!JoinPath(folder, name)) {
        m_path.FreeBuffer();
        return false;
    }
    return AttachPath();
}

bool CMyIniFile::Attach(const char* fileName) {
    m_path.FreeBuffer();
    if (fileName == nullptr || !m_path.InitBuffer(fileName)) return false;
    return AttachPath();
}

bool CMyIniFile::AttachPath() {
    const char* path = m_path.GetString();
    const bool ok = !m_path.IsEmpty() && inifile_platform::OpenOrCreate(path, false) &&
                    (inifile_platform::MakePlain(path), true) &&
                    inifile_platform::OpenOrCreate(path, true);
    if (!ok) m_path.FreeBuffer();
    return ok;
}

bool CMyIniFile::Exists(const char* folder, const char* name) {
    const bool exists =
        JoinPath(folder, name) && inifile_platform::CanOpenForReading(m_path.GetString());
    m_path.FreeBuffer();
    return exists;
}

bool CMyIniFile::Read(const char* section, const char* key) {
    m_lastReadOk = 0;
    if (section == nullptr || key == nullptr || !IsAttached() || m_value.GetString() == nullptr)
        return false;
    const int room = m_value.GetCapacity() < kValueRoom ? m_value.GetCapacity() : kValueRoom;
    if (inifile_platform::ReadValue(m_path.GetString(), section, key, m_value.GetString(), room,
                                    m_index) == 0)
        return false;
    m_lastReadOk = 1;
    return true;
}

bool CMyIniFile::Write(const char* section, const char* key, const char* text) {
    if (section == nullptr || key == nullptr || text == nullptr || !IsAttached()) return false;
    if (!HasName(section) || !IsKeyName(key) || !FitsOneLine(section) || !FitsOneLine(key) ||
        !FitsOneLine(text) || std::strchr(section, ']') != nullptr)
        return false;
    return inifile_platform::WriteValue(m_path.GetString(), section, key, AsStored(text).c_str());
}

bool CMyIniFile::Truncate() {
    return IsAttached() && inifile_platform::Recreate(m_path.GetString());
}

namespace inifile_platform {

int ReadByteValue(const char* path, const char* section, const char* key, char* out, int size,
                  profile::CIndex& index) {
    if (size <= 0) return 0;
    out[0] = 0;
    std::string& content = index.Scratch();
    std::string value;
    if (!ReadBytes(path, content) || !index.Find(content, section, key, value)) return 0;
    const size_t copied =
        value.size() < static_cast<size_t>(size - 1) ? value.size() : static_cast<size_t>(size - 1);
    std::memcpy(out, value.data(), copied);
    out[copied] = 0;
    return static_cast<int>(copied);
}

bool WriteByteValue(const char* path, const char* section, const char* key, const char* value) {
    std::string content;
    if (!ReadBytes(path, content)) content.clear(); // a missing file is created
    return ReplaceBytes(path, profile::Set(content, section, key, value));
}

} // namespace inifile_platform
