// TVideoWindow: a control that contributes a video renderer to a TFilterGraph and shows the
// rendered video over its own rectangle. With the classic renderer (vmNormal) or VMR-9 windowed,
// the renderer's window becomes a sibling of the control inside the control's parent, captioned
// with the control's Name (which is how RendererWindow finds it again) and laid over the
// control's bounds; full screen takes it out of the parent. VMR-9 windowless draws into the
// control itself. The control's own faults in resizing stay at its window procedure.
#pragma once

#include <memory>

#include "capture/DirectShow.h"
#include "capture/ComPtr.h"
#include "capture/FilterGraph.h"
#include "framework/controls/Control.h"

FV_ENUM(TVideoMode, vmNormal, vmVMR)
FV_ENUM(TVMRVideoMode, vmrWindowed, vmrWindowless, vmrRenderless)
FV_ENUM(TVMRPreference, vpForceOffscreen, vpForceOverlays, vpForceMixer, vpDoNotRenderColorKeyAndBorder,
        vpRestrictToInitialMonitor, vpPreferAGPMemWhenMixing)
using TVMRPreferences = TSet<TVMRPreference>;

class TVideoWindow;

class TVMROptions : public TPersistent {
    FV_CLASS(TVMROptions, TPersistent)
public:
    TVMROptions() = default;
    explicit TVMROptions(TVideoWindow* owner) : owner_(owner) {}
    static void Publish(TPublisher<TVMROptions>& p);

    TVMRVideoMode Mode() const { return mode_; }
    void SetMode(TVMRVideoMode value);
    Cardinal Streams() const { return streams_; }
    // Values outside 1..16 become 1.
    void SetStreams(Cardinal value);
    TVMRPreferences Preferences() const { return preferences_; }
    void SetPreferences(TVMRPreferences value);
    bool KeepAspectRatio() const { return keepAspectRatio_; }
    void SetKeepAspectRatio(bool value);

    // The preference bits as the renderer takes them (the mixer switch is not one of them).
    static DWORD RenderingPrefsMask(TVMRPreferences preferences);
    // Preferences read back from the renderer, keeping the mixer switch when it was set.
    static TVMRPreferences FromRenderingPrefs(DWORD mask, TVMRPreferences before);

private:
    friend class TVideoWindow;
    void RebuildOwner();
    TVideoWindow* owner_ = nullptr;
    TVMRVideoMode mode_ = vmrWindowed;
    Cardinal streams_ = 4;
    TVMRPreferences preferences_{vpForceMixer};
    bool keepAspectRatio_ = true;
};

// Whether a VMR-9 renderer can be created here.
bool VMR9Available();

class TVideoWindow : public TCustomControl, public IFilterProvider, public IGraphEventSink {
    FV_CLASS(TVideoWindow, TCustomControl)
public:
    explicit TVideoWindow(TComponent* owner);
    ~TVideoWindow() override;
    static void Publish(TPublisher<TVideoWindow>& p);

    TVideoMode Mode() const { return mode_; }
    void SetMode(TVideoMode value) { ChangeMode(value); }
    // vmVMR only where a VMR-9 renderer exists; otherwise vmNormal.
    void ChangeMode(TVideoMode value);
    TVMROptions* VMROptions() const { return vmrOptions_.get(); }
    TFilterGraph* FilterGraph() const { return graph_; }
    void SetFilterGraph(TFilterGraph* graph) { AttachFilterGraph(graph); }
    void AttachFilterGraph(TFilterGraph* graph);
    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool value) { ChangeFullScreen(value); }
    void ChangeFullScreen(bool value);
    bool FullScreenTopMost() const { return fullScreenTopMost_; }
    void SetFullScreenTopMost(bool value);
    // The renderer's window: the sibling captioned with this control's Name, or, without a
    // renderer window, the control's own window.
    HWND RendererWindow();
    void SetVisible(bool visible) override;

    IBaseFilter* ProvidedFilter() override { return filter_.Get(); }
    String ProviderName() override { return Name(); }
    void GraphOperation(int operation, int parameter) override;
    void HandleGraphEvent(int code, LONG_PTR param1, LONG_PTR param2) override;
    void HandleControlEvent(int code, int parameter) override;
    HRESULT QueryInterface(REFIID iid, void** object);

    // Places the renderer over the control's bounds again.
    void Resize();
    IVideoWindow* VideoWindowInterface() const { return videoWindow_.Get(); }

    TNotifyEvent OnPaint;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;
    void WndProc(TMessage& message) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    friend class TVMROptions;
    void Rebuild();
    void ApplyVMRPreferences(IVMRFilterConfig9* config);
    void ApplyKeepAspectRatio();
    void ClaimRendererWindow();
    TPoint FullScreenPoint(int x, int y) const;

    TVideoMode mode_ = vmNormal;
    std::unique_ptr<TVMROptions> vmrOptions_;
    TFilterGraph* graph_ = nullptr;
    bool fullScreen_ = false;
    bool fullScreenTopMost_ = false;
    bool fullScreenMouse_ = false;
    LONG windowStyle_ = 0;
    LONG windowStyleEx_ = 0;
    TComPtr<IBaseFilter> filter_;
    TComPtr<IVideoWindow> videoWindow_;
    TComPtr<IVMRWindowlessControl9> windowless_;
};
