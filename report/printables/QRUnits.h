// Report lengths: held in tenths of a millimetre, shown in one of five units.
//
// A size object keeps its stored values (0.1 mm, "Native") as the truth; its units only change
// how they read and write. Three kinds exist: TQRPage (paper, margins and columns of a report),
// TQRBandSize (a band's height and width) and TQRPrintableSize (a printable's bounds). Each
// streams its values as one list of extended floats named "Values" ("Page.Values",
// "Size.Values" in a description), in a fixed order and whatever the current units, and pushes
// them into its control as pixels at its zoom:
//
//     page->SetUnits(TQRUnit::MM);
//     page->SetTopMargin(10);      // stored 100
//     page->SetUnits(TQRUnit::Inches);
//     page->TopMargin();           // 0.3937...
//
// Every rounding to whole pixels is halves-to-even.
#pragma once

#include <span>

#include "framework/classes/Persistent.h"
#include "framework/printers/Printer.h"
#include "report/printables/QRReportLinks.h"
#include "report/printer/QRPaper.h"

enum class TQRUnit : int { MM, Inches, Pixels, Characters, Native };
FV_ENUM_NAMES(TQRUnit, MM, Inches, Pixels, Characters, Native)


// Whether new size objects start in inches (with Letter paper) instead of millimetres: the
// measurement system of the default format settings (the locale's).
bool MeasureInInches();

// Millimetres per character and per line of a font of the given size (points, > 0).
Extended CharacterCellWidth(Extended fontSize);
Extended CharacterCellHeight(Extended fontSize);

class TReader;
class TWriter;

class TQRUnitBase : public TPersistent {
    FV_CLASS(TQRUnitBase, TPersistent)
public:
    TQRUnitBase();

    TQRUnit Units() const { return units_; }
    void SetUnits(TQRUnit units) { ChangeUnits(units); }
    // Screen pixels per inch when the object was made.
    int Resolution() const { return resolution_; }
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);  // percent; values below 1 are ignored
    IQRReport* Report() const { return report_; }
    void SetReport(IQRReport* report) { report_ = report; }
    // True while the object sets its control's bounds (the control must not write them back).
    bool Updating() const { return updating_; }

    // A stored value (0.1 mm) in units, and back; horizontal chooses the axis for Characters.
    virtual Extended StoredToUnits(TQRUnit units, bool horizontal, Extended stored) const;
    virtual Extended UnitsToStored(TQRUnit units, bool horizontal, Extended value) const;
    // Switches to Pixels, remembering the units; RestoreUnits goes back.
    void SwitchToPixels();
    void RestoreUnits() { ChangeUnits(savedUnits_); }
    // Value index of the "Values" list in 0.1 mm, whatever the units.
    Extended StoredValue(int index) const;
    // The form description has been read: the values go into the control.
    virtual void AfterLoad() { PushToParent(); }
    virtual void PushToParent() {}

    void DefineProperties(TFiler& filer) override;

protected:
    virtual void ChangeUnits(TQRUnit units) { units_ = units; }
    // The stored values, in the order of the "Values" list.
    virtual std::span<Extended> StoredValues() = 0;
    virtual void ReadStoredValues(TReader& reader);
    virtual void WriteStoredValues(TWriter& writer);
    Extended Get(int index, bool horizontal) const;
    void Put(int index, bool horizontal, Extended value);
    // A stored value in pixels at the object's zoom, rounded.
    int PixelsOf(int index, bool horizontal) const;

    // Sets updating while the control takes the values.
    class TUpdating {
    public:
        explicit TUpdating(TQRUnitBase& unit) : unit_(unit) { unit_.updating_ = true; }
        ~TUpdating() { unit_.updating_ = false; }
        TUpdating(const TUpdating&) = delete;
        TUpdating& operator=(const TUpdating&) = delete;

    private:
        TQRUnitBase& unit_;
    };

private:
    Extended& Slot(int index);
    Extended CharacterFontSize() const;

    int resolution_;
    TQRUnit units_;
    TQRUnit savedUnits_;
    IQRReport* report_ = nullptr;
    bool updating_ = false;
    int zoom_ = 100;
};

// Paper, margins and columns of a report. Values: BottomMargin, Length, TopMargin, Width,
// LeftMargin, RightMargin, ColumnSpace.
class TQRPage : public TQRUnitBase {
    FV_CLASS(TQRPage, TQRUnitBase)
public:
    enum Index { iBottomMargin, iLength, iTopMargin, iWidth, iLeftMargin, iRightMargin, iColumnSpace };

    explicit TQRPage(IQRReport* report = nullptr);
    static void Publish(TPublisher<TQRPage>& p);

    Extended GetIndexedValue(int index) const;
    // Length and Width are written only while the paper is Custom.
    void SetIndexedValue(int index, Extended value);

    Extended BottomMargin() const { return GetIndexedValue(iBottomMargin); }
    void SetBottomMargin(Extended v) { SetIndexedValue(iBottomMargin, v); }
    Extended Length() const { return GetIndexedValue(iLength); }
    void SetLength(Extended v) { SetIndexedValue(iLength, v); }
    Extended TopMargin() const { return GetIndexedValue(iTopMargin); }
    void SetTopMargin(Extended v) { SetIndexedValue(iTopMargin, v); }
    Extended Width() const { return GetIndexedValue(iWidth); }
    void SetWidth(Extended v) { SetIndexedValue(iWidth, v); }
    Extended LeftMargin() const { return GetIndexedValue(iLeftMargin); }
    void SetLeftMargin(Extended v) { SetIndexedValue(iLeftMargin, v); }
    Extended RightMargin() const { return GetIndexedValue(iRightMargin); }
    void SetRightMargin(Extended v) { SetIndexedValue(iRightMargin, v); }
    Extended ColumnSpace() const { return GetIndexedValue(iColumnSpace); }
    void SetColumnSpace(Extended v) { SetIndexedValue(iColumnSpace, v); }

    int Columns() const { return columns_; }
    void SetColumns(int columns);  // values below 1 are ignored
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation);
    TQRPaperSize PaperSize() const { return paperSize_; }
    // Any paper of the table but Default and Custom sets Width and Length from the table,
    // turned for landscape. A value outside the table raises EInvalidArgument.
    void SetPaperSize(TQRPaperSize size);
    bool Ruler() const { return ruler_; }
    void SetRuler(bool ruler);

    void PushToParent() override;

protected:
    void ChangeUnits(TQRUnit units) override;
    std::span<Extended> StoredValues() override { return values_; }
    void ReadStoredValues(TReader& reader) override;

private:
    void Arrange();
    void Repaint();

    Extended values_[7] = {};
    int columns_ = 1;
    TPrinterOrientation orientation_ = poPortrait;
    TQRPaperSize paperSize_ = TQRPaperSize::Default;
    bool ruler_ = true;
};

// A band's height and width. Values: Height, Width.
class TQRBandSize : public TQRUnitBase {
    FV_CLASS(TQRBandSize, TQRUnitBase)
public:
    enum Index { iHeight, iWidth };

    // band: the control whose bounds the size sets (may be null).
    explicit TQRBandSize(TControl* band = nullptr);
    static void Publish(TPublisher<TQRBandSize>& p);

    Extended GetIndexedValue(int index) const { return Get(index, index == iWidth); }
    void SetIndexedValue(int index, Extended value);
    Extended Height() const { return GetIndexedValue(iHeight); }
    void SetHeight(Extended v) { SetIndexedValue(iHeight, v); }
    Extended Width() const { return GetIndexedValue(iWidth); }
    void SetWidth(Extended v) { SetIndexedValue(iWidth, v); }

    void PushToParent() override;

protected:
    std::span<Extended> StoredValues() override { return values_; }

private:
    TControl* band_;
    Extended values_[2] = {20, 40};
};

// A printable's bounds. Values: Height, Left, Top, Width.
class TQRPrintableSize : public TQRUnitBase {
    FV_CLASS(TQRPrintableSize, TQRUnitBase)
public:
    enum Index { iHeight, iLeft, iTop, iWidth };

    explicit TQRPrintableSize(TControl* printable = nullptr);
    static void Publish(TPublisher<TQRPrintableSize>& p);

    // In Pixels the value also follows the zoom of the band or report the printable is on.
    Extended GetIndexedValue(int index) const;
    void SetIndexedValue(int index, Extended value);
    Extended Height() const { return GetIndexedValue(iHeight); }
    void SetHeight(Extended v) { SetIndexedValue(iHeight, v); }
    Extended Left() const { return GetIndexedValue(iLeft); }
    void SetLeft(Extended v) { SetIndexedValue(iLeft, v); }
    Extended Top() const { return GetIndexedValue(iTop); }
    void SetTop(Extended v) { SetIndexedValue(iTop, v); }
    Extended Width() const { return GetIndexedValue(iWidth); }
    void SetWidth(Extended v) { SetIndexedValue(iWidth, v); }

    void PushToParent() override;

protected:
    std::span<Extended> StoredValues() override { return values_; }

private:
    static bool Horizontal(int index) { return index == iLeft || index == iWidth; }

    TControl* printable_;
    Extended values_[4] = {20, 20, 20, 20};
};
