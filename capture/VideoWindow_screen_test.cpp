#include "capture/VideoWindow.h"

#include <gtest/gtest.h>

#include "capture/DirectShow.h"
#include "framework/forms/Forms.h"
#include "testing/ControlTestSupport.h"

TEST(VideoWindow, VMROptionsKeepTheirRules) {
    TVMROptions options;
    struct Case {
        Cardinal set, kept;
    };
    for (const Case& c : {Case{0, 1}, Case{17, 1}, Case{16, 16}, Case{1, 1}}) {
        options.SetStreams(c.set);
        EXPECT_EQ(options.Streams(), c.kept) << c.set;
    }
    const TVMRPreferences wanted{vpForceMixer, vpForceOffscreen};
    EXPECT_EQ(TVMROptions::RenderingPrefsMask(wanted), 1u) << "the mixer switch is not a renderer preference";
    EXPECT_EQ(TVMROptions::FromRenderingPrefs(1, wanted), wanted) << "the mixer switch survives the read-back";
    EXPECT_EQ(TVMROptions::FromRenderingPrefs(2, TVMRPreferences{}), TVMRPreferences{vpForceOverlays});
}

TEST(VideoWindow, TheVMRModeOnlyWhereARendererExists) {
    TLocal<TVideoWindow> video(nullptr);
    video.SetMode(vmVMR);
    EXPECT_EQ(video.Mode(), VMR9Available() ? vmVMR : vmNormal);
    video.SetMode(vmNormal);
    EXPECT_EQ(video.Mode(), vmNormal);
}

TEST(VideoWindow, WithoutARendererItsOwnWindowTakesTheVideo) {
    TLocal<TForm> form(nullptr);
    auto* video = new TVideoWindow(&form);
    video->SetName(L"VideoWindow");
    video->SetParent(&form);
    form.Show();
    EXPECT_EQ(video->RendererWindow(), video->Handle());
    EXPECT_EQ(video->Width(), 160);
    EXPECT_EQ(video->Height(), 120);
    EXPECT_EQ(video->Color(), clBlack);
}

TEST(VideoWindow, FullScreenAndBackGivesTheRendererItsPlaceInTheParent) {
    TLocal<TForm> form(nullptr);
    form.SetBounds(100, 100, 400, 300);
    auto* graph = new TFilterGraph(&form);
    auto* video = new TVideoWindow(&form);
    video->SetName(L"VideoWindow");
    video->SetParent(&form);
    video->SetBounds(10, 20, 160, 120);
    video->SetFilterGraph(graph);
    form.Show();
    graph->SetActive(true);
    ASSERT_NE(video->VideoWindowInterface(), nullptr);
    // What the graph tells its sinks before it runs: the renderer takes the control's caption.
    video->HandleControlEvent(0, 0);
    video->SetFullScreen(true);
    video->SetFullScreen(false);
    OAHWND owner = 0;
    ASSERT_HRESULT_SUCCEEDED(video->VideoWindowInterface()->get_Owner(&owner));
    EXPECT_EQ(reinterpret_cast<HWND>(owner), form.Handle());
    long style = 0;
    ASSERT_HRESULT_SUCCEEDED(video->VideoWindowInterface()->get_WindowStyle(&style));
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS), WS_CHILD | WS_CLIPSIBLINGS);
    // The renderer's window is found again among the form's children by its caption.
    HWND renderer = video->RendererWindow();
    ASSERT_NE(renderer, nullptr);
    ASSERT_NE(renderer, video->Handle());
    EXPECT_EQ(GetParent(renderer), form.Handle());
    RECT r{};
    GetWindowRect(renderer, &r);
    const TPoint origin = form.ClientToScreen(TPoint{10, 20});
    EXPECT_EQ((TRect{r.left, r.top, r.right, r.bottom}), Bounds(origin.X, origin.Y, 160, 120));
    EXPECT_FALSE(video->FullScreen());
}
