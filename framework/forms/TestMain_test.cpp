// Each forms test runs in an application scope of its own: a fresh Application and Screen.
#include "framework/controls/ScopePerTest.h"
#include "framework/forms/ApplicationScope.h"

int main(int argc, char** argv) { return RunTestsWithScopePerTest<TApplicationScope>(argc, argv); }
