// A container with real scroll bars: its children are laid out in a content area that may be
// larger than the box, and the bars move them. A bar shows only while the content overflows.
#pragma once

#include "framework/controls/Control.h"

class TScrollBox : public TCustomControl {
    FV_CLASS(TScrollBox, TCustomControl)
public:
    explicit TScrollBox(TComponent* owner);

    // How far the content is scrolled, pixels; the setters clamp to the content's extent.
    int HorzPosition() const { return horzPosition_; }
    int VertPosition() const { return vertPosition_; }
    void SetHorzPosition(int position);
    void SetVertPosition(int position);
    // Whether dragging a bar's thumb moves the content at once (else on release).
    bool Tracking() const { return tracking_; }
    void SetTracking(bool tracking) { tracking_ = tracking; }
    // The content's size: the children's extents at scroll position 0.
    int ContentWidth() const;
    int ContentHeight() const;
    // Recomputes the bars after children moved or changed size.
    void UpdateScrollBars();

    TNotifyEvent OnResize;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;
    virtual void Resize();

private:
    void ScrollBy(int dx, int dy);
    void HandleScroll(int bar, int code, int trackPosition);

    int horzPosition_ = 0;
    int vertPosition_ = 0;
    bool tracking_ = false;
    bool updatingBars_ = false;
};
