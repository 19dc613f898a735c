// The record check of Windows metafiles (WMF) a user loads as pictures. The system converts
// one by playing its records, trusting their counts, object indices and bitmaps: the check runs
// before the bytes reach it.
#pragma once

#include <span>

#include "framework/rtl/System.h"

constexpr std::size_t WmfHeaderSize = 18;

// True when bytes (behind any placeable header) are one Windows metafile: an 18-byte header
// whose size in words is the buffer's, then records of known types inside the buffer up to the
// end-of-file record, where
// - counts (points, polygons, characters, spacing, palette entries) fit in their record;
// - an object is created into a free slot of the header's object table, and the indices that
//   select or delete one name a slot that holds an object;
// - bitmaps carry a header a player can use, their colour table and all their bits, within the
//   picture limits; scalings divide by no zero.
// A record of another type refuses the file: a Windows metafile is converted whole.
bool IsSoundWmf(std::span<const Byte> bytes);
