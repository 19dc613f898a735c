#include "app/EnterChains.h"

#include <string>

namespace {

// The five experience tabs and the five course tabs repeat one chain with the tab's number.
std::vector<String> Numbered(std::initializer_list<const wchar_t*> stems, int number) {
    std::vector<String> chain;
    for (const wchar_t* stem : stems) chain.push_back(stem + std::to_wstring(number));
    return chain;
}

std::vector<std::vector<String>> BuildChains() {
    std::vector<std::vector<String>> chains;
    chains.push_back({L"edt_nome", L"edt_nasc", L"edt_sexo", L"edt_ec", L"edt_tel1", L"edt_tel2",
                      L"edt_natural", L"edt_email", L"edt_rua", L"edt_numero", L"edt_complemento",
                      L"edt_bairro", L"edt_cidade", L"edt_uf"});
    for (int n = 1; n <= 5; ++n)
        chains.push_back(Numbered({L"edt_exnome", L"edt_excargo", L"edt_exobs", L"edt_exentrada",
                                   L"edt_exsaida", L"edt_extelefone"},
                                  n));
    chains.push_back({L"edt_escolaridade", L"edt_curso", L"edt_escola"});
    for (int n = 1; n <= 5; ++n)
        chains.push_back(Numbered({L"edt_cucurso", L"edt_cuobs", L"edt_cuescola", L"edt_cuduracao"}, n));
    chains.push_back({L"edt_rg", L"edt_cpf", L"edt_cp", L"edt_te", L"edt_cargo", L"edt_salario"});
    return chains;
}

}  // namespace

const std::vector<std::vector<String>>& EnterChains() {
    static const std::vector<std::vector<String>> chains = BuildChains();
    return chains;
}

String NextFieldOnEnter(const String& field) {
    for (const auto& chain : EnterChains())
        for (size_t i = 0; i + 1 < chain.size(); ++i)
            if (chain[i] == field) return chain[i + 1];
    return String();
}

std::vector<String> FieldsWithEnterHandler() {
    std::vector<String> fields;
    for (const auto& chain : EnterChains())
        fields.insert(fields.end(), chain.begin(), chain.end() - 1);
    return fields;
}
