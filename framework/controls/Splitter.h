// A splitter: a thin bar aligned beside another aligned control; dragging it resizes that
// control (the one just before it on the same side), never below MinSize.
#pragma once

#include "framework/controls/Control.h"

class TSplitter : public TGraphicControl {
    FV_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* owner);
    static void Publish(TPublisher<TSplitter>& p);

    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = value < 1 ? 1 : value; }
    // The control the splitter resizes: the last visible control before the splitter's edge,
    // aligned to the same side; null when there is none.
    TControl* FindControl() const;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }

    int minSize_ = 30;
    TControl* control_ = nullptr;  // while dragging
    int downAt_ = 0;               // parent coordinate of the press
    int startSize_ = 0;
};
