// Start-up of the report family's tests: registration as the program's start-up does it, then
// each test in a controls scope of its own.
#include "framework/controls/ControlsScope.h"
#include "framework/rtl/FormatSettings.h"
#include "report/bands/BandsRegistration.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/expressions/QREvEnvironment.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    // Sizes start in millimetres on A4 whatever the host's locale; a test wanting inches says so.
    TFormatSettings metric = DefaultFormatSettings();
    metric.MeasureInInches = false;
    SetDefaultFormatSettings(metric);
    RegisterReportBandsClasses();
    RegisterClasses<TMemoryDataSet, TTestTemplate>();
    InitializeExpressionEngine(L"Folhavida");
    return RunTestsWithScopePerTest<TControlsScope>(argc, argv);
}
