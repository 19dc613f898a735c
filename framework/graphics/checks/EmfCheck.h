// The record check of enhanced metafiles (EMF) that come from outside the program: pages of a
// stored report, pictures a user loads. It runs without the OS, before Windows sees the bytes,
// because the system's metafile player trusts them: counts, offsets and object indices it reads
// from a record are used as they are.
#pragma once

#include <span>

#include "framework/rtl/System.h"

constexpr Cardinal EmfRecordHeader = 1;
constexpr Cardinal EmfRecordEof = 14;
constexpr Cardinal EmfSignature = 0x464D4520;  // " EMF"
constexpr int EmfMinHeaderSize = 88;           // the header record without its optional tail

// True when bytes are exactly one enhanced metafile: a header record with the signature whose
// nBytes is the buffer's size, then records that tile the buffer, nRecords of them, the last one
// the end-of-file record; and every record of a type IsCheckedEmfRecordType knows is sound:
// - whatever it points at (a description, a pixel format, a palette, strings and their spacing,
//   bitmap headers, colour tables and bits) lies inside it, as large as its fields say;
// - its point and polygon counts fit in it;
// - the objects it creates, selects or deletes have indices below the header's handle count, and
//   an object is created before it is selected or deleted;
// - its coordinates lie within a bound derived from the header's frame and bounds (so far as
//   they are those of a paper), its
//   transforms are finite and moderate, and its bitmaps stay within the picture limits.
bool IsSoundEmf(std::span<const Byte> bytes);

// Whether records of this type are checked in full by IsSoundEmf, and so may be played. A record
// of another type (one another GDI version writes, say) is skipped when a checked metafile is
// drawn.
bool IsCheckedEmfRecordType(Cardinal type);
