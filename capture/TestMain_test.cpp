// Start-up of the capture test programs: the UI thread is a COM apartment, as in the program;
// each test runs in an application scope of its own.
#include "capture/CaptureRegistration.h"
#include "framework/controls/UiThread.h"
#include "framework/forms/ApplicationScope.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    TComApartment com;
    RegisterCaptureClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
