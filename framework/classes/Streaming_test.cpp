#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "framework/classes/ComponentScope.h"
#include "framework/classes/Description.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/StringUtils.h"
#include "testing/StreamingTestClasses.h"

namespace {

TTestControl* Control(TComponent* root, const wchar_t* name) {
    auto* c = dynamic_cast<TTestControl*>(root->FindComponent(name));
    if (c == nullptr) ADD_FAILURE() << "no " << StringToUtf8(name);
    return c;
}

std::unique_ptr<TTestForm> Read(const String& text) {
    auto root = CreateComponentFromText(text, L"TTestForm");
    return std::unique_ptr<TTestForm>(static_cast<TTestForm*>(root.release()));
}

class Streaming : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterColorIdent(L"clTestRed", 0x0000FF);
        LoadedLog().clear();
    }
};

// Hand-written, using every syntax form.
const wchar_t* const kDescription = kStreamingTestDescription;

TEST_F(Streaming, ReadsEveryValueKindIntoANestedTree) {
    auto form = Read(kDescription);
    EXPECT_EQ(form->Name(), L"Main");
    EXPECT_EQ(form->Title(), L"It's a \r\ntest - currículo\u263A");
    ASSERT_EQ(form->ComponentCount(), 3);
    TTestControl* panel = Control(form.get(), L"Panel1");
    TTestControl* edit = Control(form.get(), L"Edit1");
    TTestControl* label = Control(form.get(), L"Label1");
    EXPECT_EQ(panel->Left(), -12);
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Align(), taClient);
    EXPECT_EQ(panel->Big(), 0x7FFFFFFFFFFFLL);
    EXPECT_EQ(panel->Scale(), 1.5);
    EXPECT_EQ(panel->Precise(), 3.14159265358979323846L);
    EXPECT_EQ(panel->Color(), 0x0000FF);
    EXPECT_EQ(panel->Font()->Name(), L"Courier New");
    EXPECT_EQ(panel->Font()->Style(), (TTestStyles{tsBold, tsUnderline}));
    EXPECT_EQ(panel->Font()->Color(), 0x00332211);
    EXPECT_EQ(edit->ParentControl(), panel);
    EXPECT_EQ(label->ParentControl(), nullptr);
    EXPECT_EQ(edit->Buddy(), panel);
    EXPECT_EQ(label->Buddy(), edit);  // a reference to a component read later
    EXPECT_EQ(edit->Items()->Text(), L"Masculino\r\nFeminino\r\n\r\n");
    ASSERT_EQ(edit->Columns()->Count(), 2);
    auto* first = static_cast<TTestColumn*>(edit->Columns()->Items(0));
    auto* second = static_cast<TTestColumn*>(edit->Columns()->Items(1));
    EXPECT_EQ(first->Title(), L"Nome");
    EXPECT_EQ(first->Width(), 120);
    EXPECT_EQ(second->Width(), 64);
    EXPECT_EQ(edit->Data, (std::vector<Byte>{0x0A, 0x0B, 0xFF}));
    EXPECT_EQ(edit->Values, (std::vector<Extended>{1.25L, -2.0L, 1E300L}));
    EXPECT_EQ(LoadedLog(), (std::vector<String>{L"Main", L"Panel1", L"Edit1", L"Label1"}));
    EXPECT_FALSE(edit->ComponentState().Contains(csLoading));
    EXPECT_FALSE(edit->ComponentState().Contains(csReading));

    // Events are bound to the root's handlers and equal to the same method built in code.
    EXPECT_EQ(panel->OnClick, TNotifyEvent(form.get(), &TTestForm::ButtonClick));
    EXPECT_EQ(panel->OnClick, label->OnClick);
    panel->OnClick(panel);
    EXPECT_EQ(form->clicks, std::vector<TObject*>{panel});
    int value = 21;
    bool handled = false;
    edit->OnCheck(edit, value, handled);
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(handled);
}

TEST_F(Streaming, WriteThenReadGivesAnEqualTree) {
    auto form = Read(kDescription);
    String first = WriteComponentToText(form.get());
    auto again = Read(first);
    String second = WriteComponentToText(again.get());
    EXPECT_EQ(first, second);
    // Spot checks of what the writer produced.
    EXPECT_NE(first.find(L"object Edit1: TTestControl"), String::npos);
    EXPECT_NE(first.find(L"Color = clTestRed"), String::npos);
    EXPECT_NE(first.find(L"Font.Color = $00332211"), String::npos) << StringToUtf8(first);
    EXPECT_NE(first.find(L"OnCheck = CheckValue"), String::npos);
    EXPECT_NE(first.find(L"Buddy = Panel1"), String::npos);
    EXPECT_EQ(first.find(L"Tag ="), String::npos);  // default left out
    EXPECT_EQ(first.find(L" Name ="), String::npos);  // in the object line instead
    TTestControl* edit = Control(again.get(), L"Edit1");
    EXPECT_EQ(edit->Precise(), Control(form.get(), L"Edit1")->Precise());
    EXPECT_EQ(Control(again.get(), L"Panel1")->Precise(), 3.14159265358979323846L);
    EXPECT_EQ(edit->Data, (std::vector<Byte>{0x0A, 0x0B, 0xFF}));
    EXPECT_EQ(edit->Values, (std::vector<Extended>{1.25L, -2.0L, 1E300L}));
    EXPECT_EQ(edit->ParentControl(), Control(again.get(), L"Panel1"));
}

TEST_F(Streaming, ReadsIntoAnExistingRootAndItsExistingComponents) {
    TLocal<TTestForm> form(nullptr);
    auto* existing = new TTestControl(&form);
    existing->SetName(L"Label1");
    ReadComponentFromText(&form, kDescription, L"TTestForm");
    EXPECT_EQ(form.Name(), L"Main");
    EXPECT_EQ(form.ComponentCount(), 3);
    EXPECT_EQ(form.FindComponent(L"Label1"), existing);
    EXPECT_EQ(existing->Buddy(), form.FindComponent(L"Edit1"));
}

TEST_F(Streaming, ReferencesAcrossRoots) {
    TComponentScope scope;  // holds the global roots
    TLocal<TTestForm> other(nullptr);
    other.SetName(L"Other");
    (new TTestControl(&other))->SetName(L"Shared");
    RegisterGlobalRoot(&other);
    auto form = Read(L"object F: TTestForm\n object A: TTestControl\n  Buddy = Other.Shared\n end\nend\n");
    EXPECT_EQ(Control(form.get(), L"A")->Buddy(), other.FindComponent(L"Shared"));
    EXPECT_NE(WriteComponentToText(form.get()).find(L"Buddy = Other.Shared"), String::npos);
}

TEST_F(Streaming, ErrorsNameTheDescriptionLineAndProperty) {
    struct Case {
        const char* what;
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {"unknown class", L"object F: TTestForm\n  object A: TNoSuchClass\n  end\nend",
         L"TTestForm(2): Class TNoSuchClass not found"},
        {"unknown property", L"object F: TTestForm\n  object A: TTestControl\n    Lef = 1\n  end\nend",
         L"TTestForm(3): Error reading A.Lef: Property Lef does not exist"},
        {"unknown nested property", L"object F: TTestForm\n object A: TTestControl\n\n Font.Weight = 1\n end\nend",
         L"TTestForm(4): Error reading A.Font.Weight: Property Weight does not exist"},
        {"wrong value kind", L"object F: TTestForm\n  object A: TTestControl\n    Left = 'x'\n  end\nend",
         L"TTestForm(3): Error reading A.Left: Invalid property value"},
        {"unknown enum", L"object F: TTestForm\n  object A: TTestControl\n    Align = alLeft\n  end\nend",
         L"TTestForm(3): Error reading A.Align: Invalid property value"},
        {"out of range", L"object F: TTestForm\n  object A: TTestControl\n    Left = 4294967296\n  end\nend",
         L"TTestForm(3): Error reading A.Left: Value out of range: 4294967296"},
        {"unknown handler", L"object F: TTestForm\n  object A: TTestControl\n    OnClick = Missing\n  end\nend",
         L"TTestForm(3): Error reading A.OnClick: Handler Missing not found in TTestForm"},
        {"handler of another shape", L"object F: TTestForm\n  object A: TTestControl\n    OnClick = CheckValue\n  end\nend",
         L"TTestForm(3): Error reading A.OnClick: Handler CheckValue does not fit event OnClick"},
        {"dangling reference", L"object F: TTestForm\n  object A: TTestControl\n    Buddy = Nobody\n  end\nend",
         L"TTestForm(3): Error reading A.Buddy: Unresolved reference to Nobody"},
        {"duplicate name", L"object F: TTestForm\n object A: TTestControl\n end\n object a: TTestControl\n end\nend",
         L"TTestForm(4): A component named a already exists"},
        {"oversized binary length", L"object F: TTestForm\n object A: TTestControl\n  Data = {05000000 0102}\n end\nend",
         L"TTestForm(3): Error reading A.Data: Invalid binary data length 5"},
        {"negative binary length", L"object F: TTestForm\n object A: TTestControl\n  Data = {FFFFFFFF 0102}\n end\nend",
         L"TTestForm(3): Error reading A.Data: Invalid binary data length -1"},
        {"truncated binary length", L"object F: TTestForm\n object A: TTestControl\n  Data = {0100}\n end\nend",
         L"TTestForm(3): Error reading A.Data: Stream read error"},
        {"odd hex digits", L"object F: TTestForm\n object A: TTestControl\n  Data = {010}\n end\nend",
         L"TTestForm(3): Binary data needs two hexadecimal digits per byte"},
        {"unterminated binary", L"object F: TTestForm\n object A: TTestControl\n  Data = {0100",
         L"TTestForm(3): '}' expected"},
        {"binary for a list", L"object F: TTestForm\n object A: TTestControl\n  Values = {00}\n end\nend",
         L"TTestForm(3): Error reading A.Values: List expected"},
        {"unterminated string", L"object F: TTestForm\n  Title = 'abc\nend",
         L"TTestForm(2): Unterminated string"},
        {"missing end", L"object F: TTestForm\n  Title = 'abc'\n", L"TTestForm(3): 'end' expected"},
        {"wrong root class", L"object F: TTestControl\nend",
         L"TTestForm(1): A TTestForm cannot be read from the description of TTestControl"},
    };
    for (const Case& c : cases) {
        TLocal<TTestForm> form(nullptr);
        try {
            ReadComponentFromText(&form, c.text, L"TTestForm");
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        for (int i = 0; i < form.ComponentCount(); ++i)
            EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csLoading)) << c.what;
    }
}

// Inputs the parser met under fuzzing: each is refused with a parser error or read without
// undefined behaviour, and what is read formats back to text that parses to the same text.
TEST_F(Streaming, HostileNumbersAndNestingAreRefusedOrReadSafely) {
    auto nestedLists = [](int depth) {
        return L"object F: TTestForm\n Values = " + String(static_cast<size_t>(depth), L'(') +
               String(static_cast<size_t>(depth), L')') + L"\nend\n";
    };
    auto nestedObjects = [](int depth) {
        String text;
        for (int i = 0; i < depth; ++i) text += L"object A: TTestControl\n";
        for (int i = 0; i < depth; ++i) text += L"end\n";
        return text;
    };
    EXPECT_NO_THROW(ParseDescription(nestedLists(99), L"deep"));
    EXPECT_NO_THROW(ParseDescription(nestedObjects(100), L"deep"));
    struct Case {
        const char* what;
        String text;
        String message;
    } const refused[] = {
        {"lists past the nesting bound", nestedLists(100), L"deep(2): Description nested too deeply"},
        {"objects past the nesting bound", nestedObjects(101), L"deep(101): Description nested too deeply"},
        {"negative float beyond range", L"object F: TTestForm\n Ratio = -1e99999\nend",
         L"deep(2): Invalid number -1e99999"},
        {"positive float beyond range", L"object F: TTestForm\n Ratio = 1.5E+5000\nend",
         L"deep(2): Invalid number 1.5E+5000"},
    };
    for (const Case& c : refused) {
        try {
            ParseDescription(c.text, L"deep");
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
    }

    // Hexadecimal values wrap as 64-bit numbers, the most negative one included.
    struct Value {
        const wchar_t* text;
        Int64 value;
    } values[] = {{L"-$8000000000000000", INT64_MIN}, {L"$FFFFFFFFFFFFFFFF", -1}, {L"-$1", -1}};
    for (const Value& v : values) {
        TValue value = ParseDescriptionValue(v.text, L"value");
        EXPECT_EQ(value.Int, v.value) << StringToUtf8(v.text);
        const String text = FormatDescriptionValue(value);
        EXPECT_EQ(FormatDescriptionValue(ParseDescriptionValue(text, L"again")), text);
    }
}

TEST_F(Streaming, StreamsCarryUtf8) {
    auto form = Read(kDescription);
    TMemoryStream stream;
    WriteComponentToStream(form.get(), stream);
    stream.SetPosition(0);
    TLocal<TTestForm> copy(nullptr);
    ReadComponentFromStream(&copy, stream, L"copy");
    EXPECT_EQ(copy.Title(), form->Title());
}

}  // namespace
