// The data fields of the main window: the controls that hold résumé data. One table names each
// field by its member of TForm1; binding those members, the Enter chains and "Limpar Campos"
// all follow from it.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"

class TComponent;
class TForm1;

enum class TFieldKind { Edit, DatePicker, ComboBox, MaskEdit, RichEdit };

struct TDataField {
    String Name;  // the control's name: "edt_nome", "edt_exnome3" (experience 3)
    TFieldKind Kind;
    int Chain;  // its Enter chain, one per tab in tab order; -1 where Enter is the field's own
    // The most characters a free-text field takes: as much as its column on the printed résumé
    // holds in the lines it has there. 0 where the field's own contents set the length.
    int MaxLength;
    // Points the form's member at component when that is of the field's class; false otherwise.
    std::function<bool(TForm1& form, TComponent* component)> Attach;
};

// Every data field of every tab, in tab order and, within a tab, in the order Enter walks them.
const std::vector<TDataField>& DataFields();

// The fields that "Limpar Campos" empties: the plain edits. Masked telephone fields, lists,
// dates, the phrase editor and the photo keep their contents.
std::vector<String> FieldsClearedByLimparCampos();
