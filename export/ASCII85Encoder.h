// ASCII85 text of binary data for PDF streams, with a line break after every 41 groups and the
// "~>" end marker; an all-zero group of four bytes is written as "z".
#pragma once

#include "framework/rtl/Streams.h"

// Empties destination and writes the text of all of source, read from position 0.
void EncodeASCII85(TStream& source, TStream& destination);
