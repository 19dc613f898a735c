// A video-input device for tests: an in-process DirectShow source filter with one output pin of
// the capture category (as most cameras have; the capture graph builder puts a smart tee behind
// it for a preview) that delivers the frame-numbered pattern of SyntheticPattern.h, 320 x 240
// RGB24, about 30 frames a second while the graph runs. It is a DLL that the test prefix
// registers as a COM class and as a member of the video-input category (RegisterSyntheticCamera),
// so the program finds it through the system's device enumerator like a real camera.
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksproxy.h>

#include "capture/ComPtr.h"
#include "capture/testing/SyntheticPattern.h"

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

const GUID PropSetPin = {0x9b00f101, 0x1567, 0x11d1, {0xb3, 0xf1, 0x00, 0xaa, 0x00, 0x37, 0x61, 0xc5}};
constexpr DWORD PropertyPinCategory = 0;

void FillMediaType(AM_MEDIA_TYPE& type) {
    std::memset(&type, 0, sizeof(type));
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.bFixedSizeSamples = TRUE;
    type.bTemporalCompression = FALSE;
    type.lSampleSize = static_cast<ULONG>(SyntheticFrameBytes);
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (type.pbFormat == nullptr) {
        type.cbFormat = 0;
        return;
    }
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
    std::memset(info, 0, sizeof(*info));
    info->AvgTimePerFrame = 333333;
    info->dwBitRate = static_cast<DWORD>(SyntheticFrameBytes * 8 * 30);
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = SyntheticWidth;
    info->bmiHeader.biHeight = SyntheticHeight;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(SyntheticFrameBytes);
}

void FreeMediaType(AM_MEDIA_TYPE& type) {
    CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

// Whether a proposed type fits ours (null fields of a partial type match anything).
bool Accepts(const AM_MEDIA_TYPE* type) {
    if (type == nullptr) return true;
    if (!IsEqualGUID(type->majortype, GUID_NULL) && !IsEqualGUID(type->majortype, MEDIATYPE_Video)) return false;
    if (!IsEqualGUID(type->subtype, GUID_NULL) && !IsEqualGUID(type->subtype, MEDIASUBTYPE_RGB24)) return false;
    if (!IsEqualGUID(type->formattype, GUID_NULL) && !IsEqualGUID(type->formattype, FORMAT_VideoInfo)) return false;
    if (IsEqualGUID(type->formattype, FORMAT_VideoInfo) && type->pbFormat != nullptr &&
        type->cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        if (info->bmiHeader.biWidth != SyntheticWidth || std::abs(info->bmiHeader.biHeight) != SyntheticHeight ||
            info->bmiHeader.biBitCount != 24)
            return false;
    }
    return true;
}

class TCamFilter;

class TMediaTypeEnum final : public IEnumMediaTypes {
public:
    explicit TMediaTypeEnum(ULONG position = 0) : position_(position) { ++g_objects; }
    ~TMediaTypeEnum() { --g_objects; }
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumMediaTypes)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        ULONG n = 0;
        while (n < count && position_ < 1) {
            auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
            if (type == nullptr) break;
            FillMediaType(*type);
            types[n++] = type;
            ++position_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        return position_ <= 1 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** clone) override {
        *clone = new (std::nothrow) TMediaTypeEnum(position_);
        return *clone ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::atomic<ULONG> refs_{1};
    ULONG position_;
};

class TCamPin final : public IPin, public IKsPropertySet {
public:
    explicit TCamPin(TCamFilter& filter) : filter_(filter) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        *pin = TComPtr<IPin>::Share(connected_.Get()).Detach();
        return *pin ? S_OK : VFW_E_NOT_CONNECTED;
    }
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (!connected_) {
            std::memset(type, 0, sizeof(*type));
            return VFW_E_NOT_CONNECTED;
        }
        FillMediaType(*type);
        return S_OK;
    }
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override {
        *direction = PINDIR_OUTPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR* id) override {
        *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(L"Capture")));
        if (*id == nullptr) return E_OUTOFMEMORY;
        std::memcpy(*id, L"Capture", sizeof(L"Capture"));
        return S_OK;
    }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override { return Accepts(type) ? S_OK : S_FALSE; }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override {
        *types = new (std::nothrow) TMediaTypeEnum();
        return *types ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IKsPropertySet: the pin's category.
    STDMETHODIMP Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD dataLength, DWORD* returned) override {
        if (!IsEqualGUID(set, PropSetPin)) return E_PROP_SET_UNSUPPORTED;
        if (id != PropertyPinCategory) return E_PROP_ID_UNSUPPORTED;
        if (returned) *returned = sizeof(GUID);
        if (data == nullptr) return S_OK;
        if (dataLength < sizeof(GUID)) return E_UNEXPECTED;
        *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
        return S_OK;
    }
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
        if (!IsEqualGUID(set, PropSetPin)) return E_PROP_SET_UNSUPPORTED;
        if (id != PropertyPinCategory) return E_PROP_ID_UNSUPPORTED;
        if (support) *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    }

    // Streaming, driven by the filter's state.
    void StartStreaming();
    void StopStreaming();
    void SetRunning(bool running) { running_ = running; }

private:
    void Stream();

    TCamFilter& filter_;
    std::recursive_mutex lock_;
    TComPtr<IPin> connected_;
    TComPtr<IMemInputPin> input_;
    TComPtr<IMemAllocator> allocator_;
    std::thread thread_;
    HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> running_{false};
    std::uint32_t frame_ = 0;

public:
    ~TCamPin() {
        StopStreaming();
        CloseHandle(stop_);
    }
};

class TPinEnum final : public IEnumPins {
public:
    TPinEnum(IBaseFilter* filter, IPin* pin, ULONG position = 0)
        : filter_(TComPtr<IBaseFilter>::Share(filter)), pin_(pin), position_(position) {
        ++g_objects;
    }
    ~TPinEnum() { --g_objects; }
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumPins)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
        ULONG n = 0;
        while (n < count && position_ < 1) {
            pins[n++] = TComPtr<IPin>::Share(pin_).Detach();
            ++position_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        return position_ <= 1 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** clone) override {
        *clone = new (std::nothrow) TPinEnum(filter_.Get(), pin_, position_);
        return *clone ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::atomic<ULONG> refs_{1};
    TComPtr<IBaseFilter> filter_;  // keeps the pin alive
    IPin* pin_;
    ULONG position_;
};

class TCamFilter final : public IBaseFilter {
public:
    TCamFilter() : pin_(*this) { ++g_objects; }
    ~TCamFilter() {
        pin_.StopStreaming();
        --g_objects;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IMediaFilter) ||
            IsEqualIID(iid, IID_IBaseFilter)) {
            *object = static_cast<IBaseFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = CLSID_SyntheticCamera;
        return S_OK;
    }
    STDMETHODIMP Stop() override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        pin_.SetRunning(false);
        pin_.StopStreaming();
        state_ = State_Stopped;
        return S_OK;
    }
    STDMETHODIMP Pause() override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (state_ == State_Stopped) pin_.StartStreaming();
        pin_.SetRunning(false);
        state_ = State_Paused;
        return S_OK;
    }
    STDMETHODIMP Run(REFERENCE_TIME) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (state_ == State_Stopped) pin_.StartStreaming();
        pin_.SetRunning(true);
        state_ = State_Running;
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        *state = state_;
        // A live source has nothing to show while paused.
        return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        clock_ = TComPtr<IReferenceClock>::Share(clock);
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        *clock = TComPtr<IReferenceClock>::Share(clock_.Get()).Detach();
        return S_OK;
    }
    STDMETHODIMP EnumPins(IEnumPins** pins) override {
        *pins = new (std::nothrow) TPinEnum(this, &pin_);
        return *pins ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override {
        if (id != nullptr && std::wcscmp(id, L"Capture") == 0) {
            *pin = &pin_;
            pin_.AddRef();
            return S_OK;
        }
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        std::memset(info, 0, sizeof(*info));
        wcsncpy(info->achName, name_, MAX_FILTER_NAME - 1);
        info->pGraph = graph_;
        if (graph_) graph_->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        // The graph holds the filter; the filter only remembers the graph.
        graph_ = graph;
        name_[0] = L'\0';
        if (name != nullptr) wcsncpy(name_, name, MAX_FILTER_NAME - 1);
        name_[MAX_FILTER_NAME - 1] = L'\0';
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

private:
    std::atomic<ULONG> refs_{1};
    std::recursive_mutex lock_;
    TCamPin pin_;
    FILTER_STATE state_ = State_Stopped;
    TComPtr<IReferenceClock> clock_;
    IFilterGraph* graph_ = nullptr;
    wchar_t name_[MAX_FILTER_NAME] = {};
};

STDMETHODIMP TCamPin::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPin)) {
        *object = static_cast<IPin*>(this);
    } else if (IsEqualIID(iid, IID_IKsPropertySet)) {
        *object = static_cast<IKsPropertySet*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// The pin lives as long as its filter.
STDMETHODIMP_(ULONG) TCamPin::AddRef() { return filter_.AddRef(); }
STDMETHODIMP_(ULONG) TCamPin::Release() { return filter_.Release(); }

STDMETHODIMP TCamPin::QueryPinInfo(PIN_INFO* info) {
    std::memset(info, 0, sizeof(*info));
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_OUTPUT;
    wcsncpy(info->achName, L"Capture", MAX_PIN_NAME - 1);
    return S_OK;
}

STDMETHODIMP TCamPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* proposed) {
    if (receiver == nullptr) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(lock_);
    if (connected_) return VFW_E_ALREADY_CONNECTED;
    if (!Accepts(proposed)) return VFW_E_TYPE_NOT_ACCEPTED;
    AM_MEDIA_TYPE type;
    FillMediaType(type);
    HRESULT hr = receiver->ReceiveConnection(this, &type);
    FreeMediaType(type);
    if (FAILED(hr)) return hr;
    TComPtr<IMemInputPin> input;
    hr = receiver->QueryInterface(IID_IMemInputPin, input.PutVoid());
    TComPtr<IMemAllocator> allocator;
    if (SUCCEEDED(hr) && FAILED(input->GetAllocator(allocator.Put())))
        hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                              allocator.PutVoid());
    if (SUCCEEDED(hr)) {
        ALLOCATOR_PROPERTIES wanted{3, static_cast<long>(SyntheticFrameBytes), 1, 0}, actual{};
        hr = allocator->SetProperties(&wanted, &actual);
        if (SUCCEEDED(hr) && actual.cbBuffer < static_cast<long>(SyntheticFrameBytes)) hr = VFW_E_SIZENOTSET;
    }
    if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator.Get(), FALSE);
    if (FAILED(hr)) {
        receiver->Disconnect();
        return hr;
    }
    connected_ = TComPtr<IPin>::Share(receiver);
    input_ = std::move(input);
    allocator_ = std::move(allocator);
    return S_OK;
}

STDMETHODIMP TCamPin::Disconnect() {
    StopStreaming();
    std::lock_guard<std::recursive_mutex> lock(lock_);
    if (!connected_) return S_FALSE;
    connected_.Reset();
    input_.Reset();
    allocator_.Reset();
    return S_OK;
}

void TCamPin::StartStreaming() {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    if (thread_.joinable() || !allocator_) return;
    if (FAILED(allocator_->Commit())) return;
    ResetEvent(stop_);
    thread_ = std::thread([this] { Stream(); });
}

void TCamPin::StopStreaming() {
    std::thread thread;
    TComPtr<IMemAllocator> allocator;
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (!thread_.joinable()) return;
        SetEvent(stop_);
        thread = std::move(thread_);
        allocator = allocator_;
    }
    // Decommitting wakes a GetBuffer that waits for a free sample.
    if (allocator) allocator->Decommit();
    thread.join();
}

void TCamPin::Stream() {
    TComPtr<IMemAllocator> allocator;
    TComPtr<IMemInputPin> input;
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        allocator = allocator_;
        input = input_;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    while (WaitForSingleObject(stop_, 33) == WAIT_TIMEOUT) {
        if (!running_) continue;
        TComPtr<IMediaSample> sample;
        if (FAILED(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0)) || !sample) continue;
        BYTE* data = nullptr;
        if (SUCCEEDED(sample->GetPointer(&data)) && sample->GetSize() >= static_cast<long>(SyntheticFrameBytes)) {
            FillSyntheticFrame(data, frame_++);
            sample->SetActualDataLength(static_cast<long>(SyntheticFrameBytes));
            sample->SetTime(nullptr, nullptr);
            sample->SetSyncPoint(TRUE);
            input->Receive(sample.Get());
        }
    }
    CoUninitialize();
}

class TCamFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* filter = new (std::nothrow) TCamFilter();
        if (filter == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = filter->QueryInterface(iid, object);
        filter->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            ++g_locks;
        else
            --g_locks;
        return S_OK;
    }
};

TCamFactory g_factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!IsEqualCLSID(clsid, CLSID_SyntheticCamera)) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
