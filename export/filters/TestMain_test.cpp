// Start-up of the export filters' tests: registration as the program's start-up does it, then
// each test in a controls scope of its own.
#include "export/filters/ExportRegistration.h"
#include "framework/controls/ControlsScope.h"
#include "framework/rtl/FormatSettings.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    TFormatSettings metric = DefaultFormatSettings();
    metric.MeasureInInches = false;
    SetDefaultFormatSettings(metric);
    RegisterExportFilterClasses();
    return RunTestsWithScopePerTest<TControlsScope>(argc, argv);
}
