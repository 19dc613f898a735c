#include "app/CurriculoTemplate.h"

#include <algorithm>
#include <string>

#include "app/Curriculo.h"
#include "app/DataFields.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/previewwindow/QRPreviewRules.h"
#include "report/text/QRTextPrintables.h"

namespace {

TFieldKind KindOf(const String& field) {
    for (const TDataField& f : DataFields())
        if (f.Name == field) return f.Kind;
    return TFieldKind::Edit;
}

// The step whose run fills the labels of band; the title band's labels are the personal ones.
TFillStep StepOfBand(const String& band) {
    auto numbered = [&](const wchar_t* prefix, TFillStep first) -> std::optional<TFillStep> {
        const String p(prefix);
        if (band.size() != p.size() + 1 || !band.starts_with(p)) return std::nullopt;
        const int n = band.back() - L'1';
        if (n < 0 || n > 4) return std::nullopt;
        return static_cast<TFillStep>(static_cast<int>(first) + n);
    };
    if (band == L"subprincipal") return TFillStep::Personal;
    if (band == L"subescolaridade") return TFillStep::Schooling;
    if (auto step = numbered(L"subexperiencia", TFillStep::Experience1)) return *step;
    if (auto step = numbered(L"subcurso", TFillStep::Course1)) return *step;
    return TFillStep::Further;
}

}  // namespace

std::vector<TSectionSwitch> SectionSwitchesOf(const std::map<String, bool>& enabled) {
    // A band that is on counts as one whose fields hold something: one of its fields that
    // decides by its text gets a text.
    TFieldTexts texts;
    for (const auto& [band, on] : enabled) {
        if (!on) continue;
        for (const TCurriculoField& field : CurriculoFields()) {
            if (field.Band != band || field.Field == L"Image1" || KindOf(field.Field) == TFieldKind::DatePicker) continue;
            texts[field.Field] = L"x";
            break;
        }
    }
    return CurriculoSectionSwitches(texts);
}

TCurriculoTemplate::TCurriculoTemplate(TCurriculo& curriculo) : curriculo_(curriculo) {}

TCurriculoTemplate::~TCurriculoTemplate() {
    // The previews may still close after this object: the shared printer's, and those of the
    // printers that go with it.
    if (shared_ != nullptr) shared_->AfterPreview = nullptr;
    for (const auto& printer : openedPrinters_) printer->AfterPreview = nullptr;
}

void TCurriculoTemplate::Apply(const TCurriculoState& state, const TPicture& photo, const TStepDone& done) {
    TCurriculo& c = curriculo_;
    auto control = [&](const String& name) -> TControl& {
        auto* found = dynamic_cast<TControl*>(c.FindComponent(name));
        if (found == nullptr) throw EComponentError(L"Component " + name + L" not found in TCurriculo");
        return *found;
    };

    c.Font()->SetName(state.FontName);
    for (const String& name : state.FontNamedLabels) control(name).Font()->SetName(state.FontName);
    done(TFillStep::Font);

    for (const String& name : state.ColoredLines) {
        auto* line = dynamic_cast<TQRShape*>(&control(name));
        if (line == nullptr) throw EComponentError(name + L" is no shape");
        line->Pen()->SetColor(state.Color);
    }
    c.Frame()->SetColor(state.Color);
    c.Font()->SetColor(state.Color);
    for (const String& name : state.ColoredLabels) control(name).Font()->SetColor(state.Color);
    done(TFillStep::Colour);

    // The switches that are no bands are the labels' (the page counter).
    std::map<String, bool> bands;
    for (const auto& [name, on] : state.Enabled) {
        if (dynamic_cast<TQRCustomBand*>(c.FindComponent(name)) != nullptr) bands[name] = on;
        else control(name).SetEnabled(on);
    }
    done(TFillStep::Counter);

    // Captions by the step that fills them, each step in the fields' order.
    std::map<TFillStep, std::vector<std::pair<String, String>>> captions;
    for (const TCurriculoField& field : CurriculoFields()) {
        auto it = state.Captions.find(field.Label);
        if (it != state.Captions.end()) captions[StepOfBand(field.Band)].push_back(*it);
    }
    auto fill = [&](TFillStep step) {
        for (const auto& [label, caption] : captions[step]) c.Label(label)->AssignCaption(caption);
    };

    fill(TFillStep::Personal);
    done(TFillStep::Personal);
    c.foto->AssignPicture(&photo);
    done(TFillStep::Photo);
    c.ShowSections(SectionSwitchesOf(bands));
    for (int step = static_cast<int>(TFillStep::Experience1); step <= static_cast<int>(TFillStep::Further); ++step) {
        fill(static_cast<TFillStep>(step));
        done(static_cast<TFillStep>(step));
    }

    c.SetReportTitle(state.ReportTitle);
    if (state.TotalFromPageCount) {
        c.PrepareReport();
        // A run that did not get as far as a printer leaves the total as it was.
        if (TQRPrinter* printer = c.ReportPrinter()) c.txt4->AssignCaption(std::to_wstring(printer->PageCount()));
    }
}

void TCurriculoTemplate::ShowPreview() { curriculo_.ShowPreview(); }

void TCurriculoTemplate::SavePreparedReport(const String& fileName) {
    // The file a preview shows is its pages' stream, which cannot be replaced under it.
    if (OpenInPreview(fileName)) throw EQRError(FileInPreviewMessage(fileName));
    curriculo_.PrepareReport();
    TQRPrinter* printer = curriculo_.ReportPrinter();
    if (printer == nullptr || !printer->SavePreparedReport(fileName))
        throw EQRError(L"O currículo não pôde ser salvo em " + fileName);
}

void TCurriculoTemplate::OpenPreparedReport(const String& fileName) {
    TQRPrinter* printer = PrinterForOpening();
    printer->LoadPreparedReport(fileName);
    printer->AfterPreview = TQRPrinterCallback(this, &TCurriculoTemplate::ReleasePages);
    try {
        printer->ShowPreview();
    } catch (...) {
        if (!printer->PreviewShowing()) printer->ClearPages();
        throw;
    }
}

TQRPrinter* TCurriculoTemplate::PrinterForOpening() {
    shared_ = &SharedReportPrinter();
    if (!shared_->PreviewShowing()) return shared_;
    for (const auto& printer : openedPrinters_)
        if (!printer->PreviewShowing()) return printer.get();
    return openedPrinters_.emplace_back(std::make_unique<TQRPrinter>()).get();
}

// The loaded file stays open as the pages' stream until its preview closes, and no longer, so
// that the résumé can then be saved over it.
void TCurriculoTemplate::ReleasePages(TQRPrinter* printer) { printer->ClearPages(); }

bool TCurriculoTemplate::OpenInPreview(const String& fileName) const {
    auto shows = [&](const TQRPrinter* printer) { return printer != nullptr && PrinterShowsFile(*printer, fileName); };
    if (shows(shared_)) return true;
    return std::any_of(openedPrinters_.begin(), openedPrinters_.end(), [&](const auto& p) { return shows(p.get()); });
}
