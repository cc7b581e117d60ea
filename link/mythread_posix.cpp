// POSIX threads cannot be suspended or resumed from outside. A thread created suspended
// waits at its start until Resume; Suspend of a running thread returns 0. Priorities are
// accepted and kept (Linux gives ordinary threads no priority of their own).
#include "mythread.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

struct Block {
    std::mutex lock;
    std::condition_variable changed;
    bool released = false;
    bool cancelled = false;
    bool finished = false;
    int32_t exitCode = 0;
    MyThreadFunction function = nullptr;
    MyThreadContext* context = nullptr;
    pthread_t thread{};
};

// What m_handle points at: the thread and the object both hold the block.
using Shared = std::shared_ptr<Block>;

Block& Of(void* handle) {
    return **static_cast<Shared*>(handle);
}

void* Trampoline(void* arg) {
    Shared block(*static_cast<Shared*>(arg));
    delete static_cast<Shared*>(arg);
    {
        std::unique_lock<std::mutex> hold(block->lock);
        block->changed.wait(hold, [&] { return block->released; });
    }
    const int32_t code = block->cancelled ? kThreadNeverRan : block->function(block->context);
    std::lock_guard<std::mutex> hold(block->lock);
    block->exitCode = code;
    block->finished = true;
    block->changed.notify_all();
    return nullptr;
}

std::atomic<uint32_t> nextId{1};

} // namespace

bool CMyThread::CreatePlatformThread(bool suspended) {
    auto* handle = new Shared(std::make_shared<Block>());
    Block& block = **handle;
    block.function = m_function;
    block.context = &m_context;
    block.released = !suspended;
    auto* forThread = new Shared(*handle);
    if (pthread_create(&block.thread, nullptr, Trampoline, forThread) != 0) {
        delete forThread;
        delete handle;
        return false;
    }
    m_handle = handle;
    m_id = nextId.fetch_add(1);
    m_unstarted = suspended ? handle : nullptr;
    return true;
}

void CMyThread::CancelUnstarted() {
    if (!m_unstarted) return;
    Block& block = Of(m_unstarted);
    std::lock_guard<std::mutex> hold(block.lock);
    block.cancelled = !block.released;
}

int CMyThread::Suspend() {
    if (!m_handle) return 0;
    return m_running ? 0 : 1;
}

int CMyThread::Resume() {
    if (!m_handle) return 0;
    if (m_running) return 1;
    Block& block = Of(m_handle);
    {
        std::lock_guard<std::mutex> hold(block.lock);
        block.released = true;
    }
    block.changed.notify_all();
    m_running = 1;
    m_unstarted = nullptr;
    return 1;
}

int CMyThread::SetPriority(int) {
    return m_handle ? 1 : 0;
}

void CMyThread::CloseThreadHandle() {
    if (!m_handle) return;
    auto* handle = static_cast<Shared*>(m_handle);
    pthread_detach((*handle)->thread);
    delete handle;
    m_handle = nullptr;
    m_unstarted = nullptr;
    m_id = 0;
    m_running = 0;
}

int CMyThread::Wait(uint32_t ms, int32_t* exitCode) {
    if (!m_handle) return 0;
    Block& block = Of(m_handle);
    std::unique_lock<std::mutex> hold(block.lock);
    auto ended = [&] { return block.finished; };
    if (ms == kWaitForever)
        block.changed.wait(hold, ended);
    else if (!block.changed.wait_for(hold, std::chrono::milliseconds(ms), ended))
        return 0;
    if (exitCode) *exitCode = block.exitCode;
    return 1;
}
