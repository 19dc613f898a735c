// What the display offers: resolution, size, colour depth and the installed font families.
#pragma once

#include <vector>

#include "framework/rtl/System.h"

namespace ScreenMetrics {

int PixelsPerInch();  // logical pixels per inch of the screen (vertical)
int Width();          // primary screen, pixels
int Height();
int ColorDepth();     // bits per pixel
// The font families installed, sorted case-insensitively, without duplicates or vertical ("@") faces.
std::vector<String> Fonts();

}  // namespace ScreenMetrics
