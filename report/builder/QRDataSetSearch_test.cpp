#include "report/builder/QRDataSetSearch.h"

#include <gtest/gtest.h>

#include "framework/forms/Application.h"
#include "framework/forms/DataModule.h"
#include "report/bands/QRDataSet.h"
#include "testing/ControlTestSupport.h"

namespace {

class TNoFieldsDataSet : public TDataSet {
    FV_CLASS(TNoFieldsDataSet, TDataSet)
public:
    TNoFieldsDataSet(TComponent* owner, const String& name) : TDataSet(owner) { SetName(name); }
    bool Active() const override { return true; }
    void First() override {}
    void Next() override {}
    void Prior() override {}
    bool Eof() const override { return true; }
    int RecordCount() const override { return 0; }

protected:
    int FieldCount() const override { return 0; }
    TQRField* FieldAt(int) override { return nullptr; }
};

std::vector<String> Names(const TStringList& list) {
    std::vector<String> names;
    for (int i = 0; i < list.Count(); ++i) {
        names.push_back(list.Strings(i));
        EXPECT_EQ(dynamic_cast<TDataSet*>(list.Objects(i))->Name(), list.Strings(i));
    }
    return names;
}

TEST(QRDataSetSearch, FindsDataSetsInsideOwnedControlsAndInDataModules) {
    TLocal<TTestRoot> form(nullptr);
    auto* panel = new TTestPanel(&form);
    new TNoFieldsDataSet(panel, L"Customers");
    new TNoFieldsDataSet(&form, L"Orders");
    // Only windowed controls are searched: a dataset owned by another component stays hidden.
    auto* holder = new TDataModule(&form);
    new TNoFieldsDataSet(holder, L"Hidden");
    auto* module = new TDataModule(&Application());
    new TNoFieldsDataSet(module, L"Products");

    EXPECT_EQ(Names(*ListDataSets(&form, false)), (std::vector<String>{L"Customers", L"Orders"}));
    EXPECT_EQ(Names(*ListDataSets(&form, true)), (std::vector<String>{L"Customers", L"Orders", L"Products"}));
    EXPECT_EQ(Names(*ListDataSets(nullptr, true)), (std::vector<String>{L"Products"}));
}

}  // namespace
