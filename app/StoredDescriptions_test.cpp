// Every stored description the program carries names only classes that its start-up registers,
// so a class missing from a registration list fails here and not at a user's start-up. The
// descriptions are found among the program's RCDATA resources: new ones are checked unasked.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/classes/ClassRegistry.h"
#include "framework/classes/Component.h"
#include "framework/classes/Description.h"
#include "framework/rtl/ProgramResources.h"
#include "framework/rtl/StringUtils.h"

namespace {

// A description starts with its root object (after an optional byte-order mark); pictures and
// other data do not.
bool IsStoredDescription(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return bytes.starts_with("object ");
}

// Each class that cannot be created by name, with the first place that names it.
void CollectUncreatable(const TObjectNode& node, const String& description, std::map<String, String>& out) {
    TClass cls = GetClass(node.ClassName);
    if (cls == nullptr || cls->Factory == nullptr || !cls->InheritsFrom(TComponent::StaticClass()))
        out.emplace(node.ClassName, description + L" line " + std::to_wstring(node.Line));
    for (const TObjectNode& child : node.Children) CollectUncreatable(child, description, out);
}

}  // namespace

TEST(StoredDescriptions, EveryDescriptionTheProgramCarriesNamesOnlyRegisteredClasses) {
    std::vector<String> descriptions;
    std::map<String, String> uncreatable;
    for (const String& name : ProgramRcDataNames()) {
        const std::string_view bytes = ProgramRcData(name);
        if (!IsStoredDescription(bytes)) continue;
        descriptions.push_back(name);
        const TObjectNode root = ParseDescriptionUtf8(std::string(bytes), name);
        EXPECT_TRUE(SameText(root.ClassName, name)) << "a description is named after its root class: "
                                                    << StringToUtf8(name);
        CollectUncreatable(root, name, uncreatable);
    }
    for (const wchar_t* form : {L"TForm1", L"Tsobre", L"Tsplash"})
        EXPECT_TRUE(std::any_of(descriptions.begin(), descriptions.end(),
                                [&](const String& name) { return SameText(name, form); }))
            << "not found among the resources: " << StringToUtf8(form);
    EXPECT_EQ(uncreatable, (std::map<String, String>{})) << "classes missing from a registration list";
}
