// A list of COM interface pointers; the list holds one reference to each entry.
#pragma once

#include <vector>

#include "framework/rtl/System.h"
#include "framework/rtl/WinApi.h"

class TInterfaceList : public TObject {
public:
    TInterfaceList() = default;
    ~TInterfaceList() override;
    String ClassName() const override { return L"TInterfaceList"; }

    int Count() const { return static_cast<int>(items_.size()); }
    // Borrowed pointers: AddRef them to keep them past the list's change.
    IUnknown* Items(int index) const;
    IUnknown* operator[](int index) const { return Items(index); }
    void SetItem(int index, IUnknown* item);

    int Add(IUnknown* item);
    void Insert(int index, IUnknown* item);
    void Delete(int index);
    int Remove(IUnknown* item);  // index the item had, or -1
    int IndexOf(IUnknown* item) const;
    void Clear();
    void Exchange(int index1, int index2);
    IUnknown* First() const;
    IUnknown* Last() const;

private:
    void CheckIndex(int index) const;
    std::vector<IUnknown*> items_;
};
