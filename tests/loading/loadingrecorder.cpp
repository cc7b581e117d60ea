#include "loadingrecorder.h"

#include "uploadstate.h"

void CLoadingRecorder::BytesReceived(const char* chunk, int count) {
    Add(kBytes, count, std::string(chunk, static_cast<size_t>(count)));
}

bool CLoadingRecorder::SetProgressRange(int high) {
    Add(kRange, high);
    return hasProgressBar;
}

void CLoadingRecorder::AllLinesSent(int sent) {
    Add(kAllSent, sent);
    if (m_upload) m_upload->AllLinesSent(sent);
}

void CLoadingRecorder::Add(Kind kind, int64_t value, const std::string& text) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_notes.push_back(Note{kind, value, text, Clock::now()});
    ++m_seen[kind];
    if (m_waiting[kind] > 0) m_changed.notify_all();
}

std::vector<CLoadingRecorder::Note> CLoadingRecorder::Notes() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_notes;
}

std::vector<int64_t> CLoadingRecorder::Values(Kind kind) const {
    std::vector<int64_t> values;
    for (const Note& note : Notes())
        if (note.kind == kind) values.push_back(note.value);
    return values;
}

std::string CLoadingRecorder::Received() const {
    std::string all;
    for (const Note& note : Notes())
        if (note.kind == kBytes) all += note.text;
    return all;
}

bool CLoadingRecorder::WaitFor(Kind kind, int ms) const {
    std::unique_lock<std::mutex> hold(m_lock);
    ++m_waiting[kind];
    const bool seen =
        m_changed.wait_for(hold, std::chrono::milliseconds(ms), [&] { return m_seen[kind] > 0; });
    --m_waiting[kind];
    return seen;
}

CLoadingRecorder::Clock::time_point CLoadingRecorder::FirstAt(Kind kind) const {
    for (const Note& note : Notes())
        if (note.kind == kind) return note.at;
    return Clock::time_point();
}
