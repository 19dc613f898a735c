#include "framework/classes/Writer.h"

#include "framework/classes/Collection.h"
#include "framework/classes/Component.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/Streams.h"

namespace {

TValue Ident(const String& text) {
    TValue v;
    v.Type = TValue::vaIdent;
    v.Text = text;
    return v;
}

TValue Integer(Int64 value) {
    TValue v;
    v.Type = TValue::vaInteger;
    v.Int = value;
    return v;
}

TValue Text(const String& text) {
    TValue v;
    v.Type = TValue::vaString;
    v.Text = text;
    return v;
}

// What a description leaves out: what it cannot name, no reference or handler, no lines or items.
bool LeftOut(const TPropInfo& info, const std::optional<TValue>& value) {
    if (!value) return true;
    switch (info.Kind) {
    case TTypeKind::Component:
    case TTypeKind::Method: return SameText(value->Text, L"nil");
    case TTypeKind::Strings: return value->Items.empty();
    case TTypeKind::Collection: return value->CollectionItems.empty();
    default: return false;
    }
}

}  // namespace

TWriter::TWriter(TComponent* root) : root_(root) {}

TObjectNode TWriter::WriteRootComponent() {
    return WriteComponent(root_);
}

TObjectNode TWriter::WriteComponent(TComponent* component) {
    TObjectNode node;
    node.Name = component->Name();
    node.ClassName = component->ClassName();
    WriteProperties(component, L"", node.Properties);
    component->GetChildren([&](TComponent* child) { node.Children.push_back(WriteComponent(child)); },
                           root_);
    return node;
}

std::optional<TValue> TWriter::PropertyValue(TPersistent* instance, const TPropInfo& info) {
    TValue v;
    switch (info.Kind) {
    case TTypeKind::Integer:
        return Integer(info.GetOrdinal(instance));
    case TTypeKind::Boolean:
        return Ident(info.GetOrdinal(instance) != 0 ? L"True" : L"False");
    case TTypeKind::Enumeration:
        return Ident(info.Enum->Name(static_cast<int>(info.GetOrdinal(instance))));
    case TTypeKind::Set: {
        auto bits = static_cast<std::uint64_t>(info.GetOrdinal(instance));
        v.Type = TValue::vaSet;
        for (int i = 0; i < info.Enum->Count(); ++i)
            if (bits >> i & 1) v.Idents.push_back(info.Enum->Name(i));
        return v;
    }
    case TTypeKind::String:
        return Text(info.GetString(instance));
    case TTypeKind::Float:
        v.Type = TValue::vaFloat;
        v.Float = info.GetFloat(instance);
        return v;
    case TTypeKind::Color: {
        Int64 color = info.GetOrdinal(instance);
        String ident;
        if (ColorToIdent(color, ident))
            v = Ident(ident);
        else
            v = Integer(static_cast<std::uint32_t>(color));
        v.Hex = true;
        return v;
    }
    case TTypeKind::Strings: {
        auto* strings = static_cast<TStrings*>(info.GetObject(instance));
        v.Type = TValue::vaList;
        for (int i = 0; strings != nullptr && i < strings->Count(); ++i) v.Items.push_back(Text(strings->Get(i)));
        return v;
    }
    case TTypeKind::Class:
        return std::nullopt;
    case TTypeKind::Component: {
        auto* target = static_cast<TComponent*>(info.GetObject(instance));
        if (target == nullptr) return Ident(L"nil");
        if (target->Name().empty()) return std::nullopt;
        if (target == root_ || target->Owner() == root_ || target->Owner() == nullptr)
            return Ident(target->Name());
        return Ident(target->Owner()->Name() + L"." + target->Name());
    }
    case TTypeKind::Collection: {
        auto* collection = static_cast<TCollection*>(info.GetObject(instance));
        v.Type = TValue::vaCollection;
        for (int i = 0; collection != nullptr && i < collection->Count(); ++i)
            WriteProperties(collection->Items(i), L"", v.CollectionItems.emplace_back());
        return v;
    }
    case TTypeKind::Method: {
        TMethodValue method = info.GetMethod(instance);
        if (method.Code.Thunk == nullptr) return Ident(L"nil");
        // Only the root's registered handlers can be named in a description.
        for (TClass c = root_ != nullptr ? root_->ClassType() : nullptr; c != nullptr; c = c->Parent)
            for (const THandlerInfo& h : PublishedTable(c).Handlers())
                if (h.Code == method.Code && h.AdjustData(root_) == method.Data) return Ident(h.Name);
        return std::nullopt;
    }
    }
    return std::nullopt;
}

void TWriter::WriteProperties(TPersistent* instance, const String& prefix,
                              std::vector<TPropertyNode>& out) {
    for (const TPropInfo* info : PublishedProperties(instance->ClassType())) {
        if (info->IsStored && !info->IsStored(instance)) continue;
        if (info->IsDefault(instance)) continue;
        const String name = prefix + info->Name;
        if (info->Kind == TTypeKind::Class) {
            if (auto* nested = dynamic_cast<TPersistent*>(info->GetObject(instance)))
                WriteProperties(nested, name + L".", out);
            continue;
        }
        std::optional<TValue> value = PropertyValue(instance, *info);
        if (LeftOut(*info, value)) continue;
        if (info->Kind == TTypeKind::Strings) {
            out.push_back({name + L".Strings", std::move(*value)});
            if (auto* stored = dynamic_cast<TStringsStoredProperties*>(static_cast<TStrings*>(info->GetObject(instance))))
                WriteDefined([stored](TFiler& filer) { stored->DefineProperties(filer); }, name + L".", out);
            continue;
        }
        out.push_back({name, std::move(*value)});
    }
    WriteDefined([instance](TFiler& filer) { instance->DefineProperties(filer); }, prefix, out);
}

void TWriter::WriteDefined(const std::function<void(TFiler&)>& define, const String& prefix,
                           std::vector<TPropertyNode>& out) {
    std::vector<TPropertyNode>* savedOut = out_;
    String savedPrefix = prefix_;
    out_ = &out;
    prefix_ = prefix;
    define(*this);
    out_ = savedOut;
    prefix_ = savedPrefix;
}

void TWriter::DefineProperty(const String& name, const TReaderProc&, const TWriterProc& write,
                             bool hasData) {
    if (!hasData || !write || out_ == nullptr) return;
    std::vector<TValue> values;
    values_.push_back(&values);
    write(*this);
    values_.clear();
    if (values.size() != 1)
        throw EWriteError(Format(L"Property %s must write one value", {name}));
    TPropertyNode prop;
    prop.Name = prefix_ + name;
    prop.Value = std::move(values[0]);
    out_->push_back(std::move(prop));
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc&,
                                   const TStreamProc& write, bool hasData) {
    if (!hasData || !write || out_ == nullptr) return;
    TMemoryStream stream;
    write(stream);
    TPropertyNode prop;
    prop.Name = prefix_ + name;
    prop.Value.Type = TValue::vaBinary;
    prop.Value.Bytes.resize(static_cast<size_t>(stream.Size()));
    stream.SetPosition(0);
    if (!prop.Value.Bytes.empty())
        stream.ReadBuffer(prop.Value.Bytes.data(), static_cast<Int64>(prop.Value.Bytes.size()));
    out_->push_back(std::move(prop));
}

void TWriter::Append(TValue value) {
    if (values_.empty()) throw EWriteError(L"No property is being written");
    values_.back()->push_back(std::move(value));
}

void TWriter::WriteInteger(Int64 value) {
    Append(Integer(value));
}

void TWriter::WriteFloat(Extended value) {
    TValue v;
    v.Type = TValue::vaFloat;
    v.Float = value;
    Append(std::move(v));
}

void TWriter::WriteString(const String& value) {
    Append(Text(value));
}

void TWriter::WriteBoolean(bool value) {
    Append(Ident(value ? L"True" : L"False"));
}

void TWriter::WriteIdent(const String& value) {
    Append(Ident(value));
}

void TWriter::WriteListBegin() {
    TValue list;
    list.Type = TValue::vaList;
    Append(std::move(list));
    values_.push_back(&values_.back()->back().Items);
}

void TWriter::WriteListEnd() {
    if (values_.size() < 2) throw EWriteError(L"No list is open");
    values_.pop_back();
}

String WriteComponentToText(TComponent* root) {
    return FormatDescription(TWriter(root).WriteRootComponent());
}

void WriteComponentToStream(TComponent* root, TStream& stream) {
    std::string bytes = StringToUtf8(WriteComponentToText(root));
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}
