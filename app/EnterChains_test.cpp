#include "app/EnterChains.h"

#include <gtest/gtest.h>

#include <set>

TEST(EnterChains, SixtyFieldsHaveAHandler) {
    // 13 on the main tab, 5 x 5 on the experiences, 2 on education, 5 x 3 on the courses, 5 on
    // the information tab.
    const auto fields = FieldsWithEnterHandler();
    EXPECT_EQ(fields.size(), 60u);
    EXPECT_EQ(std::set<String>(fields.begin(), fields.end()).size(), 60u) << "a field in two chains";
}

TEST(EnterChains, EnterMovesToTheNextFieldOfTheChain) {
    struct Case {
        const wchar_t* from;
        const wchar_t* to;
    };
    const Case cases[] = {
        {L"edt_nome", L"edt_nasc"},          {L"edt_nasc", L"edt_sexo"},
        {L"edt_tel2", L"edt_natural"},       {L"edt_email", L"edt_rua"},
        {L"edt_cidade", L"edt_uf"},          {L"edt_exnome1", L"edt_excargo1"},
        {L"edt_exsaida3", L"edt_extelefone3"}, {L"edt_exobs5", L"edt_exentrada5"},
        {L"edt_escolaridade", L"edt_curso"}, {L"edt_curso", L"edt_escola"},
        {L"edt_cucurso2", L"edt_cuobs2"},    {L"edt_cuescola4", L"edt_cuduracao4"},
        {L"edt_rg", L"edt_cpf"},             {L"edt_cargo", L"edt_salario"},
    };
    for (const Case& c : cases) EXPECT_EQ(NextFieldOnEnter(c.from), c.to) << c.from;
}

TEST(EnterChains, LastFieldsAndOtherControlsKeepTheFocus) {
    for (const wchar_t* field : {L"edt_uf", L"edt_extelefone1", L"edt_extelefone5", L"edt_escola",
                                 L"edt_cuduracao1", L"edt_cuduracao5", L"edt_salario", L"frase",
                                 L"BitBtn3", L"edt_exnome6"})
        EXPECT_EQ(NextFieldOnEnter(field), L"") << field;
}
