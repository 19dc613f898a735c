// Stored form descriptions as text: parsing into a tree and formatting a tree back.
//
//   object Form1: TForm1
//     Caption = 'Folhavida'#13#10'3.0' +
//       ' - segunda linha'
//     Left = -4
//     Color = $00FFEEDD
//     Scale = 1.5
//     BorderIcons = [biSystemMenu, biMinimize]
//     Items.Strings = (
//       'Masculino'
//       'Feminino')
//     Picture.Data = {0A0B0C}
//     Columns = <
//       item
//         Width = 5
//       end>
//     object Button1: TButton
//     end
//   end
//
// Pure logic: no windows, no components.
#pragma once

#include <string>
#include <vector>

#include "framework/rtl/System.h"

// A syntax or content error in a description; the message names the description and the line.
class EParserError : public EReadError {
public:
    EParserError(const String& description, int line, const String& message);
    int Line() const { return line_; }
    // The message without the description and line.
    const String& Reason() const { return reason_; }

private:
    int line_;
    String reason_;
};

struct TPropertyNode;

struct TValue {
    enum Kind { vaInteger, vaFloat, vaString, vaIdent, vaSet, vaList, vaBinary, vaCollection };

    Kind Type = vaInteger;
    Int64 Int = 0;
    bool Hex = false;  // Integer written as $hex (colours)
    Extended Float = 0;
    String Text;                            // String and Ident
    std::vector<String> Idents;             // Set
    std::vector<TValue> Items;                // List
    std::vector<Byte> Bytes;                  // Binary
    std::vector<std::vector<TPropertyNode>> CollectionItems;  // Collection
    int Line = 0;
};

struct TPropertyNode {
    String Name;  // dotted path: "Font.Name"
    TValue Value;
    int Line = 0;
};

struct TObjectNode {
    String Name;  // may be empty
    String ClassName;
    std::vector<TPropertyNode> Properties;
    std::vector<TObjectNode> Children;
    int Line = 0;
};

// Raises EParserError. descriptionName appears in messages.
TObjectNode ParseDescription(const String& text, const String& descriptionName);
// UTF-8 bytes, with or without a byte-order mark.
TObjectNode ParseDescriptionUtf8(const std::string& bytes, const String& descriptionName);

String FormatDescription(const TObjectNode& root);

// One value, written as it follows "Name =" in a description; the whole text is the value.
// Raises EParserError.
TValue ParseDescriptionValue(const String& text, const String& descriptionName);
String FormatDescriptionValue(const TValue& value);

// Floats as descriptions write them: the shortest text that reads back to the same value.
String FloatToDescriptionText(Extended value);
bool DescriptionTextToFloat(const String& text, Extended& value);
