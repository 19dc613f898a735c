// What units, frames and printables ask of the panels they sit on: the report and its bands.
//
// The report component and the band classes implement these beside their control base
// (TQRBasePanel); printables find them by casting their parent control. Nothing here needs a
// window: a report is laid out and printed with no handle created.
#pragma once

#include "framework/controls/Control.h"

class TQRExportFilter;
class TQRPrinter;
class TQRBandSize;
enum class TQRUnit : int;

// A band or the report: a control with a display zoom.
class IQRPanel {
public:
    virtual ~IQRPanel() = default;
    virtual TControl& PanelControl() = 0;
    virtual int PanelZoom() const = 0;  // percent
};

class IQRReport : public IQRPanel {
public:
    // Size of the report font in points (Characters units); may be 0 or negative.
    virtual int ReportFontSize() const = 0;
    virtual TQRUnit ReportUnits() const = 0;
    // Lays the bands out again after a size change, and repaints the report.
    virtual void ArrangeBands() = 0;
    virtual void RepaintReport() = 0;
    // The picture of page 1 drawn at design time is out of date.
    virtual void InvalidateDesignPicture() = 0;

    // ---- during a run ----
    virtual TQRPrinter* ReportPrinter() const = 0;
    // Printables draw on the page canvas only while this is on (it is off during an export).
    virtual bool CanvasOutput() const = 0;
    // The attached export filter, or null.
    virtual TQRExportFilter* ExportFilter() const = 0;
    bool Exporting() const { return ExportFilter() != nullptr; }
};

class IQRBand : public IQRPanel {
public:
    virtual IQRReport* BandReport() const = 0;     // null when the band is on no report
    virtual TQRBandSize* BandSize() const = 0;     // null when the band has no size object
};

// The report or band interface of a control, or null.
inline IQRReport* AsQRReport(TControl* control) { return dynamic_cast<IQRReport*>(control); }
inline IQRBand* AsQRBand(TControl* control) { return dynamic_cast<IQRBand*>(control); }
inline IQRPanel* AsQRPanel(TControl* control) { return dynamic_cast<IQRPanel*>(control); }
