// Components used by the streaming tests and benchmark: together they publish every kind of
// property a description can hold.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/classes/Collection.h"
#include "framework/classes/Component.h"
#include "framework/classes/Filer.h"
#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/rtl/StringList.h"

FV_ENUM(TTestAlign, taNone, taTop, taBottom, taClient)
FV_ENUM(TTestStyle, tsBold, tsItalic, tsUnderline)
using TTestStyles = TSet<TTestStyle>;
using TCheckEvent = TMethod<void(TObject* Sender, int& Value, bool& Handled)>;

inline std::vector<String>& LoadedLog() {
    static std::vector<String> log;
    return log;
}

class TTestFont : public TPersistent {
    FV_CLASS(TTestFont, TPersistent)
public:
    static void Publish(TPublisher<TTestFont>& p) {
        p.Property(L"Name", &TTestFont::Name, &TTestFont::SetName);
        p.Property(L"Size", &TTestFont::Size, &TTestFont::SetSize).Default(8);
        p.Property(L"Style", &TTestFont::Style, &TTestFont::SetStyle).Default(TTestStyles{});
        p.ColorProperty(L"Color", &TTestFont::Color, &TTestFont::SetColor).Default(0);
    }
    String Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    TTestStyles Style() const { return style_; }
    void SetStyle(TTestStyles style) { style_ = style; }
    std::int32_t Color() const { return color_; }
    void SetColor(std::int32_t color) { color_ = color; }

private:
    String name_ = L"Tahoma";
    int size_ = 8;
    TTestStyles style_;
    std::int32_t color_ = 0;
};

class TTestColumn : public TCollectionItem {
    FV_CLASS(TTestColumn, TCollectionItem)
public:
    explicit TTestColumn(TCollection* collection) : TCollectionItem(collection) {}
    static void Publish(TPublisher<TTestColumn>& p) {
        p.Property(L"Title", &TTestColumn::Title, &TTestColumn::SetTitle);
        p.Property(L"Width", &TTestColumn::Width, &TTestColumn::SetWidth).Default(64);
    }
    String Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width; }

private:
    String title_;
    int width_ = 64;
};

// A control-like component: it nests inside another in descriptions.
class TTestControl : public TComponent {
    FV_CLASS(TTestControl, TComponent)
public:
    explicit TTestControl(TComponent* owner)
        : TComponent(owner), columns_(std::make_unique<TCollection>(TTestColumn::StaticClass(), this)) {}

    static void Publish(TPublisher<TTestControl>& p) {
        p.Property(L"Left", &TTestControl::Left, &TTestControl::SetLeft);
        p.Property(L"Visible", &TTestControl::Visible, &TTestControl::SetVisible).Default(true);
        p.Property(L"Align", &TTestControl::Align, &TTestControl::SetAlign).Default(taNone);
        p.Property(L"Caption", &TTestControl::Caption, &TTestControl::SetCaption).Default(L"");
        p.Property(L"Scale", &TTestControl::Scale, &TTestControl::SetScale).Default(0.0);
        p.Property(L"Precise", &TTestControl::Precise, &TTestControl::SetPrecise).Default(0.0L);
        p.Property(L"Big", &TTestControl::Big, &TTestControl::SetBig).Default(0);
        p.ColorProperty(L"Color", &TTestControl::Color, &TTestControl::SetColor).Default(0x00FFFFFF);
        p.Property(L"Items", &TTestControl::Items);
        p.Property(L"Font", &TTestControl::Font);
        p.Property(L"Buddy", &TTestControl::Buddy, &TTestControl::SetBuddy);
        p.Property(L"Columns", &TTestControl::Columns);
        p.Event(L"OnClick", &TTestControl::OnClick);
        p.Event(L"OnCheck", &TTestControl::OnCheck);
    }

    int Left() const { return left_; }
    void SetLeft(int left) { left_ = left; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    TTestAlign Align() const { return align_; }
    void SetAlign(TTestAlign align) { align_ = align; }
    String Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    double Scale() const { return scale_; }
    void SetScale(double scale) { scale_ = scale; }
    Extended Precise() const { return precise_; }
    void SetPrecise(Extended precise) { precise_ = precise; }
    Int64 Big() const { return big_; }
    void SetBig(Int64 big) { big_ = big; }
    std::int32_t Color() const { return color_; }
    void SetColor(std::int32_t color) { color_ = color; }
    TStringList* Items() const { return items_.get(); }
    TTestFont* Font() const { return font_.get(); }
    TTestControl* Buddy() const { return buddy_; }
    void SetBuddy(TTestControl* buddy) {
        if (buddy_ != nullptr) buddy_->RemoveFreeNotification(this);
        buddy_ = buddy;
        if (buddy_ != nullptr) buddy_->FreeNotification(this);
    }
    TCollection* Columns() const { return columns_.get(); }

    TTestControl* ParentControl() const { return parent_; }
    bool HasParent() const override { return parent_ != nullptr; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* parent) override {
        parent_ = dynamic_cast<TTestControl*>(parent);
    }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
        for (int i = 0; i < root->ComponentCount(); ++i) {
            auto* c = dynamic_cast<TTestControl*>(root->Components(i));
            if (c != nullptr && c->parent_ == this) proc(c);
        }
    }

    // Binary data: a 32-bit length and the bytes. A list of floats in a value of its own.
    std::vector<Byte> Data;
    std::vector<Extended> Values;

    void DefineProperties(TFiler& filer) override {
        TComponent::DefineProperties(filer);
        filer.DefineBinaryProperty(
            L"Data", [this](TStream& s) { Data = ReadLengthPrefixedBytes(s); },
            [this](TStream& s) { WriteLengthPrefixedBytes(s, Data); }, !Data.empty());
        filer.DefineProperty(
            L"Values",
            [this](TReader& r) {
                Values.clear();
                r.ReadListBegin();
                while (!r.EndOfList()) Values.push_back(r.ReadFloat());
                r.ReadListEnd();
            },
            [this](TWriter& w) {
                w.WriteListBegin();
                for (Extended v : Values) w.WriteFloat(v);
                w.WriteListEnd();
            },
            !Values.empty());
    }

    TNotifyEvent OnClick;
    TCheckEvent OnCheck;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == buddy_) buddy_ = nullptr;
    }
    void Loaded() override {
        TComponent::Loaded();
        LoadedLog().push_back(Name());
    }

private:
    int left_ = 0;
    bool visible_ = true;
    TTestAlign align_ = taNone;
    String caption_;
    double scale_ = 0;
    Extended precise_ = 0;
    Int64 big_ = 0;
    std::int32_t color_ = 0x00FFFFFF;
    std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
    std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
    TTestControl* buddy_ = nullptr;
    TTestControl* parent_ = nullptr;
    std::unique_ptr<TCollection> columns_;
};

// A root with handler methods that its descriptions bind by name.
class TTestForm : public TComponent {
    FV_CLASS(TTestForm, TComponent)
public:
    explicit TTestForm(TComponent* owner) : TComponent(owner) {}

    static void Publish(TPublisher<TTestForm>& p) {
        p.Property(L"Title", &TTestForm::Title, &TTestForm::SetTitle);
        p.Handler(L"ButtonClick", &TTestForm::ButtonClick);
        p.Handler(L"OtherClick", &TTestForm::OtherClick);
        p.Handler(L"CheckValue", &TTestForm::CheckValue);
    }

    String Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }

    void ButtonClick(TObject* sender) { clicks.push_back(sender); }
    void OtherClick(TObject*) { ++otherClicks; }
    void CheckValue(TObject*, int& value, bool& handled) {
        value *= 2;
        handled = true;
    }

    std::vector<TObject*> clicks;
    int otherClicks = 0;

protected:
    void Loaded() override {
        TComponent::Loaded();
        LoadedLog().push_back(Name());
    }

private:
    String title_;
};

// Registration of the test classes, as a layer's list does it (idempotent).
inline void RegisterStreamingTestClasses() {
    RegisterClasses<TTestFont, TTestColumn, TTestControl, TTestForm>();
}

// A description of these classes with every kind of value, as the streaming tests read it.
inline constexpr const wchar_t* kStreamingTestDescription = LR"(object Main: TTestForm
  Title = 'It''s a '#13#10'test - ' +
    'currículo'#$263A
  object Panel1: TTestControl
    Left = -12
    Visible = False
    Align = taClient
    Big = $7FFFFFFFFFFF
    Scale = 1.5
    Precise = 3.14159265358979323846
    Color = clTestRed
    Caption = ''
    Font.Name = 'Courier New'
    Font.Style = [tsBold, tsUnderline]
    Font.Color = $00332211
    OnClick = ButtonClick
    object Edit1: TTestControl
      Buddy = Panel1
      Items.Strings = (
        'Masculino'
        'Feminino'
        '')
      Columns = <
        item
          Title = 'Nome'
          Width = 120
        end
        item
        end>
      OnCheck = CheckValue
      Data = {
        03000000 0A0BFF}
      Values = (1.25 -2 1E300)
    end
  end
  object Label1: TTestControl
    Buddy = Edit1
    Font.Style = []
    OnClick = ButtonClick
  end
end
)";
