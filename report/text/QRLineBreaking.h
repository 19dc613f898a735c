// Breaking a label's text into the lines it prints.
//
// Carriage returns end paragraphs (line feeds are dropped). A paragraph is one line with
// AutoSize (the label grows to it); otherwise it is laid out word by word (a word runs up to and
// including a space or hyphen) into lines no wider than the label. A word that is wider than the
// label on its own (an e-mail or web address) is broken between characters over as many lines as
// it needs: nothing the user typed is lost. With WordWrap off a paragraph gives one line, cut to
// the characters that fit.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"

struct TQRLineBreakOptions {
    int Width = 0;  // pixels available for a line
    bool AutoSize = false;
    bool WordWrap = true;
};

// Width in pixels of a line of text.
using TQRTextMeasure = std::function<int(const String& text)>;

std::vector<String> BreakIntoLines(const String& text, const TQRLineBreakOptions& options,
                                   const TQRTextMeasure& measure);
