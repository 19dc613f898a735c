// The prepared-report header on any bytes: the stream's header probe, the page list's header
// reading, and the field layout (a header built from what was read reads back the same).
#include <algorithm>
#include <cstdint>

#include "fuzz/FuzzPages.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const Byte> bytes(data, size);
    TQRPageList list;
    list.SetStream(fuzz::StreamOf(bytes));
    const int headerSize = list.Stream()->HeaderSize();
    Require(headerSize == QRHeaderSize || headerSize == QROldHeaderSize || headerSize == QROnePageHeaderSize ||
            headerSize == QRBareHeaderSize);
    Require(list.Stream()->Position() == 0);
    try {
        list.ReadHeader();
    } catch (const EQRCorruptFile&) {
        return 0;
    }
    Require(list.PageCount() >= 0);

    const TQRHeaderRecord rebuilt = BuildQRHeader(list.PageCount(), 45271.5, list.Compression());
    Require(HasCurrentFormatWords(rebuilt.data()));
    Require(HeaderPageCount(rebuilt) == list.PageCount() && HeaderCompressed(rebuilt) == list.Compression());
    if (size >= QRHeaderSize) {
        TQRHeaderRecord record{};
        std::copy_n(data, QRHeaderSize, record.begin());
        ConvertOldHeader(headerSize, record);
        if (headerSize == QRHeaderSize || headerSize == QROldHeaderSize)
            Require(HeaderPageCount(record) == list.PageCount() && HeaderCompressed(record) == list.Compression());
    }
    return 0;
}
