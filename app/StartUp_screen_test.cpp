#include "app/StartUp.h"

#include <gtest/gtest.h>

#include "app/Splash.h"
#include "framework/classes/ComponentResource.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/forms/Forms.h"
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
    RunStartUp({{25, {{L"A", logProgress}, {L"B", logProgress}}},
                {50, {{L"C", logProgress}}},
                {75, {{L"D", logProgress}}}});
    EXPECT_EQ(seen, (std::vector<int>{25, 25, 50, 75}));
    EXPECT_EQ(SplashOnScreen(), nullptr) << "the splash is gone once start-up is done";
}

TEST(StartUp, SplashGoesAlsoWhenAFormCannotBeCreated) {
    EXPECT_THROW(RunStartUp({{25, {{L"A", [] { throw EResNotFound(L"Resource TForm1 not found"); }}}}}),
                 EResNotFound);
    EXPECT_EQ(SplashOnScreen(), nullptr);
}

TEST(StartUp, FormsInTheFixedOrder) {
    const auto stages = FolhavidaStartUpStages();
    ASSERT_EQ(stages.size(), 3u);
    EXPECT_EQ(stages[0].Progress, 25);
    EXPECT_EQ(stages[1].Progress, 50);
    EXPECT_EQ(stages[2].Progress, 75);
    ASSERT_GE(stages[0].Forms.size(), 2u);
    EXPECT_EQ(stages[0].Forms[0].ClassName, L"TForm1") << "the main window comes first";
    EXPECT_EQ(stages[0].Forms[1].ClassName, L"Tsobre");
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
