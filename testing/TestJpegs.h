// JPEG pictures made for tests through libjpeg itself: a plain one, and progressive ones of a
// chosen number of scans. The test program must link libjpeg.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace testjpeg {

// A grey picture of width x height coded with scans (null: baseline, one scan).
inline std::string GreyJpeg(int width, int height, const std::vector<jpeg_scan_info>* scans = nullptr) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    if (scans != nullptr) {
        info.scan_info = scans->data();
        info.num_scans = static_cast<int>(scans->size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) row[static_cast<std::size_t>(x)] = static_cast<JSAMPLE>((x * 7 + y * 3) & 0xFF);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

// A 16 x 16 grey progressive picture of 1 + dcRefinements + 63 scans: the DC coefficients,
// their refinements, then one scan for each AC coefficient.
inline std::string ProgressiveOfScans(int dcRefinements) {
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0}, 0, 0, 0, dcRefinements});
    for (int bit = dcRefinements; bit > 0; --bit) script.push_back({1, {0}, 0, 0, bit, bit - 1});
    for (int k = 1; k < 64; ++k) script.push_back({1, {0}, k, k, 0, 0});
    return GreyJpeg(16, 16, &script);
}

// The picture cut a little behind its (first) scan header.
inline std::string CutAfterScanHeader(const std::string& jpeg) {
    const std::size_t scan = jpeg.find("\xFF\xDA");
    return jpeg.substr(0, scan == std::string::npos ? jpeg.size() / 2 : scan + 40);
}

}  // namespace testjpeg
