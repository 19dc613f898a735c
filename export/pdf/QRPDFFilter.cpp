#include "export/pdf/QRPDFFilter.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "export/ASCII85Encoder.h"
#include "export/LZWEncoder.h"
#include "export/filters/QRGAbstractExportFilter.h"
#include "export/filters/QRGrDBImage.h"
#include "export/filters/QRGrImage.h"
#include "export/filters/QRHRule.h"
#include "export/filters/QRPDFShape.h"
#include "export/pdf/PDFWindowsFontSource.h"
#include "framework/classes/ClassRegistry.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/printers/Printer.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Numeric.h"
#include "framework/rtl/Platform.h"
#include "framework/rtl/WinApi.h"
#include "report/bands/QRReport.h"
#include "report/printables/PrintablesRegistration.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/printer/QRPrinter.h"

namespace {

constexpr double kPointsPerTenthMm = 0.1 * 72 / 25.4;

TPDFRGB RGBTriple(TColor color) {
    const auto rgb = static_cast<TColor>(ColorToRGB(color));
    return {RedOf(rgb), GreenOf(rgb), BlueOf(rgb)};
}

TPDFShapeCode ShapeCode(TQRShapeType type) {
    switch (type) {
    case qrsRectangle: return pscRectangle;
    case qrsCircle: return pscEllipse;
    case qrsVertLine: return pscVertLine;
    case qrsHorLine: return pscHorLine;
    case qrsTopAndBottom: return pscTopAndBottom;
    case qrsRightAndLeft: return pscLeftAndRight;
    case qrsRoundRect: return pscNothing;
    case qrsLeftDiagonal: return pscRisingDiagonal;
    case qrsRightDiagonal: return pscFallingDiagonal;
    }
    return pscNothing;
}

// A control's size in device units of the run's printer. A control on a report has its size
// in 0.1 mm; the shapes the engine makes for frames and backgrounds are sized in device units.
TPoint DeviceSize(TQRPrintable& control, const TQRPrinter* printer) {
    if (control.ParentReport() != nullptr && printer != nullptr) {
        const TQRPrintableSize& size = *control.Size();
        return {printer->ToDeviceWidth(size.StoredValue(TQRPrintableSize::iWidth)),
                printer->ToDeviceHeight(size.StoredValue(TQRPrintableSize::iHeight))};
    }
    return {control.Width(), control.Height()};
}

// Red, green and blue bytes of every pixel, rows from the top, compressed and ASCII85 text.
void BitmapToImageData(TBitmap& bitmap, TPDFItemRec& item) {
    bitmap.SetPixelFormat(pf24bit);
    const int width = bitmap.Width(), height = bitmap.Height();
    std::string samples;
    samples.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const Byte*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x, row += 3) {
            samples += static_cast<char>(row[2]);
            samples += static_cast<char>(row[1]);
            samples += static_cast<char>(row[0]);
        }
    }
    TStringStream source(std::move(samples));
    TMemoryStream compressed;
    CompressStreamLZW(source, compressed);
    TStringStream text;
    EncodeASCII85(compressed, text);
    item.ImageData = text.DataString();
    item.FilterNames = "/ASCII85Decode /LZWDecode";
}

// The printer's horizontal resolution, read from an information context of the selected
// printer (no print job is started); the screen's when there is no printer to ask.
int PrinterPixelsPerInch() {
    try {
        if (int ppi = Printer().DeviceCaps(LOGPIXELSX); ppi > 0) return ppi;
    } catch (const EPrinter&) {
    }
    return ScreenMetrics::PixelsPerInch();
}

}  // namespace

// ---- TQRPAbstractExportFilter ----

void TQRPAbstractExportFilter::OpenOutput(const String& fileName) {
    file_ = std::make_unique<TFileReplacement>(fileName, L"PDF");
}

void TQRPAbstractExportFilter::CloseOutput() {
    if (std::unique_ptr<TFileReplacement> file = std::move(file_)) file->Commit();
}

void TQRPAbstractExportFilter::DiscardOutput() noexcept { file_.reset(); }

TStream* TQRPAbstractExportFilter::Output() const { return file_ ? &file_->Stream() : output_.get(); }

void TQRPAbstractExportFilter::MarkPageDone() {
    pageDone_ = true;
    AfterPageDone();
}

// ---- TQRPDFDocumentFilter ----

TQRPDFDocumentFilter::TQRPDFDocumentFilter(const String& fileName)
    : TQRPAbstractExportFilter(fileName), fontSource_(std::make_unique<TPDFWindowsFontSource>()) {
    SetDocumentInfo(L"Report Engine", String(), String(), String());
}

TQRPDFDocumentFilter::~TQRPDFDocumentFilter() {
    if (Active()) Discard();
}

void TQRPDFDocumentFilter::SetDocumentInfo(const String& creator, const String& author, const String& title,
                                           const String& subject) {
    // The info strings are written as single-byte text, like the page texts.
    info_.Creator = platform::ToCodePage(creator, 1252);
    info_.Author = platform::ToCodePage(author, 1252);
    info_.Title = platform::ToCodePage(title, 1252);
    info_.Subject = platform::ToCodePage(subject, 1252);
}

void TQRPDFDocumentFilter::OpenOutput(const String& fileName) {
    ownsStream_ = !fileName.empty();
    if (ownsStream_)
        TQRPAbstractExportFilter::OpenOutput(fileName);
    else
        output_ = std::make_unique<TMemoryStream>();
}

std::string TQRPDFDocumentFilter::Document() const {
    auto* memory = dynamic_cast<TMemoryStream*>(output_.get());
    if (memory == nullptr) return {};
    return std::string(static_cast<const char*>(memory->Memory()), static_cast<std::size_t>(memory->Size()));
}

void TQRPDFDocumentFilter::BeginExport(int paperWidth, int paperLength, TFont* font) {
    TQRPAbstractExportFilter::BeginExport(paperWidth, paperLength, font);
    try {
        OpenOutput(FileName());
    } catch (...) {
        TQRPAbstractExportFilter::EndExport();
        throw;
    }
}

void TQRPDFDocumentFilter::Discard() {
    DiscardOutput();
    TQRPAbstractExportFilter::EndExport();
}

void TQRPDFDocumentFilter::EndExport() {
    if (ExportRunCancelled(*this)) {
        Discard();
        return;
    }
    try {
        if (!items_.PageOpen() && items_.Pages().empty()) StartPageItems();
        items_.FinishPage();
        TPDFDocumentInfo info = info_;
        const platform::LocalTime now = platform::LocalTimeNow();
        info.CreationDate = PDFDate(now.year, now.month, now.day, now.hour, now.minute, now.second);
        if (Output() == nullptr) OpenOutput(FileName());
        WritePDFDocument(items_, *fontSource_, info, *Output());
        if (ownsStream_) CloseOutput();
    } catch (...) {
        Discard();
        throw;
    }
    TQRPAbstractExportFilter::EndExport();
}

TCustomQRReport* TQRPDFDocumentFilter::Report() const { return dynamic_cast<TCustomQRReport*>(OwnerReport()); }

TQRPrinter* TQRPDFDocumentFilter::RunPrinter() const {
    if (TCustomQRReport* report = Report(); report != nullptr && report->ReportPrinter() != nullptr)
        return report->ReportPrinter();
    return ReportPrinter();
}

void TQRPDFDocumentFilter::StartPageItems() {
    if (const TQRPrinter* printer = RunPrinter(); printer != nullptr && printer->XFactor() > 0 && printer->YFactor() > 0) {
        pointsPerUnitX_ = kPointsPerTenthMm / printer->XFactor();
        pointsPerUnitY_ = kPointsPerTenthMm / printer->YFactor();
    }
    double width = 595, height = 840;
    if (TCustomQRReport* report = Report()) {
        const TQRPage& page = *report->Page();
        // Whole points, the nearest to the paper (A4 is 595 x 842): the media box holds whole
        // points, and the height that turns positions upward must be the box's own.
        width = static_cast<double>(RoundHalfEven(RoundHalfEven(page.Width()) * kPointsPerTenthMm));
        height = static_cast<double>(RoundHalfEven(RoundHalfEven(page.Length()) * kPointsPerTenthMm));
    }
    ++pageCount_;
    // The run's positions are measured from the paper's edge with the top margin already in
    // them, so no margin is added; the page items' fixed upward adjustment is taken back, so
    // that the file shows everything where the printed page does.
    items_.StartPage(width, height, 0, 0, TPDFPageItems::kVerticalAdjustment);
}

void TQRPDFDocumentFilter::PlaceItem(const TPDFItemRec& item) {
    if (!items_.PageOpen()) StartPageItems();
    items_.PlaceItem(item);
}

void TQRPDFDocumentFilter::OpenPage() {
    if (firstPage_) {
        firstPage_ = false;
        return;
    }
    // A first page that got no item still counts: it is opened before the next one.
    if (!items_.PageOpen()) StartPageItems();
    StartPageItems();
}

void TQRPDFDocumentFilter::PlaceText(Extended x, Extended y, TFont* font, TColor, TAlignment alignment,
                                     const String& text) {
    if (font == nullptr) return;
    if (!items_.PageOpen()) StartPageItems();
    const TQRPrinter* printer = RunPrinter();
    int dx = printer ? printer->ToDeviceX(x) : static_cast<int>(x);
    const int dy = printer ? printer->ToDeviceY(y) : static_cast<int>(y);
    // One measuring surface for the whole export: making one per line would cost more than
    // everything else a line does.
    if (measure_ == nullptr) measure_ = std::make_unique<TBitmap>(1, 1);
    TCanvas& canvas = measure_->Canvas();
    canvas.SetFont(*font);
    const int width = canvas.TextWidth(text);
    // The page was laid out with the font as the measuring device realises it: a 10-point font
    // is 13 pixels on a 96-dpi screen, 9.75 points. Set at its nominal size the text would be
    // wider in the file than the room the page gave it, and a caption would run into its value.
    TEXTMETRICW metrics{};
    double size = font->Size();
    if (const int ppi = GetDeviceCaps(canvas.Handle(), LOGPIXELSY);
        ppi > 0 && GetTextMetricsW(canvas.Handle(), &metrics) && metrics.tmHeight > metrics.tmInternalLeading)
        size = static_cast<double>(metrics.tmHeight - metrics.tmInternalLeading) * 72 / ppi;
    // The character set the system actually gave the font decides the text's code page, and
    // the font file's encoding is built from the same one.
    const auto charset = static_cast<std::uint8_t>(GetTextCharset(canvas.Handle()));
    if (alignment == taRightJustify) dx -= width;
    else if (alignment == taCenter) dx -= width / 2;
    TPDFItemRec item;
    item.Kind = TPDFItemKind::Text;
    item.X = dx * pointsPerUnitX_;
    item.Y = font->Size() + dy * pointsPerUnitY_;
    item.FontName = platform::ToCodePage(font->Name(), CP_UTF8);
    item.Charset = charset;
    item.FontSize = size;
    item.Bold = font->Style().Contains(fsBold);
    item.Italic = font->Style().Contains(fsItalic);
    item.FillColor = RGBTriple(font->Color());
    item.Text = platform::ToCodePage(text, CodePageOfCharset(charset));
    // The page shows underlined text with the face's own rule: the file draws the same.
    if (font->Style().Contains(fsUnderline)) {
        if (const std::optional<TFontUnderline> underline = SelectedFontUnderline(canvas.Handle())) {
            item.Underline = true;
            item.TextWidth = width * pointsPerUnitX_;
            item.UnderlinePosition = underline->Position * size;
            item.UnderlineThickness = underline->Thickness * size;
        }
    }
    PlaceItem(item);
}

void TQRPDFDocumentFilter::PlaceGraphic(TQRPrintable* control, Extended x, Extended y) {
    if (control == nullptr) return;
    if (!items_.PageOpen()) StartPageItems();
    const TPoint size = DeviceSize(*control, RunPrinter());
    if (auto* shape = dynamic_cast<TQRShape*>(control)) {
        PlaceShape(ShapeCode(shape->Shape()), *shape->Pen(), shape->Brush(), size, x, y);
    } else if (auto* shape = dynamic_cast<TQRPDFShape*>(control)) {
        PlaceShape(ShapeCode(shape->ShapeType()), *shape->Pen(), shape->Brush(), size, x, y);
    } else if (auto* rule = dynamic_cast<TQRHRule*>(control)) {
        PlaceShape(pscHorLine, *rule->Pen(), nullptr, size, x, y);
    } else if (auto* image = dynamic_cast<TQRImage*>(control)) {
        PlaceImage(*image, size, x, y);
    } else if (auto* image = dynamic_cast<TQRGrImage*>(control)) {
        PlaceGrImage(*image, size, x, y);
    } else if (auto* image = dynamic_cast<TQRGrDBImage*>(control)) {
        PlaceGrDBImage(*image, size, x, y);
    }
}

namespace {

// The dashes the screen draws a pen of the style with, in units of the pen's width (a pen one
// pixel wide: pixels), so that the file's rules look like the preview's.
std::vector<double> DashPattern(TPenStyle style, double unit) {
    std::vector<double> lengths;
    switch (style) {
    case psDash: lengths = {18, 6}; break;
    case psDot: lengths = {3, 3}; break;
    case psDashDot: lengths = {9, 6, 3, 6}; break;
    case psDashDotDot: lengths = {9, 3, 3, 3, 3, 3}; break;
    default: break;
    }
    for (double& length : lengths) length *= unit;
    return lengths;
}

}  // namespace

void TQRPDFDocumentFilter::PlaceShape(TPDFShapeCode code, const TPen& pen, const TBrush* brush, TPoint size,
                                      Extended x, Extended y) {
    TPDFItemRec item;
    item.Kind = TPDFItemKind::Shape;
    item.ShapeCode = code;
    item.X = x * pointsPerUnitX_;
    item.Y = y * pointsPerUnitY_;
    item.Width = size.X * pointsPerUnitX_;
    item.Height = size.Y * pointsPerUnitY_;
    item.PenWidth = pen.Width() * pointsPerUnitX_;
    item.PenColor = RGBTriple(pen.Color());
    item.Dash = DashPattern(pen.Style(), std::max(pen.Width(), 1) * pointsPerUnitX_);
    if (brush != nullptr) item.FillColor = RGBTriple(brush->Color());
    const bool area = code == pscRectangle || code == pscEllipse;
    // Only rectangles and ellipses have an inside to fill (a rule has no brush at all); lines
    // are drawn with the pen alone, and a clear pen draws no outline.
    if (area && brush != nullptr && brush->Style() != bsClear) {
        item.Filled = true;
        PlaceItem(item);
    }
    if (pen.Style() != psClear) {
        item.Filled = false;
        PlaceItem(item);
    }
}

namespace {

bool Drawable(const TGraphic* graphic) {
    return graphic != nullptr && !graphic->Empty() && graphic->Width() > 0 && graphic->Height() > 0;
}

// A bitmap of the given size with a defined white ground, so that what a picture leaves
// uncovered is paper, not whatever memory held.
std::unique_ptr<TBitmap> WhiteBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush().SetColor(clWhite);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(Rect(0, 0, width, height));
    return bitmap;
}

void DrawOwnSize(TBitmap& bitmap, TGraphic& graphic) {
    bitmap.Canvas().StretchDraw(Rect(0, 0, graphic.Width(), graphic.Height()), graphic);
}

void DrawStretched(TBitmap& bitmap, TGraphic& graphic) {
    bitmap.Canvas().StretchDraw(Rect(0, 0, bitmap.Width(), bitmap.Height()), graphic);
}

}  // namespace

void TQRPDFDocumentFilter::PlaceImage(TQRImage& image, TPoint size, Extended x, Extended y) {
    TGraphic* graphic = image.Picture()->Graphic();
    if (!Drawable(graphic) || size.X < 1 || size.Y < 1) return;
    TPictureBitmap picture{WhiteBitmap(size.X, size.Y), static_cast<double>(size.X), static_cast<double>(size.Y)};
    auto nativeSize = [&] {
        picture.Bitmap = WhiteBitmap(graphic->Width(), graphic->Height());
        DrawOwnSize(*picture.Bitmap, *graphic);
        picture.ScaleX = picture.Width / picture.Bitmap->Width();
        picture.ScaleY = picture.Height / picture.Bitmap->Height();
        picture.Native = true;
    };
    if (image.Stretch()) {
        if (image.Tag() == 999) nativeSize();
        else DrawStretched(*picture.Bitmap, *graphic);
    } else if (image.Tag() == 12345) {
        picture.ScaleX = picture.ScaleY = static_cast<double>(ScreenMetrics::PixelsPerInch()) / PrinterPixelsPerInch();
        picture.Native = true;
        picture.Height = static_cast<double>(RoundHalfEven(picture.Height * picture.ScaleY));
        DrawOwnSize(*picture.Bitmap, *graphic);
    } else if (image.Tag() == 999) {
        nativeSize();
    } else {
        DrawOwnSize(*picture.Bitmap, *graphic);
    }
    PlacePicture(picture, x, y);
}

void TQRPDFDocumentFilter::PlaceGrImage(TQRGrImage& image, TPoint size, Extended x, Extended y) {
    TGraphic* graphic = image.Picture()->Graphic();
    if (!Drawable(graphic) || size.X < 1 || size.Y < 1) return;
    TPictureBitmap picture{WhiteBitmap(size.X, size.Y), static_cast<double>(size.X), static_cast<double>(size.Y)};
    if (image.ClipImage()) DrawOwnSize(*picture.Bitmap, *graphic);
    else DrawStretched(*picture.Bitmap, *graphic);
    PlacePicture(picture, x, y);
}

void TQRPDFDocumentFilter::PlaceGrDBImage(TQRGrDBImage& image, TPoint size, Extended x, Extended y) {
    TGraphic* graphic = image.FieldPicture()->Graphic();
    if (!Drawable(graphic) || size.X < 1 || size.Y < 1) return;
    double w = size.X, h = size.Y;
    const double pw = graphic->Width(), ph = graphic->Height(), ratio = pw / ph;
    if (!image.Stretch()) {
        switch (image.FitMode()) {
        case fmInsideProp:
            if (pw / w < ph / h) {
                const double fitted = RoundHalfEven(pw / (ph / h));
                x += std::trunc((w - fitted) / 2);
                w = fitted;
            } else {
                const double fitted = RoundHalfEven(ph / (pw / w));
                y += std::trunc((h - fitted) / 2);
                h = fitted;
            }
            break;
        case fmProportional:
            if (pw / w < ph / h) h = std::trunc(w / ratio);
            else w = std::trunc(h * ratio);
            break;
        case fmKeepWidth: h = std::trunc(w / ratio); break;
        case fmKeepHeight: w = std::trunc(h * ratio); break;
        }
    }
    if (w < 1 || h < 1) return;
    TPictureBitmap picture{WhiteBitmap(static_cast<int>(w), static_cast<int>(h)), w, h};
    if (image.ClipImage()) DrawOwnSize(*picture.Bitmap, *graphic);
    else DrawStretched(*picture.Bitmap, *graphic);
    PlacePicture(picture, x, y);
}

void TQRPDFDocumentFilter::PlacePicture(TPictureBitmap& picture, Extended x, Extended y) {
    TBitmap& bitmap = *picture.Bitmap;
    if (bitmap.Width() < 1 || bitmap.Height() < 1) return;
    TPDFItemRec item;
    BitmapToImageData(bitmap, item);
    item.Kind = TPDFItemKind::Picture;
    item.X = x * pointsPerUnitX_;
    item.Y = (y + picture.Height) * pointsPerUnitY_;
    item.Width = bitmap.Width() * pointsPerUnitX_;
    item.Height = bitmap.Height() * pointsPerUnitY_;
    if (!picture.Native) {
        picture.ScaleX = picture.Width / bitmap.Width();
        picture.ScaleY = picture.Height / bitmap.Height();
    }
    item.ScaleX = picture.ScaleX;
    item.ScaleY = picture.ScaleY;
    item.ImageWidth = bitmap.Width();
    item.ImageHeight = bitmap.Height();
    PlaceItem(item);
}

// ---- TQRPDFFilter ----

void TQRPDFFilter::Publish(TPublisher<TQRPDFFilter>& p) {
    p.Property(L"CompressionOn", &TQRPDFFilter::CompressionOn, &TQRPDFFilter::SetCompressionOn).Default(false);
}

TQRPDFFilter::TQRPDFFilter(TComponent* owner) : TComponent(owner) {
    ExportFilterLibrary().EnrollFilter(TQRPDFDocumentFilter::FilterClass());
}

TQRPDFFilter::~TQRPDFFilter() { ExportFilterLibrary().WithdrawFilter(TQRPDFDocumentFilter::FilterClass()); }

void RegisterReportPDFClasses() {
    RegisterReportPrintablesClasses();
    RegisterClasses<TQRPDFFilter>();
}
