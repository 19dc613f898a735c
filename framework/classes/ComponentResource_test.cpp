#include "framework/classes/ComponentResource.h"

#include <gtest/gtest.h>

#include "framework/classes/ComponentScope.h"
#include "framework/rtl/StringUtils.h"
#include "testing/StreamingTestClasses.h"

namespace {

TTestControl* Control(TComponent* root, const wchar_t* name) {
    auto* c = dynamic_cast<TTestControl*>(root->FindComponent(name));
    if (c == nullptr) ADD_FAILURE() << "no " << StringToUtf8(name);
    return c;
}

TEST(ComponentResource, DescriptionCompiledAsResourceBuildsATree) {
    RegisterColorIdent(L"clTestRed", 0x0000FF);
    LoadedLog().clear();
    TLocal<TTestForm> form(nullptr);
    ReadComponentResource(&form, L"TTestForm");
    EXPECT_EQ(form.Name(), L"ResourceForm");
    EXPECT_EQ(form.Title(), L"Folhavida 3.0 - Crie o seu currículo com facilidade!");
    TTestControl* combo = Control(&form, L"edt_sexo");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ParentControl(), Control(&form, L"TabSheet1"));
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->OnClick, TNotifyEvent(&form, &TTestForm::OtherClick));
    EXPECT_THROW(ReadComponentResource(&form, L"TNoSuchForm"), EResNotFound);
}

}  // namespace
