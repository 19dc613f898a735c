// Start-up of the printables tests: registration as the program's start-up does it, then each
// test in a controls scope of its own.
#include "framework/controls/ControlsScope.h"
#include "framework/rtl/FormatSettings.h"
#include "report/printables/PrintablesRegistration.h"
#include "report/printables/QRTestPanels_test.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    // Sizes start in millimetres on A4 whatever the host's locale; a test wanting inches says so.
    TFormatSettings metric = DefaultFormatSettings();
    metric.MeasureInInches = false;
    SetDefaultFormatSettings(metric);
    RegisterReportPrintablesClasses();
    RegisterClasses<TQRPrintable, TTestReport>();
    return RunTestsWithScopePerTest<TControlsScope>(argc, argv);
}
