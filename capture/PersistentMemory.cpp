#include "capture/PersistentMemory.h"

#include <cstring>

#include "capture/MediaTypeRecord.h"
#include "framework/classes/Filer.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/UniqueHandle.h"

void TPersistentMemory::SetDataLength(Cardinal length) {
    data_.clear();
    data_.shrink_to_fit();
    if (length > 0) data_.assign(length, 0);
}

bool TPersistentMemory::IsEqual(const TPersistentMemory& other) const {
    return !data_.empty() && data_ == other.data_;
}

void TPersistentMemory::Assign(const TPersistent* source) {
    if (source == this) return;
    if (auto* other = dynamic_cast<const TPersistentMemory*>(source)) {
        data_ = other->data_;
        return;
    }
    TPersistent::Assign(source);
}

void TPersistentMemory::AssignTo(TPersistent* dest) const {
    dest->Assign(this);
}

void TPersistentMemory::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        L"data", [this](TStream& stream) { data_ = ReadLengthPrefixedBytes(stream); },
        [this](TStream& stream) { WriteLengthPrefixedBytes(stream, data_); }, true);
}

namespace {

std::vector<Byte> StreamBytes(IStream* stream) {
    std::vector<Byte> bytes;
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory)))
        return bytes;
    const SIZE_T size = static_cast<SIZE_T>(stat.cbSize.QuadPart);
    if (size == 0 || GlobalSize(memory) < size) return bytes;
    const void* p = GlobalLock(memory);
    if (p == nullptr) return bytes;
    bytes.assign(static_cast<const Byte*>(p), static_cast<const Byte*>(p) + size);
    GlobalUnlock(memory);
    return bytes;
}

}  // namespace

void TBaseFilter::StoreMoniker(IMoniker* moniker) {
    if (moniker == nullptr) {
        SetDataLength(0);
        return;
    }
    TComPtr<IStream> stream;
    if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) {
        TComPtr<IPersistStream> persist;
        if (SUCCEEDED(moniker->QueryInterface(IID_IPersistStream, persist.PutVoid())) &&
            SUCCEEDED(OleSaveToStream(persist.Get(), stream.Get()))) {
            std::vector<Byte> bytes = StreamBytes(stream.Get());
            if (!bytes.empty()) {
                SetData(std::move(bytes));
                return;
            }
        }
    }
    TComPtr<IBindCtx> context;
    LPOLESTR name = nullptr;
    if (SUCCEEDED(CreateBindCtx(0, context.Put())) &&
        SUCCEEDED(moniker->GetDisplayName(context.Get(), nullptr, &name)) && name != nullptr) {
        SetData(EncodeDisplayNameBlock(name));
        CoTaskMemFree(name);
        return;
    }
    SetDataLength(0);
}

TComPtr<IMoniker> TBaseFilter::LoadMoniker() const {
    TComPtr<IMoniker> moniker;
    if (Data().empty()) return moniker;
    if (std::optional<String> name = DecodeDisplayNameBlock(Data())) {
        TComPtr<IBindCtx> context;
        ULONG eaten = 0;
        if (SUCCEEDED(CreateBindCtx(0, context.Put())))
            if (FAILED(MkParseDisplayName(context.Get(), name->c_str(), &eaten, moniker.Put()))) moniker.Reset();
        return moniker;
    }
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, Data().size()));
    if (!memory) return moniker;
    if (void* p = GlobalLock(memory.get())) {
        std::memcpy(p, Data().data(), Data().size());
        GlobalUnlock(memory.get());
    }
    TComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, stream.Put()))) return moniker;
    // The stream frees the memory from here on.
    static_cast<void>(memory.release());
    if (FAILED(OleLoadFromStream(stream.Get(), IID_IMoniker, moniker.PutVoid()))) moniker.Reset();
    return moniker;
}

TComPtr<IBaseFilter> TBaseFilter::CreateFilter() const {
    TComPtr<IBaseFilter> filter;
    TComPtr<IMoniker> moniker = LoadMoniker();
    if (!moniker) return filter;
    if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid()))) filter.Reset();
    return filter;
}
