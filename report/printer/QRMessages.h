// The report engine's window messages, and letting pending window messages run during long
// operations (report generation, printing stored pages) so that the preview, the progress
// window and its Cancel button stay live. The engine links no windowing layer: by default it
// dispatches what is waiting itself; a program with an application object installs that
// object's message handling instead (hints, shortcuts and dialog keys then work too).
#pragma once

#include "framework/rtl/WinApi.h"

// Posted to the printer's client window: wParam the percent done.
constexpr UINT CM_QRPROGRESS = WM_USER;
// Posted to the printer's client window: wParam the pages available.
constexpr UINT CM_QRPAGEREADY = WM_USER + 1;
// Posted to the report window: print the report again, straight to the printer.
constexpr UINT CM_QRPRINTREQUEST = WM_USER + 2;
// Sent to the report window when the preview closed: lParam the report printer.
constexpr UINT CM_QRPREVIEWDONE = WM_USER + 4;

using TQRMessagePump = void (*)();
// Installs the pump (null: the engine's own); returns the previous one.
TQRMessagePump SetQRMessagePump(TQRMessagePump pump);
// Handles every window message waiting now, then returns. A quit request stays queued.
void QRProcessMessages();

// Waits for one window message and handles it; false when the program is quitting (the quit
// request stays queued for the loop that owns it). A nested loop that lasts while a window is
// open (the report's preview) is built from it.
using TQRMessageWait = bool (*)();
// Installs the wait (null: the engine's own); returns the previous one.
TQRMessageWait SetQRMessageWait(TQRMessageWait wait);
bool QRHandleMessage();
