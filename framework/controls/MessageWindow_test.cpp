// The message-only window: what its handler takes, what it leaves to the default procedure, and
// the exception barrier around the handler.
#include "framework/controls/MessageWindow.h"

#include <gmock/gmock.h>

#include "testing/ControlTestSupport.h"

TEST(MessageWindow, HandsMessagesToItsHandler) {
    std::vector<UINT> seen;
    TMessageWindow window([&](TMessage& message) {
        if (message.Msg < WM_USER) return false;
        seen.push_back(message.Msg);
        message.Result = static_cast<LRESULT>(message.WParam) * 2;
        return true;
    });
    ASSERT_NE(nullptr, window.Handle());
    EXPECT_EQ(42, SendMessageW(window.Handle(), WM_USER + 4, 21, 0));
    PostMessageW(window.Handle(), WM_USER + 2, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 2; }));
    EXPECT_THAT(seen, ::testing::ElementsAre(WM_USER + 4, WM_USER + 2));
    // What the handler leaves goes to the default procedure.
    SetWindowTextW(window.Handle(), L"abc");
    EXPECT_EQ(3, GetWindowTextLengthW(window.Handle()));
}

TEST(MessageWindow, AnExceptionStopsAtTheBarrier) {
    ExceptionRecorder recorder;
    TMessageWindow window([](TMessage& message) -> bool {
        if (message.Msg == WM_USER) throw EInvalidOperation(L"handler failed");
        return false;
    });
    EXPECT_EQ(0, SendMessageW(window.Handle(), WM_USER, 0, 0));
    EXPECT_THAT(recorder.Messages, ::testing::ElementsAre(L"handler failed"));
}

TEST(MessageWindow, TheWindowGoesWithItsOwner) {
    HWND handle = nullptr;
    {
        TMessageWindow window([](TMessage&) { return false; });
        handle = window.Handle();
        EXPECT_TRUE(IsWindow(handle));
    }
    EXPECT_FALSE(IsWindow(handle));
}
