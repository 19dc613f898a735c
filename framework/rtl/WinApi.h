// The one way into the Win32 headers. The SDK defines function-name macros (DeleteFile,
// MessageBox, ...) that would silently rename the framework's own functions and methods, so
// they are removed here; framework code calls the explicit W (or A) entry points instead.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef CreateFile
#undef FindText
#undef GetObject
#undef MessageBox
#undef DrawText
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef LoadString
#undef CreateWindow
#undef CreateDialog
#undef GetClassName
#undef GetWindowText
#undef SetWindowText
#undef SendMessage
#undef PostMessage
#undef DispatchMessage
#undef PeekMessage
#undef GetMessage
#undef CreateFont
#undef TextOut
#undef StartDoc
#undef GetCurrentTime
#undef Yield
#undef GetFileAttributes
#undef CreateMetaFile
#undef CreateEnhMetaFile
#undef GetTempPath
#undef GetTempFileName
#undef FormatMessage
#undef RegisterClass
#undef UnregisterClass
#undef GetClassInfo
#undef DefWindowProc
#undef CallWindowProc
#undef SetWindowLong
#undef GetWindowLong
#undef SetProp
#undef GetProp
#undef RemoveProp
#undef InsertMenu
#undef AppendMenu
#undef ModifyMenu
#undef LoadMenu
#undef GetMenuString
#undef CharUpper
#undef CharLower
#undef EnumFonts
#undef DeviceCapabilities
#undef OpenPrinter
#undef GetPrinter
#undef SetPrinter
#undef DocumentProperties
#undef AddPrinter
#undef GetDefaultPrinter
#undef SetDefaultPrinter
#undef EnumPrinters
#undef ResetDC
#undef CreateDC
#undef CreateIC
#undef PlaySound
#undef GetUserName
#undef ShellExecute
#undef CreateEvent
#undef CreateMutex
#undef FindResource
#undef GetModuleFileName
#undef GetModuleHandle
#undef ExtractIcon
