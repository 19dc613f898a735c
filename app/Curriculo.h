// TCurriculo: the layout of the printed résumé, a report read entirely from its stored
// description (app/forms/TCurriculo.desc): a title band with the personal data and the photo,
// the optional sections (five experiences, schooling, five courses, further data), the phrase
// and a page footer with the page counter.
//
// Generation fills the value labels (each named after what it shows, carrying its own name as
// caption until then), sets fonts and colours and switches the sections through ShowSections
// before each run; the template keeps all of it between runs. Every component is reachable as
// the member of its own name (numbered ones as arrays: empresa[0] is "empresa1") or by name
// through Label().
#pragma once

#include <vector>

#include "app/CurriculoSections.h"
#include "report/bands/QRReport.h"

class TQRImage;
class TQRLabel;
class TQRShape;
class TQRSysData;

class TCurriculo : public TQRReport {
    FV_CLASS(TCurriculo, TQRReport)
public:
    explicit TCurriculo(TComponent* owner);
    ~TCurriculo() override;

    // The label of that name; throws EComponentError when the template has none.
    TQRLabel* Label(const String& name) const;
    // The band of that name; throws EComponentError when the template has none.
    TQRCustomBand* Band(const String& name) const;
    // Switches the bands as given; a band showing its heading alone prints nothing of its entry
    // and only as tall as the heading needs. Bands not named keep their state.
    void ShowSections(const std::vector<TSectionSwitch>& switches);

    // Bands in print order.
    TQRBand* subprincipal = nullptr;
    TQRSubDetail* subexperiencia[5] = {};
    TQRSubDetail* subescolaridade = nullptr;
    TQRSubDetail* subcurso[5] = {};
    TQRSubDetail* subinformacoes = nullptr;
    TQRSubDetail* subcp = nullptr;
    TQRSubDetail* subrg = nullptr;
    TQRSubDetail* subcargo = nullptr;
    TQRSubDetail* subsalario = nullptr;
    TQRSubDetail* subfrase = nullptr;
    TQRBand* GroupFooterBand1 = nullptr;

    // The title and the section headings.
    TQRLabel* titulo = nullptr;
    TQRLabel* titulo2 = nullptr;
    TQRLabel* titulo3 = nullptr;
    TQRLabel* titulo4 = nullptr;
    TQRLabel* titulo5 = nullptr;
    // Personal data and the photo.
    TQRLabel* nome = nullptr;
    TQRLabel* nascimento = nullptr;
    TQRLabel* sexo = nullptr;
    TQRLabel* ec = nullptr;
    TQRLabel* telefone1 = nullptr;
    TQRLabel* telefone2 = nullptr;
    TQRLabel* naturalidade = nullptr;
    TQRLabel* email = nullptr;
    TQRLabel* rua = nullptr;
    TQRLabel* numero = nullptr;
    TQRLabel* complemento = nullptr;
    TQRLabel* bairro = nullptr;
    TQRLabel* cidade = nullptr;
    TQRLabel* uf = nullptr;
    TQRImage* foto = nullptr;
    // Experiences 1 to 5.
    TQRLabel* empresa[5] = {};
    TQRLabel* cargo[5] = {};
    TQRLabel* admissao[5] = {};
    TQRLabel* demissao[5] = {};
    TQRLabel* tel[5] = {};
    TQRLabel* obs[5] = {};
    // Schooling.
    TQRLabel* escolaridade = nullptr;
    TQRLabel* descricao = nullptr;
    TQRLabel* escola = nullptr;
    // Courses 1 to 5.
    TQRLabel* cudescricao[5] = {};
    TQRLabel* cuobs[5] = {};
    TQRLabel* cuescola[5] = {};
    TQRLabel* cuduracao[5] = {};
    // Further data and the phrase.
    TQRLabel* cp = nullptr;
    TQRLabel* te = nullptr;
    TQRLabel* rg = nullptr;
    TQRLabel* cpf = nullptr;
    TQRLabel* cargop = nullptr;
    TQRLabel* sp = nullptr;
    TQRLabel* frase = nullptr;
    // The footer: "Folhavida 3.0" and "página <n> de <total>".
    TQRLabel* folhavida = nullptr;
    TQRLabel* txt1 = nullptr;
    TQRSysData* txt2 = nullptr;
    TQRLabel* txt3 = nullptr;
    TQRLabel* txt4 = nullptr;
    // linha[0] to linha[4] ("linha1" to "linha5") solid, the others dash-dot.
    TQRShape* linha[13] = {};

private:
    void BindComponents();
    template <class T>
    void Bind(T*& member, const String& name) const;
    template <class T, std::size_t N>
    void BindNumbered(T* (&members)[N], const wchar_t* name) const;

    // What a band that carries a section heading shows when its own entry is empty.
    struct THeadingBand {
        TQRCustomBand* band;
        std::vector<TControl*> heading;  // printed also without the entry
        Extended designHeight;           // 0.1 mm
        Extended headingHeight;          // 0.1 mm: the next entry's first row takes the place of this one's
    };
    std::vector<THeadingBand> headingBands_;
};

extern TCurriculo* Curriculo;
