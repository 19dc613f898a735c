#include "export/filters/QRHTMLDocumentFilter.h"

#include <algorithm>
#include <cmath>

#include "export/filters/QRGrDBImage.h"
#include "export/filters/QRGrImage.h"
#include "export/filters/QRHRule.h"
#include "framework/classes/ComponentScope.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/JpegImage.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/Numeric.h"
#include "framework/rtl/StringUtils.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRReportLinks.h"
#include "report/printables/QRShape.h"
#include "report/printer/QRPrinter.h"

TQRHTMLFilterSettings& HTMLFilterSettings() { return ScopeObject<TQRHTMLFilterSettings>(); }

String HTMLColor(TColor color) {
    const TColor rgb = static_cast<TColor>(ColorToRGB(color));
    return Format(L"#%2.2X%2.2X%2.2X", {RedOf(rgb), GreenOf(rgb), BlueOf(rgb)});
}

String HTMLEscape(const String& text, bool blanks) {
    // In element text a quote needs nothing; in an attribute value it would end the value.
    String result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&': result += L"&amp;"; break;
        case L'<': result += L"&lt;"; break;
        case L'>': result += L"&gt;"; break;
        case L'"': result += blanks ? String(L"\"") : String(L"&quot;"); break;
        case L' ':
            if (blanks) {
                result += L"&nbsp;";
                break;
            }
            [[fallthrough]];
        default: result += c;
        }
    }
    return result;
}

String URLEscape(const String& name) {
    static const char digits[] = "0123456789ABCDEF";
    String result;
    for (unsigned char byte : StringToUtf8(name)) {
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (plain) {
            result += static_cast<wchar_t>(byte);
        } else {
            result += L'%';
            result += static_cast<wchar_t>(digits[byte >> 4]);
            result += static_cast<wchar_t>(digits[byte & 0x0F]);
        }
    }
    return result;
}

namespace {

String Num(Int64 value) { return IntToStr(value); }

// A font name as a CSS value inside a double-quoted attribute. Ordinary names stay as they are;
// anything else is quoted, so that a ";" or quote in the name cannot end the declaration.
String CSSFontName(const String& name) {
    bool plain = !name.empty();
    for (wchar_t c : name)
        if (!((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L' ' ||
              c == L'-' || c == L'_'))
            plain = false;
    if (plain) return name;
    String quoted = L"'";
    for (wchar_t c : name) {
        if (c == L'\'' || c == L'\\') quoted += L'\\';
        quoted += c;
    }
    quoted += L'\'';
    return HTMLEscape(quoted, false);
}

// The faces the résumé is laid out with, each followed by the face a machine without it draws
// it with (Wine here, and the browsers of free systems, find these under the second name: the
// Liberation faces have the same advance widths as the first three), then the generic family.
// Without the second name a browser that lacks the first falls back to its default face, whose
// wider letters run a caption into its value.
struct TFaceStandIn {
    const wchar_t* Face;
    const wchar_t* StandIn;
    const wchar_t* Generic;
};
constexpr TFaceStandIn kFaceStandIns[] = {
    {L"Arial", L"Liberation Sans", L"sans-serif"},
    {L"Times New Roman", L"Liberation Serif", L"serif"},
    {L"Courier New", L"Liberation Mono", L"monospace"},
    {L"Monotype Corsiva", L"Z003", L"cursive"},
    {L"Brush Script MT", L"Kaushan Script", L"cursive"},
};

String CSSFontFamily(const String& name) {
    for (const TFaceStandIn& face : kFaceStandIns)
        if (SameText(name, face.Face))
            return CSSFontName(name) + L"," + CSSFontName(face.StandIn) + L"," + face.Generic;
    return CSSFontName(name);
}

// The file name without its folder and extension.
String BaseName(const String& fileName) {
    String name = ExtractFileName(fileName);
    const std::size_t dot = name.rfind(L'.');
    return dot == String::npos ? name : name.substr(0, dot);
}

}  // namespace

TQRGHTMLDocumentFilter::TQRGHTMLDocumentFilter(const String& fileName) : TQRGAbstractExportFilter(fileName) {
    HTMLFilterSettings() = TQRHTMLFilterSettings();
}

TQRGHTMLDocumentFilter::~TQRGHTMLDocumentFilter() = default;

void TQRGHTMLDocumentFilter::OpenOutput(const String& fileName) {
    if (!fileName.empty()) {
        TQRGAbstractExportFilter::OpenOutput(fileName);
        ownsStream_ = true;
    } else {
        memoryOutput_ = std::make_unique<TMemoryStream>();
        SetOutput(memoryOutput_.get());
        ownsStream_ = false;
    }
}

void TQRGHTMLDocumentFilter::CloseOutput() {
    if (!ownsStream_) {
        SetOutput(static_cast<TStream*>(nullptr));
        return;
    }
    // The page last: a picture that cannot take its name leaves the earlier page in place.
    for (const auto& picture : pictures_) picture->Commit();
    pictures_.clear();
    TQRGAbstractExportFilter::CloseOutput();
}

void TQRGHTMLDocumentFilter::DiscardOutput() {
    pictures_.clear();
    TQRGAbstractExportFilter::DiscardOutput();
}

void TQRGHTMLDocumentFilter::MarkPageDone() {
    TQRGAbstractExportFilter::MarkPageDone();
    AfterPageDone();
}

void TQRGHTMLDocumentFilter::WriteLine(const String& line) { WriteOutput(StringToUtf8(line + L"\r\n")); }

void TQRGHTMLDocumentFilter::BeginExport(int paperWidth, int paperLength, TFont* font) {
    pictureFiles_.clear();
    pictures_.clear();
    TQRGAbstractExportFilter::BeginExport(paperWidth, paperLength, font);
    String attributes = L" bgcolor=\"" + HTMLColor(bodyColor_) + L"\" ";
    if (!Trim(backgroundPicture_).empty())
        attributes += L" background=\"" + HTMLEscape(backgroundPicture_, false) + L"\"";
    if (!extraBodyAttributes_.empty()) attributes += L" " + extraBodyAttributes_;
    WriteLine(L"<!DOCTYPE html>");
    WriteLine(L"<html>");
    WriteLine(L"<head>");
    WriteLine(L" <meta charset=\"utf-8\">");
    WriteLine(L" <title>" + HTMLEscape(BaseName(FileName()), false) + L"</title>");
    WriteLine(L"</head>");
    WriteLine(L"<body " + attributes + L">");
}

void TQRGHTMLDocumentFilter::ClosePage() {
    TQRGAbstractExportFilter::ClosePage();
    ++pageNumber_;
    firstPage_ = false;
}

void TQRGHTMLDocumentFilter::OpenPage() {
    TQRGAbstractExportFilter::OpenPage();
    firstPage_ = false;
}

void TQRGHTMLDocumentFilter::EndExport() {
    WriteLine(L"</body>");
    WriteLine(L"</html>");
    TQRGAbstractExportFilter::EndExport();
}

TQRPrinter* TQRGHTMLDocumentFilter::DevicePrinter() const {
    if (IQRReport* report = OwnerReport())
        if (TQRPrinter* printer = report->ReportPrinter()) return printer;
    return ReportPrinter();
}

int TQRGHTMLDocumentFilter::PageTop(Extended y) const {
    // Positions come in the export printer's device units; the pages before this one are
    // counted in the same units, so that pages neither overlap nor gap at any screen resolution.
    const TQRPrinter* printer = DevicePrinter();
    const Extended perTenth = printer != nullptr ? printer->YFactor() : HTMLFilterSettings().PixelsPerMM / 10;
    return static_cast<int>(Round(perTenth * PaperLength() * (pageNumber_ - 2) + y));
}

void TQRGHTMLDocumentFilter::PlaceText(Extended x, Extended y, TFont* font, TColor, TAlignment alignment,
                                      const String& text) {
    TFont plain;
    const TFont& f = font != nullptr ? *font : plain;
    const TQRPrinter* printer = DevicePrinter();
    int left = printer != nullptr ? printer->ToDeviceX(x) : static_cast<int>(Round(x));
    const int top = printer != nullptr ? printer->ToDeviceY(y) : static_cast<int>(Round(y));
    if (alignment == taRightJustify || alignment == taCenter) {
        TBitmap measure(1, 1);
        measure.Canvas().SetFont(f);
        const int width = measure.Canvas().TextWidth(text);
        left -= alignment == taRightJustify ? width : width / 2;
    }
    // The size in the pixels that place the block, rounded as the page's letters were (10 points
    // are 13 pixels at 96 per inch): a size in points would be 13.33 pixels in a browser, every
    // line a little wider than on the page, and a caption would run into its value.
    const Extended perInch = printer != nullptr ? printer->YFactor() * 254 : HTMLFilterSettings().PixelsPerMM * 25.4L;
    const int pixelsPerInch = static_cast<int>(Round(perInch));
    String tag = L"<div style=\"position:absolute;top:" + Num(PageTop(top)) + L"px;left:" + Num(left) +
                 L"px;font-family:" + CSSFontFamily(Trim(f.Name())) + L";font-size:" +
                 Num(MulDiv(f.Size(), pixelsPerInch, 72)) + L"px;";
    if (f.Style().Contains(fsItalic)) tag += L"font-style:italic;";
    if (f.Style().Contains(fsBold)) tag += L"font-weight:bold;";
    if (f.Color() != 0) tag += L"color:" + Trim(HTMLColor(f.Color())) + L";";
    tag += L"\">";
    WriteLine(tag);
    WriteLine(HTMLEscape(text, true));
    WriteLine(L"</DIV>");
}

void TQRGHTMLDocumentFilter::WriteRule(int left, int top, int width, const TPen& pen) {
    // A browser draws a rule's border, one pixel on either side, outside the width it is given:
    // the width written leaves room for both, so the rule ends where the control does, as on the
    // preview's page (the frame's top rule meets its right side).
    WriteLine(L"<DIV style=\"position:absolute;left:" + Num(left) + L"px;top:" + Num(top) + L"px;height:" +
              Num(pen.Width()) + L"px;\"><hr width=\"" + Num(std::max(width - 2, 0)) + L"\" size=\"" +
              Num(pen.Width()) + L"\" color=\"" + HTMLColor(pen.Color()) + L"\"></div>");
}

void TQRGHTMLDocumentFilter::WriteFilled(int left, int top, int height, int width, TColor color) {
    WriteLine(L"<DIV style=\"position:absolute;left:" + Num(left) + L"px;top:" + Num(top) + L"px;height:" +
              Num(height) + L"px;width:" + Num(width) + L"px; background-color: " + HTMLColor(color) +
              L"\"></div>");
}

void TQRGHTMLDocumentFilter::PlaceGraphic(TQRPrintable* control, Extended xDevice, Extended yDevice) {
    if (control == nullptr) return;
    const int x = static_cast<int>(std::trunc(xDevice));
    const int y = PageTop(static_cast<Extended>(Round(yDevice)));
    const int w = control->Width(), h = control->Height();
    const int x2 = x + w, y2 = y + h;
    if (auto* rule = dynamic_cast<TQRHRule*>(control)) {
        WriteRule(x, y, w, *rule->Pen());
    } else if (auto* shape = dynamic_cast<TQRShape*>(control)) {
        const TPen& pen = *shape->Pen();
        switch (shape->Shape()) {
        case qrsHorLine: WriteRule(x, y - 8, w, pen); break;
        case qrsVertLine: WriteFilled((x + x2) / 2, y, h, pen.Width(), pen.Color()); break;
        case qrsRectangle:
            if (shape->Brush()->Style() == bsSolid) {
                WriteFilled(x, y, h, w, shape->Brush()->Color());
            } else {
                WriteFilled(x, y, h, pen.Width(), pen.Color());
                WriteFilled(x2 - pen.Width(), y, h, pen.Width(), pen.Color());
                WriteRule(x, y - 8 - shape->VertAdjust(), w, pen);
                WriteRule(x, y2 - 8, w, pen);
            }
            break;
        default: break;
        }
    } else {
        WritePicture(control, x, y);
    }
}

namespace {

// The picture drawn as a bitmap: a bitmap picture in its own size, any other stretched over w x h.
std::unique_ptr<TBitmap> PictureBitmap(TPicture& picture, int w, int h) {
    TGraphic* graphic = picture.Graphic();
    if (graphic == nullptr || graphic->Empty() || graphic->Width() <= 0 || graphic->Height() <= 0) return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    if (auto* source = dynamic_cast<TBitmap*>(graphic)) {
        bitmap->Assign(source);
    } else {
        if (w <= 0 || h <= 0) return nullptr;
        bitmap->SetSize(w, h);
        bitmap->Canvas().Brush().SetColor(clWhite);
        bitmap->Canvas().FillRect(Rect(0, 0, w, h));
        bitmap->Canvas().StretchDraw(Rect(0, 0, w, h), *graphic);
    }
    return bitmap;
}

}  // namespace

void TQRGHTMLDocumentFilter::WritePicture(TQRPrintable* control, int x, int y) {
    // Without a file there is no folder to put pictures in.
    if (FileName().empty()) return;
    int w = control->Width(), h = control->Height();
    if (w <= 0 || h <= 0) return;
    const String name = control->Name().empty() ? String(L"imagem") : control->Name();
    TPicture* picture = nullptr;
    if (auto* image = dynamic_cast<TQRImage*>(control)) picture = image->Picture();
    else if (auto* grImage = dynamic_cast<TQRGrImage*>(control)) picture = grImage->Picture();
    if (picture != nullptr) {
        auto bitmap = PictureBitmap(*picture, w, h);
        if (bitmap) SavePicture(*bitmap, name + L".jpg", x, y, w, h);
        return;
    }
    auto* dbImage = dynamic_cast<TQRGrDBImage*>(control);
    if (dbImage == nullptr) return;
    // An unbound or empty field has no picture and no size to keep.
    TGraphic* graphic = dbImage->FieldPicture()->Graphic();
    if (graphic == nullptr || graphic->Empty() || graphic->Width() <= 0 || graphic->Height() <= 0) return;
    const Extended ratio = static_cast<Extended>(graphic->Width()) / graphic->Height();
    if (!dbImage->Stretch()) {
        const bool widthFollows =
            static_cast<Extended>(graphic->Height()) / h <= static_cast<Extended>(graphic->Width()) / w;
        switch (dbImage->FitMode()) {
        case fmProportional:
            if (widthFollows) w = static_cast<int>(std::trunc(h * ratio));
            else h = static_cast<int>(std::trunc(w / ratio));
            break;
        case fmKeepWidth: h = static_cast<int>(std::trunc(w / ratio)); break;
        case fmKeepHeight: w = static_cast<int>(std::trunc(h * ratio)); break;
        case fmInsideProp: break;
        }
        if (w <= 0 || h <= 0) return;
    }
    auto bitmap = PictureBitmap(*dbImage->FieldPicture(), w, h);
    if (!bitmap) return;
    ++pictureCounter_;
    SavePicture(*bitmap, name + Format(L"%-d", {pictureCounter_}) + L".jpg", x, y, w, h);
}

void TQRGHTMLDocumentFilter::SavePicture(const TBitmap& bitmap, const String& name, int x, int y, int w, int h) {
    const String relative = BaseName(FileName()) + L"_" + name;
    const String path = ExtractFilePath(FileName()) + relative;
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    auto file = std::make_unique<TFileReplacement>(path, L"JPG");
    jpeg.SaveToStream(file->Stream());
    // A second picture under the same name replaces the first, as it would on disk.
    std::erase_if(pictures_, [&path](const auto& picture) { return picture->Target() == path; });
    pictures_.push_back(std::move(file));
    if (std::find(pictureFiles_.begin(), pictureFiles_.end(), path) == pictureFiles_.end())
        pictureFiles_.push_back(path);
    WriteLine(L"<DIV style=\"position:absolute;left:" + Num(x) + L"px;top:" + Num(y) + L"px;\"><img src=\"" +
              URLEscape(relative) + L"\" width=" + Num(w) + L" height=" + Num(h) + L"></div>");
}
