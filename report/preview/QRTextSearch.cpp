#include "report/preview/QRTextSearch.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/rtl/StringUtils.h"

namespace {

constexpr std::uint32_t RecordExtTextOutA = 83;
constexpr std::uint32_t RecordExtTextOutW = 84;
// Offsets in a text-out record: the record header, the bounds, the graphics mode and the two
// scales come before the text structure, whose character count and string offset follow its
// reference point.
constexpr std::size_t CharCountOffset = 44;
constexpr std::size_t StringOffsetOffset = 48;
constexpr std::size_t TextRecordMinimum = 52;

std::uint32_t ReadUInt32(const Byte* p) {
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

bool searching = false;

class SearchGuard {
public:
    SearchGuard() : refused_(searching) { searching = true; }
    ~SearchGuard() {
        if (!refused_) searching = false;
    }
    bool Refused() const { return refused_; }

private:
    bool refused_;
};

// The text of a text-out record, or nothing when its fields point outside the record.
bool RecordText(const Byte* record, std::uint32_t recordSize, bool wide, String& text) {
    if (recordSize < TextRecordMinimum) return false;
    const std::uint64_t chars = ReadUInt32(record + CharCountOffset);
    const std::uint64_t offset = ReadUInt32(record + StringOffsetOffset);
    const std::uint64_t bytes = chars * (wide ? 2 : 1);
    if (offset > recordSize || bytes > recordSize - offset) return false;
    text.clear();
    text.reserve(static_cast<std::size_t>(chars));
    const Byte* p = record + offset;
    for (std::uint64_t i = 0; i < chars; ++i) {
        if (wide) {
            text.push_back(static_cast<wchar_t>(p[2 * i] | (p[2 * i + 1] << 8)));
        } else {
            // Single-byte text in the page's code page: Latin-1 covers what this system draws.
            text.push_back(static_cast<wchar_t>(p[i]));
        }
    }
    return true;
}

}  // namespace

bool FindTextInMetafileBytes(const String& text, const Byte* bytes, std::size_t size, bool matchCase) {
    SearchGuard guard;
    if (guard.Refused() || !bytes) return false;
    const String wanted = matchCase ? text : AnsiUpperCase(text);
    std::size_t position = 0;
    String recordText;
    while (size - position >= 8) {
        const Byte* record = bytes + position;
        const std::uint32_t type = ReadUInt32(record);
        const std::uint32_t recordSize = ReadUInt32(record + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || recordSize > size - position) return false;
        if ((type == RecordExtTextOutW || type == RecordExtTextOutA) &&
            RecordText(record, recordSize, type == RecordExtTextOutW, recordText)) {
            if (!matchCase) recordText = AnsiUpperCase(recordText);
            if (recordText.find(wanted) != String::npos) return true;
        }
        position += recordSize;
    }
    return false;
}

bool FindTextInMetafile(const String& text, const TMetafile* metafile, bool matchCase) {
    if (!metafile || !metafile->Handle()) return false;
    const UINT size = GetEnhMetaFileBits(metafile->Handle(), 0, nullptr);
    if (size == 0) return false;
    std::vector<Byte> bytes(size);
    if (GetEnhMetaFileBits(metafile->Handle(), size, bytes.data()) != size) return false;
    return FindTextInMetafileBytes(text, bytes.data(), bytes.size(), matchCase);
}
