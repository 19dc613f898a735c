// The updater's window from the keyboard: Tab and Shift+Tab go round its two buttons, and Enter or
// Space presses the one with the focus ("Desconectar" closes the window).
#include <gtest/gtest.h>

#include "framework/controls/Buttons.h"
#include "framework/forms/Forms.h"
#include "testing/ControlTestSupport.h"
#include "testing/KeyInput.h"
#include "updater/MainWindow.h"

namespace {

void ProcessApplicationMessages() { Application().ProcessMessages(); }

bool PumpAppUntil(const std::function<bool()>& done) { return PumpUntil(done, 10000, ProcessApplicationMessages); }

TEST(UpdaterWindowKeys, TabGoesRoundTheButtonsAndEnterOrSpacePressesTheFocusedOne) {
    struct TRow {
        const char* Name;
        std::vector<TKeyStroke> Keys;
        const wchar_t* Focus;  // afterwards, or null when the window closed
    };
    const TRow rows[] = {
        {"Tab", {{VK_TAB}}, L"btn_Exit"},
        {"Tab round", {{VK_TAB}, {VK_TAB}}, L"btn_Update"},
        {"Shift+Tab", {{VK_TAB, TShiftState{ssShift}}}, L"btn_Exit"},
        {"Tab to Desconectar, Enter", {{VK_TAB}, {VK_RETURN}}, nullptr},
        {"Tab to Desconectar, Space", {{VK_TAB}, {VK_SPACE}}, nullptr},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TLocal<Tform_MainWindow> window(nullptr);
        window.Show();
        SetForegroundWindow(window.Handle());
        ASSERT_TRUE(PumpAppUntil([&] { return window.btn_Update->Focused(); }))
            << "the focus starts on " << DescribeWindow(GetFocus());
        for (const TKeyStroke& key : row.Keys) ASSERT_TRUE(PressKey(key.Key, key.Shift));
        if (row.Focus == nullptr) {
            EXPECT_TRUE(PumpAppUntil([&] { return !window.Visible(); }));
        } else {
            auto* expected = dynamic_cast<TWinControl*>(window.FindComponent(row.Focus));
            ASSERT_NE(expected, nullptr);
            EXPECT_TRUE(PumpAppUntil([&] { return expected->Focused(); }))
                << "the focus is on " << DescribeWindow(GetFocus());
        }
    }
}

}  // namespace
