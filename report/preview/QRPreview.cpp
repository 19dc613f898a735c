#include "report/preview/QRPreview.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/rtl/Numeric.h"
#include "report/printer/QRMessages.h"

namespace {

int NearestInt(Extended value) { return static_cast<int>(Round(value)); }

// Without a printer the page is measured as Letter, in millimetres.
constexpr Extended LetterWidthMm = 215.9;
constexpr Extended LetterLengthMm = 279.4;

}  // namespace

namespace {

void DrawPaper(TCanvas& canvas, const TRect& rect) {
    const int l = rect.Left, t = rect.Top, w = rect.Width(), h = rect.Height();
    canvas.Brush().SetColor(clWhite);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetColor(clWhite);
    canvas.Rectangle(l + 1, t + 1, l + w - 3, t + h - 3);
}

void DrawPaperEdge(TCanvas& canvas, const TRect& rect) {
    const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    const int w = r - l, h = b - t;
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetWidth(1);
    canvas.MoveTo(l, t);
    canvas.LineTo(l, t + h - 3);
    canvas.LineTo(l + w - 3, t + h - 3);
    canvas.LineTo(l + w - 3, t);
    canvas.LineTo(l, t);
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(Rect(l + w - 2, t + 2, r, b));
    canvas.FillRect(Rect(l + 2, t + h - 2, r, b));
}

// The page drawn `factor` times the target size and each factor x factor block of pixels
// averaged into one. Played straight into a small rectangle, a page loses its thin rules between
// pixels and its text is set in a font so small that its spacing tears words apart; shrunk this
// way the rules stay as grey lines and the words keep their shape.
std::unique_ptr<TBitmap> ShrunkPage(TMetafile& page, int width, int height, int factor) {
    TBitmap large(width * factor, height * factor, pf32bit);
    large.Canvas().Brush().SetColor(clWhite);
    large.Canvas().FillRect(Rect(0, 0, large.Width(), large.Height()));
    large.Canvas().StretchDraw(Rect(0, 0, large.Width(), large.Height()), page);
    auto small = std::make_unique<TBitmap>(width, height, pf32bit);
    const int area = factor * factor;
    std::vector<int> sums(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const auto* row = static_cast<const std::uint8_t*>(large.ScanLine(y * factor + dy));
            for (int x = 0; x < width * factor; ++x)
                for (int c = 0; c < 3; ++c) sums[static_cast<std::size_t>(x / factor) * 3 + c] += row[x * 4 + c];
        }
        auto* out = static_cast<std::uint8_t*>(small->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c)
                out[x * 4 + c] = static_cast<std::uint8_t>(sums[static_cast<std::size_t>(x) * 3 + c] / area);
            out[x * 4 + 3] = 0;
        }
    }
    return small;
}

}  // namespace

void DrawPageImage(TMetafile* metafile, TCanvas& canvas, const TRect& rect, bool design) {
    if (!metafile && !design) return;
    DrawPaper(canvas, rect);
    if (metafile) canvas.StretchDraw(rect, *metafile);
    DrawPaperEdge(canvas, rect);
}

// ---- the page image ----

TQRPreviewImage::TQRPreviewImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 100, 50); }

TQRPreviewImage::~TQRPreviewImage() = default;

void TQRPreviewImage::ShowPage(int page) {
    pageNumber_ = page;
    metafile_.reset();
    reduced_.reset();
    if (printer_) metafile_ = printer_->PageMetafile(page);
    Repaint();
}

void TQRPreviewImage::Paint() {
    const TRect rect = Rect(0, 0, Width(), Height());
    if (metafile_ == nullptr || rect.Width() <= 0 || rect.Height() <= 0 || rect.Width() >= metafile_->Width()) {
        DrawPageImage(metafile_.get(), Canvas(), rect, ComponentState().Contains(csDesigning));
        return;
    }
    DrawPaper(Canvas(), rect);
    Canvas().Draw(0, 0, ReducedPage(rect.Width(), rect.Height()));
    DrawPaperEdge(Canvas(), rect);
}

TBitmap& TQRPreviewImage::ReducedPage(int width, int height) {
    if (reduced_ == nullptr || reduced_->Width() != width || reduced_->Height() != height) {
        // At least the page's own size, so that its text is set as on the page.
        const int factor = (metafile_->Width() + width - 1) / width;
        reduced_ = ShrunkPage(*metafile_, width, height, std::clamp(factor, 2, 8));
    }
    return *reduced_;
}

String TQRPreviewImage::LinkAt(int x, int y) {
    if (links_.empty() || zoom_ <= 0) return String();
    const int px = NearestInt(static_cast<Extended>(x) / zoom_ * 100);
    const int py = NearestInt(static_cast<Extended>(y) / zoom_ * 100);
    for (const TQRPreviewLink& link : links_) {
        if (link.Left <= px && px <= link.Right && link.Top <= py && py <= link.Bottom) {
            lastLink_ = link.Link;
            return link.Link;
        }
    }
    return String();
}

void TQRPreviewImage::SetIsLink(bool value) {
    if (value == overLink_) return;
    overLink_ = value;
    if (!OnHyperlink) return;
    bool handled = false;
    OnHyperlink(printer_, value ? heCursorMoveOver : heCursorMoveAway, value ? lastLink_ : String(), handled);
}

void TQRPreviewImage::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    const bool link = !LinkAt(x, y).empty();
    SetCursor(link ? crHandPoint : crDefault);
    SetIsLink(link);
}

void TQRPreviewImage::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    // Links are only reported to the program: a page (a loaded file above all) is outside input,
    // so nothing here hands its texts to the shell.
    if (overLink_ && OnHyperlink) {
        bool handled = false;
        OnHyperlink(printer_, heGoto, lastLink_, handled);
    }
}

// ---- the preview ----

TQRPreview::TQRPreview(TComponent* owner) : TScrollBox(owner) {
    SetBounds(0, 0, 250, 250);
    SetTracking(true);
    SetColor(clAppWorkSpace);
    image_ = new TQRPreviewImage(this);
    image_->SetParent(this);
    image_->SetBounds(0, 0, 100, 50);
}

TQRPreview::~TQRPreview() = default;

void TQRPreview::BeforeDestruction() {
    // Detaching needs the image, which the component teardown below frees.
    if (printer_) AttachPrinter(nullptr);
    TScrollBox::BeforeDestruction();
}

void TQRPreview::PrinterDestroyed(TQRPrinter& printer) {
    if (&printer != printer_) return;
    printer_ = nullptr;
    image_->SetPrinter(nullptr);
    image_->ShowPage(image_->PageNumber());
}

void TQRPreview::AttachPrinter(TQRPrinter* printer) {
    if (printer_ && printer_->Client() == this) {
        printer_->SetClient(nullptr);
        printer_->SetPreviewShowing(false);
    }
    printer_ = printer;
    image_->SetPrinter(printer);
    if (printer_) {
        printer_->SetClient(this);
        printer_->SetPreviewShowing(true);
    }
    SetPageNumber(1);
    image_->ShowPage(1);
    Repaint();
    image_->OnClick = OnClick;
    image_->OnDblClick = OnDblClick;
    image_->OnMouseDown = OnMouseDown;
    image_->OnMouseMove = OnMouseMove;
    image_->OnMouseUp = OnMouseUp;
    if (printer_) printer_->SetOutlineView(outline_);
}

void TQRPreview::SetOutline(IQROutlineTree* outline) {
    outline_ = outline;
    if (printer_) printer_->SetOutlineView(outline);
}

void TQRPreview::SetPageNumber(int page) {
    if (page == pageNumber_ && image_->Metafile()) return;
    if (page <= 0 || !printer_ || page > printer_->PageCount()) return;
    image_->ShowPage(page);
    pageNumber_ = page;
    SetHorzPosition(0);
    SetVertPosition(0);
}

void TQRPreview::SetZoom(int zoom) {
    if (zoom < 2 || zoom > 2000) return;
    zoomState_ = qrZoomOther;
    zoom_ = zoom;
    LayoutPage();
}

int TQRPreview::PaperPixelsWide() const {
    return printer_ ? printer_->ToDeviceWidth(printer_->PaperWidth()) : 0;
}

int TQRPreview::PaperPixelsHigh() const {
    return printer_ ? printer_->ToDeviceHeight(printer_->PaperLength()) : 0;
}

void TQRPreview::LayoutPage() {
    // The scroll positions go first so that the image is placed in unscrolled coordinates.
    SetHorzPosition(0);
    SetVertPosition(0);
    int width, height;
    if (printer_) {
        width = printer_->ToDeviceWidth(static_cast<Extended>(printer_->PaperWidth()) / 100 * zoom_) + 4;
        height = printer_->ToDeviceHeight(static_cast<Extended>(printer_->PaperLength()) / 100 * zoom_) + 4;
    } else {
        width = NearestInt(LetterWidthMm / 100 * zoom_) + 4;
        height = NearestInt(LetterLengthMm / 100 * zoom_) + 4;
    }
    const int left = width < Width() ? (Width() - width) / 2 : 0;
    const int top = height < Height() ? (Height() - height) / 2 : 0;
    image_->SetBounds(left, top, width, height);
    image_->SetZoom(zoom_);
    UpdateScrollBars();
    Invalidate();
}

void TQRPreview::FitWholePage() {
    const Extended paperWide = printer_ ? PaperPixelsWide() : LetterWidthMm;
    const Extended paperHigh = printer_ ? PaperPixelsHigh() : LetterLengthMm;
    // A paper of no size (a damaged loaded file) gives no ratio: the zoom stays.
    if (paperWide > 0 && paperHigh > 0) {
        const int a = NearestInt(Width() / paperWide * 95);
        const int b = NearestInt(Height() / paperHigh * 95);
        SetZoom(std::min(a, b));
    }
    LayoutPage();
    zoomState_ = qrZoomToFit;
}

void TQRPreview::FitPageWidth() {
    if (printer_) {
        if (const int paperWide = PaperPixelsWide(); paperWide > 0)
            SetZoom(NearestInt(static_cast<Extended>(Width()) / paperWide * 90));
    } else {
        SetZoom(NearestInt(Width() / LetterWidthMm * 95));
    }
    LayoutPage();
    zoomState_ = qrZoomToWidth;
}

void TQRPreview::ApplyZoomState() {
    if (zoomState_ == qrZoomToFit)
        FitWholePage();
    else if (zoomState_ == qrZoomToWidth)
        FitPageWidth();
    LayoutPage();
}

void TQRPreview::Resize() {
    TScrollBox::Resize();
    ApplyZoomState();
}

void TQRPreview::DoEnter() {
    TScrollBox::DoEnter();
    ApplyZoomState();
}

void TQRPreview::PageBecameAvailable() {
    if (image_->Metafile() || !printer_ || printer_->AvailablePages() < image_->PageNumber()) return;
    image_->ShowPage(image_->PageNumber());
}

void TQRPreview::WndProc(TMessage& message) {
    if (message.Msg == CM_QRPAGEREADY) {
        const int pages = static_cast<int>(message.WParam);
        if (pages == pageNumber_) PageBecameAvailable();
        if (OnPageAvailable) OnPageAvailable(this, pages);
        message.Result = 0;
        return;
    }
    if (message.Msg == CM_QRPROGRESS) {
        if (OnProgressUpdate) OnProgressUpdate(this, static_cast<int>(message.WParam));
        message.Result = 0;
        return;
    }
    TScrollBox::WndProc(message);
}
