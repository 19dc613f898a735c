// Pages drawn through the GDI like the report printer's, for the page-store tests and benchmark
// that run on Windows.
#pragma once

#include <string>

#include "framework/graphics/GdiHandles.h"
#include "report/pagestore/QRPageBytes.h"

namespace qrtest {

// A page drawn like a résumé page: headings, lines of text, rules and a frame.
inline TQRPageBytes DrawnPageEmf(int pageNumber) {
    RECT frame{0, 0, 21000, 29700};  // A4 in 0.01 mm
    UniqueMetafileRecording recording(CreateEnhMetaFileW(nullptr, nullptr, &frame, L"Folhavida\0Pagina\0\0"));
    if (!recording) return {};
    const HDC dc = recording.get();
    const UniqueFont font(CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    {
        SelectionGuard selected(dc, font.get());
        Rectangle(dc, 40, 40, 2440, 3460);
        for (int line = 0; line < 60; ++line) {
            std::wstring text = L"Experiência profissional " + std::to_wstring(pageNumber) + L"." +
                                std::to_wstring(line) + L": analista de sistemas, 2019 a 2024";
            TextOutW(dc, 120, 100 + line * 55, text.c_str(), static_cast<int>(text.size()));
            if (line % 10 == 0) {
                MoveToEx(dc, 100, 90 + line * 55, nullptr);
                LineTo(dc, 2400, 90 + line * 55);
            }
        }
    }
    const UniqueEnhMetafile metafile(CloseEnhMetaFile(recording.release()));
    UINT size = GetEnhMetaFileBits(metafile.get(), 0, nullptr);
    TQRPageBytes bytes(size);
    GetEnhMetaFileBits(metafile.get(), size, bytes.data());
    return bytes;
}

}  // namespace qrtest
