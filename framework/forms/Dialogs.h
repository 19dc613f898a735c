// Message dialogs (a form of window class "TMessageForm") and the common file dialogs.
#pragma once

#include <memory>

#include "framework/forms/Form.h"
#include "framework/rtl/StringList.h"

FV_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
FV_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
        mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// The message form: icon, text and a row of buttons (TButton named "OK", "Yes", "Cancel", ...)
// that end it with their modal result. OK (or Yes, or the first button) answers Enter; Cancel (or
// No, or the last button) answers Escape.
class TMessageForm : public TForm {
    FV_CLASS(TMessageForm, TForm)
public:
    TMessageForm(TComponent* owner, const String& message, TMsgDlgType type, TMsgDlgButtons buttons);
    explicit TMessageForm(TComponent* owner) : TMessageForm(owner, L"", mtCustom, TMsgDlgButtons{mbOK}) {}
    ~TMessageForm() override;

    const String& Message() const { return message_; }

protected:
    void Paint() override;

private:
    void Layout(TMsgDlgButtons buttons);
    TRect TextRect() const;

    String message_;
    HICON icon_ = nullptr;
};

std::unique_ptr<TMessageForm> CreateMessageDialog(const String& message, TMsgDlgType type,
                                                  TMsgDlgButtons buttons);
// The modal result of the button pressed (mrCancel when the window was closed).
int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// The message with an OK button, captioned with the application's title.
void ShowMessage(const String& message);

FV_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp,
        ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist,
        ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton,
        ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing)
using TOpenOptions = TSet<TOpenOption>;

// The system's file dialogs. Filter is "Description|*.ext;*.ext2|..."; FilterIndex counts from 1.
class TOpenDialog : public TComponent {
    FV_CLASS(TOpenDialog, TComponent)
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;
    static void Publish(TPublisher<TOpenDialog>& p);

    const String& Title() const { return title_; }
    void SetTitle(const String& value) { title_ = value; }
    const String& Filter() const { return filter_; }
    void SetFilter(const String& value) { filter_ = value; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    const String& FileName() const { return fileName_; }
    void SetFileName(const String& value) { fileName_ = value; }
    const String& InitialDir() const { return initialDir_; }
    void SetInitialDir(const String& value) { initialDir_ = value; }
    const String& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const String& value) { defaultExt_ = value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }
    // The chosen files (one unless ofAllowMultiSelect).
    TStrings* Files() const { return files_.get(); }

    // Shows the dialog; true when the user chose a file (FileName, Files, FilterIndex updated).
    virtual bool Execute();

protected:
    bool Run(bool save);

private:
    String title_;
    String filter_;
    int filterIndex_ = 1;
    String fileName_;
    String initialDir_;
    String defaultExt_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
    std::unique_ptr<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
    FV_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override;
};

// An open dialog whose default filter lists the registered picture formats.
class TOpenPictureDialog : public TOpenDialog {
    FV_CLASS(TOpenPictureDialog, TOpenDialog)
public:
    explicit TOpenPictureDialog(TComponent* owner);
};
