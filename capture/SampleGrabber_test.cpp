// The capture components on a real graph: the synthetic camera through the sample grabber into
// the system's null renderer (no window), as the webcam form connects them.
#include "capture/SampleGrabber.h"

#include <gtest/gtest.h>

#include <atomic>

#include "capture/DSErrors.h"
#include "capture/DeviceFilter.h"
#include "capture/DirectShow.h"
#include "capture/FilterGraph.h"
#include "capture/GraphLists.h"
#include "capture/SysDevEnum.h"
#include "capture/testing/SyntheticPattern.h"
#include "framework/graphics/Bitmap.h"
#include "testing/ControlTestSupport.h"

namespace {

const CLSID NullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

TComPtr<IMoniker> SyntheticCameraMoniker() {
    TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    for (int i = 0; i < devices.FilterCount(); ++i)
        if (devices.FilterEntry(i).FriendlyName == SyntheticCameraName) return devices.MonikerAt(i);
    return {};
}

String FilterName(IBaseFilter* filter) {
    FILTER_INFO info{};
    filter->QueryFilterInfo(&info);
    if (info.pGraph) info.pGraph->Release();
    return info.achName;
}

bool Connected(IBaseFilter* filter) {
    TPinList pins(filter);
    for (int i = 0; i < pins.Count(); ++i) {
        TComPtr<IPin> other;
        if (SUCCEEDED(pins.Items(i)->ConnectedTo(other.Put())) && other) return true;
    }
    return false;
}

class TRecordingSink : public IGraphEventSink {
public:
    std::vector<std::pair<int, int>> Control;
    std::vector<int> Graph;
    void HandleGraphEvent(int code, LONG_PTR, LONG_PTR) override { Graph.push_back(code); }
    void HandleControlEvent(int code, int parameter) override { Control.emplace_back(code, parameter); }
};

class CaptureGraph : public ::testing::Test {
protected:
    void SetUp() override {
        graph.SetName(L"FilterGraph");
        graph.SetMode(gmCapture);
        camera.SetName(L"Filter");
        grabber.SetName(L"SampleGrabber");
        camera.SetFilterGraph(&graph);
        grabber.SetFilterGraph(&graph);
    }

    // Activates the graph with the synthetic camera and connects it through the grabber.
    void Connect() {
        TComPtr<IMoniker> moniker = SyntheticCameraMoniker();
        ASSERT_TRUE(moniker) << "the test prefix registers the synthetic camera";
        camera.BaseFilter()->StoreMoniker(moniker.Get());
        graph.SetActive(true);
        ASSERT_TRUE(camera.ProvidedFilter());
        ASSERT_TRUE(grabber.ProvidedFilter());
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                                  renderer.PutVoid()));
        ASSERT_HRESULT_SUCCEEDED(graph.Graph()->AddFilter(renderer.Get(), L"Null"));
        TComPtr<ICaptureGraphBuilder2> builder = graph.Query<ICaptureGraphBuilder2>();
        ASSERT_TRUE(builder);
        ASSERT_HRESULT_SUCCEEDED(builder->RenderStream(&PIN_CATEGORY_PREVIEW, nullptr, camera.ProvidedFilter(),
                                                       grabber.ProvidedFilter(), renderer.Get()));
    }

    TLocal<TFilterGraph> graph{nullptr};
    TLocal<TFilter> camera{nullptr};
    TLocal<TSampleGrabber> grabber{nullptr};
    TComPtr<IBaseFilter> renderer;
};

}  // namespace

TEST_F(CaptureGraph, GrabBitmapGivesFalseWithoutBitmapOrActiveGraph) {
    TBitmap bitmap(10, 10);
    EXPECT_FALSE(grabber.GrabBitmap(&bitmap)) << "inactive graph";
    EXPECT_EQ(bitmap.Width(), 10);
    Connect();
    EXPECT_FALSE(grabber.GrabBitmap(nullptr));
}

TEST_F(CaptureGraph, BeforeTheFirstFrameGrabBitmapFailsAndLeavesTheBitmap) {
    Connect();
    TBitmap bitmap(10, 10);
    EXPECT_FALSE(grabber.GrabBitmap(&bitmap));
    EXPECT_EQ(bitmap.Width(), 10);
    EXPECT_EQ(bitmap.Height(), 10);
}

TEST_F(CaptureGraph, ARunningCameraIsGrabbedAsA24BitDibHoldingTheFrame) {
    Connect();
    ASSERT_TRUE(graph.RunGraph());
    TBitmap bitmap;
    ASSERT_TRUE(PumpUntil([&] { return grabber.GrabBitmap(&bitmap); })) << "no frame within the bound";
    EXPECT_EQ(bitmap.Width(), SyntheticWidth);
    EXPECT_EQ(bitmap.Height(), SyntheticHeight);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap.Handle(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_GT(dib.dsBmih.biHeight, 0) << "bottom-up, as the camera delivers it";
    std::uint32_t frame = 0;
    EXPECT_TRUE(IsSyntheticFrame(static_cast<const std::uint8_t*>(dib.dsBm.bmBits), frame));
    EXPECT_TRUE(graph.StopGraph());
}

TEST_F(CaptureGraph, OnBufferRunsOnTheStreamingThread) {
    std::atomic<DWORD> thread{0};
    std::atomic<int> calls{0};
    std::atomic<int> length{0};
    struct THandler {
        std::atomic<DWORD>* thread;
        std::atomic<int>* calls;
        std::atomic<int>* length;
        void OnBuffer(TObject*, double, void*, int bufferLength) {
            *thread = GetCurrentThreadId();
            *length = bufferLength;
            ++*calls;
        }
    } handler{&thread, &calls, &length};
    grabber.OnBuffer = TOnBuffer(&handler, &THandler::OnBuffer);
    Connect();
    ASSERT_TRUE(graph.RunGraph());
    ASSERT_TRUE(PumpUntil([&] { return calls.load() >= 2; })) << calls.load() << " calls";
    EXPECT_NE(thread.load(), GetCurrentThreadId());
    EXPECT_EQ(length.load(), static_cast<int>(SyntheticFrameBytes));
    graph.SetActive(false);
    const int after = calls.load();
    PumpMessages();
    EXPECT_EQ(calls.load(), after) << "no call once the graph is gone";
}

TEST_F(CaptureGraph, ResetLeavesExactlyTheProvidersFiltersDisconnected) {
    Connect();
    ASSERT_TRUE(Connected(grabber.ProvidedFilter()));
    graph.ResetGraph();
    TFilterList filters(graph.Graph());
    std::vector<String> names;
    for (int i = 0; i < filters.Count(); ++i) {
        names.push_back(FilterName(filters.Items(i)));
        EXPECT_FALSE(Connected(filters.Items(i))) << names.back();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<String>{L"Filter", L"SampleGrabber"}));
}

TEST_F(CaptureGraph, AnEmptyDeviceFilterContributesNothing) {
    graph.SetActive(true);
    EXPECT_TRUE(graph.Active());
    EXPECT_FALSE(camera.ProvidedFilter());
    EXPECT_TRUE(grabber.ProvidedFilter());
}

TEST_F(CaptureGraph, GraphEditRegistersOnlyWhileActive) {
    graph.SetGraphEdit(true);
    EXPECT_FALSE(graph.RegisteredInROT());
    graph.SetActive(true);
    EXPECT_TRUE(graph.RegisteredInROT());
    graph.SetActive(false);
    EXPECT_FALSE(graph.RegisteredInROT());
    graph.SetActive(true);
    graph.SetGraphEdit(false);
    EXPECT_FALSE(graph.RegisteredInROT());
    EXPECT_FALSE(graph.GraphEdit());
}

TEST_F(CaptureGraph, ControlEventsAndModeChanges) {
    TRecordingSink sink;
    graph.AddEventSink(&sink);
    EXPECT_FALSE(graph.RunGraph()) << "inactive";
    EXPECT_TRUE(sink.Control.empty());
    graph.SetMode(gmCapture);
    EXPECT_FALSE(graph.Active());
    graph.SetActive(true);
    graph.SetMode(gmNormal);
    EXPECT_TRUE(graph.Active());
    EXPECT_FALSE(graph.Query<ICaptureGraphBuilder2>()) << "normal mode has no capture builder";
    EXPECT_EQ(sink.Control, (std::vector<std::pair<int, int>>{{7, 1}, {7, 0}, {7, 1}}));
    graph.RemoveEventSink(&sink);
}

TEST_F(CaptureGraph, EventsReachSinksThenOnDSEventThenTheirTypedEvent) {
    TRecordingSink sink;
    graph.AddEventSink(&sink);
    struct THandler {
        std::vector<String> seen;
        void DS(TComponent*, int code, LONG_PTR, LONG_PTR) { seen.push_back(L"ds " + std::to_wstring(code)); }
        void Abort(TObject*, HRESULT result) { seen.push_back(L"abort " + std::to_wstring(result)); }
    } handler;
    graph.OnDSEvent = TOnDSEvent(&handler, &THandler::DS);
    graph.OnGraphErrorAbort = TOnGraphResult(&handler, &THandler::Abort);
    graph.DispatchGraphEvent(0x04, 0, 0);
    graph.DispatchGraphEvent(EC_ERRORABORT, 5, 0);
    EXPECT_EQ(sink.Graph, (std::vector<int>{0x04, EC_ERRORABORT}));
    EXPECT_EQ(handler.seen, (std::vector<String>{L"ds 4", L"ds 3", L"abort 5"}));
    graph.RemoveEventSink(&sink);
}

TEST_F(CaptureGraph, TypedEventsTakeTheirArgumentsFromTheEventParameters) {
    struct THandler {
        std::vector<String> seen;
        void Size(TObject*, Word width, Word height) {
            seen.push_back(L"size " + std::to_wstring(width) + L"x" + std::to_wstring(height));
        }
        void Opening(TObject*, bool opening) { seen.push_back(opening ? L"opening" : L"not opening"); }
        void Segment(TObject*, Int64 time, Cardinal number) {
            seen.push_back(L"segment " + std::to_wstring(time) + L" " + std::to_wstring(number));
        }
        void Sound(TObject*, Cardinal when, Cardinal code) {
            seen.push_back(L"sound " + std::to_wstring(when) + L" " + std::to_wstring(code));
        }
    } handler;
    graph.OnGraphVideoSizeChanged = TOnGraphVideoSizeChanged(&handler, &THandler::Size);
    graph.OnGraphOpeningFile = TOnGraphBool(&handler, &THandler::Opening);
    graph.OnGraphEndOfSegment = TOnGraphEndOfSegment(&handler, &THandler::Segment);
    graph.OnGraphSNDDevInError = TOnGraphSNDDevError(&handler, &THandler::Sound);
    REFERENCE_TIME time = 123456789;
    graph.DispatchGraphEvent(EC_VIDEO_SIZE_CHANGED, 0x00F00140, 0);
    graph.DispatchGraphEvent(EC_OPENING_FILE, 1, 0);
    graph.DispatchGraphEvent(EC_OPENING_FILE, 2, 0);
    graph.DispatchGraphEvent(EC_END_OF_SEGMENT, reinterpret_cast<LONG_PTR>(&time), 3);
    graph.DispatchGraphEvent(0x200, 4, 5);
    graph.DispatchGraphEvent(0x201, 6, 7);  // no handler: nothing
    EXPECT_EQ(handler.seen, (std::vector<String>{L"size 320x240", L"opening", L"not opening",
                                                 L"segment 123456789 3", L"sound 4 5"}));
}

TEST(DVDTimecode, SplitsIntoNineFieldsAndATime) {
    EXPECT_EQ(SplitDVDTimecode(0x12345678), (TDVDTimeCode{1, 2, 3, 4, 5, 6, 7, 2, 0}));
    const TDVDTime time = DVDTimeFromTimecode(0x12345679);
    EXPECT_EQ(time.Hours, 21);
    EXPECT_EQ(time.Minutes, 43);
    EXPECT_EQ(time.Seconds, 65);
    EXPECT_EQ(time.Frames, 27);
    EXPECT_EQ(time.FrameRate, 25);
    EXPECT_EQ(DVDTimeFromTimecode(0x3).FrameRate, 30);
    EXPECT_EQ(DVDTimeFromTimecode(0x2).FrameRate, 0);
}

TEST_F(CaptureGraph, DVDEventsChosenByTheirFirstParameter) {
    struct THandler {
        std::vector<String> seen;
        void Title(TObject*) { seen.push_back(L"title"); }
        void Unexpected(TObject*) { seen.push_back(L"unexpected"); }
        void Read(TObject*) { seen.push_back(L"read"); }
        void Rate(TObject*, float rate) { seen.push_back(L"rate " + std::to_wstring(static_cast<int>(rate * 10))); }
    } handler;
    graph.OnDVDDomainTitle = TNotifyEvent(&handler, &THandler::Title);
    graph.OnDVDErrorUnexpected = TNotifyEvent(&handler, &THandler::Unexpected);
    graph.OnDVDWarningRead = TNotifyEvent(&handler, &THandler::Read);
    graph.OnDVDPlaybackRateChange = TOnDVDPlaybackRateChange(&handler, &THandler::Rate);
    graph.DispatchGraphEvent(0x101, 4, 0);
    graph.DispatchGraphEvent(0x101, 0, 0);  // no domain
    graph.DispatchGraphEvent(0x10C, 1, 0);
    graph.DispatchGraphEvent(0x10C, 9, 0);  // no error of that number
    graph.DispatchGraphEvent(0x10D, 6, 0);
    graph.DispatchGraphEvent(0x110, 15000, 0);
    EXPECT_EQ(handler.seen, (std::vector<String>{L"title", L"unexpected", L"read", L"rate 15"}));
}

TEST_F(CaptureGraph, ALogFileThatCannotBeCreatedKeepsThePreviousName) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const String log = String(temp) + L"folhavida-graph.log";
    DeleteFileW(log.c_str());
    graph.SetActive(true);
    graph.SetLogFile(log);
    EXPECT_EQ(graph.LogFile(), log);
    EXPECT_NE(GetFileAttributesW(log.c_str()), INVALID_FILE_ATTRIBUTES) << "created while active";
    graph.SetLogFile(String(temp) + L"no-such-folder\\graph.log");
    EXPECT_EQ(graph.LogFile(), log);
    graph.SetActive(false);
    EXPECT_TRUE(DeleteFileW(log.c_str())) << "the graph let the file go";
}

TEST_F(CaptureGraph, AGraphTheSystemCannotBuildStaysInactive) {
    // Wine has no DVD graph builder; where one exists the activation simply succeeds.
    graph.SetMode(gmDVD);
    try {
        graph.SetActive(true);
    } catch (const EDirectShowException&) {
        EXPECT_FALSE(graph.Active());
        EXPECT_FALSE(graph.Graph());
        return;
    }
    GTEST_SKIP() << "this system builds DVD graphs";
}
