#include "app/Curriculo.h"

#include <algorithm>

#include "framework/rtl/Format.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/text/QRTextPrintables.h"

TCurriculo* Curriculo = nullptr;

namespace {

[[noreturn]] void Missing(const String& name) {
    throw EComponentError(Format(L"Component %s not found in %s", {name, String(L"TCurriculo")}));
}

Extended StoredTop(const TQRPrintable* control) { return control->Size()->StoredValue(TQRPrintableSize::iTop); }

void SetStoredHeight(TQRCustomBand& band, Extended height) {
    TQRBandSize& size = *band.Size();
    size.SetHeight(size.StoredToUnits(size.Units(), false, height));
}

}  // namespace

TCurriculo::TCurriculo(TComponent* owner) : TQRReport(owner) {
    ReadReport();
    BindComponents();
    // The first entry's first row lies this far below where a later entry's does: a heading
    // printed alone takes that much, and the next entry then reads as the first.
    headingBands_ = {
        {subexperiencia[0], {titulo2, linha[0]}, subexperiencia[0]->Size()->StoredValue(TQRBandSize::iHeight),
         StoredTop(empresa[0]) - StoredTop(empresa[1])},
        {subcurso[0], {titulo4, linha[2]}, subcurso[0]->Size()->StoredValue(TQRBandSize::iHeight),
         StoredTop(cudescricao[0]) - StoredTop(cudescricao[1])},
    };
}

TCurriculo::~TCurriculo() = default;

template <class T>
void TCurriculo::Bind(T*& member, const String& name) const {
    member = dynamic_cast<T*>(FindComponent(name));
    if (member == nullptr) Missing(name);
}

template <class T, std::size_t N>
void TCurriculo::BindNumbered(T* (&members)[N], const wchar_t* name) const {
    for (std::size_t i = 0; i < N; ++i) Bind(members[i], String(name) + std::to_wstring(i + 1));
}

#define FV_BIND_REPORT(member) Bind(member, L"" #member)

void TCurriculo::BindComponents() {
    FV_BIND_REPORT(subprincipal);
    BindNumbered(subexperiencia, L"subexperiencia");
    FV_BIND_REPORT(subescolaridade);
    BindNumbered(subcurso, L"subcurso");
    FV_BIND_REPORT(subinformacoes);
    FV_BIND_REPORT(subcp);
    FV_BIND_REPORT(subrg);
    FV_BIND_REPORT(subcargo);
    FV_BIND_REPORT(subsalario);
    FV_BIND_REPORT(subfrase);
    FV_BIND_REPORT(GroupFooterBand1);
    FV_BIND_REPORT(titulo);
    FV_BIND_REPORT(titulo2);
    FV_BIND_REPORT(titulo3);
    FV_BIND_REPORT(titulo4);
    FV_BIND_REPORT(titulo5);
    FV_BIND_REPORT(nome);
    FV_BIND_REPORT(nascimento);
    FV_BIND_REPORT(sexo);
    FV_BIND_REPORT(ec);
    FV_BIND_REPORT(telefone1);
    FV_BIND_REPORT(telefone2);
    FV_BIND_REPORT(naturalidade);
    FV_BIND_REPORT(email);
    FV_BIND_REPORT(rua);
    FV_BIND_REPORT(numero);
    FV_BIND_REPORT(complemento);
    FV_BIND_REPORT(bairro);
    FV_BIND_REPORT(cidade);
    FV_BIND_REPORT(uf);
    FV_BIND_REPORT(foto);
    BindNumbered(empresa, L"empresa");
    BindNumbered(cargo, L"cargo");
    BindNumbered(admissao, L"admissao");
    BindNumbered(demissao, L"demissao");
    BindNumbered(tel, L"tel");
    BindNumbered(obs, L"obs");
    FV_BIND_REPORT(escolaridade);
    FV_BIND_REPORT(descricao);
    FV_BIND_REPORT(escola);
    BindNumbered(cudescricao, L"cudescricao");
    BindNumbered(cuobs, L"cuobs");
    BindNumbered(cuescola, L"cuescola");
    BindNumbered(cuduracao, L"cuduracao");
    FV_BIND_REPORT(cp);
    FV_BIND_REPORT(te);
    FV_BIND_REPORT(rg);
    FV_BIND_REPORT(cpf);
    FV_BIND_REPORT(cargop);
    FV_BIND_REPORT(sp);
    FV_BIND_REPORT(frase);
    FV_BIND_REPORT(folhavida);
    FV_BIND_REPORT(txt1);
    FV_BIND_REPORT(txt2);
    FV_BIND_REPORT(txt3);
    FV_BIND_REPORT(txt4);
    BindNumbered(linha, L"linha");
}

#undef FV_BIND_REPORT

TQRLabel* TCurriculo::Label(const String& name) const {
    auto* label = dynamic_cast<TQRLabel*>(FindComponent(name));
    if (label == nullptr) Missing(name);
    return label;
}

TQRCustomBand* TCurriculo::Band(const String& name) const {
    auto* band = dynamic_cast<TQRCustomBand*>(FindComponent(name));
    if (band == nullptr) Missing(name);
    return band;
}

void TCurriculo::ShowSections(const std::vector<TSectionSwitch>& switches) {
    for (const TSectionSwitch& s : switches) {
        TQRCustomBand* band = Band(s.Band);
        band->SetEnabled(s.Show != TSectionShow::Off);
        for (const THeadingBand& heading : headingBands_) {
            if (heading.band != band) continue;
            const bool entry = s.Show != TSectionShow::HeadingOnly;
            for (int i = 0; i < band->ControlCount(); ++i) {
                TControl* control = band->Controls(i);
                const bool isHeading =
                    std::find(heading.heading.begin(), heading.heading.end(), control) != heading.heading.end();
                control->SetEnabled(entry || isHeading);
            }
            SetStoredHeight(*band, entry ? heading.designHeight : heading.headingHeight);
        }
    }
}
