// A full résumé as the main window would hand it over: an accented name, every personal field,
// five experiences, schooling, five courses, the further data and the phrase captions. No phrase
// is ticked; tests that need one tick it.
#pragma once

#include <string>

#include "app/ResumeData.h"

inline TResumeData FullResume() {
    TResumeData d;
    d.Nome = L"João Conceição";
    d.Nascimento = L"01/01/1985";
    d.Sexo = L"Masculino";
    d.Telefone1 = L"(81)3333-4444";
    d.Email = L"joao@exemplo.com.br";
    d.Cidade = L"Recife";
    d.Uf = L"PE";
    for (size_t n = 0; n < 5; ++n) {
        const String k = std::to_wstring(n + 1);
        d.Experiencias[n] = {L"Empresa " + k, L"Cargo " + k, L"Obs " + k, L"01/02/200" + k, L"01/03/200" + k,
                             L"(81)1111-000" + k};
        d.Cursos[n] = {L"Curso " + k, L"Nota " + k, L"Escola " + k, L"1 Ano"};
    }
    d.Escolaridade = L"2º Grau Completo";
    d.Curso = L"Técnico";
    d.Escola = L"Escola Estadual";
    d.Rg = L"1234";
    d.Cpf = L"987";
    d.Cp = L"55";
    d.Te = L"66";
    d.Cargo = L"Analista";
    d.Salario = L"a combinar";
    d.FraseLegenda = {L"\"Um.\"", L"\"Dois.\"", L"\"Três.\"", L"Usar a frase que eu escrever abaixo:"};
    d.FraseTexto = L"Minha frase";
    return d;
}
