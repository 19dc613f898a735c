// Page metafiles for the page-store tests and benchmark: hand-built byte images of an exact
// size, and pages drawn through the GDI like the report printer's.
#pragma once

#include <cstring>
#include <string>

#include "framework/graphics/GdiHandles.h"
#include "report/pagestore/QRFileFormat.h"
#include "report/pagestore/QRPageBytes.h"

namespace qrtest {

inline void PutU32(TQRPageBytes& bytes, std::size_t offset, Cardinal value) {
    PutInt32LE(bytes.data() + offset, static_cast<std::int32_t>(value));
}

// A metafile of exactly totalSize bytes (a multiple of 4, at least 120): the header record,
// one comment record carrying a pattern derived from seed, and the end-of-file record.
inline TQRPageBytes HandMadeEmf(std::size_t totalSize, unsigned seed = 1) {
    constexpr std::size_t kHeader = EmfMinHeaderSize, kEof = 20;
    TQRPageBytes emf(totalSize, 0);
    PutU32(emf, 0, EmfRecordHeader);
    PutU32(emf, 4, kHeader);
    PutU32(emf, 16, 100);  // bounds right, bottom
    PutU32(emf, 20, 100);
    PutU32(emf, 40, EmfSignature);
    PutU32(emf, 44, 0x10000);  // version
    PutU32(emf, 48, static_cast<Cardinal>(totalSize));
    PutU32(emf, 52, 3);  // records
    emf[56] = 1;         // handles
    PutU32(emf, 72, 1024);
    PutU32(emf, 76, 768);
    PutU32(emf, 80, 320);
    PutU32(emf, 84, 240);
    const std::size_t comment = totalSize - kHeader - kEof;
    PutU32(emf, kHeader, 70);  // EMR_GDICOMMENT
    PutU32(emf, kHeader + 4, static_cast<Cardinal>(comment));
    PutU32(emf, kHeader + 8, static_cast<Cardinal>(comment - 12));
    unsigned state = seed;
    for (std::size_t i = kHeader + 12; i < kHeader + comment; ++i) {
        state = state * 1103515245u + 12345u;
        emf[i] = static_cast<Byte>((state >> 16) % 23);  // skewed, so it compresses a little
    }
    const std::size_t eof = totalSize - kEof;
    PutU32(emf, eof, EmfRecordEof);
    PutU32(emf, eof + 4, kEof);
    PutU32(emf, eof + 12, 16);
    PutU32(emf, eof + 16, kEof);
    return emf;
}

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
