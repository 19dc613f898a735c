// The webcam form over the synthetic camera the test prefix registers: its menu, the live
// picture of the chosen device, and the grab into a photo.
#include "app/PhotoForm.h"

#include <gtest/gtest.h>

#include "capture/DSErrors.h"
#include "capture/FilterGraph.h"
#include "capture/SampleGrabber.h"
#include "capture/VideoWindow.h"
#include "capture/testing/SyntheticPattern.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/Menus.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Picture.h"
#include "testing/ControlTestSupport.h"
#include "testing/TestPixels.h"

namespace {

TMenuItem* SyntheticCameraItem(Tfrm_foto& form) {
    for (int i = 0; i < form.Devices->Count(); ++i)
        if (form.Devices->Items(i)->Caption() == SyntheticCameraName) return form.Devices->Items(i);
    return nullptr;
}

// The renderer's window over the video area once it shows the pattern (blue rising to the right).
bool ShowsThePattern(TVideoWindow& video) {
    const HWND renderer = video.RendererWindow();
    if (renderer == nullptr || renderer == video.Handle() || !IsWindowVisible(renderer)) return false;
    auto image = ScreenImage(renderer);
    if (image->Width() < 40 || image->Height() < 40) return false;
    const TColor left = DibPixel(*image, 5, image->Height() / 2);
    const TColor right = DibPixel(*image, image->Width() - 6, image->Height() / 2);
    return BlueOf(right) > BlueOf(left) + 150;
}

}  // namespace

TEST(PhotoForm, WindowButtonsAndTheDeviceMenu) {
    TLocal<Tfrm_foto> form(nullptr);
    EXPECT_EQ(form.GetText(), L"Capturar Foto");
    EXPECT_EQ(form.ClientWidth(), 231);
    EXPECT_EQ(form.ClientHeight(), 261);
    EXPECT_EQ(form.Devices->Caption(), L"Selecione a WebCam");
    EXPECT_TRUE(form.Devices->Default());
    EXPECT_EQ(form.Devices->Count(), form.DeviceCount());
    for (int i = 0; i < form.Devices->Count(); ++i) EXPECT_EQ(form.Devices->Items(i)->Tag(), i);
    EXPECT_NE(SyntheticCameraItem(form), nullptr) << "the synthetic camera is offered";
    EXPECT_TRUE(form.BitBtn3->Default());
    EXPECT_EQ(form.BitBtn3->ModalResult(), mrOk);
    EXPECT_TRUE(form.BitBtn1->Cancel());
    EXPECT_EQ(form.BitBtn1->GetText(), L"Cancel");
    EXPECT_EQ(form.VideoWindow->BoundsRect(), Bounds(3, 0, 225, 209));
    EXPECT_EQ(form.VideoWindow->VMROptions()->Streams(), 1u);
    EXPECT_EQ(form.FilterGraph->Mode(), gmCapture);
    EXPECT_TRUE(form.FilterGraph->GraphEdit());
    EXPECT_FALSE(form.FilterGraph->Active());
    EXPECT_EQ(form.SampleGrabber->MediaType()->FormatLength(), 0u);
}

TEST(PhotoForm, WithoutAFrameOKKeepsThePhotoJpegOrNot) {
    TLocal<Tfrm_foto> form(nullptr);
    TPicture photo;
    TJPEGImage jpeg;
    TBitmap source(16, 16);
    jpeg.Assign(source);
    photo.Assign(jpeg);
    EXPECT_FALSE(form.GrabInto(photo));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(photo.Graphic()), nullptr) << "the JPEG photo stays";
    photo.Bitmap().SetSize(20, 10);
    EXPECT_FALSE(form.GrabInto(photo));
    EXPECT_EQ(photo.Width(), 20);
}

TEST(PhotoForm, AChosenDeviceShowsLiveVideoAndOKGrabsTheFrame) {
    TLocal<Tfrm_foto> form(nullptr);
    form.Show();
    TMenuItem* camera = SyntheticCameraItem(form);
    ASSERT_NE(camera, nullptr);
    camera->Click();
    ASSERT_TRUE(form.FilterGraph->Active());
    ASSERT_TRUE(PumpUntil([&] { return ShowsThePattern(*form.VideoWindow); }))
        << "renderer " << DescribeWindow(form.VideoWindow->RendererWindow());
    RECT renderer{};
    GetWindowRect(form.VideoWindow->RendererWindow(), &renderer);
    const TPoint origin = form.ClientToScreen(TPoint{3, 0});
    EXPECT_EQ(renderer.left, origin.X) << "laid over the video area";
    EXPECT_EQ(renderer.top, origin.Y);
    EXPECT_EQ(renderer.right - renderer.left, 225);

    TPicture photo;
    ASSERT_TRUE(PumpUntil([&] { return form.GrabInto(photo); }));
    auto* frame = dynamic_cast<TBitmap*>(photo.Graphic());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->Width(), SyntheticWidth);
    ASSERT_EQ(frame->Height(), SyntheticHeight);
    const std::uint32_t number = static_cast<std::uint32_t>(RedOf(DibPixel(*frame, 0, 0)));
    for (int y = 0; y < SyntheticHeight; y += 17)
        for (int x = 0; x < SyntheticWidth; x += 13) {
            std::uint8_t bgr[3];
            SyntheticPixel(x, y, number, bgr);
            ASSERT_EQ(DibPixel(*frame, x, y), RGBColor(bgr[2], bgr[1], bgr[0])) << x << "," << y;
        }

    EXPECT_TRUE(form.CloseQuery());
    EXPECT_FALSE(form.FilterGraph->Active()) << "closing stops the camera";
}

TEST(PhotoForm, ADeviceThatFailsIsReportedAndTheListIsReadAgain) {
    TLocal<Tfrm_foto> form(nullptr);
    form.Show();
    ASSERT_GT(form.Devices->Count(), 0);
    TMenuItem* first = form.Devices->Items(0);
    first->SetTag(form.DeviceCount());  // a position the system no longer has
    EXPECT_THROW(first->Click(), EDirectShowException);
    EXPECT_FALSE(form.FilterGraph->Active());
    ASSERT_TRUE(PumpUntil([&] { return form.Devices->Count() > 0 && form.Devices->Items(0)->Tag() == 0; }))
        << "the menu was not rebuilt";
    EXPECT_EQ(form.Devices->Count(), form.DeviceCount());
}
