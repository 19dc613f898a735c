// The résumé as the main window holds it, in plain texts: what generation puts into the template.
// Dates are already in the short date format and masked fields keep their literal characters,
// exactly as they are printed.
#pragma once

#include <array>

#include "framework/rtl/System.h"

class TForm1;

struct TExperienceData {
    String Empresa, Cargo, Obs, Admissao, Demissao, Telefone;
};

struct TCourseData {
    String Curso, Obs, Escola, Duracao;
};

struct TResumeData {
    String Nome, Nascimento, Sexo, EstadoCivil, Telefone1, Telefone2, Naturalidade, Email;
    String Rua, Numero, Complemento, Bairro, Cidade, Uf;
    std::array<TExperienceData, 5> Experiencias;
    String Escolaridade, Curso, Escola;
    std::array<TCourseData, 5> Cursos;
    String Rg, Cpf, Cp, Te, Cargo, Salario;
    // The phrase boxes frase1..frase4, their captions (frase4's is not used) and the text of the
    // phrase editor.
    std::array<bool, 4> FraseMarcada{};
    std::array<String, 4> FraseLegenda;
    String FraseTexto;
};

// Reads the main window's fields.
TResumeData ReadResumeData(const TForm1& form);
