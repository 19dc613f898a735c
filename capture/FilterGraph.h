// TFilterGraph: a component that owns one DirectShow filter graph. How the capture components
// meet:
//
//   TVideoWindow, TSampleGrabber, TFilter  --IFilterProvider-->  TFilterGraph  <--  the graph
//   TVideoWindow                           <--IGraphEventSink--  TFilterGraph       events
//
// A provider joins a graph through its FilterGraph property (AddProvider). While the graph is
// active each provider is told, in list order, 0 "adding" (create your filter), its filter is
// added under the provider's Name, then 1 "added" (configure it); deactivation tells 2
// "removing" (stop, disconnect), removes the filter, then 3 "removed" (release it). Activation
// creates the graph objects and raises EDirectShowException, leaving the graph inactive, when
// the system cannot create them. The graph posts its events to a hidden window of the UI thread;
// each goes to the sinks, then OnDSEvent, then its typed event. Everything runs on the UI thread.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "capture/DirectShow.h"
#include "capture/ComPtr.h"
#include "framework/classes/Component.h"
#include "framework/classes/Properties.h"

class TMessageWindow;
class TFileStream;

// A component that puts a filter into a graph.
class IFilterProvider {
public:
    // Borrowed; null while the provider has none.
    virtual IBaseFilter* ProvidedFilter() = 0;
    virtual String ProviderName() = 0;
    // 0 adding, 1 added, 2 removing, 3 removed; parameter is 0.
    virtual void GraphOperation(int operation, int parameter) = 0;

protected:
    ~IFilterProvider() = default;
};

// A component that receives the graph's events before the published ones.
class IGraphEventSink {
public:
    virtual void HandleGraphEvent(int code, LONG_PTR param1, LONG_PTR param2) = 0;
    // 0 running is about to start, 2 stopping is about to start, 7 activation (parameter 1
    // after activating, 0 before deactivating).
    virtual void HandleControlEvent(int code, int parameter) = 0;

protected:
    ~IGraphEventSink() = default;
};

constexpr UINT WM_GRAPHNOTIFY = 0x8001;

FV_ENUM(TGraphMode, gmNormal, gmCapture, gmDVD)

using TOnDSEvent = TMethod<void(TComponent* Sender, int Event, LONG_PTR Param1, LONG_PTR Param2)>;
using TOnGraphResult = TMethod<void(TObject* Sender, HRESULT Result)>;
using TOnGraphDeviceLost = TMethod<void(TObject* Sender, IUnknown* Device, bool Removed)>;
using TOnGraphVideoSizeChanged = TMethod<void(TObject* Sender, Word Width, Word Height)>;
using TOnGraphComplete = TMethod<void(TObject* Sender, HRESULT Result, IBaseFilter* Renderer)>;
using TOnGraphStreamError = TMethod<void(TObject* Sender, HRESULT Operation, Cardinal Value)>;
using TOnGraphBool = TMethod<void(TObject* Sender, bool Value)>;
using TOnGraphFilter = TMethod<void(TObject* Sender, IBaseFilter* Filter)>;
using TOnGraphOleEvent = TMethod<void(TObject* Sender, String String1, String String2)>;
using TOnGraphStreamControl = TMethod<void(TObject* Sender, IPin* PinSender, Cardinal Cookie)>;
using TOnGraphEndOfSegment = TMethod<void(TObject* Sender, Int64 StreamTime, Cardinal NumSegment)>;
using TOnGraphTimeCodeAvailable = TMethod<void(TObject* Sender, IBaseFilter* From, Cardinal DeviceID)>;
using TOnGraphEXTDeviceModeChange = TMethod<void(TObject* Sender, Cardinal NewMode, Cardinal DeviceID)>;
using TOnGraphVMRRenderDevice = TMethod<void(TObject* Sender, Cardinal RenderDevice)>;
using TOnGraphSNDDevError = TMethod<void(TObject* Sender, Cardinal OccurWhen, Cardinal ErrorCode)>;

// The nine fields of a DVD timecode, from the most significant end: four bits each for fields 0
// to 6, two bits each for fields 7 and 8.
using TDVDTimeCode = std::array<int, 9>;
TDVDTimeCode SplitDVDTimecode(std::uint32_t value);
// The time a DVD timecode names; frame rate 25 or 30 by field 8 (1 or 3), otherwise 0.
struct TDVDTime {
    int Hours = 0, Minutes = 0, Seconds = 0, Frames = 0, FrameRate = 0;
};
TDVDTime DVDTimeFromTimecode(std::uint32_t value);

using TOnDVDInt = TMethod<void(TObject* Sender, int Value)>;
using TOnDVDTwoInts = TMethod<void(TObject* Sender, int Total, int Current)>;
using TOnDVDLanguage = TMethod<void(TObject* Sender, int Stream, LCID lcid, String Lang)>;
using TOnDVDStillOn = TMethod<void(TObject* Sender, bool NoButtonAvailable, int Seconds)>;
using TOnDVDCurrentTime =
    TMethod<void(TObject* Sender, int Hours, int Minutes, int Seconds, int Frames, int FrameRate)>;
using TOnDVDPlaybackRateChange = TMethod<void(TObject* Sender, float Rate)>;
using TOnDVDCurrentHMSFTime = TMethod<void(TObject* Sender, DVD_HMSF_TIMECODE HMSFTimeCode, TDVDTimeCode TimeCode)>;

class TFilterGraph : public TComponent {
    FV_CLASS(TFilterGraph, TComponent)
public:
    explicit TFilterGraph(TComponent* owner);
    ~TFilterGraph() override;
    static void Publish(TPublisher<TFilterGraph>& p);

    bool Active() const { return active_; }
    void SetActive(bool value) { ChangeActive(value); }
    // Raises EDirectShowException when the graph objects cannot be created (Active stays False).
    void ChangeActive(bool value);
    bool AutoCreate() const { return autoCreate_; }
    void SetAutoCreate(bool value) { autoCreate_ = value; }
    TGraphMode Mode() const { return mode_; }
    void SetMode(TGraphMode value) { ChangeMode(value); }
    void ChangeMode(TGraphMode value);
    bool GraphEdit() const { return graphEdit_; }
    void SetGraphEdit(bool value) { ChangeGraphEdit(value); }
    void ChangeGraphEdit(bool value);
    String LogFile() const { return logFile_; }
    void SetLogFile(String value) { ChangeLogFile(value); }
    void ChangeLogFile(const String& value);
    // Whether the graph is registered in the running object table now.
    bool RegisteredInROT() const { return rotCookie_ != 0; }

    void AddProvider(IFilterProvider* provider);
    void RemoveProvider(IFilterProvider* provider);
    void AddEventSink(IGraphEventSink* sink);
    void RemoveEventSink(IGraphEventSink* sink);

    // False without IMediaControl; success codes (S_FALSE too) give True.
    bool RunGraph();
    // False without IMediaControl; True only for S_OK.
    bool StopGraph();
    // Stops, disconnects every pin and removes every filter no provider contributed.
    void ResetGraph();

    // The graph's interfaces: in capture mode the capture graph builder first, then the graph.
    HRESULT QueryInterface(REFIID iid, void** object);
    template <class T>
    TComPtr<T> Query() {
        TComPtr<T> result;
        if (FAILED(QueryInterface(__uuidof(T), result.PutVoid()))) result.Reset();
        return result;
    }
    IFilterGraph2* Graph() const { return graph_.Get(); }

    // Drains the graph's event queue (the notify window does this on WM_GRAPHNOTIFY).
    void HandleGraphEvents();
    virtual void DispatchGraphEvent(int code, LONG_PTR param1, LONG_PTR param2);

    TNotifyEvent OnActivate;
    TOnDSEvent OnDSEvent;
    TOnGraphComplete OnGraphComplete;
    TNotifyEvent OnGraphUserAbort;
    TOnGraphResult OnGraphErrorAbort;
    TOnGraphResult OnGraphErrorStillPlaying;
    TNotifyEvent OnGraphPaletteChanged;
    TOnGraphVideoSizeChanged OnGraphVideoSizeChanged;
    TOnGraphResult OnGraphPaused;
    TOnGraphDeviceLost OnGraphDeviceLost;
    TNotifyEvent OnGraphChanged;
    TOnGraphStreamError OnGraphStreamErrorStopped;
    TOnGraphStreamError OnGraphStreamErrorStillPlaying;
    TNotifyEvent OnGraphQualityChange;
    TNotifyEvent OnGraphClockChanged;
    TOnGraphBool OnGraphOpeningFile;
    TOnGraphBool OnGraphBufferingData;
    TOnGraphFilter OnGraphFullscreenLost;
    TOnGraphOleEvent OnGraphOleEvent;
    TOnGraphStreamControl OnGraphStreamControlStopped;
    TOnGraphStreamControl OnGraphStreamControlStarted;
    TOnGraphEndOfSegment OnGraphEndOfSegment;
    TNotifyEvent OnGraphStepComplete;
    TOnGraphTimeCodeAvailable OnGraphTimeCodeAvailable;
    TOnGraphEXTDeviceModeChange OnGraphEXTDeviceModeChange;
    TNotifyEvent OnGraphClockUnset;
    TOnGraphVMRRenderDevice OnGraphVMRRenderDevice;
    TOnGraphSNDDevError OnGraphSNDDevInError;
    TOnGraphSNDDevError OnGraphSNDDevOutError;
    TNotifyEvent OnDVDDomainFirstPlay;
    TNotifyEvent OnDVDDomainVideoManagerMenu;
    TNotifyEvent OnDVDDomainVideoTitleSetMenu;
    TNotifyEvent OnDVDDomainTitle;
    TNotifyEvent OnDVDDomainStop;
    TNotifyEvent OnDVDErrorUnexpected;
    TNotifyEvent OnDVDErrorCopyProtectFail;
    TNotifyEvent OnDVDErrorInvalidDVD1_0Disc;
    TNotifyEvent OnDVDErrorInvalidDiscRegion;
    TNotifyEvent OnDVDErrorLowParentalLevel;
    TNotifyEvent OnDVDErrorMacrovisionFail;
    TNotifyEvent OnDVDErrorIncompatibleSystemAndDecoderRegions;
    TNotifyEvent OnDVDErrorIncompatibleDiscAndDecoderRegions;
    TNotifyEvent OnDVDWarningInvalidDVD1_0Disc;
    TNotifyEvent OnDVDWarningFormatNotSupported;
    TNotifyEvent OnDVDWarningIllegalNavCommand;
    TNotifyEvent OnDVDWarningOpen;
    TNotifyEvent OnDVDWarningSeek;
    TNotifyEvent OnDVDWarningRead;
    TNotifyEvent OnDVDStillOff;
    TNotifyEvent OnDVDChapterAutoStop;
    TNotifyEvent OnDVDNoFP_PGC;
    TNotifyEvent OnDVDPlaybackStopped;
    TNotifyEvent OnDVDPlayPeriodAutoStop;
    TNotifyEvent OnDVDDiscEjected;
    TNotifyEvent OnDVDDiscInserted;
    TOnDVDInt OnDVDTitleChange;
    TOnDVDInt OnDVDChapterStart;
    TOnDVDInt OnDVDValidUOPSChange;
    TOnDVDInt OnDVDParentalLevelChange;
    TOnDVDInt OnDVDButtonAutoActivated;
    TOnDVDInt OnDVDCMDStart;
    TOnDVDInt OnDVDCMDEnd;
    TOnDVDTwoInts OnDVDAngleChange;
    TOnDVDTwoInts OnDVDButtonChange;
    TOnDVDLanguage OnDVDAudioStreamChange;
    TOnDVDLanguage OnDVDSubpictureStreamChange;
    TOnDVDStillOn OnDVDStillOn;
    TOnDVDCurrentTime OnDVDCurrentTime;
    TOnDVDPlaybackRateChange OnDVDPlaybackRateChange;
    TOnGraphBool OnDVDAnglesAvailable;
    TOnDVDCurrentHMSFTime OnDVDCurrentHMSFTime;
    TOnGraphBool OnDVDKaraokeMode;

protected:
    void Loaded() override;
    void BeforeDestruction() override;

private:
    void CreateGraphObjects();
    void ReleaseGraphObjects() noexcept;
    void AddProviderFilter(IFilterProvider* provider);
    void RemoveProviderFilter(IFilterProvider* provider);
    void ControlEvent(int code, int parameter);
    void DispatchLanguage(const TOnDVDLanguage& event, bool subpicture, int stream);

    bool active_ = false;
    bool autoCreate_ = false;
    TGraphMode mode_ = gmNormal;
    bool graphEdit_ = false;
    String logFile_;
    std::vector<IFilterProvider*> providers_;
    std::vector<IGraphEventSink*> sinks_;
    TComPtr<IFilterGraph2> graph_;
    TComPtr<ICaptureGraphBuilder2> captureBuilder_;
    TComPtr<IDvdGraphBuilder> dvdBuilder_;
    TComPtr<IMediaEventEx> events_;
    DWORD rotCookie_ = 0;
    std::unique_ptr<TFileStream> log_;
    std::unique_ptr<TMessageWindow> notify_;
};

// Moves a provider component from the graph it is linked to (current) to next, keeping the free
// notifications that clear current when a graph goes.
template <class TProvider>
void RelinkFilterProvider(TProvider* provider, TFilterGraph*& current, TFilterGraph* next) {
    if (next == current) return;
    if (current != nullptr) {
        current->RemoveProvider(provider);
        current->RemoveFreeNotification(provider);
    }
    current = next;
    if (current != nullptr) {
        current->FreeNotification(provider);
        current->AddProvider(provider);
    }
}
