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

void TWriter::WriteProperties(TPersistent* instance, const String& prefix,
                              std::vector<TPropertyNode>& out) {
    for (const TPropInfo* info : PublishedProperties(instance->ClassType())) {
        if (info->IsStored && !info->IsStored(instance)) continue;
        if (info->IsDefault(instance)) continue;
        TPropertyNode prop;
        prop.Name = prefix + info->Name;
        TValue& v = prop.Value;
        switch (info->Kind) {
        case TTypeKind::Integer:
            v = Integer(info->GetOrdinal(instance));
            break;
        case TTypeKind::Boolean:
            v = Ident(info->GetOrdinal(instance) != 0 ? L"True" : L"False");
            break;
        case TTypeKind::Enumeration:
            v = Ident(info->Enum->Name(static_cast<int>(info->GetOrdinal(instance))));
            break;
        case TTypeKind::Set: {
            auto bits = static_cast<std::uint64_t>(info->GetOrdinal(instance));
            v.Type = TValue::vaSet;
            for (int i = 0; i < info->Enum->Count(); ++i)
                if (bits >> i & 1) v.Idents.push_back(info->Enum->Name(i));
            break;
        }
        case TTypeKind::String:
            v = Text(info->GetString(instance));
            break;
        case TTypeKind::Float:
            v.Type = TValue::vaFloat;
            v.Float = info->GetFloat(instance);
            break;
        case TTypeKind::Color: {
            Int64 color = info->GetOrdinal(instance);
            String ident;
            if (ColorToIdent(color, ident))
                v = Ident(ident);
            else
                v = Integer(static_cast<std::uint32_t>(color));
            v.Hex = true;
            break;
        }
        case TTypeKind::Strings: {
            auto* strings = static_cast<TStrings*>(info->GetObject(instance));
            if (strings == nullptr || strings->Count() == 0) continue;
            TPropertyNode lines;
            lines.Name = prop.Name + L".Strings";
            lines.Value.Type = TValue::vaList;
            for (int i = 0; i < strings->Count(); ++i)
                lines.Value.Items.push_back(Text(strings->Get(i)));
            out.push_back(std::move(lines));
            if (auto* stored = dynamic_cast<TStringsStoredProperties*>(strings))
                WriteDefined([stored](TFiler& filer) { stored->DefineProperties(filer); },
                             prop.Name + L".", out);
            continue;
        }
        case TTypeKind::Class: {
            auto* nested = dynamic_cast<TPersistent*>(info->GetObject(instance));
            if (nested != nullptr) WriteProperties(nested, prop.Name + L".", out);
            continue;
        }
        case TTypeKind::Component: {
            auto* target = static_cast<TComponent*>(info->GetObject(instance));
            if (target == nullptr || target->Name().empty()) continue;
            if (target == root_ || target->Owner() == root_ || target->Owner() == nullptr)
                v = Ident(target->Name());
            else
                v = Ident(target->Owner()->Name() + L"." + target->Name());
            break;
        }
        case TTypeKind::Collection: {
            auto* collection = static_cast<TCollection*>(info->GetObject(instance));
            if (collection == nullptr || collection->Count() == 0) continue;
            v.Type = TValue::vaCollection;
            for (int i = 0; i < collection->Count(); ++i)
                WriteProperties(collection->Items(i), L"", v.CollectionItems.emplace_back());
            break;
        }
        case TTypeKind::Method: {
            TMethodValue method = info->GetMethod(instance);
            if (method.Code.Thunk == nullptr) continue;
            const THandlerInfo* found = nullptr;
            for (TClass c = root_->ClassType(); c != nullptr && found == nullptr; c = c->Parent)
                for (const THandlerInfo& h : PublishedTable(c).Handlers())
                    if (h.Code == method.Code && h.AdjustData(root_) == method.Data) found = &h;
            // Only the root's registered handlers can be named in a description.
            if (found == nullptr) continue;
            v = Ident(found->Name);
            break;
        }
        }
        out.push_back(std::move(prop));
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
