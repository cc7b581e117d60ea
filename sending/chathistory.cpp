#include "chathistory.h"

#include "codepage.h"

#include <cstdio>
#include <cstring>

namespace {

const char kTextSection[] = "TEXT";
const char kFlagsSection[] = "TEXT_SETTING";

std::string Lowered(const char* text) {
    std::string lowered(text != nullptr ? text : "");
    if (!lowered.empty()) OskelCp1250LowerBuffer(&lowered[0], static_cast<int>(lowered.size()));
    return lowered;
}

} // namespace

void CChatHistory::Load(ISendingData& store) {
    m_entries.clear();
    for (int n = 1;; ++n) {
        const std::string key = std::to_string(n);
        const char* text = store.ReadChatSetting(kTextSection, key.c_str());
        if (text == nullptr) break;
        Entry entry{text, 0};
        // Only the four option bits mean anything; keeping them alone lets a "-2" read from a
        // damaged file survive the next save and load as the same options.
        entry.flags =
            static_cast<unsigned>(store.ReadChatNumber(kFlagsSection, key.c_str())) & kAllFlags;
        m_entries.push_back(entry);
    }
}

void CChatHistory::Save(ISendingData& store) const {
    char flags[16];
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const std::string key = std::to_string(i + 1);
        store.WriteChatSetting(kTextSection, key.c_str(), m_entries[i].text.c_str());
        std::snprintf(flags, sizeof flags, "%u", m_entries[i].flags);
        store.WriteChatSetting(kFlagsSection, key.c_str(), flags);
    }
}

int CChatHistory::Find(const char* text) const {
    const std::string wanted = Lowered(text);
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (Lowered(m_entries[i].text.c_str()) == wanted) return static_cast<int>(i);
    return -1;
}

void CChatHistory::Promote(const char* text, unsigned flags) {
    const int old = Find(text);
    if (old >= 0) m_entries.erase(m_entries.begin() + old);
    m_entries.insert(m_entries.begin(), Entry{text != nullptr ? text : "", flags & kAllFlags});
}
