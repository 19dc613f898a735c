// Enumeration, monikers and the error check against the system's DirectShow, with the synthetic
// devices the test prefix registers (capture/testing).
#include "capture/SysDevEnum.h"

#include <gtest/gtest.h>

#include "capture/DSErrors.h"
#include "capture/DirectShow.h"
#include "capture/PersistentMemory.h"
#include "capture/RunningObjectTable.h"
#include "capture/testing/SyntheticDevices.h"
#include "capture/testing/SyntheticPattern.h"

namespace {

int IndexOfSyntheticCamera(const TSysDevEnum& devices) {
    for (int i = 0; i < devices.FilterCount(); ++i)
        if (devices.FilterEntry(i).FriendlyName == SyntheticCameraName) return i;
    return -1;
}

}  // namespace

TEST(CheckDSResult, PassesSuccessAndRaisesFailureWithTextAndCode) {
    EXPECT_EQ(CheckDSResult(S_OK), S_OK);
    EXPECT_EQ(CheckDSResult(S_FALSE), S_FALSE);
    try {
        CheckDSResult(E_ACCESSDENIED);
        FAIL() << "no exception";
    } catch (const EDirectShowException& e) {
        EXPECT_EQ(static_cast<std::uint32_t>(e.ErrorCode()), 0x80070005u);
        const String suffix = L" ($80070005).";
        ASSERT_GE(e.Message().size(), suffix.size());
        EXPECT_EQ(e.Message().substr(e.Message().size() - suffix.size()), suffix) << e.Message();
        EXPECT_EQ(e.Message().substr(0, e.Message().size() - suffix.size()), GetDSErrorText(E_ACCESSDENIED));
    }
    EXPECT_EQ(DSErrorMessage(L"Falhou", static_cast<std::int32_t>(0x8004020Bu)), L"Falhou ($8004020B).");
}

TEST(SysDevEnum, ListsTheSyntheticCameraAmongTheVideoInputDevices) {
    TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    const int index = IndexOfSyntheticCamera(devices);
    ASSERT_GE(index, 0) << "the test prefix registers it (register_synthetic_camera)";
    EXPECT_TRUE(IsEqualGUID(devices.FilterEntry(index).CLSID, CLSID_SyntheticCamera));
    TComPtr<IMoniker> moniker = devices.MonikerAt(index);
    ASSERT_TRUE(moniker);
    TComPtr<IBaseFilter> filter;
    ASSERT_HRESULT_SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid()));
    CLSID clsid{};
    filter->GetClassID(&clsid);
    EXPECT_TRUE(IsEqualGUID(clsid, CLSID_SyntheticCamera));
}

TEST(SysDevEnum, NamesAreCutAndAMissingClassIsTheNullGuid) {
    TSysDevEnum devices(TestCategoryTwoDevices);
    ASSERT_EQ(devices.FilterCount(), 2);
    int longName = -1, noClass = -1;
    for (int i = 0; i < 2; ++i) (devices.FilterEntry(i).FriendlyName == NoClassDeviceName ? noClass : longName) = i;
    ASSERT_GE(longName, 0);
    ASSERT_GE(noClass, 0);
    const String name = devices.FilterEntry(longName).FriendlyName;
    EXPECT_EQ(name.size(), 255u);
    EXPECT_EQ(name.substr(0, 3), L"abc");
    EXPECT_TRUE(IsEqualGUID(devices.FilterEntry(longName).CLSID, CLSID_SyntheticCamera));
    EXPECT_TRUE(IsEqualGUID(devices.FilterEntry(noClass).CLSID, GUID{}));
}

TEST(SysDevEnum, IndexesOutsideTheListGiveNothing) {
    TSysDevEnum empty(TestCategoryEmpty);
    EXPECT_EQ(empty.FilterCount(), 0);
    EXPECT_FALSE(empty.MonikerAt(0));
    TSysDevEnum devices(TestCategoryTwoDevices);
    EXPECT_FALSE(devices.MonikerAt(-1));
    EXPECT_FALSE(devices.MonikerAt(devices.FilterCount()));
    EXPECT_TRUE(devices.MonikerAt(devices.FilterCount() - 1));
    EXPECT_THROW(devices.FilterEntry(-1), EListError);
    EXPECT_THROW(devices.FilterEntry(devices.FilterCount()), EListError);
}

TEST(BaseFilter, AStoredDeviceMonikerBindsAgainFromItsBytes) {
    TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    const int index = IndexOfSyntheticCamera(devices);
    ASSERT_GE(index, 0);
    TBaseFilter stored;
    stored.StoreMoniker(devices.MonikerAt(index).Get());
    ASSERT_GT(stored.DataLength(), 0u);
    // Only the bytes travel, as through a stored description.
    TBaseFilter restored;
    restored.SetData(stored.Data());
    TComPtr<IBaseFilter> filter = restored.CreateFilter();
    ASSERT_TRUE(filter);
    CLSID clsid{};
    filter->GetClassID(&clsid);
    EXPECT_TRUE(IsEqualGUID(clsid, CLSID_SyntheticCamera));
}

TEST(RunningObjectTable, AGraphIsFoundUnderItsNameUntilRevoked) {
    EXPECT_EQ(GraphRotItemName(reinterpret_cast<void*>(std::uintptr_t{0x12AB34}), 0x1F4),
              sizeof(void*) == 4 ? L"FilterGraph 0012AB34 pid 1F4" : L"FilterGraph 000000000012AB34 pid 1F4");
    TComPtr<IFilterGraph> graph;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph, graph.PutVoid()));
    DWORD cookie = 0;
    ASSERT_HRESULT_SUCCEEDED(RegisterGraphInROT(graph.Get(), cookie));
    EXPECT_NE(cookie, 0u);
    TComPtr<IRunningObjectTable> table;
    ASSERT_HRESULT_SUCCEEDED(GetRunningObjectTable(0, table.Put()));
    TComPtr<IMoniker> item;
    ASSERT_HRESULT_SUCCEEDED(
        CreateItemMoniker(L"!", GraphRotItemName(graph.Get(), GetCurrentProcessId()).c_str(), item.Put()));
    EXPECT_EQ(table->IsRunning(item.Get()), S_OK);
    EXPECT_HRESULT_SUCCEEDED(RevokeGraphFromROT(cookie));
    EXPECT_NE(table->IsRunning(item.Get()), S_OK);
}
