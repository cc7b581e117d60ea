#include "identify.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "codepage.h"
#include "versionlist.h"

namespace {

const char kRecordStart[] = "\n\r";

std::string Lower(std::string text) {
    OskelCp1250LowerBuffer(&text[0], static_cast<int>(text.size()));
    return text;
}

// The record without the line ends a banner closes with.
std::string WithoutLineEnds(const std::string& record) {
    const size_t end = record.find_last_not_of("\r\n");
    return end == std::string::npos ? std::string() : record.substr(0, end + 1);
}

// Which of two matching keys names the module: an exact record first, then the longer text.
bool Better(const CVersionTable& versions, int key, bool exact, int best, bool bestExact) {
    if (best == 0) return true;
    if (exact != bestExact) return exact;
    return versions.GetLower(key).size() > versions.GetLower(best).size();
}

// A match needs a whole version inside one line, and every earlier text was already looked
// at; so the last line is all that can still matter, or the longest version's worth when
// even that line is too long.
void KeepWhatCanMatch(CDynString& text, int length, int longest, const std::string& before = "") {
    const int bound = longest + kIdentifyKeptText;
    if (length <= bound) return;
    const std::string received(text.GetString(), static_cast<size_t>(length));
    const size_t lastRecord = received.rfind(kRecordStart);
    size_t keep = static_cast<size_t>(length - bound);
    std::string head = before;
    if (lastRecord != std::string::npos && lastRecord >= keep) {
        keep = lastRecord;
    } else if (lastRecord != std::string::npos) {
        // The record began before the cut and goes on: it must still be one. After the CR
        // nothing equals a version (none holds a CR) or is the start of one, as the record,
        // longer than the cut text, could not be either.
        head = kRecordStart + std::string("\r");
    }
    std::string tail = head + received.substr(keep);
    // Enough has arrived to be evaluated, however little of it is kept; CRs ahead of the
    // record make up the length without taking part in any match.
    if (tail.size() < static_cast<size_t>(kIdentifyMinLength))
        tail.insert(0, static_cast<size_t>(kIdentifyMinLength) - tail.size(), '\r');
    text.SetString(tail.c_str(), static_cast<int>(tail.size()));
}

// Before the first record, a version in the text still counts once the record comes; of
// those, the longest (the first of equals) is the one that can win, so it alone is kept
// ahead of the cut text. A CR after it joins it to no other version and starts no record.
std::string BestBeforeTheRecord(const CVersionTable& versions, const char* received) {
    int best = 0;
    for (int key = 1; key <= versions.GetCount(); ++key) {
        const std::string& version = versions.GetLower(key);
        if (std::strstr(received, version.c_str()) != nullptr &&
            Better(versions, key, false, best, false))
            best = key;
    }
    return best > 0 ? versions.GetLower(best) + "\r" : std::string();
}

} // namespace

void CVersionTable::Load(IVersionList& list) {
    m_written.clear();
    m_lower.clear();
    m_longest = 0;
    for (int key = 1;; ++key) {
        const char* value = list.ReadVersion(key);
        if (value == nullptr || value[0] == 0) return;
        m_written.emplace_back(value);
        m_lower.push_back(Lower(value));
        m_longest = std::max(m_longest, static_cast<int>(m_written.back().size()));
    }
}

CIdentifyState::CIdentifyState() : m_text(kInitialCapacity), m_abort(0) {}

int CIdentifyState::Length() const {
    return static_cast<int>(std::strlen(GetText()));
}

void CIdentifyState::Clear() {
    m_text.InitBuffer(kInitialCapacity);
}

void CIdentifyState::Append(const char* chunk) {
    m_text.Append(chunk);
}

void CIdentifyState::ClearAbort() {
    m_abort.store(0);
    m_aborted.Reset();
}

void CIdentifyState::Abort() {
    m_abort.store(1);
    m_aborted.Set();
}

bool CIdentifyState::WaitForAbort(uint32_t ms) {
    if (!Aborted()) m_aborted.Wait(ms);
    return Aborted();
}

CIdentifyState& CIdentifyState::Process() {
    static CIdentifyState state;
    return state;
}

int32_t Identify(const CVersionTable* versions, CDynString& text) {
    if (versions == nullptr) return kIdentifyNoRecord;
    char* received = text.GetString();
    const int length = received ? static_cast<int>(std::strlen(received)) : 0;
    if (length < kIdentifyMinLength) return kIdentifyTooShort;
    OskelCp1250LowerBuffer(received, length);
    const char* start = std::strstr(received, kRecordStart);
    if (start == nullptr) {
        const int longest = versions->GetLongest();
        if (length > longest + kIdentifyKeptText)
            KeepWhatCanMatch(text, length, longest, BestBeforeTheRecord(*versions, received));
        return kIdentifyNoRecord;
    }
    const std::string record(start + 2);
    const std::string bare = WithoutLineEnds(record);

    int32_t result = kIdentifyUnknown;
    int best = 0;
    bool bestExact = false;
    for (int key = 1; key <= versions->GetCount(); ++key) {
        const std::string& version = versions->GetLower(key);
        const bool exact = version == record || version == bare;
        if (exact || std::strstr(received, version.c_str()) != nullptr) {
            if (Better(*versions, key, exact, best, bestExact)) best = key, bestExact = exact;
        } else if (version.find(record) != std::string::npos) {
            // The record may be the beginning of this version, with the rest still to come.
            result = kIdentifyIncomplete;
        }
    }
    if (best > 0) {
        const std::string& written = versions->GetWritten(best);
        text.SetString(written.c_str(), static_cast<int>(written.size()));
        return best;
    }
    KeepWhatCanMatch(text, length, versions->GetLongest());
    return result;
}

int32_t Identify(const CVersionTable* versions) {
    return Identify(versions, CIdentifyState::Process().Text());
}
