#include "framework/graphics/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

// The functions that call setjmp keep only trivially destructible locals: longjmp skips
// destructors, so nothing with one may live in these frames.

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void TrapErrorExit(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    std::longjmp(trap->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

void InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = TrapErrorExit;
    trap.manager.output_message = IgnoreMessage;
}

// Decoded pictures beyond this many pixels are refused before any allocation.
constexpr long long kMaxPixels = 64ll * 1024 * 1024;

JpegResult Failure(int code) { return JpegResult{false, code}; }

}  // namespace

JpegResult JpegReadSize(const std::uint8_t* data, std::size_t size, int* width, int* height) {
    jpeg_decompress_struct info{};
    ErrorTrap trap;
    InstallTrap(trap);
    info.err = &trap.manager;
    if (setjmp(trap.jump)) {
        int code = trap.manager.msg_code;
        jpeg_destroy_decompress(&info);
        return Failure(code);
    }
    jpeg_create_decompress(&info);
    if (size == 0) ERREXIT(&info, JERR_INPUT_EMPTY);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    *width = static_cast<int>(info.image_width);
    *height = static_cast<int>(info.image_height);
    if (static_cast<long long>(*width) * *height > kMaxPixels) ERREXIT(&info, JERR_IMAGE_TOO_BIG);
    jpeg_destroy_decompress(&info);
    return {};
}

JpegResult JpegDecodeBgr(const std::uint8_t* data, std::size_t size, std::uint8_t* const* rows, int width, int height) {
    jpeg_decompress_struct info{};
    ErrorTrap trap;
    InstallTrap(trap);
    info.err = &trap.manager;
    if (setjmp(trap.jump)) {
        int code = trap.manager.msg_code;
        jpeg_destroy_decompress(&info);
        return Failure(code);
    }
    jpeg_create_decompress(&info);
    if (size == 0) ERREXIT(&info, JERR_INPUT_EMPTY);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (static_cast<int>(info.image_width) != width || static_cast<int>(info.image_height) != height)
        ERREXIT(&info, JERR_IMAGE_TOO_BIG);
    info.out_color_space = JCS_EXT_BGR;
    info.scale_num = info.scale_denom = 1;
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
        int code = trap.manager.msg_code;
        jpeg_destroy_compress(&info);
        return Failure(code);
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
