// The message record every control handles, and the framework's own messages.
//
// CM_ messages (from CM_BASE) are sent between framework objects; CN_ messages (from CN_BASE)
// are notifications a parent reflects back to the child control they concern, so that each
// control answers its own WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, scrolling and colour requests in
// one place. CN_x is always CN_BASE + WM_x. The skin engine keeps 0xBC4A-0xBC4E for itself.
#pragma once

#include "framework/rtl/WinApi.h"

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(WParam); }
    WORD WParamHi() const { return HIWORD(WParam); }
    WORD LParamLo() const { return LOWORD(LParam); }
    WORD LParamHi() const { return HIWORD(LParam); }
    // Signed client coordinates of a mouse message.
    int XPos() const { return static_cast<short>(LOWORD(LParam)); }
    int YPos() const { return static_cast<short>(HIWORD(LParam)); }
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;          // WParam virtual key, LParam key data; Result 1 = handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;         // WParam character (Alt+letter accelerators); Result 1 = handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;       // LParam the newly focused TWinControl*, broadcast in a form
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x08;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x09;
constexpr UINT CM_HITTEST = CM_BASE + 0x0A;            // LParam client point (x, y); Result nonzero = the control is hit
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B;     // WParam the new state
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 0x0F;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 0x10;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 0x11;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;         // LParam the control (TControl*)
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;         // LParam the control (TControl*)
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;        // sent to the form whose menu changed
constexpr UINT CM_ENTER = CM_BASE + 0x1A;              // focus entered the control or one of its children
constexpr UINT CM_EXIT = CM_BASE + 0x1B;               // focus left it; raising refuses the move
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 0x1E;     // WParam virtual key; Result 1 = the control handles it itself
constexpr UINT CM_RELEASE = CM_BASE + 0x21;            // posted to a form: free it
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 0x28;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 0x2C;  // WParam the control, LParam 1 inserted / 0 removed
constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;        // destroy and create the window again
constexpr UINT CM_MODALRESULT = CM_BASE + 0x50;        // sent to the root of a clicked button's parents: WParam its modal result

constexpr UINT CN_BASE = 0xBD00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;      // before dispatch; Result 1 = consumed
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;            // before dispatch; Result 1 = consumed, WParam may change
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// Modal results: what a modal form or message dialog answers.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;
