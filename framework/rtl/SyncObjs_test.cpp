#include "framework/rtl/SyncObjs.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CriticalSectionTest, ExcludesOtherThreadsAndReenters) {
    TCriticalSection section;
    {
        TCriticalSectionLock lock(section);
        EXPECT_TRUE(section.TryEnter());  // re-entrant for the owning thread
        section.Leave();
        bool otherGotIt = true;
        std::thread([&] {
            otherGotIt = section.TryEnter();
            if (otherGotIt) section.Leave();
        }).join();
        EXPECT_FALSE(otherGotIt);
    }
    bool otherGotIt = false;
    std::thread([&] {
        otherGotIt = section.TryEnter();
        if (otherGotIt) section.Leave();
    }).join();
    EXPECT_TRUE(otherGotIt);
}
