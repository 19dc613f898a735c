// TSysDevEnum: the devices of one DirectShow device category, with their friendly names and
// class identifiers, in the order the system's device enumerator yields them. A failure to
// enumerate leaves the list empty; nothing here raises except an index out of range.
#pragma once

#include <vector>

#include "capture/DirectShow.h"
#include "capture/ComPtr.h"
#include "framework/rtl/System.h"

struct TFilterEntry {
    String FriendlyName;  // at most 255 characters
    GUID CLSID{};         // the null GUID when the device names none
};

class TSysDevEnum : public TObject {
public:
    explicit TSysDevEnum(const GUID& category);
    String ClassName() const override { return L"TSysDevEnum"; }

    // Stores the category and reads its devices.
    void SelectCategory(const GUID& category);
    const GUID& Category() const { return category_; }
    int FilterCount() const { return static_cast<int>(entries_.size()); }
    // Raises EListError outside 0..FilterCount-1.
    TFilterEntry FilterEntry(int index) const;
    // The moniker of device index as the system enumerates the category now; null outside
    // 0..FilterCount-1 (the system is then not asked) or when the device is gone.
    TComPtr<IMoniker> MonikerAt(int index) const;

private:
    void ReadCategory();
    GUID category_{};
    std::vector<TFilterEntry> entries_;
};

// The class enumerator of a category, or null (no enumerator, an empty or unknown category).
TComPtr<IEnumMoniker> EnumerateCategory(const GUID& category);
