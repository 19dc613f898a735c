// The picture the synthetic test camera delivers: 320 x 240 RGB24, bottom-up rows as a DIB has
// them. Blue rises from left to right, green from top to bottom, and red carries the low byte
// of the frame number, so a grabbed frame tells which frame it was and can be compared whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include <guiddef.h>

constexpr int SyntheticWidth = 320;
constexpr int SyntheticHeight = 240;
constexpr int SyntheticStride = SyntheticWidth * 3;  // already a multiple of 4
constexpr std::size_t SyntheticFrameBytes = static_cast<std::size_t>(SyntheticStride) * SyntheticHeight;

// The camera's filter class and the name it is listed under among the video-input devices.
// {6A3F8B52-2C1D-4E7A-9B05-7D41C2E9A613}
inline constexpr GUID CLSID_SyntheticCamera = {0x6A3F8B52, 0x2C1D, 0x4E7A, {0x9B, 0x05, 0x7D, 0x41, 0xC2, 0xE9, 0xA6, 0x13}};
inline constexpr wchar_t SyntheticCameraName[] = L"Folhavida Synthetic Camera";

// Blue, green, red of the pixel at (x, y), y counted from the top of the picture.
inline void SyntheticPixel(int x, int y, std::uint32_t frame, std::uint8_t bgr[3]) {
    bgr[0] = static_cast<std::uint8_t>(x * 255 / (SyntheticWidth - 1));
    bgr[1] = static_cast<std::uint8_t>(y * 255 / (SyntheticHeight - 1));
    bgr[2] = static_cast<std::uint8_t>(frame & 0xFF);
}

inline void FillSyntheticFrame(std::uint8_t* bits, std::uint32_t frame) {
    for (int row = 0; row < SyntheticHeight; ++row) {
        std::uint8_t* p = bits + static_cast<std::size_t>(row) * SyntheticStride;
        const int y = SyntheticHeight - 1 - row;
        for (int x = 0; x < SyntheticWidth; ++x, p += 3) SyntheticPixel(x, y, frame, p);
    }
}

// Whether bits (bottom-up rows of stride SyntheticStride) hold one whole frame of the pattern;
// frame receives the low byte of its number.
inline bool IsSyntheticFrame(const std::uint8_t* bits, std::uint32_t& frame) {
    frame = bits[2];
    for (int row = 0; row < SyntheticHeight; ++row) {
        const std::uint8_t* p = bits + static_cast<std::size_t>(row) * SyntheticStride;
        const int y = SyntheticHeight - 1 - row;
        for (int x = 0; x < SyntheticWidth; ++x, p += 3) {
            std::uint8_t expected[3];
            SyntheticPixel(x, y, frame, expected);
            if (p[0] != expected[0] || p[1] != expected[1] || p[2] != expected[2]) return false;
        }
    }
    return true;
}
