// JPEG encoding and decoding of 24-bit BGR rows through libjpeg. Codec errors come back as the
// library's message code; libjpeg's fatal-error path is turned into a return, never a process exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct JpegResult {
    bool ok = true;
    int errorCode = 0;  // libjpeg's msg_code when !ok
};

// Reads the header only.
JpegResult JpegReadSize(const std::uint8_t* data, std::size_t size, int* width, int* height);
// Decodes into rows[0..height), each width * 3 bytes of blue, green, red; width and height must be
// those JpegReadSize returned. Greyscale pictures come out as equal B, G and R.
JpegResult JpegDecodeBgr(const std::uint8_t* data, std::size_t size, std::uint8_t* const* rows, int width, int height);
// Baseline colour JPEG at quality 1..100.
JpegResult JpegEncodeBgr(const std::uint8_t* const* rows, int width, int height, int quality,
                         std::vector<std::uint8_t>& out);
