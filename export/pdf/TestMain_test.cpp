// Start-up of the PDF filter's tests: registration as the program's start-up does it, then each
// test in a controls scope of its own.
#include "framework/controls/ControlsScope.h"
#include "framework/rtl/FormatSettings.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/expressions/QREvEnvironment.h"
#include "export/pdf/QRPDFFilter.h"
#include "report/text/TextRegistration.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    TFormatSettings metric = DefaultFormatSettings();
    metric.MeasureInInches = false;
    metric.DecimalSeparator = L'.';
    metric.ThousandSeparator = L',';
    SetDefaultFormatSettings(metric);
    RegisterReportTextClasses();
    RegisterReportPDFClasses();
    RegisterClasses<TMemoryDataSet>();
    InitializeExpressionEngine(L"Folhavida");
    return RunTestsWithScopePerTest<TControlsScope>(argc, argv);
}
