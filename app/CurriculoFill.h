// Filling the résumé template: from the entered data and the chosen style to everything the
// template shows, as one value. Applying it to the template is a plain mapping: every name below
// is the name of a component of TCurriculo, and every setting is one property of it.
//
// The three entry points (preview without a style, preview with the chosen style, saving with
// the chosen style) fill alike; they differ only in the style they use. Each sets every caption,
// switch and colour that what it prints depends on, so nothing is left over from an earlier run:
// the lines, the footer's colours, the page counter, the total page count and the title.
#pragma once

#include <map>
#include <vector>

#include "app/ResumeData.h"
#include "framework/graphics/Colors.h"

enum class TFillVariant { Default, Styled, Save };

// The style of the style form: the lettering model's font, the colour and the page counter.
struct TResumeStyle {
    String FontName = L"Arial";
    TColor Color = clBlack;
    bool PageCounter = true;
    bool operator==(const TResumeStyle&) const = default;
};

struct TCurriculoState {
    String ReportTitle;
    // The report's Font.Name, and the font name of each of FontNamedLabels.
    String FontName;
    std::vector<String> FontNamedLabels;
    // The report's Font.Color and Frame.Color, the font colour of each of ColoredLabels and the
    // pen colour of each of ColoredLines.
    TColor Color = clBlack;
    std::vector<String> ColoredLabels;
    std::vector<String> ColoredLines;
    // Band and label switches (Enabled).
    std::map<String, bool> Enabled;
    // Label captions. A label of a switched-off band is not listed: it keeps what it held.
    std::map<String, String> Captions;
    // txt4 shows the number of pages, known once the template has been laid out.
    bool TotalFromPageCount = true;
};

// The style each variant uses: the default generation always "Arial", black, with the counter.
TResumeStyle StyleOfVariant(TFillVariant variant, const TResumeStyle& chosen);

TCurriculoState FillCurriculo(const TResumeData& data, TFillVariant variant, const TResumeStyle& chosen);

// "Curriculo de " and the entered name.
String ResumeTitle(const String& name);
