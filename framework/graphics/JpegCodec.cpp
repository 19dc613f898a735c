#include "framework/graphics/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "framework/graphics/checks/PictureLimits.h"

// The functions that call setjmp keep only trivially destructible locals: longjmp skips
// destructors, so nothing with one may live in these frames.

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    TJpegRefusal refusal = TJpegRefusal::None;
};

[[noreturn]] void TrapErrorExit(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    std::longjmp(trap->jump, 1);
}

[[noreturn]] void Refuse(j_common_ptr info, TJpegRefusal refusal) {
    reinterpret_cast<ErrorTrap*>(info->err)->refusal = refusal;
    ERREXIT(info, JERR_IMAGE_TOO_BIG);
    TrapErrorExit(info);  // not reached: ERREXIT leaves through TrapErrorExit
}

// libjpeg carries on past data cut short or corrupt, with a warning, and fills what it could
// not decode with grey: for a picture from a file that is a failure.
bool IsDamageWarning(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:          // premature end of the file
    case JWRN_HIT_MARKER:        // premature end of a data segment
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

void TrapDamageWarning(j_common_ptr info, int level) {
    if (level < 0 && IsDamageWarning(info->err->msg_code)) TrapErrorExit(info);
}

void IgnoreMessage(j_common_ptr) {}

void InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = TrapErrorExit;
    trap.manager.emit_message = TrapDamageWarning;
    trap.manager.output_message = IgnoreMessage;
}

// Scans times pixels: a picture at the pixel limit may take half the scan limit.
constexpr long long kScanPixelBudget = (JpegMaxScans / 2) * static_cast<long long>(MaxPicturePixels);

// Called by libjpeg before each step of input: stops a decode whose scans have gone past the limits.
void WatchScans(j_common_ptr common) {
    if (!common->is_decompressor) return;
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    const long long scans = info->input_scan_number;
    if (scans > JpegMaxScans) Refuse(common, TJpegRefusal::Scans);
    if (scans * info->image_width * info->image_height > kScanPixelBudget) Refuse(common, TJpegRefusal::Scans);
}

TJpegRefusal LimitRefusal(long long width, long long height) {
    switch (ExceededPictureLimit(width, height, width * 3)) {
    case TPictureLimit::Pixels: return TJpegRefusal::Pixels;
    case TPictureLimit::Bytes: return TJpegRefusal::Bytes;
    default: return TJpegRefusal::None;
    }
}

JpegResult Failure(const ErrorTrap& trap) { return JpegResult{false, trap.manager.msg_code, trap.refusal}; }

}  // namespace

JpegResult JpegReadSize(const std::uint8_t* data, std::size_t size, int* width, int* height) {
    jpeg_decompress_struct info{};
    ErrorTrap trap;
    InstallTrap(trap);
    info.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return Failure(trap);
    }
    jpeg_create_decompress(&info);
    if (size == 0) ERREXIT(&info, JERR_INPUT_EMPTY);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const TJpegRefusal refusal = LimitRefusal(info.image_width, info.image_height);
    if (refusal != TJpegRefusal::None) Refuse(reinterpret_cast<j_common_ptr>(&info), refusal);
    *width = static_cast<int>(info.image_width);
    *height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return {};
}

JpegResult JpegDecodeBgr(const std::uint8_t* data, std::size_t size, std::uint8_t* const* rows, int width, int height) {
    jpeg_decompress_struct info{};
    jpeg_progress_mgr progress{};
    ErrorTrap trap;
    InstallTrap(trap);
    info.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return Failure(trap);
    }
    jpeg_create_decompress(&info);
    if (size == 0) ERREXIT(&info, JERR_INPUT_EMPTY);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (static_cast<int>(info.image_width) != width || static_cast<int>(info.image_height) != height)
        ERREXIT(&info, JERR_IMAGE_TOO_BIG);
    info.out_color_space = JCS_EXT_BGR;
    info.scale_num = info.scale_denom = 1;
    progress.progress_monitor = WatchScans;
    info.progress = &progress;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows[info.output_scanline];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return {};
}

namespace {

// Encodes into a buffer libjpeg allocates with malloc; *buffer must be freed by the caller
// also when the result is a failure.
JpegResult EncodeToMalloc(const std::uint8_t* const* rows, int width, int height, int quality,
                          unsigned char** buffer, unsigned long* size) {
    jpeg_compress_struct info{};
    ErrorTrap trap;
    InstallTrap(trap);
    info.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        return Failure(trap);
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows[info.next_scanline]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return {};
}

}  // namespace

JpegResult JpegEncodeBgr(const std::uint8_t* const* rows, int width, int height, int quality,
                         std::vector<std::uint8_t>& out) {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegResult result = EncodeToMalloc(rows, width, height, quality, &buffer, &size);
    struct FreeBuffer {
        unsigned char* p;
        ~FreeBuffer() { std::free(p); }
    } release{buffer};
    if (result.ok) out.assign(buffer, buffer + size);
    return result;
}
