#include "report/pagestore/QRFileFormat.h"

void RaiseCorruptFile() { throw EQRCorruptFile(L"Corrupt file"); }

TQRHeaderRecord BuildQRHeader(int pageCount, TDateTime created, bool compressed) {
    TQRHeaderRecord header{};
    header[0] = QRFormatWord1;
    header[2] = QRFormatWord2;
    PutInt32LE(&header[QRHeaderPageCountOffset], pageCount);
    static_assert(sizeof(TDateTime) == 8);
    std::memcpy(&header[QRHeaderCreatedOffset], &created, sizeof created);  // i686 is little-endian
    header[QRHeaderCompressionOffset] = compressed ? 1 : 0;
    std::memset(&header[26], 'H', 100);  // offsets 26..125; 126 and 127 stay 0
    return header;
}

bool HasCurrentFormatWords(const Byte* firstFourBytes) {
    return GetWordLE(firstFourBytes) == QRFormatWord1 && GetWordLE(firstFourBytes + 2) == QRFormatWord2;
}

void ConvertOldHeader(int headerSize, TQRHeaderRecord& record) {
    if (headerSize != QROldHeaderSize) return;
    const TQRHeaderRecord old = record;  // the moves overlap
    std::memcpy(&record[16], &old[12], 8);    // creation time
    record[24] = old[20];
    record[25] = old[21];                     // compression flag
    std::memcpy(&record[26], &old[22], 101);  // filler
    record[127] = 0;
}

int HeaderPageCount(const TQRHeaderRecord& record) { return GetInt32LE(&record[QRHeaderPageCountOffset]); }

bool HeaderCompressed(const TQRHeaderRecord& record) { return record[QRHeaderCompressionOffset] != 0; }
