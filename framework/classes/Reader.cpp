#include "framework/classes/Reader.h"

#include "framework/classes/Collection.h"
#include "framework/classes/Component.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/Streams.h"

namespace {

[[noreturn]] void InvalidValue() {
    throw EReadError(L"Invalid property value");
}

bool ClassChainHas(TClass cls, const String& name) {
    for (TClass c = cls; c != nullptr; c = c->Parent)
        if (SameText(c->Name, name)) return true;
    return false;
}

String UniqueName(TComponent* component, const String& name) {
    TComponent* owner = component->Owner();
    if (owner == nullptr || owner->FindComponent(name) == nullptr) return name;
    for (int i = 1;; ++i) {
        String candidate = name + L"_" + std::to_wstring(i);
        if (owner->FindComponent(candidate) == nullptr) return candidate;
    }
}

}  // namespace

TReader::TReader(String descriptionName) : name_(std::move(descriptionName)) {}

void TReader::Fail(int line, const String& message) const {
    throw EParserError(name_, line, message);
}

void TReader::ReadRootComponent(TComponent* root, const TObjectNode& description) {
    if (!ClassChainHas(root->ClassType(), description.ClassName))
        Fail(description.Line, Format(L"A %s cannot be read from the description of %s",
                                      {root->ClassName(), description.ClassName}));
    root_ = root;
    try {
        if (root->Name().empty() && !description.Name.empty()) {
            try {
                root->SetName(UniqueName(root, description.Name));
            } catch (const Exception& e) {
                Fail(description.Line, e.Message());
            }
        }
        BeginLoading(root);
        ReadProperties(root, description.Properties);
        for (const TObjectNode& child : description.Children) ReadComponent(root, child);
        root->state_.Exclude(csReading);
        FixupReferences();
    } catch (...) {
        for (TComponent* c : loaded_) c->state_ = c->state_ - TComponentState{csLoading, csReading};
        throw;
    }
    for (TComponent* c : loaded_) c->Loaded();
}

void TReader::ReadSingleProperty(TComponent* root, TPersistent* instance, const TPropertyNode& property) {
    root_ = root;
    fixups_.clear();
    ReadProperty(instance, property);
    for (const TFixup& fixup : fixups_) ApplyFixup(fixup);
    fixups_.clear();
}

void TReader::BeginLoading(TComponent* component) {
    component->state_ = component->state_ + TComponentState{csLoading, csReading};
    loaded_.push_back(component);
}

void TReader::ReadComponent(TComponent* parent, const TObjectNode& node) {
    TComponent* component = FindOrCreate(node);
    BeginLoading(component);
    try {
        component->SetParentComponent(parent);
    } catch (const Exception& e) {
        Fail(node.Line, Format(L"Error reading %s: %s", {node.Name, e.Message()}));
    }
    ReadProperties(component, node.Properties);
    for (const TObjectNode& child : node.Children) ReadComponent(component, child);
    component->state_.Exclude(csReading);
}

TComponent* TReader::FindOrCreate(const TObjectNode& node) {
    if (!node.Name.empty()) {
        for (size_t i = 1; i < loaded_.size(); ++i)  // [0] is the root
            if (SameText(loaded_[i]->Name(), node.Name))
                Fail(node.Line, Format(L"A component named %s already exists", {node.Name}));
        if (TComponent* existing = root_->FindComponent(node.Name)) {
            if (!ClassChainHas(existing->ClassType(), node.ClassName))
                Fail(node.Line, Format(L"Component %s is a %s, not a %s",
                                       {node.Name, existing->ClassName(), node.ClassName}));
            return existing;
        }
    }
    TClass cls = GetClass(node.ClassName);
    if (cls == nullptr) Fail(node.Line, Format(L"Class %s not found", {node.ClassName}));
    if (!cls->InheritsFrom(TComponent::StaticClass()) || cls->Factory == nullptr)
        Fail(node.Line, Format(L"Class %s cannot be created as a component", {node.ClassName}));
    // Created with the root as owner: the ownership tree holds it from here on.
    auto* component = static_cast<TComponent*>(cls->Factory(root_));
    if (component->Owner() == nullptr) root_->InsertComponent(component);  // created without owner
    try {
        component->SetName(node.Name);
    } catch (const Exception& e) {
        delete component;
        Fail(node.Line, e.Message());
    }
    return component;
}

void TReader::ReadProperties(TPersistent* instance, const std::vector<TPropertyNode>& props) {
    for (const TPropertyNode& prop : props) {
        try {
            ReadProperty(instance, prop);
        } catch (const EParserError&) {
            throw;
        } catch (const Exception& e) {
            String owner = instance->GetNamePath();
            Fail(prop.Line, Format(L"Error reading %s%s: %s",
                                   {owner, (owner.empty() ? L"" : L".") + prop.Name, e.Message()}));
        }
    }
}

void TReader::ReadProperty(TPersistent* instance, const TPropertyNode& prop) {
    const String& path = prop.Name;
    TPersistent* target = instance;
    size_t start = 0;
    for (;;) {
        size_t dot = path.find(L'.', start);
        String name = path.substr(start, dot == String::npos ? String::npos : dot - start);
        const TPropInfo* info = FindPropInfo(target->ClassType(), name);
        if (dot == String::npos) {
            if (info != nullptr)
                SetProperty(target, *info, prop);
            else
                ReadDefined(target, name, prop.Value);
            return;
        }
        if (info == nullptr) throw EReadError(Format(L"Property %s does not exist", {name}));
        if (info->Kind == TTypeKind::Strings && !SameText(path.substr(dot + 1), L"Strings")) {
            String rest = path.substr(dot + 1);
            auto* stored =
                dynamic_cast<TStringsStoredProperties*>(static_cast<TStrings*>(info->GetObject(target)));
            if (stored == nullptr || rest.find(L'.') != String::npos)
                throw EReadError(Format(L"Invalid property path %s", {path}));
            ReadDefined([stored](TFiler& filer) { stored->DefineProperties(filer); }, rest, prop.Value);
            return;
        }
        if (info->Kind == TTypeKind::Strings) {
            ReadStrings(static_cast<TStrings*>(info->GetObject(target)), prop.Value);
            return;
        }
        if (info->Kind != TTypeKind::Class)
            throw EReadError(Format(L"Invalid property path %s", {path}));
        target = dynamic_cast<TPersistent*>(info->GetObject(target));
        if (target == nullptr) throw EReadError(Format(L"Property %s is not assigned", {name}));
        start = dot + 1;
    }
}

// Items.Strings = ( 'line' ... ): the list replaces the lines.
void TReader::ReadStrings(TStrings* strings, const TValue& value) {
    if (value.Type != TValue::vaList) InvalidValue();
    for (const TValue& item : value.Items)
        if (item.Type != TValue::vaString) InvalidValue();
    strings->BeginUpdate();
    strings->Clear();
    for (const TValue& item : value.Items) strings->Add(item.Text);
    strings->EndUpdate();
}

void TReader::SetProperty(TPersistent* instance, const TPropInfo& info, const TPropertyNode& prop) {
    const TValue& v = prop.Value;
    if (!info.Writable() && info.Kind != TTypeKind::Collection && info.Kind != TTypeKind::Strings)
        throw EReadError(Format(L"Property %s is read-only", {info.Name}));
    switch (info.Kind) {
    case TTypeKind::Integer:
        if (v.Type != TValue::vaInteger) InvalidValue();
        info.SetOrdinal(instance, v.Int);
        break;
    case TTypeKind::Boolean:
        if (v.Type != TValue::vaIdent) InvalidValue();
        if (SameText(v.Text, L"True"))
            info.SetOrdinal(instance, 1);
        else if (SameText(v.Text, L"False"))
            info.SetOrdinal(instance, 0);
        else
            InvalidValue();
        break;
    case TTypeKind::Enumeration: {
        int value = v.Type == TValue::vaIdent ? info.Enum->ValueOf(v.Text) : -1;
        if (value < 0) InvalidValue();
        info.SetOrdinal(instance, value);
        break;
    }
    case TTypeKind::Set: {
        if (v.Type != TValue::vaSet) InvalidValue();
        std::uint64_t bits = 0;
        for (const String& ident : v.Idents) {
            int value = info.Enum->ValueOf(ident);
            if (value < 0 || value >= 64) throw EReadError(Format(L"Invalid set element %s", {ident}));
            bits |= std::uint64_t{1} << value;
        }
        info.SetOrdinal(instance, static_cast<Int64>(bits));
        break;
    }
    case TTypeKind::String:
        if (v.Type != TValue::vaString) InvalidValue();
        info.SetString(instance, v.Text);
        break;
    case TTypeKind::Float:
        if (v.Type == TValue::vaFloat)
            info.SetFloat(instance, v.Float);
        else if (v.Type == TValue::vaInteger)
            info.SetFloat(instance, static_cast<Extended>(v.Int));
        else
            InvalidValue();
        break;
    case TTypeKind::Color: {
        Int64 color = v.Int;
        if (v.Type == TValue::vaIdent) {
            if (!IdentToColor(v.Text, color)) throw EReadError(Format(L"Unknown colour %s", {v.Text}));
        } else if (v.Type != TValue::vaInteger) {
            InvalidValue();
        }
        info.SetOrdinal(instance, color);
        break;
    }
    case TTypeKind::Component:
        if (v.Type != TValue::vaIdent) InvalidValue();
        if (SameText(v.Text, L"nil")) {
            info.SetObject(instance, nullptr);
        } else {
            String owner = instance->GetNamePath();
            fixups_.push_back({instance, &info, v.Text,
                               (owner.empty() ? L"" : owner + L".") + prop.Name, prop.Line});
        }
        break;
    case TTypeKind::Collection: {
        if (v.Type != TValue::vaCollection) InvalidValue();
        auto* collection = static_cast<TCollection*>(info.GetObject(instance));
        collection->Clear();
        for (const auto& item : v.CollectionItems) ReadProperties(collection->Add(), item);
        break;
    }
    case TTypeKind::Method: {
        if (v.Type != TValue::vaIdent) InvalidValue();
        if (SameText(v.Text, L"nil")) {
            info.SetMethod(instance, TMethodValue{});
            break;
        }
        if (root_ == nullptr) throw EReadError(Format(L"Handler %s not found", {v.Text}));
        const THandlerInfo* handler = FindHandler(root_->ClassType(), v.Text);
        if (handler == nullptr)
            throw EReadError(Format(L"Handler %s not found in %s", {v.Text, root_->ClassName()}));
        if (*handler->EventType != *info.EventType)
            throw EReadError(Format(L"Handler %s does not fit event %s", {v.Text, info.Name}));
        info.SetMethod(instance, TMethodValue{handler->AdjustData(root_), handler->Code});
        break;
    }
    case TTypeKind::Strings:
        ReadStrings(static_cast<TStrings*>(info.GetObject(instance)), v);
        break;
    case TTypeKind::Class:
        InvalidValue();
    }
}

void TReader::ReadDefined(TPersistent* instance, const String& name, const TValue& value) {
    ReadDefined([instance](TFiler& filer) { instance->DefineProperties(filer); }, name, value);
}

void TReader::ReadDefined(const std::function<void(TFiler&)>& define, const String& name,
                          const TValue& value) {
    wantedName_ = name;
    wantedValue_ = &value;
    wantedFound_ = false;
    struct TReset {
        TReader* reader;
        ~TReset() {
            reader->wantedValue_ = nullptr;
            reader->cursors_.clear();
        }
    } reset{this};
    define(*this);
    if (!wantedFound_) throw EReadError(Format(L"Property %s does not exist", {name}));
}

void TReader::DefineProperty(const String& name, const TReaderProc& read, const TWriterProc&,
                             bool) {
    if (wantedValue_ == nullptr || wantedFound_ || !SameText(name, wantedName_)) return;
    wantedFound_ = true;
    if (!read) return;
    std::vector<TValue> single{*wantedValue_};
    cursors_ = {{&single, 0}};
    read(*this);
    cursors_.clear();
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& read,
                                   const TStreamProc&, bool) {
    if (wantedValue_ == nullptr || wantedFound_ || !SameText(name, wantedName_)) return;
    wantedFound_ = true;
    if (wantedValue_->Type != TValue::vaBinary) throw EReadError(L"Binary data expected");
    if (!read) return;
    TMemoryStream stream;
    const auto& bytes = wantedValue_->Bytes;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream.SetPosition(0);
    read(stream);
}

void TReader::FixupReferences() {
    for (const TFixup& fixup : fixups_) {
        try {
            ApplyFixup(fixup);
        } catch (const Exception& e) {
            Fail(fixup.line, Format(L"Error reading %s: %s", {fixup.path, e.Message()}));
        }
    }
    fixups_.clear();
}

void TReader::ApplyFixup(const TFixup& fixup) {
    TComponent* target = FindReference(fixup.reference);
    if (target == nullptr) throw EReadError(Format(L"Unresolved reference to %s", {fixup.reference}));
    fixup.info->SetObject(fixup.instance, target);
}

TComponent* TReader::FindReference(const String& name) const {
    const bool inRoot = root_ != nullptr;
    size_t dot = name.find(L'.');
    if (dot == String::npos) {
        if (inRoot && SameText(root_->Name(), name)) return root_;
        if (inRoot)
            if (TComponent* found = root_->FindComponent(name)) return found;
        return FindGlobalRoot(name);
    }
    String rootName = name.substr(0, dot);
    TComponent* root = inRoot && SameText(root_->Name(), rootName) ? root_ : FindGlobalRoot(rootName);
    return root != nullptr ? root->FindComponent(name.substr(dot + 1)) : nullptr;
}

// ---- values of DefineProperty properties ----

const TValue& TReader::Take(TValue::Kind kind, const wchar_t* expected) {
    if (cursors_.empty()) throw EReadError(L"No property value to read");
    TCursor& top = cursors_.back();
    if (top.position >= top.values->size()) throw EReadError(L"Unexpected end of list");
    const TValue& v = (*top.values)[top.position];
    if (v.Type != kind) throw EReadError(Format(L"%s expected", {expected}));
    ++top.position;
    return v;
}

TValue::Kind TReader::NextValue() const {
    if (cursors_.empty() || cursors_.back().position >= cursors_.back().values->size())
        throw EReadError(L"Unexpected end of list");
    return (*cursors_.back().values)[cursors_.back().position].Type;
}

Int64 TReader::ReadInteger() {
    return Take(TValue::vaInteger, L"Integer").Int;
}

Extended TReader::ReadFloat() {
    if (NextValue() == TValue::vaInteger) return static_cast<Extended>(ReadInteger());
    return Take(TValue::vaFloat, L"Number").Float;
}

String TReader::ReadString() {
    return Take(TValue::vaString, L"String").Text;
}

bool TReader::ReadBoolean() {
    const String& ident = Take(TValue::vaIdent, L"True or False").Text;
    if (SameText(ident, L"True")) return true;
    if (SameText(ident, L"False")) return false;
    throw EReadError(L"True or False expected");
}

String TReader::ReadIdent() {
    return Take(TValue::vaIdent, L"Identifier").Text;
}

void TReader::ReadListBegin() {
    const TValue& list = Take(TValue::vaList, L"List");
    cursors_.push_back({&list.Items, 0});
}

bool TReader::EndOfList() const {
    return cursors_.empty() || cursors_.back().position >= cursors_.back().values->size();
}

void TReader::ReadListEnd() {
    if (cursors_.size() < 2 || !EndOfList()) throw EReadError(L"End of list expected");
    cursors_.pop_back();
}

// ---- entry points ----

void ReadComponentFromText(TComponent* root, const String& text, const String& descriptionName) {
    TObjectNode node = ParseDescription(text, descriptionName);
    TReader(descriptionName).ReadRootComponent(root, node);
}

void ReadComponentFromStream(TComponent* root, TStream& stream, const String& descriptionName) {
    std::string bytes(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    TObjectNode node = ParseDescriptionUtf8(bytes, descriptionName);
    TReader(descriptionName).ReadRootComponent(root, node);
}

std::unique_ptr<TComponent> CreateComponentFromText(const String& text,
                                                    const String& descriptionName) {
    TObjectNode node = ParseDescription(text, descriptionName);
    TClass cls = GetClass(node.ClassName);
    if (cls == nullptr || !cls->InheritsFrom(TComponent::StaticClass()) || cls->Factory == nullptr)
        throw EParserError(descriptionName, node.Line,
                           Format(L"Class %s not found", {node.ClassName}));
    std::unique_ptr<TComponent> root(static_cast<TComponent*>(cls->Factory(nullptr)));
    TReader(descriptionName).ReadRootComponent(root.get(), node);
    return root;
}
