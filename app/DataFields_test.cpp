#include "app/DataFields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "framework/classes/Description.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/WinApi.h"

namespace {

// The main window's stored description, compiled into this test program as into Folhavida.
TObjectNode MainWindowDescription() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, L"TForm1", MAKEINTRESOURCEW(10));  // RT_RCDATA
    EXPECT_NE(resource, nullptr);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return ParseDescriptionUtf8(std::string(data, SizeofResource(module, resource)), L"TForm1");
}

// Name -> class of every component of the description.
void CollectClasses(const TObjectNode& node, std::map<String, String>& classes) {
    for (const TObjectNode& child : node.Children) {
        classes[child.Name] = child.ClassName;
        CollectClasses(child, classes);
    }
}

String Lookup(const std::map<String, String>& map, const String& key) {
    auto found = map.find(key);
    return found != map.end() ? found->second : String();
}

const wchar_t* ClassOf(TFieldKind kind) {
    switch (kind) {
    case TFieldKind::Edit: return L"TEdit";
    case TFieldKind::DatePicker: return L"TDateTimePicker";
    case TFieldKind::ComboBox: return L"TComboBox";
    case TFieldKind::MaskEdit: return L"TMaskEdit";
    case TFieldKind::RichEdit: return L"TRichEdit";
    }
    return L"";
}

}  // namespace

TEST(DataFields, TheTableHoldsExactlyTheDataControlsOfTheStoredWindow) {
    std::map<String, String> described;
    CollectClasses(MainWindowDescription(), described);
    std::map<String, String> inTable;
    for (const TDataField& field : DataFields()) inTable[field.Name] = ClassOf(field.Kind);
    std::map<String, String> dataControls;
    for (const auto& [name, cls] : described)
        for (const wchar_t* kind : {L"TEdit", L"TDateTimePicker", L"TComboBox", L"TMaskEdit", L"TRichEdit"})
            if (cls == kind) dataControls[name] = cls;
    EXPECT_EQ(inTable.size(), DataFields().size()) << "a field twice in the table";
    for (const auto& [name, cls] : dataControls)
        EXPECT_EQ(Lookup(inTable, name), cls) << StringToUtf8(name) << " is missing from the table or of another kind";
    for (const auto& [name, cls] : inTable)
        EXPECT_EQ(Lookup(dataControls, name), cls) << StringToUtf8(name) << " is not a data control of the window";
}

TEST(DataFields, LimparCamposEmptiesThePlainEditsOnly) {
    std::map<String, String> described;
    CollectClasses(MainWindowDescription(), described);
    std::vector<String> edits;
    for (const auto& [name, cls] : described)
        if (cls == L"TEdit") edits.push_back(name);
    auto cleared = FieldsClearedByLimparCampos();
    std::sort(cleared.begin(), cleared.end());
    EXPECT_EQ(cleared, edits);
    EXPECT_EQ(cleared.size(), 8u + 15u + 2u + 15u + 6u);  // main tab, experiences, education, courses, information
}
