#include "export/filters/QRAsciiExportFilter.h"

#include <cmath>

#include "export/filters/QRGAbstractExportFilter.h"
#include "framework/rtl/Numeric.h"
#include "framework/rtl/StringUtils.h"

namespace {
// What the grid uses when the report font has no size: a size of 0 would make rows of no height.
constexpr int kFallbackPoints = 10;
}  // namespace

TQRAsciiExportFilter::TQRAsciiExportFilter(const String& fileName) : TQRExportFilter(fileName) {}

TQRAsciiExportFilter::~TQRAsciiExportFilter() = default;

void TQRAsciiExportFilter::BeginExport(int paperWidth, int paperLength, TFont* font) {
    if (!file_) file_ = std::make_unique<TFileReplacement>(FileName(), L"TXT");
    int points = font != nullptr ? font->Size() : 0;
    if (points <= 0) points = kFallbackPoints;
    lineHeight_ = charWidth_ = points * 254.0L / 72;  // tenths of a millimetre in a point
    lineCount_ = static_cast<int>(Round(paperLength / lineHeight_));
    lines_.assign(static_cast<std::size_t>(std::max(lineCount_, 0)), String());
    TQRExportFilter::BeginExport(paperWidth, paperLength, font);
}

void TQRAsciiExportFilter::OpenPage() {
    for (String& line : lines_) line.clear();
}

void TQRAsciiExportFilter::PlaceText(Extended x, Extended y, TFont*, TColor, TAlignment alignment,
                                     const String& text) {
    if (lineHeight_ <= 0) return;  // not begun
    // Grid columns are narrower than rows: printed characters are about 0.6 of their height wide.
    Extended column = x / charWidth_ * 1.7L;
    if (alignment == taRightJustify) column -= static_cast<Extended>(text.size());
    const Extended rowValue = std::floor(y / lineHeight_ + 0.5L);
    if (rowValue < 0) return;  // above the paper: no row holds it
    const auto row = static_cast<std::size_t>(rowValue);
    if (row >= lines_.size()) lines_.resize(row + 1);
    String& line = lines_[row];
    const Int64 position = Round(column);  // 1-based
    if (column > static_cast<Extended>(line.size()) && position > static_cast<Int64>(line.size()))
        line.append(static_cast<std::size_t>(position) - line.size(), L' ');
    if (position >= 1) {
        const auto start = static_cast<std::size_t>(position - 1);
        if (start < line.size()) line.erase(start, text.size());
        line.insert(std::min(start, line.size()), text);
    } else {
        line.insert(0, text);
    }
}

void TQRAsciiExportFilter::ClosePage() {
    if (!file_) return;
    std::string bytes;
    for (const String& line : lines_) {
        if (line.empty()) continue;
        bytes += StringToAnsi(line);
        bytes += "\r\n";
    }
    if (!bytes.empty()) file_->Stream().WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TQRAsciiExportFilter::EndExport() {
    const std::unique_ptr<TFileReplacement> file = std::move(file_);
    const bool complete = !ExportRunCancelled(*this);
    lineCount_ = 0;
    TQRExportFilter::EndExport();
    if (file && complete) file->Commit();
}
