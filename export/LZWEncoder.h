// LZW coding of picture samples for PDF files: the code stream a reader takes apart with the
// LZWDecode filter under its default parameters (early code-width change, no predictor). Codes
// are 9 to 12 bits, most significant bit first; the stream starts with a clear code, repeats it
// whenever the table is full and ends with the end-of-data code.
#pragma once

#include "framework/rtl/Streams.h"

// Reads all of source from position 0 and appends the code stream to destination from its
// current position. Every input is accepted.
void CompressStreamLZW(TStream& source, TStream& destination);
