// Start-up of the hint tests: registration as the program's start-up does it, then each test in
// an application scope of its own.
#include "framework/forms/ApplicationScope.h"
#include "hints/HintsRegistration.h"
#include "testing/ControlTestSupport.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    RegisterHintsClasses();
    RegisterControlTestClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
