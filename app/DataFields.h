// The data fields of the main window: the controls that hold résumé data, by name and kind.
#pragma once

#include <vector>

#include "framework/rtl/System.h"

enum class TFieldKind { Edit, DatePicker, ComboBox, MaskEdit, RichEdit };

struct TDataField {
    String Name;
    TFieldKind Kind;
};

// Every data field of every tab, in tab order.
const std::vector<TDataField>& DataFields();

// The fields that "Limpar Campos" empties: the plain edits. Masked telephone fields, lists,
// dates, the phrase editor and the photo keep their contents.
std::vector<String> FieldsClearedByLimparCampos();
