// Generating, saving and reopening the résumé. The entered data becomes a template state
// (CurriculoFill.h); TResumeTemplate puts that state onto the report template and hands it to the
// report engine. While a run lasts, its busy indication shows how far it got: the main window's
// progress bar (preview without a style), the style form's OK button (preview with a style) or
// the save form's progress bar (save). A run that fails gives every indication back, so the
// windows stay usable, and lets the error reach the application's handler, which shows it.
#pragma once

#include <functional>
#include <optional>

#include "app/CurriculoFill.h"

class TForm1;
class TPicture;

// The steps of putting a state onto the template, in their order.
enum class TFillStep {
    Font, Colour, Counter, Personal, Photo,
    Experience1, Experience2, Experience3, Experience4, Experience5,
    Schooling, Course1, Course2, Course3, Course4, Course5, Further,
};

// The progress bar's value once step is done, when the variant shows one then.
std::optional<int> BusyProgress(TFillVariant variant, TFillStep step);

// The report template and the engine behind it.
class TResumeTemplate {
public:
    virtual ~TResumeTemplate() = default;
    using TStepDone = std::function<void(TFillStep)>;
    // Sets state and the photo on the template, telling done after each step, then lays the
    // template out and puts the number of pages into txt4 when the state asks for it.
    virtual void Apply(const TCurriculoState& state, const TPicture& photo, const TStepDone& done) = 0;
    // Shows the template's preview; returns when the user has closed it.
    virtual void ShowPreview() = 0;
    // Lays the template out and writes its pages to fileName as a prepared report.
    virtual void SavePreparedReport(const String& fileName) = 0;
    // Shows a saved résumé in a preview of its own, which does not hold the caller up; the
    // previews of files opened earlier stay as they are.
    virtual void OpenPreparedReport(const String& fileName) = 0;
};

// The template the program generates with (set once at start-up; tests set a fake). Null until
// then: generating without a template raises EInvalidOperation.
void SetResumeTemplate(TResumeTemplate* resumeTemplate);
TResumeTemplate& ResumeTemplate();

// "Gerar Curriculo!": asks whether to choose a style; Yes shows the style form, No previews
// without a style.
void RequestGeneration(TForm1& form);
// The three runs.
void RunDefaultGeneration(TForm1& form);
void RunStyledGeneration(TForm1& form, const TResumeStyle& style);
// Reports progress through progress (the save form's bar).
void RunSave(TForm1& form, const TResumeStyle& style, const String& fileName, const std::function<void(int)>& progress);
