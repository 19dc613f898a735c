#include "report/builder/QRDataSetSearch.h"

#include "framework/controls/Control.h"
#include "framework/forms/Application.h"
#include "framework/forms/DataModule.h"
#include "report/bands/QRDataSet.h"

namespace {

void AddOwnedDataSets(TComponent& owner, TStringList& list, bool descend) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* component = owner.Components(i);
        if (auto* dataSet = dynamic_cast<TDataSet*>(component))
            list.AddObject(dataSet->Name(), dataSet);
        else if (descend && dynamic_cast<TWinControl*>(component) != nullptr)
            AddOwnedDataSets(*component, list, true);
    }
}

}  // namespace

std::unique_ptr<TStringList> ListDataSets(TComponent* root, bool includeDataModules) {
    auto list = std::make_unique<TStringList>();
    if (root != nullptr) AddOwnedDataSets(*root, *list, true);
    if (includeDataModules) {
        TApplication& application = Application();
        for (int i = 0; i < application.ComponentCount(); ++i)
            if (auto* module = dynamic_cast<TDataModule*>(application.Components(i)))
                AddOwnedDataSets(*module, *list, false);
    }
    return list;
}
