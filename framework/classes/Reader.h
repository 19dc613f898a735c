// Reading stored descriptions into component trees.
//
// The reader creates the owned components by registered class (or reuses one the root already
// owns under that name), sets their properties, binds events to the root's handlers by name,
// resolves component references once the whole description is read, and then calls Loaded on
// every component in reading order. Errors raise EParserError naming the description, the line
// and the property or class.
#pragma once

#include <functional>

#include <memory>
#include <vector>

#include "framework/classes/Description.h"
#include "framework/classes/Filer.h"

class TPersistent;
class TStrings;
struct TPropInfo;

class TReader : public TFiler {
public:
    explicit TReader(String descriptionName);

    // root must be of the described class or derive from it.
    void ReadRootComponent(TComponent* root, const TObjectNode& description);
    // One property of instance (path may be dotted), by the same rules: references resolve at
    // once in root (when there is one) and among the global roots, events bind to root's
    // handlers. Errors raise the bare reason, without description and line.
    void ReadSingleProperty(TComponent* root, TPersistent* instance, const TPropertyNode& property);
    TComponent* Root() const override { return root_; }

    void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& read,
                              const TStreamProc& write, bool hasData) override;

    // The value of a DefineProperty property, read in order; a mismatch or reading past the
    // end raises EReadError.
    TValue::Kind NextValue() const;
    Int64 ReadInteger();
    Extended ReadFloat();  // integers too
    String ReadString();
    bool ReadBoolean();
    String ReadIdent();
    void ReadListBegin();
    bool EndOfList() const;
    void ReadListEnd();

private:
    struct TFixup {
        TPersistent* instance;
        const TPropInfo* info;
        String reference;
        String path;  // for messages
        int line;
    };
    struct TCursor {
        const std::vector<TValue>* values;
        size_t position;
    };

    void ReadComponent(TComponent* parent, const TObjectNode& node);
    TComponent* FindOrCreate(const TObjectNode& node);
    void ReadProperties(TPersistent* instance, const std::vector<TPropertyNode>& props);
    void ReadProperty(TPersistent* instance, const TPropertyNode& prop);
    void SetProperty(TPersistent* instance, const TPropInfo& info, const TPropertyNode& prop);
    void ReadDefined(TPersistent* instance, const String& name, const TValue& value);
    void ReadDefined(const std::function<void(TFiler&)>& define, const String& name,
                     const TValue& value);
    void FixupReferences();
    void ApplyFixup(const TFixup& fixup);
    TComponent* FindReference(const String& name) const;
    void ReadStrings(TStrings* strings, const TValue& value);
    void BeginLoading(TComponent* component);
    [[noreturn]] void Fail(int line, const String& message) const;
    const TValue& Take(TValue::Kind kind, const wchar_t* expected);

    String name_;
    TComponent* root_ = nullptr;
    std::vector<TComponent*> loaded_;
    std::vector<TFixup> fixups_;
    String wantedName_;  // the property DefineProperties is asked about
    const TValue* wantedValue_ = nullptr;
    bool wantedFound_ = false;
    std::vector<TCursor> cursors_;
};

void ReadComponentFromText(TComponent* root, const String& text, const String& descriptionName);
// The stream holds UTF-8 text from its position to its end.
void ReadComponentFromStream(TComponent* root, TStream& stream, const String& descriptionName);
// A new, unowned root of the described class.
std::unique_ptr<TComponent> CreateComponentFromText(const String& text,
                                                    const String& descriptionName);
