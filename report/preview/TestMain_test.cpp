// Start-up of the preview family's tests: registration as the program's start-up does it, then
// each test in a controls scope of its own.
#include "framework/controls/ControlsRegistration.h"
#include "framework/controls/ControlsScope.h"
#include "testing/ControlTestSupport.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    RegisterControlsClasses();
    RegisterControlTestClasses();
    return RunTestsWithScopePerTest<TControlsScope>(argc, argv);
}
