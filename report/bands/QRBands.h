// The panels of a report form: TQRBasePanel (frame, zoom, rulers), the band base TQRCustomBand
// and its kinds.
//
//     TQRBasePanel -> TQRCustomBand -> TQRBand          a band of any type (BandType)
//                                   -> TQRChildBand     continues ParentBand (HasChild creates it)
//                                   -> TQRGroup         group header (QRController.h)
//                                   -> TQRControllerBand -> TQRSubDetail   a nested data level
//     TQRBasePanel -> TCustomQRReport (QRReport.h)
//
// A band belongs to a report once its parent control is the report: it joins the report's
// ordered band list, takes its units and zoom, and the report sets its width and position
// (TCustomQRReport::ArrangeBands); the band keeps only its height (Size). Bands never nest: one
// dropped on a band goes to that band's report.
//
// Links between bands (a child's ParentBand, LinkBand, a controller band's Master) refuse a
// value that would close a circle. Every walk along such a chain also stops at a band met twice,
// since a description can hold links the setters never saw.
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Method.h"
#include "framework/controls/Control.h"
#include "report/printables/QRFrame.h"
#include "report/printables/QRReportLinks.h"
#include "report/printables/QRUnits.h"

class TCustomQRReport;
class TQRController;
class TQRCustomBand;
class TQRChildBand;
class TQRPrintable;
class TDataSet;

FV_ENUM(TQRBandType, rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter,
        rbSubDetail, rbColumnHeader, rbOverlay, rbWild, rbChild)
FV_ENUM(TCBPrintOrder, cboAfterParent, cboBeforeParent, cboBeforeAndAfter)

// The name shown for a band type in the design view ("Page Header"), and the base of the names
// the engine gives new bands of that type ("PageHeaderBand").
String QRBandTypeDisplayName(TQRBandType type);
String QRBandTypeNameBase(TQRBandType type);
// Title, page header, page footer, summary and overlay bands span the page; the others a column.
bool QRBandSpansPage(TQRBandType type);

// Pens and fonts of the design view, one set for screens of more than 256 colours, one for others.
struct TQRDesignPalette {
    TPenStyle RulerMinorStyle;
    TColor RulerMinorColor;
    TPenStyle RulerMajorStyle;
    TColor RulerMajorColor;
    const wchar_t* RulerFontName;
    int RulerFontSize;
    TColor RulerFontColor;
    TPenStyle MarginStyle;
    TColor MarginColor;
    TPenStyle BandOutlineStyle;
    TColor BandOutlineColor;
};
const TQRDesignPalette& DesignPalette();
// Chooses the set by the screen's colours (start-up does it once).
void SelectDesignPalette();

using TQRBandBeforePrintEvent = TMethod<void(TQRCustomBand* Sender, bool& PrintBand)>;
using TQRBandAfterPrintEvent = TMethod<void(TQRCustomBand* Sender, bool BandPrinted)>;
using TQROnNeedDataEvent = TMethod<void(TObject* Sender, bool& MoreData)>;

// A panel with a frame, a display zoom and design-time rulers.
class TQRBasePanel : public TCustomControl {
    FV_CLASS(TQRBasePanel, TCustomControl)
public:
    explicit TQRBasePanel(TComponent* owner);
    ~TQRBasePanel() override;
    static void Publish(TPublisher<TQRBasePanel>& p);

    TQRFrame* Frame() const { return frame_.get(); }
    void SetFrame(const TQRFrame& frame);
    int Zoom() const { return zoom_; }
    // Font size of the Characters ruler (points).
    int FontSize() const { return fontSize_; }
    void SetFontSize(int size) { fontSize_ = size; }

    // 0 is ignored; otherwise the panel, its printables and its child panels take the zoom.
    virtual void ChangeZoom(int zoom);
    virtual void PaintRulers(TQRUnit units);

protected:
    // Fills the client area in Color (clSilver while disabled) and leaves the brush clear.
    void PaintPanelFill();

private:
    std::unique_ptr<TQRFrame> frame_;
    int fontSize_ = 12;
    int zoom_ = 100;
};

class TQRCustomBand : public TQRBasePanel, public IQRBand {
    FV_CLASS(TQRCustomBand, TQRBasePanel)
public:
    explicit TQRCustomBand(TComponent* owner);
    ~TQRCustomBand() override;
    static void Publish(TPublisher<TQRCustomBand>& p);

    virtual String BandTypeDisplayName() const { return QRBandTypeDisplayName(BandType()); }
    virtual String BandTypeNameBase() const { return QRBandTypeNameBase(BandType()); }
    virtual void SetParentReport(TCustomQRReport* report) { parentReport_ = report; }
    TCustomQRReport* ParentReport() const { return parentReport_; }

    TQRBandType BandType() const { return bandType_; }
    // The type the page layout treats the band as: a child band printed with a page footer
    // counts as a page footer, without its type (and so the band list) changing mid-run.
    TQRBandType EffectiveBandType() const { return printAsPageFooter_ ? rbPageFooter : bandType_; }
    // The type alone, without rebuilding the report's band list.
    void SetBandTypeValue(TQRBandType type);
    bool PrintAsPageFooter() const { return printAsPageFooter_; }
    void SetPrintAsPageFooter(bool value) { printAsPageFooter_ = value; }

    void SetEnabled(bool enabled) override;
    bool AlignToBottom() const { return alignToBottom_; }
    void SetAlignToBottom(bool value) { alignToBottom_ = value; }
    bool TransparentBand() const { return transparentBand_; }
    void SetTransparentBand(bool value);
    bool ForceNewColumn() const { return forceNewColumn_; }
    void SetForceNewColumn(bool value) { forceNewColumn_ = value; }
    bool ForceNewPage() const { return forceNewPage_; }
    void SetForceNewPage(bool value) { forceNewPage_ = value; }
    bool PreCaluculateBandHeight() const { return preCalculateBandHeight_; }
    void SetPreCaluculateBandHeight(bool value) { preCalculateBandHeight_ = value; }
    bool KeepOnOnePage() const { return keepOnOnePage_; }
    void SetKeepOnOnePage(bool value) { keepOnOnePage_ = value; }
    TQRBandSize* Size() const { return size_.get(); }

    // The child band (a TQRChildBand of the report whose ParentBand is this band), or null.
    TQRChildBand* ChildBand() const;
    bool HasChild() const { return ChildBand() != nullptr; }
    void SetHasChild(bool value);
    TQRCustomBand* LinkBand() const { return linkBand_; }
    void SetLinkBand(TQRCustomBand* band);
    // This band and the bands linked after it, each once.
    std::vector<TQRCustomBand*> LinkChain();

    // The controller whose detail band this is during a data loop, or null.
    TQRController* NotifyController() const { return notifyController_; }
    void SetNotifyController(TQRController* controller) { notifyController_ = controller; }
    // Stretching controls ask while they print (extra, total: 0.1 mm). CanGrowBand: whether the
    // column has room for the band grown by extra. GrowBand: false and nothing changes without
    // room; true when the band has grown by more than extra already (total := the growth);
    // otherwise the band grows by extra (total := the growth), false.
    bool CanGrowBand(Extended extra);
    bool GrowBand(Extended& total, bool& grown, Extended extra);
    // Units of the band's size and of the printables on it.
    void SetBandUnits(TQRUnit units);
    bool Arranging() const { return arranging_; }

    TQRBandBeforePrintEvent BeforePrint;
    TQRBandAfterPrintEvent AfterPrint;

    // IQRBand
    TControl& PanelControl() override { return *this; }
    int PanelZoom() const override { return Zoom(); }
    IQRReport* BandReport() const override;
    TQRBandSize* BandSize() const override { return size_.get(); }

    void ChangeZoom(int zoom) override;
    void PaintRulers(TQRUnit units) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    // The band's printables are stored inside it.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

protected:
    friend class TCustomQRReport;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;
    void Paint() override;
    // Asks the band's report to rebuild and arrange its band list (not while it is going).
    void RebuildReportBands();

private:
    std::unique_ptr<TQRBandSize> size_;
    TCustomQRReport* parentReport_ = nullptr;
    bool arranging_ = false;
    TQRBandType bandType_ = rbTitle;
    bool printAsPageFooter_ = false;
    int storedHeight_ = 40;
    TQRController* notifyController_ = nullptr;
    TQRCustomBand* linkBand_ = nullptr;
    bool alignToBottom_ = false;
    bool transparentBand_ = false;
    bool forceNewColumn_ = false;
    bool forceNewPage_ = false;
    bool preCalculateBandHeight_ = false;
    bool keepOnOnePage_ = false;
};

// A band whose type is chosen by BandType.
class TQRBand : public TQRCustomBand {
    FV_CLASS(TQRBand, TQRCustomBand)
public:
    explicit TQRBand(TComponent* owner) : TQRCustomBand(owner) {}
    static void Publish(TPublisher<TQRBand>& p);

    TQRBandType BandType() const { return TQRCustomBand::BandType(); }
    // Rebuilds and arranges the report's band list; during a run only once the run has ended.
    void SetBandType(TQRBandType type);
};

// A band printed right after (or before) its ParentBand.
class TQRChildBand : public TQRCustomBand {
    FV_CLASS(TQRChildBand, TQRCustomBand)
public:
    explicit TQRChildBand(TComponent* owner);
    static void Publish(TPublisher<TQRChildBand>& p);

    TQRCustomBand* ParentBand() const { return parentBand_; }
    // Ignored while the child is on no report, and when it would close a circle of children.
    void SetParentBand(TQRCustomBand* band);
    TCBPrintOrder PrintOrder() const { return printOrder_; }
    void SetPrintOrder(TCBPrintOrder order) { printOrder_ = order; }
    // The first band up the ParentBand chain that is not a child band, or null.
    TQRCustomBand* FirstNonChildParent() const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TQRCustomBand* parentBand_ = nullptr;
    TCBPrintOrder printOrder_ = cboAfterParent;
};

// A band that owns the controller of a nested data level (the band is its detail band).
class TQRControllerBand : public TQRCustomBand {
    FV_CLASS(TQRControllerBand, TQRCustomBand)
public:
    explicit TQRControllerBand(TComponent* owner);
    ~TQRControllerBand() override;
    static void Publish(TPublisher<TQRControllerBand>& p);

    TQRController* Controller() const { return controller_.get(); }
    TComponent* Master() const { return master_; }
    void SetMaster(TComponent* master) { ChangeMaster(master); }
    bool PrintBefore() const;
    void SetPrintBefore(bool value);

    virtual void AddToBandList();
    virtual void ChangeMaster(TComponent* master);
    virtual void RegisterBandFunction();
    virtual void UnregisterBandFunction();
    // The expression registered under the band's name in the report's Functions; none here.
    virtual String BandFunctionValue() const { return String(); }

    void SetParentReport(TCustomQRReport* report) override;
    void SetName(const String& name) override;
    void SetParent(TWinControl* parent) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;

private:
    std::unique_ptr<TQRController> controller_;
    TComponent* master_ = nullptr;
    bool functionRegistered_ = false;
};

class TQRSubDetail;

// The header and footer switches of a sub-detail.
class TQRSubDetailGroupBands : public TPersistent {
    FV_CLASS(TQRSubDetailGroupBands, TPersistent)
public:
    explicit TQRSubDetailGroupBands(TQRSubDetail* owner = nullptr) : owner_(owner) {}
    static void Publish(TPublisher<TQRSubDetailGroupBands>& p);

    bool HasHeader() const;
    void SetHasHeader(bool value);
    bool HasFooter() const;
    void SetHasFooter(bool value);

private:
    TQRSubDetail* owner_;
};

// A nested data level: prints once per record of its dataset (or of OnNeedData) for every
// record of its master, with an optional header and footer band.
class TQRSubDetail : public TQRControllerBand {
    FV_CLASS(TQRSubDetail, TQRControllerBand)
public:
    explicit TQRSubDetail(TComponent* owner);
    ~TQRSubDetail() override;
    static void Publish(TPublisher<TQRSubDetail>& p);

    TQRSubDetailGroupBands* Bands() const { return bands_.get(); }
    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    bool PrintIfEmpty() const;
    void SetPrintIfEmpty(bool value);
    TQRCustomBand* HeaderBand() const;
    void SetHeaderBand(TQRCustomBand* band);
    TQRCustomBand* FooterBand() const;
    void SetFooterBand(TQRCustomBand* band);
    TQROnNeedDataEvent OnNeedData() const;
    void SetOnNeedData(TQROnNeedDataEvent event);

    void AddToBandList() override;
    // An expression printable that counts this level's records.
    void AddToNotifyList(TQRPrintable* printable);

private:
    std::unique_ptr<TQRSubDetailGroupBands> bands_;
};

// A walk along a chain of links that stops at a link met before, so that a circle that a
// description or a fix-up put there ends the walk instead of looping.
class TQRChainWalk {
public:
    // True when band was not met yet (and is now).
    bool Visit(const void* band);

private:
    std::vector<const void*> seen_;
};
