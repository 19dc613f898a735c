// Date and time picker over SysDateTimePick32. Color is honoured on the field: the system control
// paints into a memory bitmap and its window-coloured background is replaced by Color (the control
// itself offers no portable way to colour the field).
#pragma once

#include "framework/controls/Control.h"

FV_ENUM(TDateTimeKind, dtkDate, dtkTime)
FV_ENUM(TDTDateMode, dmComboBox, dmUpDown)
FV_ENUM(TDTDateFormat, dfShort, dfLong)

class TDateTimePicker : public TWinControl {
    FV_CLASS(TDateTimePicker, TWinControl)
public:
    explicit TDateTimePicker(TComponent* owner);
    static void Publish(TPublisher<TDateTimePicker>& p);

    TDateTime DateTime() const;
    void SetDateTime(TDateTime value);
    // The whole days of DateTime, and its fraction.
    TDateTime Date() const;
    void SetDate(TDateTime value);
    TDateTime Time() const;
    void SetTime(TDateTime value);

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind value);
    // dmUpDown: a spin button instead of the calendar drop-down.
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode value);
    TDTDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat value);

    // The user changed the value.
    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    virtual void Change();

private:
    void ApplyValue();
    void PaintColored(HDC target);

    TDateTime value_;
    TDateTimeKind kind_ = dtkDate;
    TDTDateMode dateMode_ = dmComboBox;
    TDTDateFormat dateFormat_ = dfShort;
    bool applying_ = false;
};
