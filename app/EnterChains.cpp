#include "app/EnterChains.h"

#include "app/DataFields.h"

const std::vector<std::vector<String>>& EnterChains() {
    static const std::vector<std::vector<String>> chains = [] {
        std::vector<std::vector<String>> result;
        for (const TDataField& field : DataFields()) {
            if (field.Chain < 0) continue;
            if (static_cast<size_t>(field.Chain) >= result.size()) result.resize(static_cast<size_t>(field.Chain) + 1);
            result[static_cast<size_t>(field.Chain)].push_back(field.Name);
        }
        return result;
    }();
    return chains;
}

String NextFieldOnEnter(const String& field) {
    for (const auto& chain : EnterChains())
        for (size_t i = 0; i + 1 < chain.size(); ++i)
            if (chain[i] == field) return chain[i + 1];
    return String();
}

std::vector<String> FieldsWithEnterHandler() {
    std::vector<String> fields;
    for (const auto& chain : EnterChains())
        fields.insert(fields.end(), chain.begin(), chain.end() - 1);
    return fields;
}
