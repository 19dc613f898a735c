// JPEG encoding and decoding of 24-bit BGR rows through libjpeg. Codec errors come back as the
// library's message code; libjpeg's fatal-error path is turned into a return, never a process exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Why a picture was refused before or while it was decoded, other than by a codec error.
enum class TJpegRefusal { None, Pixels, Bytes, Scans };

struct JpegResult {
    bool ok = true;
    int errorCode = 0;  // libjpeg's msg_code when !ok
    TJpegRefusal refusal = TJpegRefusal::None;
};

// A progressive picture of more scans than this is refused: each scan is a pass over the whole
// picture, so their number, not the file's size, sets how long a decode takes.
constexpr int JpegMaxScans = 64;

// Reads the header only. A picture beyond the picture limits (16 megapixels, 64 MB decoded) is
// refused here, before anything is allocated for it.
JpegResult JpegReadSize(const std::uint8_t* data, std::size_t size, int* width, int* height);
// Decodes into rows[0..height), each width * 3 bytes of blue, green, red; width and height must be
// those JpegReadSize returned. Greyscale pictures come out as equal B, G and R. Data cut short or
// corrupt (which libjpeg only warns about, filling the rest with grey) fails, and so does a
// decode past JpegMaxScans scans or past a budget of scans times pixels.
JpegResult JpegDecodeBgr(const std::uint8_t* data, std::size_t size, std::uint8_t* const* rows, int width, int height);
// Baseline colour JPEG at quality 1..100.
JpegResult JpegEncodeBgr(const std::uint8_t* const* rows, int width, int height, int quality,
                         std::vector<std::uint8_t>& out);
