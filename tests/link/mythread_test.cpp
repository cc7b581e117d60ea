#include "mythread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<int> runs{0};

int32_t TARLIN_THREAD_CALL CountAndReturnWord(MyThreadContext* context) {
    runs++;
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(context->word[0]));
}

int32_t TARLIN_THREAD_CALL ReturnSeven(MyThreadContext*) {
    return 7;
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
