// A stored page is the byte image of an enhanced metafile (EMF), kept opaque by the page
// store. Its records are checked, without the OS, before any page is stored or handed on:
// Windows must never see a page that the graphics layer's metafile check refuses.
#pragma once

#include <span>
#include <vector>

#include "framework/graphics/checks/EmfCheck.h"
#include "framework/rtl/System.h"

using TQRPageBytes = std::vector<Byte>;

// True when bytes is exactly one enhanced metafile whose records are sound (IsSoundEmf).
bool IsValidEmf(std::span<const Byte> bytes);
