// One private-profile settings file. A detached object reads every value as absent and
// ignores writes, so a folder that cannot be written loses settings without any message.
#pragma once

#include "dynstring.h"
#include "profile.h"

#include <string>

class CMyIniFile {
public:
    static constexpr int kValueRoom = 2048; // values are cut to 2047 characters

    CMyIniFile();
    virtual ~CMyIniFile();
    CMyIniFile(const CMyIniFile&) = delete;
    CMyIniFile& operator=(const CMyIniFile&) = delete;

    bool AttachInFolder(const char* folder, const char* name);
    bool Attach(const char* fileName);
    bool Exists(const char* folder, const char* name);
    bool Read(const char* section, const char* key);
    const char* GetValue() const { return m_lastReadOk ? m_value.GetString() : nullptr; }
    bool Write(const char* section, const char* key, const char* text);
    bool Truncate();

    const char* GetPath() const { return m_path.GetString(); }
    bool IsAttached() const { return !m_path.IsEmpty(); }

private:
    bool AttachPath();
    bool JoinPath(const char* folder, const char* name);

    CDynString m_path;
    CDynString m_value;
    profile::CIndex m_index;
    int m_lastReadOk = 0;
};

// What the settings file needs from the platform; paths and texts are cp1250.
namespace inifile_platform {
// Opens the file, creating it empty when missing; with readWrite it must be writable too.
bool OpenOrCreate(const char* path, bool readWrite);
// Clears read-only and hidden.
bool MakePlain(const char* path);
bool CanOpenForReading(const char* path);
// Characters copied into out (at most size - 1, terminated); 0 when absent or empty. A file of
// plain bytes is looked up through index, which keeps its keys while the file is unchanged.
int ReadValue(const char* path, const char* section, const char* key, char* out, int size,
              profile::CIndex& index);
bool WriteValue(const char* path, const char* section, const char* key, const char* value);
bool Recreate(const char* path);
// The whole file; false when it cannot be read.
bool ReadBytes(const char* path, std::string& content);
// Written beside the file and renamed over it, so a failed write never leaves half a file.
bool ReplaceBytes(const char* path, const std::string& content);

// ReadValue and WriteValue for a file of plain cp1250 bytes, by our own profile reader and
// writer over ReadBytes and ReplaceBytes: every byte of the file stays as it was.
int ReadByteValue(const char* path, const char* section, const char* key, char* out, int size,
                  profile::CIndex& index);
bool WriteByteValue(const char* path, const char* section, const char* key, const char* value);
} // namespace inifile_platform
