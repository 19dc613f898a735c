// TSampleGrabber puts the system's sample grabber into a TFilterGraph with a fixed media type,
// keeps a copy of the last sample and copies the current frame into a bitmap (GrabBitmap, UI
// thread). OnBuffer runs on the graph's streaming thread for every sample, serialised by a
// critical section and inside the barrier of UiThread.h: a handler that touches windows or
// components must post to the UI thread itself. The system's callback object outlives the
// component only as an empty shell: the component detaches it before it goes.
#pragma once

#include <memory>

#include "capture/DirectShow.h"
#include "capture/ComPtr.h"
#include "capture/FilterGraph.h"
#include "capture/MediaType.h"
#include "framework/rtl/SyncObjs.h"

class TBitmap;
class TUiPoster;

// The sample grabber's class, which the SDK headers leave undeclared.
extern const CLSID CLSID_SampleGrabberFilter;  // {C1F400A0-3F08-11D3-9F0B-006008039E37}

using TOnBuffer = TMethod<void(TObject* Sender, double SampleTime, void* pBuffer, int BufferLen)>;

// Whether the system offers a sample grabber.
bool SampleGrabberAvailable();

class TSampleGrabber : public TComponent, public IFilterProvider {
    FV_CLASS(TSampleGrabber, TComponent)
public:
    // Raises EAssertionFailed "The SampleGrabber Filter is not available on this system." when
    // the system has none.
    explicit TSampleGrabber(TComponent* owner);
    ~TSampleGrabber() override;
    static void Publish(TPublisher<TSampleGrabber>& p);

    TFilterGraph* FilterGraph() const { return graph_; }
    void SetFilterGraph(TFilterGraph* graph) { AttachFilterGraph(graph); }
    void AttachFilterGraph(TFilterGraph* graph);
    TMediaType* MediaType() const { return mediaType_.get(); }

    // Stops the grabber, disconnects its input and gives it the media type again.
    void ApplyMediaType();
    // Copies the current frame into bitmap, which changes only when this returns True: false
    // without a bitmap, grabber, connected video type with a bitmap header inside its format
    // block, pixel buffer, or sample yet.
    bool GrabBitmap(TBitmap* bitmap);

    IBaseFilter* ProvidedFilter() override { return filter_.Get(); }
    String ProviderName() override { return Name(); }
    void GraphOperation(int operation, int parameter) override;
    HRESULT QueryInterface(REFIID iid, void** object);

    TOnBuffer OnBuffer;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;

private:
    class TCallback;
    friend class TCallback;
    void DeliverBuffer(double sampleTime, BYTE* buffer, long length);

    TFilterGraph* graph_ = nullptr;
    std::unique_ptr<TMediaType> mediaType_;
    TCriticalSection section_;
    std::unique_ptr<TUiPoster> poster_;
    TComPtr<IBaseFilter> filter_;
    TComPtr<ISampleGrabber> grabber_;
    TComPtr<IPin> inputPin_;
    TComPtr<IPin> outputPin_;
    TCallback* callback_ = nullptr;  // one reference held
};
