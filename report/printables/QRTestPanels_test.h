// Test stand-ins for the report and a band: what units, frames and printables ask of them, set
// by hand; and an export filter that records the graphics it is handed.
#pragma once

#include <gmock/gmock.h>

#include <memory>
#include <vector>

#include "report/filters/QRExportFilter.h"
#include "report/printables/QRShape.h"
#include "report/printables/QRUnits.h"

class TTestReport : public TCustomControl, public IQRReport {
    FV_CLASS(TTestReport, TCustomControl)
public:
    explicit TTestReport(TComponent* owner) : TCustomControl(owner), page_(std::make_unique<TQRPage>(this)) {}
    static void Publish(TPublisher<TTestReport>& p) { p.Property(L"Page", &TTestReport::Page); }
    TQRPage* Page() const { return page_.get(); }

    TControl& PanelControl() override { return *this; }
    int PanelZoom() const override { return Zoom; }
    int ReportFontSize() const override { return FontSize; }
    TQRUnit ReportUnits() const override { return page_->Units(); }
    void ArrangeBands() override { ++Arranged; }
    void RepaintReport() override {}
    void InvalidateDesignPicture() override {}
    TQRPrinter* ReportPrinter() const override { return Printer; }
    bool CanvasOutput() const override { return Canvas; }
    TQRExportFilter* ExportFilter() const override { return Filter; }

    int Zoom = 100;
    int FontSize = 10;
    int Arranged = 0;
    TQRPrinter* Printer = nullptr;
    bool Canvas = true;
    TQRExportFilter* Filter = nullptr;

private:
    std::unique_ptr<TQRPage> page_;
};

class TTestBand : public TCustomControl, public IQRBand {
    FV_CLASS(TTestBand, TCustomControl)
public:
    explicit TTestBand(TComponent* owner) : TCustomControl(owner), size_(std::make_unique<TQRBandSize>(this)) {}

    TControl& PanelControl() override { return *this; }
    int PanelZoom() const override { return 100; }
    IQRReport* BandReport() const override { return Report; }
    TQRBandSize* BandSize() const override { return size_.get(); }

    IQRReport* Report = nullptr;

private:
    std::unique_ptr<TQRBandSize> size_;
};

// What a filter was handed for one PlaceGraphic call.
struct TPlacedShape {
    TQRShapeType Shape;
    int X, Y;
    TRect Bounds;
    TBrushStyle Brush;
    TPenStyle Pen;
    int PenWidth;
    friend bool operator==(const TPlacedShape&, const TPlacedShape&) = default;
};

class TRecordingFilter : public TQRExportFilter {
public:
    TRecordingFilter() : TQRExportFilter(String()) {}
    void PlaceGraphic(TQRPrintable* control, Extended x, Extended y) override {
        if (Fail) throw EWriteError(L"disk full");
        auto* shape = dynamic_cast<TQRShape*>(control);
        ASSERT_NE(shape, nullptr);
        Placed.push_back({shape->Shape(), static_cast<int>(x), static_cast<int>(y), shape->BoundsRect(),
                          shape->Brush()->Style(), shape->Pen()->Style(), shape->Pen()->Width()});
    }
    std::vector<TPlacedShape> Placed;
    bool Fail = false;
};
