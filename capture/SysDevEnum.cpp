#include "capture/DirectShow.h"
#include "capture/SysDevEnum.h"

#include "framework/rtl/Format.h"

namespace {

constexpr size_t MaxNameLength = 255;

// The text of a string value of the bag; nothing when it has none.
bool ReadBagText(IPropertyBag* bag, const wchar_t* name, String& text) {
    VARIANT value;
    VariantInit(&value);
    const bool ok = SUCCEEDED(bag->Read(name, &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal;
    if (ok) text.assign(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return ok;
}

}  // namespace

TComPtr<IEnumMoniker> EnumerateCategory(const GUID& category) {
    TComPtr<IEnumMoniker> monikers;
    TComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                devices.PutVoid())))
        return monikers;
    if (devices->CreateClassEnumerator(category, monikers.Put(), 0) != S_OK) monikers.Reset();
    return monikers;
}

TSysDevEnum::TSysDevEnum(const GUID& category) { SelectCategory(category); }

void TSysDevEnum::SelectCategory(const GUID& category) {
    category_ = category;
    ReadCategory();
}

void TSysDevEnum::ReadCategory() {
    entries_.clear();
    TComPtr<IEnumMoniker> monikers = EnumerateCategory(category_);
    if (!monikers) return;
    TComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
        TComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid()))) continue;
        TFilterEntry entry;
        ReadBagText(bag.Get(), L"FriendlyName", entry.FriendlyName);
        if (entry.FriendlyName.size() > MaxNameLength) entry.FriendlyName.resize(MaxNameLength);
        String clsid;
        if (!ReadBagText(bag.Get(), L"CLSID", clsid) || FAILED(CLSIDFromString(clsid.c_str(), &entry.CLSID)))
            entry.CLSID = GUID{};
        entries_.push_back(std::move(entry));
    }
}

TFilterEntry TSysDevEnum::FilterEntry(int index) const {
    if (index < 0 || index >= FilterCount())
        throw EListError(Format(L"List index out of bounds (%d)", {index}));
    return entries_[static_cast<size_t>(index)];
}

TComPtr<IMoniker> TSysDevEnum::MonikerAt(int index) const {
    TComPtr<IMoniker> moniker;
    if (index < 0 || index >= FilterCount()) return moniker;
    TComPtr<IEnumMoniker> monikers = EnumerateCategory(category_);
    if (!monikers) return moniker;
    if (index > 0 && monikers->Skip(static_cast<ULONG>(index)) != S_OK) return moniker;
    if (monikers->Next(1, moniker.Put(), nullptr) != S_OK) moniker.Reset();
    monikers->Reset();
    return moniker;
}
