// The pictures Folhavida carries as resources (drawn by tools/draw_app_images.py).
#pragma once

#include "framework/rtl/System.h"

class TBitmap;

// Reads the BMP file stored as RCDATA resource name into bitmap; raises EResNotFound when the
// program has no such resource.
void LoadBitmapResource(TBitmap& bitmap, const wchar_t* name);
