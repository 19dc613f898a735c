// Start-up of the preview window's tests: registration as the program's start-up does it, then
// each test in an application scope of its own.
#include "framework/forms/ApplicationScope.h"
#include "report/previewwindow/PreviewWindowRegistration.h"
#include "testing/ControlTestSupport.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    RegisterReportPreviewWindowClasses();
    RegisterControlTestClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
