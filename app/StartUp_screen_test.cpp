#include "app/StartUp.h"

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "app/Splash.h"
#include "framework/classes/ComponentResource.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/forms/Forms.h"
#include "framework/forms/HintWindow.h"
#include "framework/rtl/WinApi.h"

namespace {

// The splash as a window of this process, or null when there is none.
Tsplash* SplashOnScreen() {
    HWND window = FindWindowW(L"Tsplash", nullptr);
    return window != nullptr && IsWindowVisible(window) ? dynamic_cast<Tsplash*>(FindControl(window))
                                                        : nullptr;
}

}  // namespace

TEST(StartUp, SplashShowsEachStageWhileItsFormsAreCreated) {
    std::vector<int> seen;
    auto logProgress = [&] {
        Tsplash* splash = SplashOnScreen();
        seen.push_back(splash != nullptr ? splash->Progresso->Position() : -1);
    };
    RunStartUp({{25, {logProgress, logProgress}}, {50, {logProgress}}, {75, {logProgress}}});
    EXPECT_EQ(seen, (std::vector<int>{25, 25, 50, 75}));
    EXPECT_EQ(SplashOnScreen(), nullptr) << "the splash is gone once start-up is done";
}

TEST(StartUp, SplashGoesAlsoWhenAFormCannotBeCreated) {
    EXPECT_THROW(RunStartUp({{25, {[] { throw EResNotFound(L"Resource TForm1 not found"); }}}}), EResNotFound);
    EXPECT_EQ(SplashOnScreen(), nullptr);
}

TEST(StartUp, TheProgramsFormsAreCreatedInTheFixedOrderBehindTheSplash) {
    // Each creation runs as the program runs it; what the application gained by it is recorded
    // with the progress the splash showed.
    std::vector<std::pair<int, String>> created;
    auto stages = FolhavidaStartUpStages();
    for (TStartUpStage& stage : stages) {
        for (auto& create : stage.Forms) {
            create = [&created, real = create] {
                const int before = Application().ComponentCount();
                real();
                Tsplash* splash = SplashOnScreen();
                // Not the hint window: the main window's hint component gives the application
                // one of its own kind while the main window is read.
                for (int i = before; i < Application().ComponentCount(); ++i)
                    if (dynamic_cast<THintWindow*>(Application().Components(i)) == nullptr)
                        created.emplace_back(splash != nullptr ? splash->Progresso->Position() : -1,
                                             Application().Components(i)->ClassName());
            };
        }
    }
    RunStartUp(stages);
    const std::vector<std::pair<int, String>> expected = {{25, L"TForm1"},     {25, L"Tsobre"},   {25, L"Timpressao"},
                                                          {25, L"Tfrm_salvar"}, {50, L"Tfrm_foto"}, {75, L"TCurriculo"}};
    EXPECT_EQ(created, expected);
    EXPECT_EQ(Application().MainForm(), Form1) << "the main window comes first";
    std::vector<int> progress;
    for (const TStartUpStage& stage : stages) progress.push_back(stage.Progress);
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75}));
    Application().DestroyComponents();
}

TEST(StartUp, SplashPictureAndBar) {
    TLocal<Tsplash> splash(nullptr);
    EXPECT_EQ(splash.ClientWidth(), 250);
    EXPECT_EQ(splash.ClientHeight(), 198);
    EXPECT_EQ(splash.BorderStyle(), bsNone);
    EXPECT_EQ(splash.Image1->Picture()->Width(), 252);
    EXPECT_EQ(splash.Image1->Picture()->Height(), 201);
    EXPECT_EQ(splash.Progresso->Max(), 100);
}
