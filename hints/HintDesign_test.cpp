#include "hints/HintDesign.h"

#include <gtest/gtest.h>

#include "hints/HintTestForm_test.h"
#include "hints/NewDesign.h"

namespace {

TEST(HintDesign, OutOfRangeShadowSettingsAreIgnored) {
    TLocal<THintDesign> design(nullptr);
    EXPECT_EQ(design.ShadowIntensity(), 70);
    EXPECT_EQ(design.ShadowWidth(), 4);
    design.SetShadowIntensity(300);
    design.SetShadowWidth(11);
    design.SetShadowIntensity(-1);
    design.SetShadowWidth(-1);
    EXPECT_EQ(design.ShadowIntensity(), 70);
    EXPECT_EQ(design.ShadowWidth(), 4);
    design.SetShadowIntensity(255);
    design.SetShadowWidth(10);
    EXPECT_EQ(design.ShadowIntensity(), 255);
    EXPECT_EQ(design.ShadowWidth(), 10);
}

TEST(HintDesign, DelayAndHintTimeSetTheApplicationsPausesAtRunTimeOnly) {
    Application().SetHintPause(1);
    TLocal<THintDesign> design(nullptr);
    EXPECT_EQ(Application().HintPause(), 500) << "a new hint component sets the pause";
    design.SetDelay(800);
    design.SetHintTime(4000);
    EXPECT_EQ(Application().HintPause(), 800);
    EXPECT_EQ(Application().HintHidePause(), 4000);
    design.SetDesigning(true);
    design.SetDelay(900);
    design.SetHintTime(5000);
    EXPECT_EQ(design.Delay(), 800);
    EXPECT_EQ(Application().HintPause(), 800);
    EXPECT_EQ(Application().HintHidePause(), 4000);
}

TEST(HintDesign, LoadingAFormInstallsTheStyledHintWindowWithTheComponentsFont) {
    TTestHintForm* form = nullptr;
    Application().CreateForm(form);
    EXPECT_EQ(Application().HintWindowClass(), TNewDesign::StaticClass());
    auto* window = dynamic_cast<TNewDesign*>(Application().HintWindow());
    ASSERT_NE(window, nullptr) << "the application's hint window was not made anew";
    EXPECT_EQ(window->Font()->Name(), L"Arial");
    EXPECT_EQ(window->Font()->Height(), -13);
    EXPECT_EQ(Application().HintPause(), 800) << "Delay as the form sets it";
    EXPECT_EQ(TNewDesign::FindHintDesign(), form->HintDesign1);
    EXPECT_EQ(form->HintDesign1->Color(), clInfoBk);
    EXPECT_EQ(form->HintDesign1->ShadowQuality(), quHi);

    form->HintDesign1->Font()->SetHeight(-20);  // a changed font reaches the hint window
    window = dynamic_cast<TNewDesign*>(Application().HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Font()->Height(), -20);
}

}  // namespace
