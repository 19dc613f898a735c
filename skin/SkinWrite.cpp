#include "skin/SkinWrite.h"

#include <algorithm>
#include <cstdint>

#include "skin/LzhEncode.h"
#include "skin/SkinRead.h"

namespace {

void AppendInt32(std::vector<Byte>& out, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<Byte>(bits >> shift));
}

void CheckEntries(const std::vector<TSkinEntry>& entries) {
    if (entries.size() > static_cast<std::size_t>(kSkinMaxEntries))
        throw EInvalidArgument(L"A skin archive holds at most 1001 entries");
    for (const TSkinEntry& entry : entries) {
        if (entry.Name.empty() || entry.Name.find_first_of("\r\n") != std::string::npos)
            throw EInvalidArgument(L"A skin entry needs a name of one line");
    }
}

}  // namespace

std::vector<Byte> WriteSkinArchive(std::vector<TSkinEntry> entries) {
    CheckEntries(entries);
    std::stable_partition(entries.begin(), entries.end(),
                          [](const TSkinEntry& entry) { return SkinLowerCase(entry.Name).find(".ini") == std::string::npos; });
    std::string names;
    for (const TSkinEntry& entry : entries) names += SkinLowerCase(entry.Name) + "\r\n";

    std::vector<Byte> out;
    AppendInt32(out, kSkinArchiveVersion);
    AppendInt32(out, static_cast<std::int64_t>(names.size()));
    out.insert(out.end(), 8, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const TSkinEntry& entry : entries) AppendInt32(out, static_cast<std::int64_t>(entry.Bytes.size()));
    for (const TSkinEntry& entry : entries) out.insert(out.end(), entry.Bytes.begin(), entry.Bytes.end());
    return out;
}

std::vector<Byte> PackSkin(std::span<const Byte> archive) {
    std::vector<Byte> out;
    AppendInt32(out, static_cast<std::int64_t>(archive.size()));
    const std::vector<Byte> stream = LzhPack(archive);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}
