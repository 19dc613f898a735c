// Writing component trees as stored descriptions (the format Reader.h reads).
//
// Published properties are written in registration order, ancestors first, leaving out values
// equal to a declared default and properties not stored; then DefineProperties; then the
// children the component lists with GetChildren.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "framework/classes/Description.h"
#include "framework/classes/Filer.h"

class TPersistent;
struct TPropInfo;

class TWriter : public TFiler {
public:
    // root names references and handlers; it may be null when only global roots can be named.
    explicit TWriter(TComponent* root);

    TObjectNode WriteRootComponent();
    // One property's value as a description writes it, default or not: nil for no reference or
    // handler, an empty list or collection for none. Nothing for a nested persistent, a
    // reference to an unnamed component, or an event bound to other than one of root's handlers.
    std::optional<TValue> PropertyValue(TPersistent* instance, const TPropInfo& info);
    TComponent* Root() const override { return root_; }

    void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& read,
                              const TStreamProc& write, bool hasData) override;

    // Values of a DefineProperty property: exactly one value (a list counts as one).
    void WriteInteger(Int64 value);
    void WriteFloat(Extended value);
    void WriteString(const String& value);
    void WriteBoolean(bool value);
    void WriteIdent(const String& value);
    void WriteListBegin();
    void WriteListEnd();

private:
    TObjectNode WriteComponent(TComponent* component);
    void WriteProperties(TPersistent* instance, const String& prefix,
                         std::vector<TPropertyNode>& out);
    void WriteDefined(const std::function<void(TFiler&)>& define, const String& prefix,
                      std::vector<TPropertyNode>& out);
    void Append(TValue value);

    TComponent* root_;
    std::vector<TPropertyNode>* out_ = nullptr;  // where DefineProperties writes
    String prefix_;
    std::vector<std::vector<TValue>*> values_;   // open lists of a DefineProperty value
};

String WriteComponentToText(TComponent* root);
// UTF-8 text at the stream's position.
void WriteComponentToStream(TComponent* root, TStream& stream);
