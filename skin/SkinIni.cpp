#include "skin/SkinIni.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "skin/SkinRead.h"

namespace {

bool IsSectionLine(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Lookups run for every key of every element a skin has: they compare in place, allocating nothing.
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view TrimmedView(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The line's key, trimmed; empty when the line has no "=".
std::string_view KeyOfLine(const std::string& line) {
    const std::size_t equals = line.find('=');
    return equals == std::string::npos ? std::string_view() : TrimmedView(std::string_view(line).substr(0, equals));
}

std::string ValueOfLine(const std::string& line) {
    const std::size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : SkinTrim(line.substr(equals + 1));
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

std::string SkinTrim(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(first), blank).base();
    return std::string(first, last);
}

bool SkinStrToInt(const std::string& text, int& value) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++at;
    const bool hex = at < text.size() && text[at] == '$';
    if (hex) ++at;
    if (at == text.size()) return false;
    const int base = hex ? 16 : 10;
    // Decimal must fit a signed 32-bit value; hexadecimal may use all 32 bits (FFFFFFFF is -1).
    const std::uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    std::uint64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at]);
        if (digit >= base) return false;
        magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) return false;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    value = static_cast<int>(static_cast<std::int32_t>(bits));
    return true;
}

void TQuickIni::LoadFromStream(TStream* stream) {
    if (stream == nullptr) return;
    const Int64 left = std::max<Int64>(0, stream->Size() - stream->Position());
    std::string text(static_cast<std::size_t>(left), '\0');
    text.resize(static_cast<std::size_t>(std::max<Int64>(0, stream->Read(text.data(), left))));
    LoadFromText(text);
}

void TQuickIni::LoadFromText(const std::string& text) {
    lines_.clear();
    sections_.clear();
    const std::string untilZero = text.substr(0, text.find('\0'));
    for (const std::string& raw : SplitSkinLines(untilZero)) {
        std::string line = SkinTrim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (IsSectionLine(line)) sections_.push_back({line, lines_.size()});
        lines_.push_back(std::move(line));
    }
}

void TQuickIni::ReadSections(std::vector<std::string>& sections) const {
    sections.clear();
    for (const Section& section : sections_) sections.push_back(SkinTrim(section.Line.substr(1, section.Line.size() - 2)));
}

const TQuickIni::Section* TQuickIni::FindSection(const std::string& section) const {
    for (const Section& candidate : sections_) {
        const std::string_view line = candidate.Line;
        if (SameText(line.substr(1, line.size() - 2), section)) return &candidate;
    }
    return nullptr;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return defaultValue;
    for (std::size_t i = found->Index + 1; i < lines_.size() && !IsSectionLine(lines_[i]); ++i) {
        if (!SameText(KeyOfLine(lines_[i]), key)) continue;
        const std::string value = ValueOfLine(lines_[i]);
        return value.empty() ? defaultValue : value;
    }
    return defaultValue;
}

int TQuickIni::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.erase(0, 1);
        text[0] = '$';
    }
    int value = 0;
    return SkinStrToInt(text, value) ? value : defaultValue;
}
