#include "app/ResumeData.h"

#include "app/MainForm.h"
#include "framework/controls/DateTimePicker.h"
#include "framework/controls/MaskEdit.h"
#include "framework/controls/RichEdit.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/DateTime.h"

TResumeData ReadResumeData(const TForm1& f) {
    TResumeData d;
    d.Nome = f.edt_nome->Text();
    d.Nascimento = DateToStr(f.edt_nasc->Date());
    d.Sexo = f.edt_sexo->Text();
    d.EstadoCivil = f.edt_ec->Text();
    d.Telefone1 = f.edt_tel1->Text();
    d.Telefone2 = f.edt_tel2->Text();
    d.Naturalidade = f.edt_natural->Text();
    d.Email = f.edt_email->Text();
    d.Rua = f.edt_rua->Text();
    d.Numero = f.edt_numero->Text();
    d.Complemento = f.edt_complemento->Text();
    d.Bairro = f.edt_bairro->Text();
    d.Cidade = f.edt_cidade->Text();
    d.Uf = f.edt_uf->Text();
    for (size_t n = 0; n < 5; ++n) {
        TExperienceData& e = d.Experiencias[n];
        e.Empresa = f.edt_exnome[n]->Text();
        e.Cargo = f.edt_excargo[n]->Text();
        e.Obs = f.edt_exobs[n]->Text();
        e.Admissao = DateToStr(f.edt_exentrada[n]->Date());
        e.Demissao = DateToStr(f.edt_exsaida[n]->Date());
        e.Telefone = f.edt_extelefone[n]->Text();
        TCourseData& c = d.Cursos[n];
        c.Curso = f.edt_cucurso[n]->Text();
        c.Obs = f.edt_cuobs[n]->Text();
        c.Escola = f.edt_cuescola[n]->Text();
        c.Duracao = f.edt_cuduracao[n]->Text();
    }
    d.Escolaridade = f.edt_escolaridade->Text();
    d.Curso = f.edt_curso->Text();
    d.Escola = f.edt_escola->Text();
    d.Rg = f.edt_rg->Text();
    d.Cpf = f.edt_cpf->Text();
    d.Cp = f.edt_cp->Text();
    d.Te = f.edt_te->Text();
    d.Cargo = f.edt_cargo->Text();
    d.Salario = f.edt_salario->Text();
    TCheckBox* const boxes[] = {f.frase1, f.frase2, f.frase3, f.frase4};
    for (size_t i = 0; i < 4; ++i) {
        d.FraseMarcada[i] = boxes[i]->Checked();
        d.FraseLegenda[i] = boxes[i]->Caption();
    }
    d.FraseTexto = f.frase->Text();
    return d;
}
