#include "framework/controls/UiThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "testing/ControlTestSupport.h"

namespace {

// Records what reaches the exception barrier instead of showing it.
class TRecordingHost : public TControlsHost {
public:
    TRecordingHost() : previous_(ControlsHost()) { SetControlsHost(this); }
    ~TRecordingHost() override { SetControlsHost(previous_); }
    void HandleException(TObject*) override {
        try {
            throw;
        } catch (const Exception& e) {
            messages.push_back(e.Message());
            threads.push_back(GetCurrentThreadId());
        } catch (...) {
            messages.push_back(L"?");
        }
    }
    std::vector<String> messages;
    std::vector<DWORD> threads;

private:
    TControlsHost* previous_;
};

}  // namespace

TEST(UiThread, JobsPostedFromAnotherThreadRunOnTheUiThreadInOrder) {
    TUiPoster poster;
    std::vector<int> order;
    std::vector<DWORD> threads;
    std::thread worker([&] {
        EXPECT_FALSE(poster.OnUiThread());
        for (int i = 0; i < 3; ++i)
            poster.Post([&, i] {
                order.push_back(i);
                threads.push_back(GetCurrentThreadId());
            });
    });
    worker.join();
    EXPECT_TRUE(order.empty()) << "nothing runs before the UI thread handles its messages";
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    for (DWORD thread : threads) EXPECT_EQ(thread, GetCurrentThreadId());
}

TEST(UiThread, WhatIsQueuedWhenThePosterGoesIsDropped) {
    bool ran = false;
    {
        TUiPoster poster;
        std::thread([&] { poster.Post([&] { ran = true; }); }).join();
    }
    PumpMessages();
    EXPECT_FALSE(ran);
}

TEST(UiThread, BarriersTurnExceptionsIntoResultsAndReportThemOnTheUiThread) {
    TRecordingHost host;
    TUiPoster poster;
    std::atomic<HRESULT> failed{S_OK}, outOfMemory{S_OK}, fine{E_FAIL};
    std::thread worker([&] {
        failed = ComBarrier(&poster, [] { throw EInvalidOperation(L"no frame"); });
        outOfMemory = ComBarrier(&poster, [] { throw std::bad_alloc(); });
        fine = ComBarrier(&poster, [] {});
        ThreadEntryBarrier(&poster, [] { throw EOSError(L"thread failed"); });
    });
    worker.join();
    EXPECT_EQ(failed.load(), E_FAIL);
    EXPECT_EQ(outOfMemory.load(), E_OUTOFMEMORY);
    EXPECT_EQ(fine.load(), S_OK);
    EXPECT_TRUE(host.messages.empty()) << "reported on the UI thread, not the worker";
    ASSERT_TRUE(PumpUntil([&] { return host.messages.size() == 3; }));
    EXPECT_EQ(host.messages, (std::vector<String>{L"no frame", L"?", L"thread failed"}));
    for (DWORD thread : host.threads) EXPECT_EQ(thread, GetCurrentThreadId());
}
