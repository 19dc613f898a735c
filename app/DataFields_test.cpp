#include "app/DataFields.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(DataFields, LimparCamposEmptiesThePlainEditsOnly) {
    const auto cleared = FieldsClearedByLimparCampos();
    // 8 on the main tab, 3 per experience, 2 on education, 3 per course, 6 on information.
    EXPECT_EQ(cleared.size(), 8u + 15u + 2u + 15u + 6u);
    auto has = [&](const wchar_t* name) {
        return std::find(cleared.begin(), cleared.end(), name) != cleared.end();
    };
    for (const wchar_t* name : {L"edt_nome", L"edt_complemento", L"edt_exnome1", L"edt_exobs5",
                                L"edt_curso", L"edt_escola", L"edt_cucurso3", L"edt_cuescola5",
                                L"edt_rg", L"edt_salario"})
        EXPECT_TRUE(has(name)) << name;
    for (const wchar_t* name : {L"edt_tel1", L"edt_extelefone2", L"edt_sexo", L"edt_uf",
                                L"edt_nasc", L"edt_exentrada1", L"edt_cuduracao1", L"frase"})
        EXPECT_FALSE(has(name)) << name;
}
