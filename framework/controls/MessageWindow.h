// A hidden message-only window (HWND_MESSAGE) that hands every message it receives to a handler:
// for objects that are told things through window messages but have no window on screen, such as
// a report template, which belongs to no form. The handler runs inside the exception barrier and
// counts as a framework window procedure (components waiting to be freed wait for it). A message
// the handler leaves goes to the default window procedure.
#pragma once

#include <functional>

#include "framework/controls/Messages.h"
#include "framework/graphics/GdiHandles.h"

class TMessageWindow {
public:
    // Returns true when it handled the message (with message.Result set).
    using THandler = std::function<bool(TMessage& message)>;

    // Raises EOSError when the window cannot be made.
    explicit TMessageWindow(THandler handler);
    ~TMessageWindow();
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;

    HWND Handle() const { return window_.get(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    THandler handler_;
    UniqueWindow window_;
};
