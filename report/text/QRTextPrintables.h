// The printables that put text on report pages: TQRLabel (a fixed caption, filled by the
// application through AssignCaption), TQRExpr (the value of an expression through a mask) and
// TQRSysData (time, date, page number, report title, detail count or number).
//
// TQRCustomLabel holds what they share: the print text broken into lines (QRLineBreaking.h),
// AutoSize growth, the OnPrint hook, and printing line by line. A label with AutoStretch grows
// its band one line at a time and, when the band cannot grow, leaves PrintFinished off so that
// band printing brings it to the next page, where it resumes at the line it stopped at.
#pragma once

#include <memory>
#include <vector>

#include "report/expressions/QREvaluator.h"
#include "report/printables/QRPrintable.h"
#include "report/text/QRLineBreaking.h"

class TCustomQRReport;

using TQRLabelOnPrintEvent = TMethod<void(TObject* Sender, String& Value)>;

FV_ENUM(TExportType, exptText, exptNumeric, exptFormula)

class TQRCustomLabel : public TQRPrintable {
    FV_CLASS(TQRCustomLabel, TQRPrintable)
public:
    explicit TQRCustomLabel(TComponent* owner);
    ~TQRCustomLabel() override;
    static void Publish(TPublisher<TQRCustomLabel>& p);

    void PrepareForRun() override;
    void PrintAt(int xOffset, int yOffset) override;

    virtual bool UsesCaption() const { return true; }
    // Breaks the print text into the lines printed next; with AutoSize the width follows them.
    virtual void FormatLines();

    const String& Caption() const { return caption_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) { autoSize_ = value; }
    bool AutoStretch() const { return autoStretch_; }
    void SetAutoStretch(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TExportType ExportAs() const { return exportAs_; }
    void SetExportAs(TExportType value) { exportAs_ = value; }
    const std::vector<String>& FormattedLines() const { return formattedLines_; }
    const String& PrintText() const { return printText_; }
    // The index of the next line to print (kept while the label continues on the next page).
    int CurrentLine() const { return currentLine_; }

    void SetName(const String& name) override;
    void SetParent(TWinControl* parent) override;
    void DefineProperties(TFiler& filer) override;

    TQRLabelOnPrintEvent OnPrint;

protected:
    void SetLabelCaption(const String& value);
    // What prints next, leaving the caption as it is.
    void SetPrintText(const String& value) {
        printText_ = value;
        formatted_ = false;
    }
    void Loaded() override;
    void Paint() override;
    void FontChanged() override;
    // The report the label prints on, or null.
    TCustomQRReport* LabelReport() const;
    // Right-to-left reading mirrors the alignment; this framework lays every text out left to
    // right.
    static constexpr bool RightToLeftReading() { return false; }

private:
    int LineWidth(const String& text);
    int OneLineHeight();
    void GrowToOneLine();
    void PrintLine(const String& line, Extended anchorX, Extended y, TAlignment alignment);

    bool formatted_ = false;
    bool autoSize_ = true;
    bool autoStretch_ = false;
    String caption_;
    int currentLine_ = 0;
    String printText_;
    int storedFontSize_ = 0;
    std::vector<String> formattedLines_;
    bool wordWrap_ = true;
    bool updatingBounds_ = false;
    TExportType exportAs_ = exptText;
};

class TQRLabel : public TQRCustomLabel {
    FV_CLASS(TQRLabel, TQRCustomLabel)
public:
    explicit TQRLabel(TComponent* owner) : TQRCustomLabel(owner) {}
    static void Publish(TPublisher<TQRLabel>& p);
    const String& Caption() const { return TQRCustomLabel::Caption(); }
    // Sets the caption and formats it at once; the road by which every field is filled.
    void AssignCaption(const String& value);
};

FV_ENUM(TQRSysDataType, qrsTime, qrsDate, qrsDateTime, qrsPageNumber, qrsReportTitle, qrsDetailCount, qrsDetailNo)

class TQRSysData : public TQRCustomLabel {
    FV_CLASS(TQRSysData, TQRCustomLabel)
public:
    explicit TQRSysData(TComponent* owner);
    static void Publish(TPublisher<TQRSysData>& p);

    void PrintAt(int xOffset, int yOffset) override;

    TQRSysDataType Data() const { return data_; }
    void SetData(TQRSysDataType value);
    const String& Text() const { return text_; }
    void SetText(const String& value);

private:
    void ShowKind();

    TQRSysDataType data_ = qrsTime;
    String text_;
};

// The text of an expression result through a mask: integers through FormatFloat, floats through
// Format when the mask holds "%m", else FormatFloat; strings and errors as they are, booleans as
// "True" / "False". A mask the formatter refuses gives "#ERROR" rather than ending the run.
String FormatExprResult(const TQREvResultRecord& result, const String& mask);

class TQRExpr : public TQRCustomLabel {
    FV_CLASS(TQRExpr, TQRCustomLabel)
public:
    explicit TQRExpr(TComponent* owner);
    ~TQRExpr() override;
    static void Publish(TPublisher<TQRExpr>& p);

    void PrepareForRun() override;
    void PrintAt(int xOffset, int yOffset) override;
    void ReportNotification(TObject* sender, Byte operation) override;
    void ReleaseAfterRun() override;

    const String& Expression() const { return expression_; }
    void SetExpression(const String& value);
    const String& Mask() const { return mask_; }
    void SetMask(const String& value);
    TComponent* Master() const { return master_; }
    void SetMaster(TComponent* value) { master_ = value; }
    bool ResetAfterPrint() const { return resetAfterPrint_; }
    void SetResetAfterPrint(bool value) { resetAfterPrint_ = value; }

private:
    void ShowExpression();

    std::unique_ptr<TQREvaluator> evaluator_;
    String expression_;
    String mask_;
    TComponent* master_ = nullptr;
    bool resetAfterPrint_ = false;
};
