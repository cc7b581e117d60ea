// Recognising a module from what it sent after power-up, against the [VER] list of
// version.ini.
#pragma once

#include <atomic>
#include <cstdint>

#include "autoevent.h"
#include "dynstring.h"

class CVersionTable;

// The received text and the abort flag shared by the identification thread and its dialog.
class CIdentifyState {
public:
    static constexpr int kInitialCapacity = 1024;

    CIdentifyState();
    CIdentifyState(const CIdentifyState&) = delete;
    CIdentifyState& operator=(const CIdentifyState&) = delete;

    // The accumulator: everything received since it was last emptied; after a successful
    // identification, the version text as written in version.ini.
    CDynString& Text() { return m_text; }
    const char* GetText() const { return m_text.GetString() ? m_text.GetString() : ""; }
    int Length() const;
    void Clear();
    void Append(const char* chunk);

    // Cleared when the power-cycle dialog starts, set when it is left by a button.
    void ClearAbort();
    void Abort();
    bool Aborted() const { return m_abort.load() != 0; }
    // Waits up to ms for Abort; true when aborted.
    bool WaitForAbort(uint32_t ms);

    // The one state of the process.
    static CIdentifyState& Process();

private:
    CDynString m_text;
    std::atomic<int32_t> m_abort;
    CAutoEvent m_aborted;
};

// Results of Identify besides a key number (>= 1).
enum : int32_t {
    kIdentifyIncomplete = 0,
    kIdentifyUnknown = -10,
    kIdentifyTooShort = -20,
    kIdentifyNoRecord = -30,
};
// Received text shorter than this is never evaluated.
const int kIdentifyMinLength = 25;

// Lower-cases the text in place, takes what follows its first "\n\r" as the record and
// compares it with the versions: a version matches when it equals the record or occurs
// anywhere in the text. On a match the text becomes the version as written in the file and
// its key is returned; when several match, one equal to the record (line ends after it
// aside) wins, then the longest. Without a match, only the part of the text that can still
// take part in one is kept: the last line, or at most the longest version plus
// kIdentifyKeptText characters; before the first record, also the longest version found so
// far, which still counts when the record comes.
int32_t Identify(const CVersionTable* versions, CDynString& text);
// The same on the process's accumulator.
int32_t Identify(const CVersionTable* versions);
// Text kept beyond the longest version when received text is cut.
const int kIdentifyKeptText = 1024;
