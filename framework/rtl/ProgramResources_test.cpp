#include "framework/rtl/ProgramResources.h"

#include <gtest/gtest.h>

TEST(ProgramResources, NamedRcDataAreListedAndRead) {
    const std::vector<String> names = ProgramRcDataNames();
    EXPECT_EQ(names, (std::vector<String>{L"GREETING", L"SECOND"}));
    EXPECT_EQ(ProgramRcData(L"second"), "2") << "names are case-insensitive";
    EXPECT_EQ(ProgramRcData(L"GREETING"), std::string_view("ol\xe1\0", 4));
}

TEST(ProgramResources, AMissingResourceIsNamed) {
    try {
        ProgramRcData(L"NOSUCH");
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NOSUCH not found");
    }
}
