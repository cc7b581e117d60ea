// One worker thread: every worker of the program derives from CMyThread and gets its
// four context words through one pointer. A worker makes no windows (it may post to
// them), so on Win32 its waits need not answer sent messages.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define TARLIN_THREAD_CALL __stdcall
#else
#define TARLIN_THREAD_CALL
#endif

class CMyThread;

// The block a thread function receives: the four context words and the thread object.
struct MyThreadContext {
    void* word[4];
    CMyThread* thread;
};

typedef int32_t(TARLIN_THREAD_CALL* MyThreadFunction)(MyThreadContext* context);

// Priorities, the Win32 values.
enum : int {
    kThreadPriorityBelowNormal = -1,
    kThreadPriorityNormal = 0,
    kThreadPriorityAboveNormal = 1
};

// Exit code of a thread that was created suspended and destroyed before it ever ran.
const int32_t kThreadNeverRan = -9999;

// Unpacks a context block into the thread object of type Thread and the words, in order, as
// the pointer types given; false without a block or a thread object. Words not stored
// come back null.
template <class Thread, class... Words>
bool UnpackContext(const MyThreadContext* context, Thread*& thread, Words*&... words) {
    if (context == nullptr || context->thread == nullptr) return false;
    thread = static_cast<Thread*>(context->thread);
    int index = 0;
    ((words = static_cast<Words*>(context->word[index++])), ...);
    return true;
}

class CMyThread {
public:
    static constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

    explicit CMyThread(MyThreadFunction function = nullptr);
    // Waits for the thread to end: it reads its context from this object. A subclass asks
    // its thread to stop first.
    virtual ~CMyThread();
    CMyThread(const CMyThread&) = delete;
    CMyThread& operator=(const CMyThread&) = delete;

    void SetContext(void* word1, void* word2, void* word3, void* word4);
    // A null word keeps the old value.
    void UpdateContext(void* word1, void* word2, void* word3, void* word4);
    void* GetContextWord(int index) const;

    // Starts the thread function (or the fallback when none is set); 1 or 0. A thread that
    // still runs is never replaced: 0.
    int Start(MyThreadFunction fallback, int createSuspended);
    int Suspend();
    int Resume();
    int SetPriority(int priority);
    // Forgets the thread without stopping it.
    void CloseThreadHandle();

    // Waits up to ms for the thread to end; 1 with its exit code when it has, else 0. On
    // Win32 a window thread that waits still answers messages other threads send it.
    int Wait(uint32_t ms, int32_t* exitCode);
    // Lets the thread run to its end (one that never ran ends without running its
    // function), waits for it and forgets it.
    void Join();
    bool HasThread() const { return m_handle != nullptr; }
    uint32_t GetThreadId() const { return m_id; }
    int IsRunning() const { return m_running; }

private:
    bool CreatePlatformThread(bool suspended);
    // Makes a thread created suspended end without running its function once resumed.
    void CancelUnstarted();

    void* m_handle;
    uint32_t m_id;
    int32_t m_running;
    MyThreadContext m_context;
    MyThreadFunction m_function;
    // The start of a thread created suspended, until it is first resumed.
    void* m_unstarted;
};
