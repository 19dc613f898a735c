// Multi-line rich-text editor over RichEdit20W (riched20.dll). The text's lines are reachable as
// Lines; the control sends no colour requests, so Color is given to it directly. MaxLength holds
// for pasted text too: the editor cuts a paste to what fits itself (riched20 under Wine does not).
#pragma once

#include <memory>

#include "framework/controls/StdCtrls.h"

FV_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

class TRichEdit;

// The editor's text as lines; every change goes straight to the editor's text.
class TRichEditLines : public TStrings {
public:
    explicit TRichEditLines(TRichEdit& editor) : editor_(editor) {}
    String ClassName() const override { return L"TRichEditLines"; }

    int Count() const override;
    String Get(int index) const override;
    void Put(int index, const String& text) override;
    void Insert(int index, const String& text) override;
    void Delete(int index) override;
    void Clear() override;
    String Text() const override;
    void SetText(const String& text) override;

private:
    std::unique_ptr<TStringList> Split() const;
    void Join(const TStringList& lines);

    TRichEdit& editor_;
};

class TRichEdit : public TWinControl {
    FV_CLASS(TRichEdit, TWinControl)
public:
    explicit TRichEdit(TComponent* owner);
    static void Publish(TPublisher<TRichEdit>& p);

    TRichEditLines* Lines() const { return lines_.get(); }
    // At most this many characters can be typed or pasted (0: the control's default).
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    void Clear() { SetText(L""); }

    String GetText() const override;

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void ColorChanged() override;
    void FontChanged() override;
    void KeyDown(Word& key, TShiftState shift) override;
    virtual void Change();

private:
    void ApplyColors();
    int RoomForInsertion() const;
    void Paste(TMessage& message);
    void ReplaceSelection(TMessage& message);

    std::unique_ptr<TRichEditLines> lines_;
    int maxLength_ = 0;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool readOnly_ = false;
};
