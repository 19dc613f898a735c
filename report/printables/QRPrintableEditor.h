// The run-time property editor of a printable: what an editing window reads of the control and
// changes in it. The base answers neutral values; the label and expression editors implement it.
#pragma once

#include <memory>

#include "framework/controls/StdCtrls.h"

class TQRPrintable;
class TQRPrintableEditor;

// An editor class: its name and constructor (null while the class is abstract).
struct TQRPrintableEditorClassInfo {
    const wchar_t* Name;
    std::unique_ptr<TQRPrintableEditor> (*Create)(TQRPrintable* printable);
};
using TQRPrintableEditorClass = const TQRPrintableEditorClassInfo*;

class TQRPrintableEditor : public TObject {
public:
    explicit TQRPrintableEditor(TQRPrintable* printable) : printable_(printable) {}
    static TQRPrintableEditorClass EditorClass() {
        static const TQRPrintableEditorClassInfo info{L"TQRPrintableEditor", nullptr};
        return &info;
    }
    String ClassName() const override { return L"TQRPrintableEditor"; }

    virtual TColor ControlColor() const { return 0; }
    virtual TFont* ControlFont() const { return nullptr; }
    virtual TClass EditedClass() const;
    virtual String ValueText() const { return String(); }
    virtual String GlyphName() const { return String(); }
    virtual String DisplayName() const { return String(); }
    virtual TAlignment ControlAlignment() const { return taLeftJustify; }
    virtual void ChangeAlignment(TAlignment) {}
    virtual void ChangeColor(TColor color) = 0;
    virtual void ChangeFont(const TFont& font) = 0;
    virtual void ChangeValue(const String& value) = 0;
    virtual bool ShowEditor() = 0;

    TQRPrintable* Printable() const { return printable_; }

private:
    TQRPrintable* printable_;
};
