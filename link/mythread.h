// One worker thread: every worker of the program derives from CMyThread and gets its
// four context words through one pointer.
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

// Exit code of a thread that Start had to end because it still ran.
const int32_t kThreadTerminated = -9999;

class CMyThread {
public:
    explicit CMyThread(MyThreadFunction function = nullptr);
    virtual ~CMyThread();
    CMyThread(const CMyThread&) = delete;
    CMyThread& operator=(const CMyThread&) = delete;

    void SetContext(void* word1, void* word2, void* word3, void* word4);
    // A null word keeps the old value.
    void UpdateContext(void* word1, void* word2, void* word3, void* word4);
    void* GetContextWord(int index) const;

    // Starts the thread function (or the fallback when none is set); 1 or 0.
    int Start(MyThreadFunction fallback, int createSuspended);
    int Suspend();
    int Resume();
    int SetPriority(int priority);
    // Forgets the thread without stopping it.
    void CloseThreadHandle();

    // Waits up to ms for the thread to end; 1 with its exit code when it has, else 0.
    int Wait(uint32_t ms, int32_t* exitCode);
    bool HasThread() const { return m_handle != nullptr; }
    uint32_t GetThreadId() const { return m_id; }
    int IsRunning() const { return m_running; }

private:
    bool CreatePlatformThread(bool suspended);
    bool TerminatePlatformThread();

    void* m_handle;
    uint32_t m_id;
    int32_t m_running;
    MyThreadContext m_context;
    MyThreadFunction m_function;
};
