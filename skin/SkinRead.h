// TSkinReader: unpacks a packed skin (an Int32 unpacked size, then the LZHUF stream of Lzh.h)
// and hands out the archive's entries by name.
//
// The archive, little-endian: Int32 version (20000), Int32 L, 8 bytes nobody reads, L bytes of
// entry names one a line, an Int32 size per name, then the entries' bytes in name order. A skin is
// outside input: every length and size is checked against the bytes there are before anything is
// read or allocated, and an archive that fails a check is refused as a whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/rtl/Streams.h"
#include "framework/rtl/System.h"

constexpr std::int32_t kSkinArchiveVersion = 20000;
constexpr int kSkinMaxEntries = 1001;
// Our skin unpacks to a quarter of a megabyte; anything claiming more than this is not a skin.
constexpr std::int32_t kSkinMaxUnpackedSize = 32 * 1024 * 1024;
constexpr int kSkinArchiveHeaderSize = 16;

inline constexpr const wchar_t* kOlderSkinMessage = L"This is Older Skin File\rPlease update to new version !";

// Tells the user something about the skin: the skin component passes one that shows a message
// box, tests one that records.
using TSkinNotifier = std::function<void(const String& message)>;

class TSkinReader : public TObject {
public:
    explicit TSkinReader(TSkinNotifier notifier = {});
    String ClassName() const override { return L"TSkinReader"; }

    // Decodes packed (from its start) into target (from its start). False, with nothing
    // decoded, when the size is missing, negative or above kSkinMaxUnpackedSize.
    bool UnpackStream(TStream& packed, TStream& target) const;
    // Unpacks and checks the archive. False when it is refused (another version is also told
    // through the notifier); the reader then holds no entries.
    bool LoadFromStream(TStream& packed);

    // The first entry named name (in any case); an empty target when there is none.
    void ExtractByName(const std::string& name, TMemoryStream& target) const;
    // The first entry whose lower-case name contains text as given (so only lower-case text can
    // match); its name goes to fullName. No such entry: an empty target, fullName unchanged.
    void ExtractByPart(const std::string& text, TMemoryStream& target, std::string& fullName) const;

    int EntryCount() const { return static_cast<int>(names_.size()); }
    const std::string& EntryName(int index) const { return names_.at(static_cast<std::size_t>(index)); }
    std::int32_t EntrySize(int index) const { return sizes_.at(static_cast<std::size_t>(index)); }
    std::int32_t Version() const { return version_; }

private:
    bool UnpackBytes(TStream& packed, std::vector<Byte>& archive) const;
    bool ReadArchive(std::vector<Byte>& archive);  // takes the archive's bytes when it is good
    void CopyEntry(int index, TMemoryStream& target) const;
    void Clear();

    TSkinNotifier notifier_;
    std::int32_t version_ = 0;
    std::int32_t nameListLength_ = 0;
    std::vector<std::string> names_;        // lower case
    std::vector<std::int32_t> sizes_;
    std::vector<std::int64_t> offsets_;     // of each entry in data_
    std::vector<Byte> data_;
};

// The lines of a name list: each ends at CR LF, CR or LF; a last line without an end counts.
std::vector<std::string> SplitSkinLines(const std::string& text);
std::string SkinLowerCase(std::string text);  // ASCII letters only, as the archive's names are
