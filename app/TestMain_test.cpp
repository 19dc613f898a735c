// Each test of the program's windows runs in an application scope of its own.
#include "framework/controls/ScopePerTest.h"
#include "framework/forms/ApplicationScope.h"

int main(int argc, char** argv) { return RunTestsWithScopePerTest<TApplicationScope>(argc, argv); }
