#include "skin/SkinRead.h"

#include <algorithm>
#include <cstring>

#include "skin/Lzh.h"

namespace {

std::int32_t Int32At(const Byte* p) {
    const std::uint32_t value = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                std::uint32_t(p[3]) << 24;
    return static_cast<std::int32_t>(value);
}

std::int32_t Int32At(const std::vector<Byte>& bytes, Int64 at) { return Int32At(bytes.data() + at); }

}  // namespace

std::vector<std::string> SplitSkinLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string SkinLowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

TSkinReader::TSkinReader(TSkinNotifier notifier) : notifier_(std::move(notifier)) {}

bool TSkinReader::UnpackBytes(TStream& packed, std::vector<Byte>& archive) const {
    archive.clear();
    packed.SetPosition(0);
    Byte sizeBytes[4];
    if (packed.Read(sizeBytes, 4) != 4) return false;
    const std::int32_t size = Int32At(sizeBytes);
    if (size < 0 || size > kSkinMaxUnpackedSize) return false;
    archive.reserve(static_cast<std::size_t>(size));
    TLZH lzh;
    lzh.LZHUnpack(
        size, [&](const Byte* buffer, Int64 count) { archive.insert(archive.end(), buffer, buffer + count); },
        [&](Byte* buffer, Int64 count) { return packed.Read(buffer, count); });
    return true;
}

bool TSkinReader::UnpackStream(TStream& packed, TStream& target) const {
    std::vector<Byte> archive;
    if (!UnpackBytes(packed, archive)) return false;
    target.SetPosition(0);
    if (!archive.empty()) target.WriteBuffer(archive.data(), static_cast<Int64>(archive.size()));
    return true;
}

bool TSkinReader::LoadFromStream(TStream& packed) {
    Clear();
    std::vector<Byte> archive;
    if (!UnpackBytes(packed, archive) || !ReadArchive(archive)) {
        Clear();
        return false;
    }
    return true;
}

bool TSkinReader::ReadArchive(std::vector<Byte>& archive) {
    const Int64 size = static_cast<Int64>(archive.size());
    if (size < kSkinArchiveHeaderSize) return false;
    version_ = Int32At(archive, 0);
    if (version_ != kSkinArchiveVersion) {
        if (notifier_) notifier_(kOlderSkinMessage);
        return false;
    }
    nameListLength_ = Int32At(archive, 4);
    if (nameListLength_ < 0 || kSkinArchiveHeaderSize + Int64{nameListLength_} > size) return false;

    const auto* names = reinterpret_cast<const char*>(archive.data() + kSkinArchiveHeaderSize);
    names_ = SplitSkinLines(SkinLowerCase(std::string(names, static_cast<std::size_t>(nameListLength_))));
    const Int64 count = static_cast<Int64>(names_.size());
    const Int64 dataStart = kSkinArchiveHeaderSize + Int64{nameListLength_} + 4 * count;
    if (count > kSkinMaxEntries || dataStart > size) return false;

    Int64 total = 0;
    for (Int64 i = 0; i < count; ++i) {
        const std::int32_t entrySize = Int32At(archive, kSkinArchiveHeaderSize + nameListLength_ + 4 * i);
        if (entrySize < 0) return false;
        sizes_.push_back(entrySize);
        offsets_.push_back(total);
        total += entrySize;
    }
    if (total > size - dataStart) return false;
    // The entries' bytes stay where they are: a second quarter megabyte of fresh pages costs more
    // than moving them down.
    archive.erase(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(dataStart));
    data_ = std::move(archive);
    return true;
}

void TSkinReader::Clear() {
    version_ = 0;
    nameListLength_ = 0;
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    data_.clear();
}

void TSkinReader::CopyEntry(int index, TMemoryStream& target) const {
    const auto at = static_cast<std::size_t>(index);
    if (sizes_[at] > 0) target.WriteBuffer(data_.data() + offsets_[at], sizes_[at]);
    target.SetPosition(0);
}

void TSkinReader::ExtractByName(const std::string& name, TMemoryStream& target) const {
    target.Clear();
    const auto found = std::find(names_.begin(), names_.end(), SkinLowerCase(name));
    if (found != names_.end()) CopyEntry(static_cast<int>(found - names_.begin()), target);
}

void TSkinReader::ExtractByPart(const std::string& text, TMemoryStream& target, std::string& fullName) const {
    target.Clear();
    const auto found = std::find_if(names_.begin(), names_.end(),
                                    [&](const std::string& name) { return name.find(text) != std::string::npos; });
    if (found == names_.end()) return;
    fullName = *found;
    CopyEntry(static_cast<int>(found - names_.begin()), target);
}
