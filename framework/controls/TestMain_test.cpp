// Each window test runs in a controls scope of its own.
#include "framework/controls/ControlsScope.h"
#include "framework/controls/ScopePerTest.h"

int main(int argc, char** argv) { return RunTestsWithScopePerTest<TControlsScope>(argc, argv); }
