// The chat line's sent messages, newest first, each with the options it was sent with;
// kept in chat.ini between runs.
#pragma once

#include "sendingdata.h"

#include <string>
#include <vector>

class CChatHistory {
public:
    // The options of an entry.
    enum : unsigned { kCR = 1, kLF = 2, kEscape = 4, kHex = 8, kAllFlags = 0xF };

    struct Entry {
        std::string text;
        unsigned flags;
    };

    // Reads "TEXT"/n with "TEXT_SETTING"/n for n = 1, 2, ... until a text is missing. A missing
    // or unreadable option word gives every option except CR.
    void Load(ISendingData& store);
    // Writes the entries as keys 1 to n of both sections.
    void Save(ISendingData& store) const;
    // Puts the text on top; an older entry that differs from it only in letter case goes.
    void Promote(const char* text, unsigned flags);
    void Clear() { m_entries.clear(); }

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const Entry& Get(int index) const { return m_entries[static_cast<size_t>(index)]; }
    // Index of the entry equal to text ignoring letter case, -1 when there is none.
    int Find(const char* text) const;

private:
    std::vector<Entry> m_entries;
};
