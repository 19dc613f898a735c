// Page metafiles for the page-store tests and fuzz seeds: hand-built byte images of an exact size.
// Pages drawn through the GDI are in QRDrawnPages.h.
#pragma once

#include <cstring>
#include <string>

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

}  // namespace qrtest
