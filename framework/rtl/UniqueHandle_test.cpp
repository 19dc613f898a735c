#include "framework/rtl/UniqueHandle.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/rtl/WinApi.h"

namespace {

// Handles are small integers here; each release is logged with the context it ran with.
struct Released {
    int context;
    int handle;
};
std::vector<Released> g_released;

struct LogRelease {
    int context = 0;
    void operator()(int handle) const noexcept { g_released.push_back({context, handle}); }
};
using UniqueTestHandle = UniqueHandle<int, LogRelease>;

std::vector<int> ReleasedHandles() {
    std::vector<int> handles;
    for (const Released& r : g_released) handles.push_back(r.handle);
    return handles;
}

class UniqueHandleTest : public ::testing::Test {
protected:
    void SetUp() override { g_released.clear(); }
};

}  // namespace

TEST_F(UniqueHandleTest, FreesWhatItHoldsOnceAndNothingWhenEmpty) {
    {
        UniqueTestHandle empty;
        EXPECT_FALSE(empty);
        UniqueTestHandle held(7);
        EXPECT_TRUE(held);
        EXPECT_EQ(held.get(), 7);
    }
    EXPECT_EQ(ReleasedHandles(), std::vector<int>{7});
}

TEST_F(UniqueHandleTest, ResetFreesTheOldHandleAndReleaseGivesItUp) {
    UniqueTestHandle held(1);
    held.reset(2);
    EXPECT_EQ(ReleasedHandles(), std::vector<int>{1});
    EXPECT_EQ(held.release(), 2);
    EXPECT_FALSE(held);
    held.reset();
    EXPECT_EQ(ReleasedHandles(), std::vector<int>{1});  // 2 is the caller's now
}

TEST_F(UniqueHandleTest, MovingHandsOverTheHandleWithItsReleaseContext) {
    UniqueTestHandle target(3, LogRelease{10});
    {
        UniqueTestHandle source(4, LogRelease{20});
        target = std::move(source);
        EXPECT_FALSE(source);
        ASSERT_EQ(g_released.size(), 1u);  // the target's old handle, with its own context
        EXPECT_EQ(g_released[0].handle, 3);
        EXPECT_EQ(g_released[0].context, 10);
    }
    EXPECT_EQ(g_released.size(), 1u);  // the moved-from owner frees nothing
    UniqueTestHandle last(std::move(target));
    last.reset();
    ASSERT_EQ(g_released.size(), 2u);
    EXPECT_EQ(g_released[1].handle, 4);
    EXPECT_EQ(g_released[1].context, 20);
}

TEST(UniqueHandle, KernelHandlesAreClosed) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    {
        UniqueKernelHandle owner(event);
        EXPECT_TRUE(GetHandleInformation(event, &flags));
    }
    EXPECT_FALSE(GetHandleInformation(event, &flags));
}

TEST(UniqueHandle, AFailedCreateFileOwnsNothing) {
    EXPECT_FALSE(OwnFileHandle(INVALID_HANDLE_VALUE));
    const UniqueKernelHandle missing = OwnFileHandle(CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0,
                                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}
