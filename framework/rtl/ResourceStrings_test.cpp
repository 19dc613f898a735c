#include "framework/rtl/ResourceStrings.h"

#include <gtest/gtest.h>

TEST(ResourceStringsTest, LookUpByNumber) {
    RegisterResourceStrings({{64001, L"Página %d de %d"}, {64002, L"Cancelar"}});
    EXPECT_EQ(LoadResString(64001), L"Página %d de %d");
    EXPECT_EQ(LoadResString(64002), L"Cancelar");
    EXPECT_EQ(LoadResString(64003), L"");
    RegisterResourceStrings({{64002, L"Fechar"}});
    EXPECT_EQ(LoadResString(64002), L"Fechar");
}
