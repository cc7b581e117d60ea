// The [VER] list of version.ini as identification reads it: the application supplies it
// from its settings file, identification takes it in once per run.
#pragma once

#include <string>
#include <vector>

class IVersionList {
public:
    virtual ~IVersionList() = default;
    // The value of key "1", "2", ... as written in the file; null or empty when the key is
    // missing or empty, which ends the list. Valid until the next call.
    virtual const char* ReadVersion(int key) = 0;
};

// Every version up to the first gap, as written and lower-cased, read once.
class CVersionTable {
public:
    CVersionTable() = default;
    explicit CVersionTable(IVersionList& list) { Load(list); }
    void Load(IVersionList& list);

    int GetCount() const { return static_cast<int>(m_written.size()); }
    // Key k (1 ... GetCount()) as written in the file, and lower-cased.
    const std::string& GetWritten(int key) const { return m_written[key - 1]; }
    const std::string& GetLower(int key) const { return m_lower[key - 1]; }
    // Length of the longest version text.
    int GetLongest() const { return m_longest; }

private:
    std::vector<std::string> m_written;
    std::vector<std::string> m_lower;
    int m_longest = 0;
};
