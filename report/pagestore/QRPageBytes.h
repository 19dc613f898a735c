// A stored page is the byte image of an enhanced metafile (EMF), kept opaque by the page
// store. The structure is checked here, without the OS, before any page is stored or handed
// on: Windows must never see bytes whose sizes point outside the buffer.
#pragma once

#include <span>
#include <vector>

#include "framework/rtl/System.h"

using TQRPageBytes = std::vector<Byte>;

constexpr Cardinal EmfRecordHeader = 1;
constexpr Cardinal EmfRecordEof = 14;
constexpr Cardinal EmfSignature = 0x464D4520;  // " EMF"
constexpr int EmfMinHeaderSize = 88;           // the header record without its optional tail

// True when bytes is exactly one enhanced metafile: a header record with the signature whose
// nBytes is the buffer's size, then records that tile the buffer, nRecords of them, the last
// one the end-of-file record. Whatever a record points at (a description, a pixel format, a
// palette, strings and their spacing, bitmap headers, colour tables and bits) lies inside that
// record and is as large as the record's fields say it must be.
bool IsValidEmf(std::span<const Byte> bytes);
