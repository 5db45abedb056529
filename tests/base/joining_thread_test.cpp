#include "base/joining_thread.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

DWORD WINAPI SlowIncrement(void* context) {
    ::Sleep(50);
    ++*static_cast<int*>(context);
    return 0;
}

TEST(JoiningThreadTest, RunsOnceAndIsWaitedForWhenItsOwnerGoes) {
    int runs = 0;
    {
        JoiningThread thread;
        ASSERT_TRUE(thread.Start(&SlowIncrement, &runs));
        EXPECT_TRUE(thread.Joinable());
        EXPECT_FALSE(thread.Start(&SlowIncrement, &runs)) << "a second start while one runs";
    }
    EXPECT_EQ(1, runs) << "the destructor must wait for the thread";

    JoiningThread joined;
    ASSERT_TRUE(joined.Start(&SlowIncrement, &runs));
    joined.Join();
    EXPECT_EQ(2, runs);
    EXPECT_FALSE(joined.Joinable());
    EXPECT_FALSE(joined.Start(nullptr, nullptr));
}

}  // namespace
}  // namespace velora
