#include "framework/classes/PropertyAccess.h"

#include <gtest/gtest.h>

#include "framework/classes/ComponentScope.h"
#include "testing/StreamingTestClasses.h"
#include "framework/rtl/StringUtils.h"

namespace {

// A root "Main" holding the component under test, "Panel", and another one, "Other".
class PropertyAccess : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterColorIdent(L"clTestRed", 0x0000FF);
        RegisterColorIdent(L"clTestSystem", -16777211);  // $FF000005 as a signed colour
        main.SetName(L"Main");
        panel->SetName(L"Panel");
        other->SetName(L"Other");
    }

    TComponentScope scope;  // holds the global roots a dotted reference is looked up in
    TLocal<TTestForm> main{nullptr};
    TTestControl* panel = new TTestControl(&main);
    TTestControl* other = new TTestControl(&main);
};

struct TValueCase {
    const wchar_t* path;
    const wchar_t* text;
    const wchar_t* read;  // GetPropValue afterwards
};

const TValueCase kValues[] = {
    {L"Left", L"-12", L"-12"},
    {L"Left", L"$10", L"16"},
    {L"Big", L"$7FFFFFFFFFFF", L"140737488355327"},
    {L"Visible", L"False", L"False"},
    {L"Align", L"taClient", L"taClient"},
    {L"Font.Style", L"[tsBold, tsUnderline]", L"[tsBold, tsUnderline]"},
    {L"Font.Style", L"[]", L"[]"},
    {L"Caption", L"'It''s'#13#10'two lines'", L"'It''s'#13#10'two lines'"},
    {L"Font.Name", L"'Courier New'", L"'Courier New'"},
    {L"Scale", L"2.5", L"2.5"},
    {L"Scale", L"3", L"3.0"},
    {L"Color", L"clTestRed", L"clTestRed"},
    {L"Color", L"$00112233", L"$00112233"},
    {L"Color", L"$FF000005", L"clTestSystem"},
    {L"Buddy", L"Other", L"Other"},
    {L"Buddy", L"nil", L"nil"},
    {L"Items.Strings", L"('Masculino' 'Feminino')", L"(\r\n  'Masculino'\r\n  'Feminino')"},
    {L"OnClick", L"ButtonClick", L"ButtonClick"},
};

}  // namespace

TEST_F(PropertyAccess, ValuesSetByNameReadBackAsADescriptionWritesThem) {
    for (const TValueCase& c : kValues) {
        SCOPED_TRACE(StringToUtf8(String(c.path) + L" = " + c.text));
        SetPropValue(panel, c.path, c.text);
        EXPECT_EQ(GetPropValue(panel, c.path), c.read);
        SetPropValue(panel, c.path, GetPropValue(panel, c.path));  // and read back in
        EXPECT_EQ(GetPropValue(panel, c.path), c.read);
    }
}

TEST_F(PropertyAccess, SettingByNameAndReadingADescriptionGiveTheSameValue) {
    for (const TValueCase& c : kValues) {
        SCOPED_TRACE(StringToUtf8(String(c.path) + L" = " + c.text));
        const String description = String(L"object Main: TTestForm\r\n  object Panel: TTestControl\r\n    ") +
                                   c.path + L" = " + c.text +
                                   L"\r\n  end\r\n  object Other: TTestControl\r\n  end\r\nend\r\n";
        auto read = CreateComponentFromText(description, L"TTestForm");
        TComponent* readPanel = read->FindComponent(L"Panel");
        ASSERT_NE(readPanel, nullptr);
        SetPropValue(panel, c.path, c.text);
        EXPECT_EQ(GetPropValue(readPanel, c.path), GetPropValue(panel, c.path));
    }
}

TEST_F(PropertyAccess, ValuesReachTheComponent) {
    SetPropValue(panel, L"Left", L"$10");
    SetPropValue(panel, L"Visible", L"False");
    SetPropValue(panel, L"Align", L"taClient");
    SetPropValue(panel, L"Font.Style", L"[tsBold, tsUnderline]");
    SetPropValue(panel, L"Caption", L"'a'#9'b'");
    SetPropValue(panel, L"Color", L"$FF000005");
    SetPropValue(panel, L"Buddy", L"Other");
    SetPropValue(panel, L"OnClick", L"ButtonClick");
    EXPECT_EQ(panel->Left(), 16);
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Align(), taClient);
    EXPECT_EQ(panel->Font()->Style(), (TTestStyles{tsBold, tsUnderline}));
    EXPECT_EQ(panel->Caption(), L"a\tb");
    EXPECT_EQ(panel->Color(), -16777211);
    EXPECT_EQ(panel->Buddy(), other);
    panel->OnClick(panel);
    EXPECT_EQ(main.clicks, std::vector<TObject*>{panel});
    SetPropValue(panel, L"Buddy", L"Main.Other");  // a dotted reference names a root first
    EXPECT_EQ(panel->Buddy(), other);
    EXPECT_TRUE(IsPublishedProp(panel, L"font.size"));
    EXPECT_FALSE(IsPublishedProp(panel, L"Font.Weight"));
}

TEST_F(PropertyAccess, ABadValueRaisesNamingThePropertyAndChangesNothing) {
    const struct {
        const wchar_t* path;
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {L"Align", L"taLeft", L"Invalid value taLeft for property Align: Invalid property value"},
        {L"Left", L"9999999999", L"Invalid value 9999999999 for property Left: Value out of range: 9999999999"},
        {L"Left", L"1 2", L"Invalid value 1 2 for property Left: End of value expected"},
        {L"Caption", L"Arial", L"Invalid value Arial for property Caption: Invalid property value"},
        {L"Caption", L"'open", L"Invalid value 'open for property Caption: Unterminated string"},
        {L"Color", L"clNoSuch", L"Invalid value clNoSuch for property Color: Unknown colour clNoSuch"},
        {L"Buddy", L"Nobody", L"Invalid value Nobody for property Buddy: Unresolved reference to Nobody"},
        {L"Buddy", L"Main", L"Invalid value Main for property Buddy: TTestForm is not a TTestControl"},
        {L"OnClick", L"NoHandler", L"Invalid value NoHandler for property OnClick: Handler NoHandler not found in TTestForm"},
        {L"Items.Strings", L"('a' 2)", L"Invalid value ('a' 2) for property Items.Strings: Invalid property value"},
        {L"Flat", L"True", L"Invalid value True for property Flat: Property Flat does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.path));
        const String before = IsPublishedProp(panel, c.path) ? GetPropValue(panel, c.path) : String();
        try {
            SetPropValue(panel, c.path, c.text);
            ADD_FAILURE() << "no error";
        } catch (const EPropertyError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        if (IsPublishedProp(panel, c.path)) {
            EXPECT_EQ(GetPropValue(panel, c.path), before);
        }
    }
}
