// Start-up of the classes test programs.
#include <gmock/gmock.h>

#include "framework/classes/ClassesRegistration.h"
#include "testing/StreamingTestClasses.h"

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    // Registration, as the program's start-up does it: the classes stored descriptions name.
    RegisterClassesClasses();
    RegisterStreamingTestClasses();
    return RUN_ALL_TESTS();
}
