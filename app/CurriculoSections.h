// What ties the main window to the printed résumé: which field fills which label of the
// template (TCurriculo) and which of the template's sections print.
//
// A section prints when anything the user typed belongs in it, so nothing typed is dropped: a
// band prints when any field whose label lies on it is filled, and a section heading prints when
// any entry of its section does. The headings of the experiences and courses stand on the
// first entry's band; when only later entries are filled that band prints its heading alone.
#pragma once

#include <map>
#include <vector>

#include "app/DataFields.h"
#include "framework/rtl/System.h"

// One main-window field and the template label it fills, on its band.
struct TCurriculoField {
    String Field;  // "edt_exnome2"; "Image1" is the photo, "frase" the phrase chosen
    String Label;  // "empresa2"
    String Band;   // "subexperiencia3"
};

// Every field that reaches the template, band by band in print order.
const std::vector<TCurriculoField>& CurriculoFields();

// Whether a field of the kind holding text counts as filled. A date picker always holds a date,
// so it never decides; a masked field holds its literal characters even when untouched.
bool FieldFilled(TFieldKind kind, const String& text);

enum class TSectionShow {
    Off,
    On,
    HeadingOnly,  // the band prints only its section heading
};

struct TSectionSwitch {
    String Band;
    TSectionShow Show;
    bool operator==(const TSectionSwitch&) const = default;
};

// Main-window field name -> its text as placed in the label (a field not given is empty).
using TFieldTexts = std::map<String, String>;

// How each band of the template prints for the fields' texts, in print order.
std::vector<TSectionSwitch> CurriculoSectionSwitches(const TFieldTexts& texts);

// The bands that stand for a section heading of their own (subinformacoes) or carry one above
// their first entry (subexperiencia1, subcurso1), with the bands of the section's entries.
struct TCurriculoSection {
    String HeadingBand;
    std::vector<String> EntryBands;
};
const std::vector<TCurriculoSection>& CurriculoSections();
