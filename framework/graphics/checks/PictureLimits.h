// How large a picture read from a file may be once decoded. The program is a 32-bit process:
// a picture that decodes into hundreds of megabytes fails somewhere deep in the system's code,
// or takes the process down, instead of being refused with a message.
#pragma once

#include "framework/rtl/System.h"

constexpr Int64 MaxPicturePixels = Int64{16} << 20;  // 16 megapixels (4096 x 4096)
constexpr Int64 MaxPictureBytes = Int64{64} << 20;   // 64 MB decoded

enum class TPictureLimit { None, Pixels, Bytes };

// The limit a picture of width x height pixels, rowBytes bytes to a decoded row, exceeds
// (None for one within both). Extents are taken as their magnitudes; nothing overflows.
TPictureLimit ExceededPictureLimit(Int64 width, Int64 height, Int64 rowBytes);

// The message that tells the user which limit a picture exceeds.
String PictureLimitMessage(TPictureLimit limit);
