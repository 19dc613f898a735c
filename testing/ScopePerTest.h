// Test support: a test program whose tests each run in a scope of their own (TControlsScope or
// TApplicationScope), so that no test sees the registries, the application state or the forms
// another test left. The scope is made before the fixture and ended after it. Tests of a suite
// whose name ends in "Scope" test the scopes themselves and make their own.
//
//     int main(int argc, char** argv) { return RunTestsWithScopePerTest<TApplicationScope>(argc, argv); }
#pragma once

#include <gmock/gmock.h>

#include <memory>
#include <string>

template <class Scope>
class TScopePerTest : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& test) override {
        const std::string suite = test.test_suite_name();
        const bool ownScope = suite.size() >= 5 && suite.compare(suite.size() - 5, 5, "Scope") == 0;
        if (!ownScope) scope_ = std::make_unique<Scope>();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { scope_.reset(); }

private:
    std::unique_ptr<Scope> scope_;
};

template <class Scope>
int RunTestsWithScopePerTest(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TScopePerTest<Scope>);
    return RUN_ALL_TESTS();
}
