#include "app/Generation.h"

#include "app/MainForm.h"
#include "app/StyleForm.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/forms/Dialogs.h"

namespace {

TResumeTemplate* current = nullptr;

// Shows the main window's progress bar for the time of a run and hides it at the end, a failed
// run included.
class TMainProgress {
public:
    explicit TMainProgress(TProgressBar& bar) : bar_(bar) {
        bar_.SetPosition(0);
        bar_.Show();
    }
    ~TMainProgress() { bar_.Hide(); }
    TMainProgress(const TMainProgress&) = delete;
    TMainProgress& operator=(const TMainProgress&) = delete;
    void Set(int value) { bar_.SetPosition(value); }

private:
    TProgressBar& bar_;
};

}  // namespace

std::optional<int> BusyProgress(TFillVariant variant, TFillStep step) {
    using S = TFillStep;
    const int i = static_cast<int>(step);
    switch (variant) {
    case TFillVariant::Default:
        switch (step) {
        case S::Font: return 10;
        case S::Colour: return 15;
        case S::Counter: return 20;
        case S::Personal: return 25;
        case S::Photo: return 30;
        case S::Course5: return 70;
        case S::Further: return 90;
        default:
            if (step >= S::Experience1 && step <= S::Experience5) return 35 + 5 * (i - static_cast<int>(S::Experience1));
            return std::nullopt;
        }
    case TFillVariant::Save: {
        switch (step) {
        case S::Font: return 40;
        case S::Colour: return 50;
        case S::Photo: return 55;
        case S::Schooling: return 82;
        default: break;
        }
        if (step >= S::Experience1 && step <= S::Experience5) return 60 + 5 * (i - static_cast<int>(S::Experience1));
        constexpr int courses[] = {85, 87, 90, 91, 92};
        if (step >= S::Course1 && step <= S::Course5) return courses[i - static_cast<int>(S::Course1)];
        return std::nullopt;
    }
    case TFillVariant::Styled: return std::nullopt;
    }
    return std::nullopt;
}

void SetResumeTemplate(TResumeTemplate* resumeTemplate) { current = resumeTemplate; }

TResumeTemplate& ResumeTemplate() {
    if (current == nullptr) throw EInvalidOperation(L"O modelo do currículo não foi criado.");
    return *current;
}

void RequestGeneration(TForm1& form) {
    const int answer = Application().MessageBox(L"Gostaria de configurar cores e estilo do seu Currículo?",
                                                L"Configurações Avançadas", MB_YESNO);
    if (answer == IDYES) impressao->ShowModal();
    else RunDefaultGeneration(form);
}

void RunDefaultGeneration(TForm1& form) {
    TResumeTemplate& output = ResumeTemplate();
    TMainProgress progress(*form.Progresso);
    progress.Set(5);
    const TCurriculoState state = FillCurriculo(ReadResumeData(form), TFillVariant::Default, {});
    output.Apply(state, *form.Image1->Picture(), [&](TFillStep step) {
        if (auto value = BusyProgress(TFillVariant::Default, step)) progress.Set(*value);
    });
    progress.Set(100);
    output.ShowPreview();
}

void RunStyledGeneration(TForm1& form, const TResumeStyle& style) {
    TResumeTemplate& output = ResumeTemplate();
    const TCurriculoState state = FillCurriculo(ReadResumeData(form), TFillVariant::Styled, style);
    output.Apply(state, *form.Image1->Picture(), [](TFillStep) {});
    output.ShowPreview();
}

void RunSave(TForm1& form, const TResumeStyle& style, const String& fileName, const std::function<void(int)>& progress) {
    TResumeTemplate& output = ResumeTemplate();
    progress(20);
    const TCurriculoState state = FillCurriculo(ReadResumeData(form), TFillVariant::Save, style);
    output.Apply(state, *form.Image1->Picture(), [&](TFillStep step) {
        if (auto value = BusyProgress(TFillVariant::Save, step)) progress(*value);
    });
    output.SavePreparedReport(fileName);
    progress(95);
}
