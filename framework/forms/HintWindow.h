// The window that shows a control's Hint. The application creates one of its HintWindowClass
// (replaceable: a styled hint window derives from THintWindow and overrides CreateParams, Paint
// and ActivateHint).
#pragma once

#include "framework/controls/Control.h"

class THintWindow : public TCustomControl {
    FV_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);
    ~THintWindow() override;

    // Shows hint in rect (screen coordinates) on top, without taking the activation.
    virtual void ActivateHint(TRect rect, const String& hint);
    // The rectangle (at the origin) that holds hint wrapped to maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const String& hint);
    // Hides the window.
    void ReleaseHint();
    bool Active() const { return active_; }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    bool active_ = false;
};
