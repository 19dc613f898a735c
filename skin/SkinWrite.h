// The writer of skin archives and packed skins, the counterpart of TSkinReader (SkinRead.h):
// for the skin packer (tools/SkinPack.cpp) and the tests.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "framework/rtl/System.h"

struct TSkinEntry {
    std::string Name;
    std::vector<Byte> Bytes;
};

// The archive of entries: names lower-cased, each line ended by CR LF, zero in the 8 unread
// header bytes, entries in the order given except that the one whose name contains ".ini" goes
// last. Raises EInvalidArgument for more than kSkinMaxEntries entries, an empty name or one with
// a line break in it.
std::vector<Byte> WriteSkinArchive(std::vector<TSkinEntry> entries);

// The packed skin: the Int32 size of archive, then its LZHUF stream.
std::vector<Byte> PackSkin(std::span<const Byte> archive);
