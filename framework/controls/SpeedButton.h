// A windowless push button that never takes the focus. A flat one shows its edge only while the
// mouse is over it, as tool-bar buttons do.
#pragma once

#include "framework/controls/Control.h"

class TSpeedButton : public TGraphicControl {
    FV_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    static void Publish(TPublisher<TSpeedButton>& p);

    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool Hot() const { return hot_; }
    void SetText(const String& text) override;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    bool flat_ = false;
    bool hot_ = false;
    bool pressed_ = false;
};
