#include "report/pagestore/QRPageBytes.h"

#include "report/pagestore/QRFileFormat.h"

namespace {

Cardinal U32At(std::span<const Byte> bytes, std::size_t offset) {
    return static_cast<Cardinal>(GetInt32LE(bytes.data() + offset));
}

bool HeaderRecordIsSound(std::span<const Byte> bytes) {
    if (bytes.size() < EmfMinHeaderSize) return false;
    Cardinal headerSize = U32At(bytes, 4);
    if (U32At(bytes, 0) != EmfRecordHeader || U32At(bytes, 40) != EmfSignature) return false;
    if (headerSize < EmfMinHeaderSize || headerSize % 4 != 0 || headerSize > bytes.size()) return false;
    if (U32At(bytes, 48) != bytes.size()) return false;  // nBytes
    Cardinal descriptionChars = U32At(bytes, 60);
    Cardinal descriptionOffset = U32At(bytes, 64);
    if (descriptionChars != 0 &&
        (descriptionOffset < EmfMinHeaderSize || descriptionOffset > headerSize ||
         descriptionChars > (headerSize - descriptionOffset) / 2))
        return false;
    return true;
}

}  // namespace

bool IsValidEmf(std::span<const Byte> bytes) {
    if (!HeaderRecordIsSound(bytes) || bytes.size() % 4 != 0) return false;
    const Cardinal declaredRecords = U32At(bytes, 52);
    Cardinal records = 0;
    Cardinal lastType = 0;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < 8) return false;
        Cardinal type = U32At(bytes, offset);
        Cardinal size = U32At(bytes, offset + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - offset) return false;
        if (offset != 0 && type == EmfRecordHeader) return false;
        lastType = type;
        ++records;
        offset += size;
    }
    return records == declaredRecords && lastType == EmfRecordEof;
}
