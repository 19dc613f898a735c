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

TFilterGraph::TFilterGraph(TComponent* owner) : TComponent(owner) {
    notify_ = std::make_unique<TMessageWindow>([this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_GRAPHNOTIFY) return false;
        HandleGraphEvents();
        result = 0;
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
    default:
        break;
    }
}
