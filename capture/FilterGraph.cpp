#include "capture/FilterGraph.h"

#include <algorithm>

#include "capture/DSErrors.h"
#include "capture/GraphLists.h"
#include "capture/RunningObjectTable.h"
#include "framework/controls/UiThread.h"
#include "framework/rtl/Streams.h"

namespace {

// Sound-device events, which the SDK headers here leave out.
constexpr int SndDevInError = 0x200;
constexpr int SndDevOutError = 0x201;

}  // namespace

TDVDTimeCode SplitDVDTimecode(std::uint32_t value) {
    TDVDTimeCode fields{};
    for (int i = 0; i < 7; ++i) fields[static_cast<size_t>(i)] = static_cast<int>((value >> (28 - 4 * i)) & 0xF);
    fields[7] = static_cast<int>((value >> 2) & 0x3);
    fields[8] = static_cast<int>(value & 0x3);
    return fields;
}

TDVDTime DVDTimeFromTimecode(std::uint32_t value) {
    const TDVDTimeCode f = SplitDVDTimecode(value);
    TDVDTime time;
    time.Hours = f[0] + 10 * f[1];
    time.Minutes = f[2] + 10 * f[3];
    time.Seconds = f[4] + 10 * f[5];
    time.Frames = f[6] + 10 * f[7];
    time.FrameRate = f[8] == 1 ? 25 : f[8] == 3 ? 30 : 0;
    return time;
}

TFilterGraph::TFilterGraph(TComponent* owner) : TComponent(owner) {
    notify_ = std::make_unique<TMessageWindow>([this](TMessage& message) {
        if (message.Msg != WM_GRAPHNOTIFY) return false;
        HandleGraphEvents();
        message.Result = 0;
        return true;
    });
}

TFilterGraph::~TFilterGraph() = default;

void TFilterGraph::BeforeDestruction() {
    // Teardown cannot report: whatever the system says while the graph goes is dropped.
    try {
        ChangeActive(false);
    } catch (...) {
        ReleaseGraphObjects();
    }
    TComponent::BeforeDestruction();
}

void TFilterGraph::Publish(TPublisher<TFilterGraph>& p) {
    p.Property(L"Active", &TFilterGraph::Active, &TFilterGraph::SetActive).Default(false);
    p.Property(L"AutoCreate", &TFilterGraph::AutoCreate, &TFilterGraph::SetAutoCreate).Default(false);
    p.Property(L"Mode", &TFilterGraph::Mode, &TFilterGraph::SetMode).Default(gmNormal);
    p.Property(L"GraphEdit", &TFilterGraph::GraphEdit, &TFilterGraph::SetGraphEdit).Default(false);
    p.Property(L"LogFile", &TFilterGraph::LogFile, &TFilterGraph::SetLogFile).Default(L"");
    p.Event(L"OnActivate", &TFilterGraph::OnActivate);
    p.Event(L"OnDSEvent", &TFilterGraph::OnDSEvent);
    p.Event(L"OnGraphComplete", &TFilterGraph::OnGraphComplete);
    p.Event(L"OnGraphUserAbort", &TFilterGraph::OnGraphUserAbort);
    p.Event(L"OnGraphErrorAbort", &TFilterGraph::OnGraphErrorAbort);
    p.Event(L"OnGraphErrorStillPlaying", &TFilterGraph::OnGraphErrorStillPlaying);
    p.Event(L"OnGraphPaletteChanged", &TFilterGraph::OnGraphPaletteChanged);
    p.Event(L"OnGraphVideoSizeChanged", &TFilterGraph::OnGraphVideoSizeChanged);
    p.Event(L"OnGraphPaused", &TFilterGraph::OnGraphPaused);
    p.Event(L"OnGraphDeviceLost", &TFilterGraph::OnGraphDeviceLost);
    p.Event(L"OnGraphChanged", &TFilterGraph::OnGraphChanged);
    p.Event(L"OnGraphStreamErrorStopped", &TFilterGraph::OnGraphStreamErrorStopped);
    p.Event(L"OnGraphStreamErrorStillPlaying", &TFilterGraph::OnGraphStreamErrorStillPlaying);
    p.Event(L"OnGraphQualityChange", &TFilterGraph::OnGraphQualityChange);
    p.Event(L"OnGraphClockChanged", &TFilterGraph::OnGraphClockChanged);
    p.Event(L"OnGraphOpeningFile", &TFilterGraph::OnGraphOpeningFile);
    p.Event(L"OnGraphBufferingData", &TFilterGraph::OnGraphBufferingData);
    p.Event(L"OnGraphFullscreenLost", &TFilterGraph::OnGraphFullscreenLost);
    p.Event(L"OnGraphOleEvent", &TFilterGraph::OnGraphOleEvent);
    p.Event(L"OnGraphStreamControlStopped", &TFilterGraph::OnGraphStreamControlStopped);
    p.Event(L"OnGraphStreamControlStarted", &TFilterGraph::OnGraphStreamControlStarted);
    p.Event(L"OnGraphEndOfSegment", &TFilterGraph::OnGraphEndOfSegment);
    p.Event(L"OnGraphStepComplete", &TFilterGraph::OnGraphStepComplete);
    p.Event(L"OnGraphTimeCodeAvailable", &TFilterGraph::OnGraphTimeCodeAvailable);
    p.Event(L"OnGraphEXTDeviceModeChange", &TFilterGraph::OnGraphEXTDeviceModeChange);
    p.Event(L"OnGraphClockUnset", &TFilterGraph::OnGraphClockUnset);
    p.Event(L"OnGraphVMRRenderDevice", &TFilterGraph::OnGraphVMRRenderDevice);
    p.Event(L"OnGraphSNDDevInError", &TFilterGraph::OnGraphSNDDevInError);
    p.Event(L"OnGraphSNDDevOutError", &TFilterGraph::OnGraphSNDDevOutError);
    p.Event(L"OnDVDDomainFirstPlay", &TFilterGraph::OnDVDDomainFirstPlay);
    p.Event(L"OnDVDDomainVideoManagerMenu", &TFilterGraph::OnDVDDomainVideoManagerMenu);
    p.Event(L"OnDVDDomainVideoTitleSetMenu", &TFilterGraph::OnDVDDomainVideoTitleSetMenu);
    p.Event(L"OnDVDDomainTitle", &TFilterGraph::OnDVDDomainTitle);
    p.Event(L"OnDVDDomainStop", &TFilterGraph::OnDVDDomainStop);
    p.Event(L"OnDVDErrorUnexpected", &TFilterGraph::OnDVDErrorUnexpected);
    p.Event(L"OnDVDErrorCopyProtectFail", &TFilterGraph::OnDVDErrorCopyProtectFail);
    p.Event(L"OnDVDErrorInvalidDVD1_0Disc", &TFilterGraph::OnDVDErrorInvalidDVD1_0Disc);
    p.Event(L"OnDVDErrorInvalidDiscRegion", &TFilterGraph::OnDVDErrorInvalidDiscRegion);
    p.Event(L"OnDVDErrorLowParentalLevel", &TFilterGraph::OnDVDErrorLowParentalLevel);
    p.Event(L"OnDVDErrorMacrovisionFail", &TFilterGraph::OnDVDErrorMacrovisionFail);
    p.Event(L"OnDVDErrorIncompatibleSystemAndDecoderRegions", &TFilterGraph::OnDVDErrorIncompatibleSystemAndDecoderRegions);
    p.Event(L"OnDVDErrorIncompatibleDiscAndDecoderRegions", &TFilterGraph::OnDVDErrorIncompatibleDiscAndDecoderRegions);
    p.Event(L"OnDVDWarningInvalidDVD1_0Disc", &TFilterGraph::OnDVDWarningInvalidDVD1_0Disc);
    p.Event(L"OnDVDWarningFormatNotSupported", &TFilterGraph::OnDVDWarningFormatNotSupported);
    p.Event(L"OnDVDWarningIllegalNavCommand", &TFilterGraph::OnDVDWarningIllegalNavCommand);
    p.Event(L"OnDVDWarningOpen", &TFilterGraph::OnDVDWarningOpen);
    p.Event(L"OnDVDWarningSeek", &TFilterGraph::OnDVDWarningSeek);
    p.Event(L"OnDVDWarningRead", &TFilterGraph::OnDVDWarningRead);
    p.Event(L"OnDVDStillOff", &TFilterGraph::OnDVDStillOff);
    p.Event(L"OnDVDChapterAutoStop", &TFilterGraph::OnDVDChapterAutoStop);
    p.Event(L"OnDVDNoFP_PGC", &TFilterGraph::OnDVDNoFP_PGC);
    p.Event(L"OnDVDPlaybackStopped", &TFilterGraph::OnDVDPlaybackStopped);
    p.Event(L"OnDVDPlayPeriodAutoStop", &TFilterGraph::OnDVDPlayPeriodAutoStop);
    p.Event(L"OnDVDDiscEjected", &TFilterGraph::OnDVDDiscEjected);
    p.Event(L"OnDVDDiscInserted", &TFilterGraph::OnDVDDiscInserted);
    p.Event(L"OnDVDTitleChange", &TFilterGraph::OnDVDTitleChange);
    p.Event(L"OnDVDChapterStart", &TFilterGraph::OnDVDChapterStart);
    p.Event(L"OnDVDValidUOPSChange", &TFilterGraph::OnDVDValidUOPSChange);
    p.Event(L"OnDVDParentalLevelChange", &TFilterGraph::OnDVDParentalLevelChange);
    p.Event(L"OnDVDButtonAutoActivated", &TFilterGraph::OnDVDButtonAutoActivated);
    p.Event(L"OnDVDCMDStart", &TFilterGraph::OnDVDCMDStart);
    p.Event(L"OnDVDCMDEnd", &TFilterGraph::OnDVDCMDEnd);
    p.Event(L"OnDVDAngleChange", &TFilterGraph::OnDVDAngleChange);
    p.Event(L"OnDVDButtonChange", &TFilterGraph::OnDVDButtonChange);
    p.Event(L"OnDVDAudioStreamChange", &TFilterGraph::OnDVDAudioStreamChange);
    p.Event(L"OnDVDSubpictureStreamChange", &TFilterGraph::OnDVDSubpictureStreamChange);
    p.Event(L"OnDVDStillOn", &TFilterGraph::OnDVDStillOn);
    p.Event(L"OnDVDCurrentTime", &TFilterGraph::OnDVDCurrentTime);
    p.Event(L"OnDVDPlaybackRateChange", &TFilterGraph::OnDVDPlaybackRateChange);
    p.Event(L"OnDVDAnglesAvailable", &TFilterGraph::OnDVDAnglesAvailable);
    p.Event(L"OnDVDCurrentHMSFTime", &TFilterGraph::OnDVDCurrentHMSFTime);
    p.Event(L"OnDVDKaraokeMode", &TFilterGraph::OnDVDKaraokeMode);
}

void TFilterGraph::Loaded() {
    TComponent::Loaded();
    if (autoCreate_ && !ComponentState().Contains(csDesigning)) ChangeActive(true);
}

void TFilterGraph::CreateGraphObjects() {
    switch (mode_) {
    case gmNormal:
        CheckDSResult(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph2,
                                       graph_.PutVoid()));
        break;
    case gmCapture:
        CheckDSResult(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_ICaptureGraphBuilder2, captureBuilder_.PutVoid()));
        CheckDSResult(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph2,
                                       graph_.PutVoid()));
        CheckDSResult(captureBuilder_->SetFiltergraph(graph_.Get()));
        break;
    case gmDVD: {
        CheckDSResult(CoCreateInstance(CLSID_DvdGraphBuilder, nullptr, CLSCTX_INPROC_SERVER, IID_IDvdGraphBuilder,
                                       dvdBuilder_.PutVoid()));
        TComPtr<IGraphBuilder> builder;
        CheckDSResult(dvdBuilder_->GetFiltergraph(builder.Put()));
        CheckDSResult(builder->QueryInterface(IID_IFilterGraph2, graph_.PutVoid()));
        break;
    }
    }
    if (!graph_) CheckDSResult(E_NOINTERFACE);
}

void TFilterGraph::ReleaseGraphObjects() noexcept {
    if (events_) {
        events_->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
        events_.Reset();
    }
    if (rotCookie_ != 0) {
        RevokeGraphFromROT(rotCookie_);
        rotCookie_ = 0;
    }
    if (graph_) graph_->SetLogFile(0);
    log_.reset();
    graph_.Reset();
    captureBuilder_.Reset();
    dvdBuilder_.Reset();
    active_ = false;
}

void TFilterGraph::ChangeActive(bool value) {
    if (value == active_) return;
    if (value) {
        try {
            CreateGraphObjects();
        } catch (...) {
            ReleaseGraphObjects();
            throw;
        }
        active_ = true;
        if (SUCCEEDED(QueryInterface(IID_IMediaEventEx, events_.PutVoid())) && events_) {
            events_->SetNotifyFlags(0);
            events_->SetNotifyWindow(reinterpret_cast<OAHWND>(notify_->Handle()), WM_GRAPHNOTIFY, 0);
        } else {
            events_.Reset();
        }
        ChangeGraphEdit(graphEdit_);
        ChangeLogFile(logFile_);
        for (IFilterProvider* provider : std::vector<IFilterProvider*>(providers_)) AddProviderFilter(provider);
        if (OnActivate) OnActivate(this);
        ControlEvent(7, 1);
    } else {
        ControlEvent(7, 0);
        for (IFilterProvider* provider : std::vector<IFilterProvider*>(providers_)) RemoveProviderFilter(provider);
        ReleaseGraphObjects();
    }
}

void TFilterGraph::ChangeMode(TGraphMode value) {
    if (value == mode_) return;
    const bool wasActive = active_;
    ChangeActive(false);
    mode_ = value;
    ChangeActive(wasActive);
}

void TFilterGraph::ChangeGraphEdit(bool value) {
    if (!value) {
        if (rotCookie_ != 0) RevokeGraphFromROT(rotCookie_);
        rotCookie_ = 0;
    } else if (active_ && rotCookie_ == 0) {
        DWORD cookie = 0;
        if (SUCCEEDED(RegisterGraphInROT(graph_.Get(), cookie))) rotCookie_ = cookie;
    }
    graphEdit_ = value;
}

void TFilterGraph::ChangeLogFile(const String& value) {
    if (active_) {
        graph_->SetLogFile(0);
        log_.reset();
        if (!value.empty()) {
            try {
                log_ = std::make_unique<TFileStream>(value, fmCreate);
                CheckDSResult(graph_->SetLogFile(static_cast<DWORD_PTR>(log_->Handle())));
            } catch (...) {
                // A log that cannot be written leaves logging off and the previous name in place.
                graph_->SetLogFile(0);
                log_.reset();
                return;
            }
        }
    }
    logFile_ = value;
}

void TFilterGraph::AddProviderFilter(IFilterProvider* provider) {
    provider->GraphOperation(0, 0);
    if (IBaseFilter* filter = provider->ProvidedFilter())
        graph_->AddFilter(filter, provider->ProviderName().c_str());
    provider->GraphOperation(1, 0);
}

void TFilterGraph::RemoveProviderFilter(IFilterProvider* provider) {
    provider->GraphOperation(2, 0);
    if (IBaseFilter* filter = provider->ProvidedFilter()) graph_->RemoveFilter(filter);
    provider->GraphOperation(3, 0);
}

void TFilterGraph::AddProvider(IFilterProvider* provider) {
    if (provider == nullptr || std::find(providers_.begin(), providers_.end(), provider) != providers_.end())
        return;
    providers_.push_back(provider);
    if (active_) AddProviderFilter(provider);
}

void TFilterGraph::RemoveProvider(IFilterProvider* provider) {
    auto it = std::find(providers_.begin(), providers_.end(), provider);
    if (it == providers_.end()) return;
    providers_.erase(it);
    if (active_) RemoveProviderFilter(provider);
}

void TFilterGraph::AddEventSink(IGraphEventSink* sink) {
    if (sink != nullptr && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) sinks_.push_back(sink);
}

void TFilterGraph::RemoveEventSink(IGraphEventSink* sink) {
    sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void TFilterGraph::ControlEvent(int code, int parameter) {
    for (IGraphEventSink* sink : std::vector<IGraphEventSink*>(sinks_)) sink->HandleControlEvent(code, parameter);
}

void TFilterGraph::DispatchLanguage(const TOnDVDLanguage& event, bool subpicture, int stream) {
    TComPtr<IDvdInfo2> info;
    if (FAILED(QueryInterface(IID_IDvdInfo2, info.PutVoid())) || !info) return;
    LCID language = 0;
    if (subpicture)
        info->GetSubpictureLanguage(static_cast<ULONG>(stream), &language);
    else
        CheckDSResult(info->GetAudioLanguage(static_cast<ULONG>(stream), &language));
    char name[260] = {};
    GetLocaleInfoA(language, LOCALE_SENGLANGUAGE, name, sizeof(name));
    String text;
    for (const char* p = name; *p != '\0'; ++p) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    event(this, stream, language, text);
}

bool TFilterGraph::RunGraph() {
    TComPtr<IMediaControl> control = Query<IMediaControl>();
    if (!control) return false;
    ControlEvent(0, 0);
    CheckDSResult(control->Run());
    return true;
}

bool TFilterGraph::StopGraph() {
    TComPtr<IMediaControl> control = Query<IMediaControl>();
    if (!control) return false;
    ControlEvent(2, 0);
    return CheckDSResult(control->Stop()) == S_OK;
}

void TFilterGraph::ResetGraph() {
    if (!graph_) return;
    StopGraph();
    TFilterList filters(graph_.Get());
    for (int i = 0; i < filters.Count(); ++i) {
        TPinList pins(filters.Items(i));
        for (int j = 0; j < pins.Count(); ++j) CheckDSResult(pins.Items(j)->Disconnect());
    }
    for (IFilterProvider* provider : providers_)
        if (IBaseFilter* filter = provider->ProvidedFilter()) filters.Remove(filter);
    for (int i = 0; i < filters.Count(); ++i) CheckDSResult(graph_->RemoveFilter(filters.Items(i)));
}

HRESULT TFilterGraph::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    if (!active_) return E_NOINTERFACE;
    switch (mode_) {
    case gmNormal:
        break;
    case gmCapture:
        if (captureBuilder_ && SUCCEEDED(captureBuilder_->QueryInterface(iid, object))) return S_OK;
        break;
    case gmDVD:
        if (dvdBuilder_) {
            if (SUCCEEDED(dvdBuilder_->QueryInterface(iid, object))) return S_OK;
            if (SUCCEEDED(dvdBuilder_->GetDvdInterface(iid, object)) && *object) return S_OK;
            *object = nullptr;
        }
        break;
    }
    return graph_ ? graph_->QueryInterface(iid, object) : E_NOINTERFACE;
}

void TFilterGraph::HandleGraphEvents() {
    while (events_) {
        long code = 0;
        LONG_PTR param1 = 0, param2 = 0;
        if (events_->GetEvent(&code, &param1, &param2, 0) != S_OK) break;
        // An event whose handler raises keeps its parameters; the rest stay queued.
        DispatchGraphEvent(code, param1, param2);
        if (events_) events_->FreeEventParams(code, param1, param2);
    }
}

void TFilterGraph::DispatchGraphEvent(int code, LONG_PTR param1, LONG_PTR param2) {
    for (IGraphEventSink* sink : std::vector<IGraphEventSink*>(sinks_)) sink->HandleGraphEvent(code, param1, param2);
    if (OnDSEvent) OnDSEvent(this, code, param1, param2);
    switch (code) {
    case EC_COMPLETE:
        if (OnGraphComplete) OnGraphComplete(this, static_cast<HRESULT>(param1), reinterpret_cast<IBaseFilter*>(param2));
        break;
    case EC_USERABORT:
        if (OnGraphUserAbort) OnGraphUserAbort(this);
        break;
    case EC_ERRORABORT:
        if (OnGraphErrorAbort) OnGraphErrorAbort(this, static_cast<HRESULT>(param1));
        break;
    case EC_ERROR_STILLPLAYING:
        if (OnGraphErrorStillPlaying) OnGraphErrorStillPlaying(this, static_cast<HRESULT>(param1));
        break;
    case EC_PALETTE_CHANGED:
        if (OnGraphPaletteChanged) OnGraphPaletteChanged(this);
        break;
    case EC_VIDEO_SIZE_CHANGED:
        if (OnGraphVideoSizeChanged)
            OnGraphVideoSizeChanged(this, static_cast<Word>(param1 & 0xFFFF), static_cast<Word>((param1 >> 16) & 0xFFFF));
        break;
    case EC_PAUSED:
        if (OnGraphPaused) OnGraphPaused(this, static_cast<HRESULT>(param1));
        break;
    case EC_DEVICE_LOST:
        if (OnGraphDeviceLost) OnGraphDeviceLost(this, reinterpret_cast<IUnknown*>(param1), param2 == 1);
        break;
    case EC_GRAPH_CHANGED:
        if (OnGraphChanged) OnGraphChanged(this);
        break;
    case EC_STREAM_ERROR_STOPPED:
        if (OnGraphStreamErrorStopped)
            OnGraphStreamErrorStopped(this, static_cast<HRESULT>(param1), static_cast<Cardinal>(param2));
        break;
    case EC_STREAM_ERROR_STILLPLAYING:
        if (OnGraphStreamErrorStillPlaying)
            OnGraphStreamErrorStillPlaying(this, static_cast<HRESULT>(param1), static_cast<Cardinal>(param2));
        break;
    case EC_QUALITY_CHANGE:
        if (OnGraphQualityChange) OnGraphQualityChange(this);
        break;
    case EC_CLOCK_CHANGED:
        if (OnGraphClockChanged) OnGraphClockChanged(this);
        break;
    case EC_OPENING_FILE:
        if (OnGraphOpeningFile) OnGraphOpeningFile(this, param1 == 1);
        break;
    case EC_BUFFERING_DATA:
        if (OnGraphBufferingData) OnGraphBufferingData(this, param1 == 1);
        break;
    case EC_FULLSCREEN_LOST:
        if (OnGraphFullscreenLost) OnGraphFullscreenLost(this, reinterpret_cast<IBaseFilter*>(param2));
        break;
    case EC_OLE_EVENT:
        if (OnGraphOleEvent) {
            const auto* text1 = reinterpret_cast<const wchar_t*>(param1);
            const auto* text2 = reinterpret_cast<const wchar_t*>(param2);
            OnGraphOleEvent(this, text1 ? String(text1) : String(), text2 ? String(text2) : String());
        }
        break;
    case EC_STREAM_CONTROL_STOPPED:
        if (OnGraphStreamControlStopped)
            OnGraphStreamControlStopped(this, reinterpret_cast<IPin*>(param1), static_cast<Cardinal>(param2));
        break;
    case EC_STREAM_CONTROL_STARTED:
        if (OnGraphStreamControlStarted)
            OnGraphStreamControlStarted(this, reinterpret_cast<IPin*>(param1), static_cast<Cardinal>(param2));
        break;
    case EC_END_OF_SEGMENT:
        if (OnGraphEndOfSegment) {
            const auto* time = reinterpret_cast<const REFERENCE_TIME*>(param1);
            OnGraphEndOfSegment(this, time ? *time : 0, static_cast<Cardinal>(param2));
        }
        break;
    case EC_STEP_COMPLETE:
        if (OnGraphStepComplete) OnGraphStepComplete(this);
        break;
    case EC_TIMECODE_AVAILABLE:
        if (OnGraphTimeCodeAvailable)
            OnGraphTimeCodeAvailable(this, reinterpret_cast<IBaseFilter*>(param1), static_cast<Cardinal>(param2));
        break;
    case EC_EXTDEVICE_MODE_CHANGE:
        if (OnGraphEXTDeviceModeChange)
            OnGraphEXTDeviceModeChange(this, static_cast<Cardinal>(param1), static_cast<Cardinal>(param2));
        break;
    case EC_CLOCK_UNSET:
        if (OnGraphClockUnset) OnGraphClockUnset(this);
        break;
    case EC_VMR_RENDERDEVICE_SET:
        if (OnGraphVMRRenderDevice) OnGraphVMRRenderDevice(this, static_cast<Cardinal>(param1));
        break;
    case SndDevInError:
        if (OnGraphSNDDevInError)
            OnGraphSNDDevInError(this, static_cast<Cardinal>(param1), static_cast<Cardinal>(param2));
        break;
    case SndDevOutError:
        if (OnGraphSNDDevOutError)
            OnGraphSNDDevOutError(this, static_cast<Cardinal>(param1), static_cast<Cardinal>(param2));
        break;
    case 0x101:
        switch (param1) {
        case 1:
            if (OnDVDDomainFirstPlay) OnDVDDomainFirstPlay(this);
            break;
        case 2:
            if (OnDVDDomainVideoManagerMenu) OnDVDDomainVideoManagerMenu(this);
            break;
        case 3:
            if (OnDVDDomainVideoTitleSetMenu) OnDVDDomainVideoTitleSetMenu(this);
            break;
        case 4:
            if (OnDVDDomainTitle) OnDVDDomainTitle(this);
            break;
        case 5:
            if (OnDVDDomainStop) OnDVDDomainStop(this);
            break;
        default:
            break;
        }
        break;
    case 0x10C:
        switch (param1) {
        case 1:
            if (OnDVDErrorUnexpected) OnDVDErrorUnexpected(this);
            break;
        case 2:
            if (OnDVDErrorCopyProtectFail) OnDVDErrorCopyProtectFail(this);
            break;
        case 3:
            if (OnDVDErrorInvalidDVD1_0Disc) OnDVDErrorInvalidDVD1_0Disc(this);
            break;
        case 4:
            if (OnDVDErrorInvalidDiscRegion) OnDVDErrorInvalidDiscRegion(this);
            break;
        case 5:
            if (OnDVDErrorLowParentalLevel) OnDVDErrorLowParentalLevel(this);
            break;
        case 6:
            if (OnDVDErrorMacrovisionFail) OnDVDErrorMacrovisionFail(this);
            break;
        case 7:
            if (OnDVDErrorIncompatibleSystemAndDecoderRegions) OnDVDErrorIncompatibleSystemAndDecoderRegions(this);
            break;
        case 8:
            if (OnDVDErrorIncompatibleDiscAndDecoderRegions) OnDVDErrorIncompatibleDiscAndDecoderRegions(this);
            break;
        default:
            break;
        }
        break;
    case 0x10D:
        switch (param1) {
        case 1:
            if (OnDVDWarningInvalidDVD1_0Disc) OnDVDWarningInvalidDVD1_0Disc(this);
            break;
        case 2:
            if (OnDVDWarningFormatNotSupported) OnDVDWarningFormatNotSupported(this);
            break;
        case 3:
            if (OnDVDWarningIllegalNavCommand) OnDVDWarningIllegalNavCommand(this);
            break;
        case 4:
            if (OnDVDWarningOpen) OnDVDWarningOpen(this);
            break;
        case 5:
            if (OnDVDWarningSeek) OnDVDWarningSeek(this);
            break;
        case 6:
            if (OnDVDWarningRead) OnDVDWarningRead(this);
            break;
        default:
            break;
        }
        break;
    case 0x10A:
        if (OnDVDStillOff) OnDVDStillOff(this);
        break;
    case 0x10E:
        if (OnDVDChapterAutoStop) OnDVDChapterAutoStop(this);
        break;
    case 0x10F:
        if (OnDVDNoFP_PGC) OnDVDNoFP_PGC(this);
        break;
    case 0x112:
        if (OnDVDPlaybackStopped) OnDVDPlaybackStopped(this);
        break;
    case 0x114:
        if (OnDVDPlayPeriodAutoStop) OnDVDPlayPeriodAutoStop(this);
        break;
    case 0x118:
        if (OnDVDDiscEjected) OnDVDDiscEjected(this);
        break;
    case 0x119:
        if (OnDVDDiscInserted) OnDVDDiscInserted(this);
        break;
    case 0x102:
        if (OnDVDTitleChange) OnDVDTitleChange(this, static_cast<int>(param1));
        break;
    case 0x103:
        if (OnDVDChapterStart) OnDVDChapterStart(this, static_cast<int>(param1));
        break;
    case 0x108:
        if (OnDVDValidUOPSChange) OnDVDValidUOPSChange(this, static_cast<int>(param1));
        break;
    case 0x111:
        if (OnDVDParentalLevelChange) OnDVDParentalLevelChange(this, static_cast<int>(param1));
        break;
    case 0x115:
        if (OnDVDButtonAutoActivated) OnDVDButtonAutoActivated(this, static_cast<int>(param1));
        break;
    case 0x116:
        if (OnDVDCMDStart) OnDVDCMDStart(this, static_cast<int>(param1));
        break;
    case 0x117:
        if (OnDVDCMDEnd) OnDVDCMDEnd(this, static_cast<int>(param1));
        break;
    case 0x106:
        if (OnDVDAngleChange) OnDVDAngleChange(this, static_cast<int>(param1), static_cast<int>(param2));
        break;
    case 0x107:
        if (OnDVDButtonChange) OnDVDButtonChange(this, static_cast<int>(param1), static_cast<int>(param2));
        break;
    case 0x104:
        if (OnDVDAudioStreamChange) DispatchLanguage(OnDVDAudioStreamChange, false, static_cast<int>(param1));
        break;
    case 0x105:
        if (OnDVDSubpictureStreamChange) DispatchLanguage(OnDVDSubpictureStreamChange, true, static_cast<int>(param1));
        break;
    case 0x109:
        if (OnDVDStillOn) OnDVDStillOn(this, param1 == 1, static_cast<int>(param2));
        break;
    case 0x10B:
        if (OnDVDCurrentTime) {
            const TDVDTime time = DVDTimeFromTimecode(static_cast<std::uint32_t>(param1));
            OnDVDCurrentTime(this, time.Hours, time.Minutes, time.Seconds, time.Frames, time.FrameRate);
        }
        break;
    case 0x110:
        if (OnDVDPlaybackRateChange) OnDVDPlaybackRateChange(this, static_cast<float>(param1) / 10000.0f);
        break;
    case 0x113:
        if (OnDVDAnglesAvailable) OnDVDAnglesAvailable(this, param1 == 1);
        break;
    case 0x11A:
        if (OnDVDCurrentHMSFTime) {
            const auto code = static_cast<std::uint32_t>(param1);
            DVD_HMSF_TIMECODE hmsf{};
            hmsf.bHours = static_cast<BYTE>(code);
            hmsf.bMinutes = static_cast<BYTE>(code >> 8);
            hmsf.bSeconds = static_cast<BYTE>(code >> 16);
            hmsf.bFrames = static_cast<BYTE>(code >> 24);
            OnDVDCurrentHMSFTime(this, hmsf, SplitDVDTimecode(static_cast<std::uint32_t>(param2)));
        }
        break;
    case 0x11B:
        if (OnDVDKaraokeMode) OnDVDKaraokeMode(this, param1 != 0);
        break;
    default:
        break;
    }
}
