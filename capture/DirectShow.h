// The one way into the DirectShow headers for the capture code. dshow.h pulls in windowsx.h,
// whose function-like macros (SelectFont, SelectPen, ...) would rename the framework's methods;
// they are removed here, after the Win32 headers' own renames (WinApi.h).
#pragma once

#include "framework/rtl/WinApi.h"

#include <dshow.h>
#include <qedit.h>
#include <d3d9.h>
#include <vmr9.h>

#undef SelectFont
#undef SelectPen
#undef SelectBrush
#undef SelectBitmap
#undef DeleteFont
#undef DeletePen
#undef DeleteBrush
#undef DeleteBitmap
#undef SubclassWindow
#undef GetWindowFont
#undef SetWindowFont
