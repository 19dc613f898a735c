// Start-up of the forms test programs: registration as the program's start-up does it, then each
// test in an application scope of its own (a fresh Application and Screen).
#include "framework/forms/ApplicationScope.h"
#include "framework/forms/FormsRegistration.h"
#include "testing/ControlTestSupport.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    RegisterFormsClasses();
    RegisterControlTestClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
