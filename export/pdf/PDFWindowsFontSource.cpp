#include "export/pdf/PDFWindowsFontSource.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "export/PDFFontTables.h"
#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/Platform.h"
#include "framework/rtl/WinApi.h"
#include "report/printer/QRPrinter.h"

unsigned CodePageOfCharset(std::uint8_t charset) {
    switch (charset) {
    case SHIFTJIS_CHARSET: return 932;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case VIETNAMESE_CHARSET: return 1258;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case RUSSIAN_CHARSET: return 1251;
    case THAI_CHARSET: return 874;
    case EASTEUROPE_CHARSET: return 1250;
    case OEM_CHARSET: return CP_OEMCP;
    default: return 1252;
    }
}

namespace {

// The two tables used are a few hundred bytes; a table claiming more is not read.
constexpr DWORD kMaxTableSize = 64 * 1024;

class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~TSelection() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The table of the selected font (of its own font in a collection, which GetFontData picks), or
// only its first bytes (prefix > 0); nothing when the font has no such table.
std::optional<std::vector<Byte>> ReadTable(HDC dc, const char (&tag)[5], DWORD prefix = 0) {
    const DWORD name = static_cast<DWORD>(static_cast<Byte>(tag[0])) |
                       static_cast<DWORD>(static_cast<Byte>(tag[1])) << 8 |
                       static_cast<DWORD>(static_cast<Byte>(tag[2])) << 16 |
                       static_cast<DWORD>(static_cast<Byte>(tag[3])) << 24;
    DWORD size = GetFontData(dc, name, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) return std::nullopt;
    if (prefix > 0) size = std::min(size, prefix);
    if (size > kMaxTableSize) return std::nullopt;
    std::vector<Byte> data(size);
    if (GetFontData(dc, name, 0, data.data(), size) != size) return std::nullopt;
    return data;
}

String Utf8ToString(const std::string& text) { return platform::FromCodePage(text, CP_UTF8); }

}  // namespace

TPDFFontMetrics TPDFWindowsFontSource::Metrics(const TPDFFontKey& key) {
    // An information context of the display: fonts are measured without drawing anything.
    UniqueDC dc(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!dc) throw EQRError(L"GetFontData error");
    LOGFONTW logFont{};
    logFont.lfHeight = -1000;  // an em of 1000 units: the figures need no scaling
    logFont.lfWeight = key.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = key.Italic ? TRUE : FALSE;
    logFont.lfCharSet = key.Charset;
    const String face = Utf8ToString(key.FaceName);
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    UniqueFont font(CreateFontIndirectW(&logFont));
    if (!font) throw EQRError(L"GetFontData error");
    TSelection selected(dc.get(), font.get());

    std::optional<std::vector<Byte>> headTable = ReadTable(dc.get(), "head");
    std::optional<TTrueTypeHead> head;
    if (headTable) head = ParseTrueTypeHead(*headTable);
    if (!head || head->UnitsPerEm == 0) throw EQRError(L"GetFontData error");
    std::optional<TTrueTypeOS2> os2;
    if (std::optional<std::vector<Byte>> os2Table = ReadTable(dc.get(), "OS/2")) os2 = ParseTrueTypeOS2(*os2Table);

    const UINT otmSize = GetOutlineTextMetricsW(dc.get(), 0, nullptr);
    if (otmSize < sizeof(OUTLINETEXTMETRICW)) throw EQRError(L"GetFontData error");
    std::vector<Byte> otmBytes(otmSize);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(otmBytes.data());
    if (GetOutlineTextMetricsW(dc.get(), otmSize, otm) == 0) throw EQRError(L"GetFontData error");
    // The single-byte view of the font: its last code is the last byte value it maps.
    TEXTMETRICA ansiMetrics{};
    if (!GetTextMetricsA(dc.get(), &ansiMetrics)) throw EQRError(L"GetFontData error");

    TPDFFontMetrics m;
    m.FirstChar = 0;
    m.LastChar = ansiMetrics.tmLastChar;
    std::vector<INT> widths(static_cast<std::size_t>(m.LastChar) + 1);
    if (!GetCharWidth32A(dc.get(), 0, static_cast<UINT>(m.LastChar), widths.data()))
        throw ERangeError(Format(L"Font widths for \"%s\" not obtainable (%s)", {face, SysErrorMessage(GetLastError())}));
    m.Widths.assign(widths.begin(), widths.end());

    m.Ascent = static_cast<std::int32_t>(otm->otmAscent);
    m.Descent = static_cast<std::int32_t>(otm->otmDescent);
    // The post table's angle: not every system fills in the metrics' own (Wine leaves it 0).
    std::optional<double> italicAngle;
    if (std::optional<std::vector<Byte>> post = ReadTable(dc.get(), "post", 8))
        italicAngle = ParseTrueTypeItalicAngle(*post);
    m.ItalicAngle = italicAngle ? static_cast<std::int32_t>(std::lround(*italicAngle))
                                : static_cast<std::int32_t>(otm->otmItalicAngle) / 10;  // tenths of a degree
    m.CapHeight = os2 && os2->CapHeight ? ScaleTo1000(*os2->CapHeight, head->UnitsPerEm)
                                        : static_cast<std::int32_t>(otm->otmsCapEmHeight);
    m.StemV = StemVFromWeight(os2 ? os2->WeightClass : static_cast<std::uint16_t>(otm->otmTextMetrics.tmWeight));
    m.FontBBox = {ScaleTo1000(head->XMin, head->UnitsPerEm), ScaleTo1000(head->YMin, head->UnitsPerEm),
                  ScaleTo1000(head->XMax, head->UnitsPerEm), ScaleTo1000(head->YMax, head->UnitsPerEm)};

    // The character set the system gave the font, which may differ from the one asked for.
    const auto charset = static_cast<std::uint8_t>(GetTextCharset(dc.get()));
    // The pitch bit is set for a variable-pitch font.
    const bool fixedPitch = (otm->otmTextMetrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    const bool serif = os2 ? SerifFamilyClass(os2->FamilyClass)
                           : (otm->otmTextMetrics.tmPitchAndFamily & 0xF0) == FF_ROMAN;
    const bool script = os2 ? ScriptFamilyClass(os2->FamilyClass)
                            : (otm->otmTextMetrics.tmPitchAndFamily & 0xF0) == FF_SCRIPT;
    // A face drawn slanted (a chancery face is) is italic whatever style was asked for.
    m.Flags = PDFFontFlags(charset, fixedPitch, serif, script, key.Italic || m.ItalicAngle != 0);

    char bytes[255];
    for (int i = 0; i < 255; ++i) bytes[i] = static_cast<char>(i + 1);
    std::u16string values(255, u'\0');
    const int converted = MultiByteToWideChar(CodePageOfCharset(charset), 0, bytes, 255,
                                              reinterpret_cast<wchar_t*>(values.data()), 255);
    m.Encoding = PDFEncoding(converted == 255 ? &values : nullptr);
    return m;
}

std::optional<TFontUnderline> SelectedFontUnderline(HDC dc) {
    const std::optional<std::vector<Byte>> post = ReadTable(dc, "post", 12);
    const std::optional<std::vector<Byte>> headTable = ReadTable(dc, "head");
    if (!post || !headTable) return std::nullopt;
    const std::optional<TTrueTypeUnderline> underline = ParseTrueTypeUnderline(*post);
    const std::optional<TTrueTypeHead> head = ParseTrueTypeHead(*headTable);
    if (!underline || !head || head->UnitsPerEm == 0 || underline->Thickness <= 0) return std::nullopt;
    const double em = head->UnitsPerEm;
    // The rule is centred on the table's position, as the screen's text output draws it: right
    // under the letters, not a stroke below them.
    return TFontUnderline{-underline->Position / em, underline->Thickness / em};
}
