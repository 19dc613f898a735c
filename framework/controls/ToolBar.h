// A tool bar: a strip of flat tool buttons laid out left to right, wrapping into further rows
// where the bar is too narrow for them, each showing an image of the bar's image list. A check
// button stays down after a click; grouped check buttons next to each other behave like radio
// buttons (one of them down). Separators only leave a gap. Other controls put on the bar (a speed
// button, say) follow the buttons.
#pragma once

#include "framework/controls/Control.h"
#include "framework/graphics/ImageList.h"

FV_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsSeparator)

class TToolBar;

class TToolButton : public TGraphicControl {
    FV_CLASS(TToolButton, TGraphicControl)
public:
    explicit TToolButton(TComponent* owner);
    static void Publish(TPublisher<TToolButton>& p);

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value);
    // With tbsCheck: the neighbouring grouped check buttons are a radio group.
    bool Grouping() const { return grouping_; }
    void SetGrouping(bool value) { grouping_ = value; }
    bool Down() const { return down_; }
    // Putting a grouped button down lets the others of its group up.
    void SetDown(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TToolBar* ToolBar() const;
    // Whether the mouse is over the button (it is drawn raised then).
    bool Hot() const { return hot_; }

    void SetVisible(bool visible) override;
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    // The grouped check buttons next to this one on the bar, this one included.
    std::vector<TToolButton*> Group() const;

    TToolButtonStyle style_ = tbsButton;
    bool grouping_ = false;
    bool down_ = false;
    int imageIndex_ = -1;
    bool hot_ = false;
    bool pressed_ = false;
};

class TToolBar : public TCustomControl {
    FV_CLASS(TToolBar, TCustomControl)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;
    static void Publish(TPublisher<TToolBar>& p);

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    // Places the children left to right in the order they were put on the bar, in as many rows
    // as the bar's width needs, and sizes the bar to them.
    void LayoutButtons();

    void WndProc(TMessage& message) override;

protected:
    void AlignControls(TRect& rect) override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TImageList* images_ = nullptr;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool layingOut_ = false;
};
