// The threads' dialog in the tests: records every notification with its time and answers
// "all lines sent" the way the progress dialog does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "loadingnotify.h"

class CUploadState;

class CLoadingRecorder : public ILoadingNotify {
public:
    using Clock = std::chrono::steady_clock;
    enum Kind {
        kBytes,
        kError,
        kWarn,
        kRange,
        kPosition,
        kPosted,
        kLineSent,
        kAllSent,
        kTimer,
        kKill,
        kEnd,
        kLost,
        kKinds
    };
    struct Note {
        Kind kind;
        int64_t value;
        std::string text;
        Clock::time_point at;
    };

    // upload: the state the progress dialog would tell the write thread's count to.
    explicit CLoadingRecorder(CUploadState* upload = nullptr) : m_upload(upload) {}

    void BytesReceived(const char* chunk, int count) override;
    void Error(int code) override { Add(kError, code); }
    void Warn(const char* text) override { Add(kWarn, 0, text); }
    bool SetProgressRange(int high) override;
    void SetProgressPosition(int position, bool post) override {
        Add(post ? kPosted : kPosition, position);
    }
    void LineSent() override { Add(kLineSent, 0); }
    void AllLinesSent(int sent) override;
    void StartTimer(unsigned id, unsigned ms) override { Add(kTimer, ms, std::to_string(id)); }
    void KillTimer(unsigned id) override { Add(kKill, 0, std::to_string(id)); }
    void EndDialog(int32_t result) override { Add(kEnd, result); }
    void DeviceLost() override { Add(kLost, 0); }

    // The dialog without its progress bar.
    bool hasProgressBar = true;

    std::vector<Note> Notes() const;
    std::vector<int64_t> Values(Kind kind) const;
    int Count(Kind kind) const { return static_cast<int>(Values(kind).size()); }
    // All received bytes in order.
    std::string Received() const;
    // Waits up to ms for a note of this kind; true when one is there.
    bool WaitFor(Kind kind, int ms) const;
    // Time of the first note of this kind (the epoch when there is none).
    Clock::time_point FirstAt(Kind kind) const;

private:
    void Add(Kind kind, int64_t value, const std::string& text = std::string());

    CUploadState* m_upload;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<Note> m_notes;
    // Notes so far and threads waiting, by kind: a note wakes only those waiting for its kind
    // (an upload makes thousands; the benchmarks time the threads, not this recorder).
    int m_seen[kKinds] = {};
    mutable int m_waiting[kKinds] = {};
};
