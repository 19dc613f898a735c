// Start-up of the controls test programs.
#include <gmock/gmock.h>

#include "framework/controls/ControlsRegistration.h"
#include "testing/ControlTestSupport.h"

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    // Registration, as the program's start-up does it: the classes stored descriptions name.
    RegisterControlsClasses();
    RegisterControlTestClasses();
    return RUN_ALL_TESTS();
}
