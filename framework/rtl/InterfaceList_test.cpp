#include "framework/rtl/InterfaceList.h"

#include <gtest/gtest.h>

namespace {

class FakeUnknown : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

}  // namespace

TEST(InterfaceListTest, HoldsOneReferencePerEntry) {
    FakeUnknown a, b;
    {
        TInterfaceList list;
        list.Add(&a);
        list.Add(&b);
        list.Add(&a);
        EXPECT_EQ(a.refs, 3u);
        EXPECT_EQ(list.IndexOf(&b), 1);
        list.Delete(0);
        EXPECT_EQ(a.refs, 2u);
        list.SetItem(0, &a);  // b out, a in
        EXPECT_EQ(b.refs, 1u);
        EXPECT_EQ(a.refs, 3u);
        EXPECT_EQ(list.Remove(&a), 0);
        EXPECT_THROW(list.Items(1), EListError);
        list.Insert(0, &b);
        EXPECT_EQ(list.First(), &b);
        EXPECT_EQ(list.Last(), &a);
    }
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(b.refs, 1u);
}
