#include "capture/VideoWindow.h"

#include <cfloat>

#include "capture/DSErrors.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/Menus.h"

namespace {

// Creating the VMR-9 may change the processor's floating-point control word.
class TFpuControlWordGuard {
public:
    TFpuControlWordGuard() : saved_(_controlfp(0, 0)) {}
    ~TFpuControlWordGuard() { _controlfp(saved_, Mask); }

#if defined(__i386__)
    static constexpr unsigned Mask = _MCW_EM | _MCW_RC | _MCW_PC;
#else
    static constexpr unsigned Mask = _MCW_EM | _MCW_RC;
#endif

private:
    unsigned saved_;
};

// Changes the renderer window's extended style only when it differs: Wine reports a change from
// style 0 as a failure (the previous value 0 reads as an error there).
void PutWindowStyleEx(IVideoWindow* window, long style) {
    long current = 0;
    if (SUCCEEDED(window->get_WindowStyleEx(&current)) && current == style) return;
    CheckDSResult(window->put_WindowStyleEx(style));
}

TComPtr<IBaseFilter> CreateRenderer(const CLSID& clsid, DWORD context) {
    TComPtr<IBaseFilter> filter;
    if (FAILED(CoCreateInstance(clsid, nullptr, context, IID_IBaseFilter, filter.PutVoid()))) filter.Reset();
    return filter;
}

}  // namespace

bool VMR9Available() {
    TFpuControlWordGuard fpu;
    return static_cast<bool>(CreateRenderer(CLSID_VideoMixingRenderer9, CLSCTX_INPROC_SERVER));
}

// ---- TVMROptions ----

void TVMROptions::Publish(TPublisher<TVMROptions>& p) {
    p.Property(L"Mode", &TVMROptions::Mode, &TVMROptions::SetMode).Default(vmrWindowed);
    p.Property(L"Streams", &TVMROptions::Streams, &TVMROptions::SetStreams).Default(Cardinal{4});
    p.Property(L"Preferences", &TVMROptions::Preferences, &TVMROptions::SetPreferences)
        .Default(TVMRPreferences{vpForceMixer});
    p.Property(L"KeepAspectRatio", &TVMROptions::KeepAspectRatio, &TVMROptions::SetKeepAspectRatio).Default(true);
}

void TVMROptions::RebuildOwner() {
    if (owner_ != nullptr && owner_->mode_ == vmVMR) owner_->Rebuild();
}

void TVMROptions::SetMode(TVMRVideoMode value) {
    mode_ = value;
    RebuildOwner();
}

void TVMROptions::SetStreams(Cardinal value) {
    streams_ = value >= 1 && value <= 16 ? value : 1;
    RebuildOwner();
}

void TVMROptions::SetPreferences(TVMRPreferences value) {
    preferences_ = value;
    RebuildOwner();
}

void TVMROptions::SetKeepAspectRatio(bool value) {
    keepAspectRatio_ = value;
    if (owner_ != nullptr) owner_->ApplyKeepAspectRatio();
}

DWORD TVMROptions::RenderingPrefsMask(TVMRPreferences preferences) {
    preferences.Exclude(vpForceMixer);
    return static_cast<DWORD>(preferences.Bits());
}

TVMRPreferences TVMROptions::FromRenderingPrefs(DWORD mask, TVMRPreferences before) {
    TVMRPreferences result = TVMRPreferences::FromBits(mask & 0x3F);
    result.Exclude(vpForceMixer);
    if (before.Contains(vpForceMixer)) result.Include(vpForceMixer);
    return result;
}

// ---- TVideoWindow ----

TVideoWindow::TVideoWindow(TComponent* owner)
    : TCustomControl(owner), vmrOptions_(std::make_unique<TVMROptions>(this)) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
    SetTabStop(true);
    SetBounds(Left(), Top(), 160, 120);
    SetColor(clBlack);
}

TVideoWindow::~TVideoWindow() = default;

void TVideoWindow::BeforeDestruction() {
    try {
        AttachFilterGraph(nullptr);
    } catch (...) {
        // Teardown cannot report.
    }
    TCustomControl::BeforeDestruction();
}

void TVideoWindow::Publish(TPublisher<TVideoWindow>& p) {
    p.Property(L"Mode", &TVideoWindow::Mode, &TVideoWindow::SetMode).Default(vmNormal);
    p.Property(L"VMROptions", &TVideoWindow::VMROptions);
    p.Property(L"FilterGraph", &TVideoWindow::FilterGraph, &TVideoWindow::SetFilterGraph);
    p.Property(L"FullScreen", &TVideoWindow::FullScreen, &TVideoWindow::SetFullScreen).Default(false);
    p.Property(L"FullScreenTopMost", &TVideoWindow::FullScreenTopMost, &TVideoWindow::SetFullScreenTopMost)
        .Default(false);
    p.Event(L"OnPaint", &TVideoWindow::OnPaint);
}

void TVideoWindow::Loaded() {
    TCustomControl::Loaded();
    if (Parent() != nullptr) {
        windowStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
        windowStyleEx_ = GetWindowLongW(Handle(), GWL_EXSTYLE);
    }
}

void TVideoWindow::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == graph_) graph_ = nullptr;
}

void TVideoWindow::AttachFilterGraph(TFilterGraph* graph) {
    if (graph == graph_) return;
    if (graph_ != nullptr) {
        graph_->RemoveProvider(this);
        graph_->RemoveEventSink(this);
        graph_->RemoveFreeNotification(this);
    }
    graph_ = graph;
    if (graph_ != nullptr) {
        graph_->FreeNotification(this);
        graph_->AddProvider(this);
        graph_->AddEventSink(this);
    }
}

void TVideoWindow::Rebuild() {
    if (graph_ == nullptr || !graph_->Active()) return;
    graph_->RemoveProvider(this);
    graph_->AddProvider(this);
}

void TVideoWindow::ChangeMode(TVideoMode value) {
    if (value == vmVMR && !VMR9Available()) value = vmNormal;
    if (value == mode_) return;
    mode_ = value;
    Rebuild();
}

HRESULT TVideoWindow::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    if (IsEqualIID(iid, IID_IVMRWindowlessControl9) && windowless_) {
        *object = TComPtr<IVMRWindowlessControl9>::Share(windowless_.Get()).Detach();
        return S_OK;
    }
    return filter_ ? filter_->QueryInterface(iid, object) : E_NOINTERFACE;
}

void TVideoWindow::ApplyVMRPreferences(IVMRFilterConfig9* config) {
    const TVMRPreferences before = vmrOptions_->preferences_;
    CheckDSResult(config->SetRenderingPrefs(TVMROptions::RenderingPrefsMask(before)));
    DWORD mask = 0;
    CheckDSResult(config->GetRenderingPrefs(&mask));
    vmrOptions_->preferences_ = TVMROptions::FromRenderingPrefs(mask, before);
}

void TVideoWindow::ApplyKeepAspectRatio() {
    if (mode_ != vmVMR || vmrOptions_->mode_ == vmrRenderless || !filter_) return;
    TComPtr<IVMRAspectRatioControl9> aspect;
    if (FAILED(filter_->QueryInterface(IID_IVMRAspectRatioControl9, aspect.PutVoid())) || !aspect) return;
    CheckDSResult(aspect->SetAspectRatioMode(vmrOptions_->keepAspectRatio_ ? VMR9ARMode_LetterBox : VMR9ARMode_None));
}

void TVideoWindow::GraphOperation(int operation, int) {
    switch (operation) {
    case 0:
        if (mode_ == vmNormal) {
            filter_ = CreateRenderer(CLSID_VideoRenderer, CLSCTX_INPROC_SERVER);
        } else {
            TFpuControlWordGuard fpu;
            filter_ = CreateRenderer(CLSID_VideoMixingRenderer9, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER);
            if (!filter_) break;
            TComPtr<IVMRFilterConfig9> config;
            CheckDSResult(filter_->QueryInterface(IID_IVMRFilterConfig9, config.PutVoid()));
            switch (vmrOptions_->mode_) {
            case vmrWindowed:
                CheckDSResult(config->SetRenderingMode(VMR9Mode_Windowed));
                break;
            case vmrWindowless:
                CheckDSResult(config->SetRenderingMode(VMR9Mode_Windowless));
                break;
            case vmrRenderless:
                throw EDSCaptureException(L"Allocator class not set.");
            }
        }
        break;
    case 1:
        if (!filter_) break;
        if (mode_ == vmNormal) {
            CheckDSResult(filter_->QueryInterface(IID_IVideoWindow, videoWindow_.PutVoid()));
            break;
        } else {
            TComPtr<IVMRFilterConfig9> config;
            if (filter_->QueryInterface(IID_IVMRFilterConfig9, config.PutVoid()) != S_OK || !config) break;
            if (vmrOptions_->streams_ != 4 || vmrOptions_->preferences_.Contains(vpForceMixer)) {
                CheckDSResult(config->SetNumberOfStreams(vmrOptions_->streams_));
                DWORD streams = 0;
                CheckDSResult(config->GetNumberOfStreams(&streams));
                vmrOptions_->streams_ = streams;
            }
            switch (vmrOptions_->mode_) {
            case vmrWindowed:
                CheckDSResult(filter_->QueryInterface(IID_IVideoWindow, videoWindow_.PutVoid()));
                ApplyVMRPreferences(config.Get());
                break;
            case vmrWindowless:
                CheckDSResult(filter_->QueryInterface(IID_IVMRWindowlessControl9, windowless_.PutVoid()));
                CheckDSResult(windowless_->SetVideoClippingWindow(Handle()));
                ApplyVMRPreferences(config.Get());
                Resize();
                break;
            case vmrRenderless:
                break;
            }
            ApplyKeepAspectRatio();
        }
        break;
    case 2:
        if (!filter_) break;
        CheckDSResult(filter_->Stop());
        {
            TComPtr<IEnumPins> pins;
            if (SUCCEEDED(filter_->EnumPins(pins.Put())) && pins) {
                TComPtr<IPin> pin;
                while (pins->Next(1, pin.Put(), nullptr) == S_OK) CheckDSResult(pin->Disconnect());
            }
        }
        break;
    case 3:
        videoWindow_.Reset();
        windowless_.Reset();
        filter_.Reset();
        break;
    default:
        break;
    }
}

void TVideoWindow::ClaimRendererWindow() {
    CheckDSResult(videoWindow_->put_Caption(const_cast<BSTR>(Name().c_str())));
    CheckDSResult(videoWindow_->put_MessageDrain(reinterpret_cast<OAHWND>(Handle())));
}

void TVideoWindow::HandleGraphEvent(int code, LONG_PTR, LONG_PTR) {
    if (code == EC_PALETTE_CHANGED && videoWindow_) {
        ChangeFullScreen(fullScreen_);
        ClaimRendererWindow();
    } else if (code == EC_VMR_RENDERDEVICE_SET && mode_ == vmVMR && vmrOptions_->mode_ == vmrWindowed &&
               videoWindow_) {
        ClaimRendererWindow();
    }
}

void TVideoWindow::HandleControlEvent(int code, int) {
    if (code != 0) return;
    if (mode_ == vmNormal && videoWindow_) {
        ChangeFullScreen(fullScreen_);
        ClaimRendererWindow();
    } else if (mode_ == vmVMR) {
        ChangeFullScreen(fullScreen_);
    }
}

void TVideoWindow::ChangeFullScreen(bool value) {
    if (videoWindow_) {
        if (value) {
            CheckDSResult(videoWindow_->put_Owner(0));
            CheckDSResult(videoWindow_->put_WindowStyle(static_cast<long>(windowStyle_ & 0xFF3BFFFF)));
            long exStyle = static_cast<long>(windowStyleEx_ & 0xFFFDFCFE);
            if (fullScreenTopMost_) exStyle |= WS_EX_TOPMOST;
            PutWindowStyleEx(videoWindow_.Get(), exStyle);
            CheckDSResult(videoWindow_->SetWindowPosition(0, 0, GetSystemMetrics(SM_CXSCREEN),
                                                          GetSystemMetrics(SM_CYSCREEN)));
            fullScreenMouse_ = true;
        } else {
            const HWND parent = Parent() != nullptr ? Parent()->Handle() : nullptr;
            CheckDSResult(videoWindow_->put_Owner(reinterpret_cast<OAHWND>(parent)));
            CheckDSResult(videoWindow_->put_WindowStyle(static_cast<long>(windowStyle_ | WS_CHILD | WS_CLIPSIBLINGS)));
            PutWindowStyleEx(videoWindow_.Get(), windowStyleEx_);
            CheckDSResult(videoWindow_->SetWindowPosition(Left(), Top(), Width(), Height()));
            fullScreenMouse_ = false;
        }
    }
    if (windowless_) fullScreenMouse_ = false;
    fullScreen_ = value;
}

void TVideoWindow::SetFullScreenTopMost(bool value) {
    fullScreenTopMost_ = value;
    if (fullScreen_) ChangeFullScreen(true);
}

HWND TVideoWindow::RendererWindow() {
    // Without a renderer window the video goes into the control's own window.
    if (!videoWindow_ || Parent() == nullptr) return Handle();
    // The renderer's window class differs between systems; its caption is ours.
    const HWND parent = Parent()->Handle();
    const HWND own = Handle();
    for (HWND child = FindWindowExW(parent, nullptr, nullptr, Name().c_str()); child != nullptr;
         child = FindWindowExW(parent, child, nullptr, Name().c_str()))
        if (child != own) return child;
    return nullptr;
}

void TVideoWindow::SetVisible(bool visible) {
    TCustomControl::SetVisible(visible);
    if (videoWindow_) CheckDSResult(videoWindow_->put_Visible(visible ? OATRUE : OAFALSE));
}

void TVideoWindow::Resize() {
    // The result is not checked: a renderer between states may refuse a position.
    if (windowless_) {
        RECT target{0, 0, Width(), Height()};
        windowless_->SetVideoPosition(nullptr, &target);
    } else if (videoWindow_ && !fullScreen_) {
        videoWindow_->SetWindowPosition(Left(), Top(), Width(), Height());
    }
}

void TVideoWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_CONTEXTMENU && fullScreen_ && PopupMenu() != nullptr && PopupMenu()->AutoPopup()) {
        POINT cursor;
        GetCursorPos(&cursor);
        PopupMenu()->Popup(cursor.x, cursor.y);
        message.Result = 1;
        return;
    }
    TCustomControl::WndProc(message);
    if (message.Msg == WM_SIZE || message.Msg == WM_WINDOWPOSCHANGED) Guarded(this, [this] { Resize(); });
}

void TVideoWindow::Paint() {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
    if (OnPaint) OnPaint(this);
}

TPoint TVideoWindow::FullScreenPoint(int x, int y) const {
    if (!fullScreenMouse_) return TPoint{x, y};
    POINT cursor;
    GetCursorPos(&cursor);
    return TPoint{cursor.x, cursor.y};
}

void TVideoWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const TPoint p = FullScreenPoint(x, y);
    TCustomControl::MouseDown(button, shift, p.X, p.Y);
}

void TVideoWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TPoint p = FullScreenPoint(x, y);
    TCustomControl::MouseUp(button, shift, p.X, p.Y);
}

void TVideoWindow::MouseMove(TShiftState shift, int x, int y) {
    const TPoint p = FullScreenPoint(x, y);
    TCustomControl::MouseMove(shift, p.X, p.Y);
}
