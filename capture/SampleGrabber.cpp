#include "capture/SampleGrabber.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "capture/DSErrors.h"
#include "framework/controls/UiThread.h"
#include "framework/graphics/Bitmap.h"

const CLSID CLSID_SampleGrabberFilter = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

namespace {

const GUID MediaTypeVideo = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const GUID MediaSubtypeRgb24 = {0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// Frees a media type record the system filled, on every path.
struct TMediaTypeRecordGuard {
    AM_MEDIA_TYPE Record{};
    ~TMediaTypeRecordGuard() { FreeMediaTypeRecord(Record); }
};

}  // namespace

bool SampleGrabberAvailable() {
    TComPtr<IBaseFilter> filter;
    return SUCCEEDED(CoCreateInstance(CLSID_SampleGrabberFilter, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                      IID_IBaseFilter, filter.PutVoid()));
}

// The object the grabber calls on its streaming thread. It holds its component only until
// Detach, which waits for a call in progress.
class TSampleGrabber::TCallback final : public ISampleGrabberCB {
public:
    TCallback(TSampleGrabber* owner, TUiPoster* poster) : owner_(owner), poster_(poster) {}

    void Detach() {
        std::lock_guard<std::mutex> lock(lock_);
        owner_ = nullptr;
        poster_ = nullptr;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISampleGrabberCB)) {
            *object = static_cast<ISampleGrabberCB*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return S_OK; }
    STDMETHODIMP BufferCB(double sampleTime, BYTE* buffer, long length) override {
        std::lock_guard<std::mutex> lock(lock_);
        if (owner_ == nullptr) return S_OK;
        ComBarrier(poster_, [&] { owner_->DeliverBuffer(sampleTime, buffer, length); });
        // The grabber goes on with the next sample whatever the handler did.
        return S_OK;
    }

private:
    std::atomic<ULONG> references_{1};
    std::mutex lock_;
    TSampleGrabber* owner_;
    TUiPoster* poster_;
};

TSampleGrabber::TSampleGrabber(TComponent* owner) : TComponent(owner) {
    if (!SampleGrabberAvailable())
        throw EAssertionFailed(L"The SampleGrabber Filter is not available on this system.");
    mediaType_ = std::make_unique<TMediaType>(MediaTypeVideo);
    mediaType_->SetSubType(MediaSubtypeRgb24);
    mediaType_->SetFormatType(FormatVideoInfo);
    poster_ = std::make_unique<TUiPoster>();
    callback_ = new TCallback(this, poster_.get());
}

TSampleGrabber::~TSampleGrabber() {
    callback_->Detach();
    callback_->Release();
}

void TSampleGrabber::BeforeDestruction() {
    try {
        AttachFilterGraph(nullptr);
    } catch (...) {
        // Teardown cannot report.
    }
    // The grabber may still hold the callback: it must find nothing behind it from now on.
    callback_->Detach();
    TComponent::BeforeDestruction();
}

void TSampleGrabber::Publish(TPublisher<TSampleGrabber>& p) {
    p.Property(L"FilterGraph", &TSampleGrabber::FilterGraph, &TSampleGrabber::SetFilterGraph);
    p.Property(L"MediaType", &TSampleGrabber::MediaType);
    p.Event(L"OnBuffer", &TSampleGrabber::OnBuffer);
}

void TSampleGrabber::AttachFilterGraph(TFilterGraph* graph) { RelinkFilterProvider(this, graph_, graph); }

void TSampleGrabber::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == graph_) graph_ = nullptr;
}

HRESULT TSampleGrabber::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    return filter_ ? filter_->QueryInterface(iid, object) : E_NOINTERFACE;
}

void TSampleGrabber::ApplyMediaType() {
    if (!grabber_) return;
    if (filter_) filter_->Stop();
    if (inputPin_) inputPin_->Disconnect();
    grabber_->SetMediaType(&mediaType_->Record());
}

void TSampleGrabber::GraphOperation(int operation, int) {
    switch (operation) {
    case 0:
        if (FAILED(CoCreateInstance(CLSID_SampleGrabberFilter, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    IID_IBaseFilter, filter_.PutVoid())))
            filter_.Reset();
        break;
    case 1: {
        if (!filter_) break;
        filter_->QueryInterface(IID_ISampleGrabber, grabber_.PutVoid());
        TComPtr<IEnumPins> pins;
        if (SUCCEEDED(filter_->EnumPins(pins.Put())) && pins) {
            pins->Next(1, inputPin_.Put(), nullptr);
            pins->Next(1, outputPin_.Put(), nullptr);
        }
        if (!grabber_) break;
        ApplyMediaType();
        grabber_->SetBufferSamples(TRUE);
        if (OnBuffer) grabber_->SetCallback(callback_, 1);
        break;
    }
    case 2:
        if (filter_) filter_->Stop();
        if (inputPin_) inputPin_->Disconnect();
        if (outputPin_) outputPin_->Disconnect();
        break;
    case 3:
        if (grabber_) {
            grabber_->SetCallback(nullptr, 1);
            grabber_->SetBufferSamples(FALSE);
        }
        filter_.Reset();
        grabber_.Reset();
        inputPin_.Reset();
        outputPin_.Reset();
        break;
    default:
        break;
    }
}

void TSampleGrabber::DeliverBuffer(double sampleTime, BYTE* buffer, long length) {
    TCriticalSectionLock lock(section_);
    if (OnBuffer) OnBuffer(this, sampleTime, buffer, static_cast<int>(length));
}

bool TSampleGrabber::GrabBitmap(TBitmap* bitmap) {
    if (bitmap == nullptr || !grabber_) return false;
    TMediaTypeRecordGuard connected;
    if (FAILED(grabber_->GetConnectedMediaType(&connected.Record))) return false;
    const AM_MEDIA_TYPE& type = connected.Record;
    if (!IsEqualGUID(type.majortype, MediaTypeVideo) || type.pbFormat == nullptr) return false;
    const std::optional<std::size_t> offset = BitmapHeaderOffset(type.formattype, type.cbFormat);
    if (!offset) return false;

    // The header and one zero colour entry.
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[1];
    } info{};
    std::memcpy(&info.Header, type.pbFormat + *offset, sizeof(BITMAPINFOHEADER));
    if (info.Header.biSize < sizeof(BITMAPINFOHEADER)) return false;
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    const std::optional<std::uint64_t> size =
        DibImageSize(info.Header.biWidth, info.Header.biHeight, info.Header.biBitCount);
    if (!size) return false;

    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || bits == nullptr) return false;
    long length = static_cast<long>(*size);
    if (grabber_->GetCurrentBuffer(&length, static_cast<long*>(bits)) != S_OK || length <= 0) return false;
    bitmap->SetHandle(std::move(dib));
    return true;
}
