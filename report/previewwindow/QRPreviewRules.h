// What the preview window decides without a window: the page a typed answer asks for, the texts
// of its status line and progress displays, and where a saved report goes (prepared-report file
// or which export filter) from the chosen name and the save dialog's filter.
#pragma once

#include <optional>
#include <vector>

#include "framework/rtl/System.h"
#include "report/filters/QRExportFilter.h"

// The number at the start of the answer as the go-to-page box reads it: leading blanks, a sign,
// decimal or hexadecimal with "$" or "0x"; reading stops at the first character that does not
// fit and keeps what was read ("2x" is 2), 0 when nothing was read. Values beyond the Integer
// range end at its limit.
int ReadPageAnswer(const String& answer);
// The page to go to: the answer's number, or 1 when it lies outside 1..pageCount.
int PageFromAnswer(const String& answer, int pageCount);

// "Page 3 of 12".
String PageStatusText(int page, int pageCount);

// The status line's percentage: it moves in steps of at least 5, is empty at 0 and shows 100%
// once the report is complete.
class TPreviewProgressText {
public:
    // The new text for progress p, or nothing when the shown text stays.
    std::optional<String> Update(int progress);

private:
    int lastShown_ = 0;
};

// The progress window's line ("35%  Completed"). It moves each time the progress reaches a new
// step of 5 percent, so that it does not repaint for every page yet never stands still while the
// progress jumps over the multiples of 5 (three pages: 33, 67, 100).
class TProgressFormSteps {
public:
    // The new line for progress p, or nothing when the window stays as it is.
    std::optional<String> Update(int progress);

private:
    int lastStep_ = -1;
};

// The extensions the save dialog proposes first, by the report's default save type (with dot).
const String& DefaultSaveExtension(int saveType);

// The save dialog's filter: the default extension, the prepared-report entry, every filter of
// the library.
String SaveDialogFilter(const String& defaultExtension, const TQRExportFilterLibrary& library);

struct TSaveTarget {
    String FileName;   // the chosen name, with the extension added when it had none
    String Extension;  // upper case, no dot, at most 3 characters: "QRP", "PDF", "HTM"...
};

// Where a save goes: the chosen name's extension, or when it has none the one of the dialog's
// filter entry (1: the default, 2: the prepared report, 3 on: the library's filters in order),
// which the name then gets.
TSaveTarget ResolveSaveTarget(const String& chosenName, int filterIndex, const String& defaultExtension,
                              const TQRExportFilterLibrary& library);

// Printing with no printer installed: said, since the report would otherwise print nowhere
// without a word.
String NoPrinterMessage();
// Saving over a prepared-report file whose pages a preview shows: the preview holds the file,
// so it cannot be replaced until that preview closes.
String FileInPreviewMessage(const String& fileName);
