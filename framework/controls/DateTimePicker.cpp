#include "framework/controls/DateTimePicker.h"

#include <cmath>
#include <commctrl.h>

#include "framework/controls/ComCtrls.h"
#include "framework/controls/ControlDrawing.h"
#include "framework/rtl/DateTime.h"

namespace {

SYSTEMTIME ToSystemTime(TDateTime value) {
    SYSTEMTIME st{};
    Word year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    st.wMilliseconds = msec;
    return st;
}

TDateTime FromSystemTime(const SYSTEMTIME& st) {
    TDateTime date = EncodeDate(st.wYear, st.wMonth, st.wDay);
    const TDateTime time = EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    return date >= 0 ? date + time : date - time;
}

TDateTime WholeDays(TDateTime value) { return std::trunc(value); }

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner), value_(::Date()) {
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TDateTimePicker::Publish(TPublisher<TDateTimePicker>& p) {
    p.Property(L"Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind).Default(dtkDate);
    p.Property(L"Date", &TDateTimePicker::Date, &TDateTimePicker::SetDate);
    p.Property(L"Time", &TDateTimePicker::Time, &TDateTimePicker::SetTime);
    p.Property(L"DateMode", &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode).Default(dmComboBox);
    p.Property(L"DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat).Default(dfShort);
    p.Event(L"OnChange", &TDateTimePicker::OnChange);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
    InitCommonControlClasses(ICC_DATE_CLASSES);
    TWinControl::CreateParams(params);
    CreateSubClass(params, DATETIMEPICK_CLASSW);
    params.Style |= WS_TABSTOP;
    if (kind_ == dtkTime) params.Style |= DTS_TIMEFORMAT;
    else params.Style |= dateFormat_ == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
    if (dateMode_ == dmUpDown) params.Style |= DTS_UPDOWN;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    ApplyValue();
}

void TDateTimePicker::ApplyValue() {
    if (!HandleAllocated()) return;
    SYSTEMTIME st = ToSystemTime(value_);
    applying_ = true;
    SendMessageW(HandleIfAllocated(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    applying_ = false;
}

TDateTime TDateTimePicker::DateTime() const {
    if (HandleAllocated()) {
        SYSTEMTIME st{};
        if (SendMessageW(HandleIfAllocated(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID)
            return FromSystemTime(st);
    }
    return value_;
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    value_ = value;
    ApplyValue();
}

TDateTime TDateTimePicker::Date() const { return WholeDays(DateTime()); }

void TDateTimePicker::SetDate(TDateTime value) {
    const TDateTime current = DateTime();
    SetDateTime(WholeDays(value) + (current - WholeDays(current)));
}

TDateTime TDateTimePicker::Time() const {
    const TDateTime current = DateTime();
    return std::fabs(current - WholeDays(current));
}

void TDateTimePicker::SetTime(TDateTime value) {
    const TDateTime days = Date();
    const TDateTime fraction = std::fabs(value - WholeDays(value));
    SetDateTime(days >= 0 ? days + fraction : days - fraction);
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
    if (kind_ == value) return;
    kind_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
    if (dateMode_ == value) return;
    dateMode_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value) {
    if (dateFormat_ == value) return;
    dateFormat_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::Change() { OnChange(this); }

// The control paints into a bitmap; its background (the system window colour) becomes Color.
void TDateTimePicker::PaintColored(HDC target) {
    const TRect client = ClientRect();
    const int w = client.Width(), h = client.Height();
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    MemoryDC painted(target, w, h);
    {
        RECT r{0, 0, w, h};
        UniqueBrush background(CreateSolidBrush(window));
        FillRect(painted.Get(), &r, background.get());
    }
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(painted.Get()), 0, 0};
    DefaultHandler(paint);
    MemoryDC result(target, w, h);
    {
        RECT r{0, 0, w, h};
        UniqueBrush color(CreateSolidBrush(ColorToRGB(Color())));
        FillRect(result.Get(), &r, color.get());
    }
    TransparentBlt(result.Get(), 0, 0, w, h, painted.Get(), 0, 0, w, h, window);
    BitBlt(target, 0, 0, w, h, result.Get(), 0, 0, SRCCOPY);
}

void TDateTimePicker::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(message.LParam)->code == DTN_DATETIMECHANGE) {
            value_ = DateTime();
            if (!applying_) Change();
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (ColorToRGB(Color()) != GetSysColor(COLOR_WINDOW)) {
            message.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        if (ColorToRGB(Color()) != GetSysColor(COLOR_WINDOW)) {
            if (message.WParam != 0) {
                PaintColored(reinterpret_cast<HDC>(message.WParam));
            } else {
                const UniquePaintDC paint = BeginPaintDC(HandleIfAllocated());
                PaintColored(paint.get());
            }
            message.Result = 0;
            return;
        }
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}
