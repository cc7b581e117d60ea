#include "mythread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "timing.h"

using testing_support::Pause;
using testing_support::WaitFor;

namespace {

std::atomic<int> runs{0};

int32_t TARLIN_THREAD_CALL CountAndReturnWord(MyThreadContext* context) {
    runs++;
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(context->word[0]));
}

int32_t TARLIN_THREAD_CALL ReturnSeven(MyThreadContext*) {
    return 7;
}

// Runs until word 0 (an atomic<bool>) is set, then marks word 1 (an atomic<int>) done.
int32_t TARLIN_THREAD_CALL RunUntilReleased(MyThreadContext* context) {
    auto* release = static_cast<std::atomic<bool>*>(context->word[0]);
    auto* done = static_cast<std::atomic<int>*>(context->word[1]);
    while (!*release)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Pause(200);
    ++*done;
    return 3;
}

} // namespace

TEST(MyThread, ContextWordsAreSetAndUpdated) {
    CMyThread thread;
    int a, b, c, d, e;
    thread.SetContext(&a, &b, &c, &d);
    thread.UpdateContext(nullptr, &e, nullptr, nullptr);
    EXPECT_EQ(&a, thread.GetContextWord(0));
    EXPECT_EQ(&e, thread.GetContextWord(1));
    EXPECT_EQ(&c, thread.GetContextWord(2));
    EXPECT_EQ(&d, thread.GetContextWord(3));
    EXPECT_EQ(nullptr, thread.GetContextWord(4));
}

TEST(MyThread, RunsItsFunctionOrTheFallbackWithTheContext) {
    CMyThread none;
    EXPECT_EQ(0, none.Start(nullptr, 0));
    EXPECT_EQ(0, none.Resume());
    EXPECT_EQ(0, none.Suspend());
    EXPECT_EQ(0, none.SetPriority(kThreadPriorityNormal));

    CMyThread thread;
    thread.SetContext(reinterpret_cast<void*>(42), nullptr, nullptr, nullptr);
    ASSERT_EQ(1, thread.Start(&CountAndReturnWord, 0));
    EXPECT_EQ(1, thread.IsRunning());
    int32_t code = 0;
    ASSERT_EQ(1, thread.Wait(5000, &code));
    EXPECT_EQ(42, code);

    CMyThread own(&ReturnSeven);
    ASSERT_EQ(1, own.Start(&CountAndReturnWord, 0)) << "its own function wins";
    ASSERT_EQ(1, own.Wait(5000, &code));
    EXPECT_EQ(7, code);
    own.CloseThreadHandle();
    EXPECT_FALSE(own.HasThread());
    EXPECT_EQ(0u, own.GetThreadId());
}

TEST(MyThread, CreatedSuspendedRunsOnlyAfterResume) {
    runs = 0;
    CMyThread thread(&CountAndReturnWord);
    ASSERT_EQ(1, thread.Start(nullptr, 1));
    EXPECT_EQ(0, thread.IsRunning());
    EXPECT_EQ(0, thread.Wait(200, nullptr));
    EXPECT_EQ(0, runs.load());
    EXPECT_EQ(1, thread.Resume());
    EXPECT_EQ(1, thread.IsRunning());
    EXPECT_EQ(1, thread.Resume()) << "already running";
    EXPECT_EQ(1, thread.Wait(5000, nullptr));
    EXPECT_EQ(1, runs.load());
    EXPECT_EQ(1, thread.SetPriority(kThreadPriorityBelowNormal));
}

// Killing a thread could leave a lock it holds taken: a running thread is never replaced.
TEST(MyThread, StartWhileTheThreadRunsIsRefused) {
    std::atomic<bool> release{false};
    std::atomic<int> done{0};
    CMyThread thread(&RunUntilReleased);
    thread.SetContext(&release, &done, nullptr, nullptr);
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    EXPECT_EQ(0, thread.Start(nullptr, 0));
    release = true;
    int32_t code = 0;
    ASSERT_EQ(1, thread.Wait(5000, &code));
    EXPECT_EQ(3, code) << "the first thread ended by itself";
    EXPECT_EQ(1, done.load());
    release = true;
    ASSERT_EQ(1, thread.Start(nullptr, 0)) << "an ended thread is replaced";
    ASSERT_EQ(1, thread.Wait(5000, &code));
    EXPECT_EQ(2, done.load());
}

// The thread reads its context from the object, so the object waits for it.
TEST(MyThread, DestructorWaitsForTheThread) {
    std::atomic<bool> release{true};
    std::atomic<int> done{0};
    {
        CMyThread thread(&RunUntilReleased);
        thread.SetContext(&release, &done, nullptr, nullptr);
        ASSERT_EQ(1, thread.Start(nullptr, 0));
    }
    EXPECT_EQ(1, done.load()) << "the thread had ended when the object went";
}

TEST(MyThread, ThreadCreatedSuspendedAndDestroyedNeverRuns) {
    runs = 0;
    auto thread = std::make_unique<CMyThread>(&CountAndReturnWord);
    ASSERT_EQ(1, thread->Start(nullptr, 1));
    thread.reset();
    Pause(200);
    EXPECT_EQ(0, runs.load());
}
