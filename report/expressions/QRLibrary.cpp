#include "report/expressions/QRLibrary.h"

#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"
#include "report/expressions/QRFunctions.h"

void TQRLibrary::AddEntry(TQRElementFactory factory, const String& name, const String& description,
                          const String& vendor, const String& signature) {
    auto entry = std::make_unique<TQRLibraryEntry>();
    entry->Description = description;
    entry->Data = signature;
    entry->Factory = factory;
    entry->Name = name;
    entry->Vendor = vendor;
    AddObject(name, entry.get());
    entry.release();  // the list owns its entries
}

int TQRLibrary::CompareStrings(const String& s1, const String& s2) const {
    return CompareText(s1, s2);
}

TQRLibraryEntry* TQRLibrary::EntryAt(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return static_cast<TQRLibraryEntry*>(GetObject(index));
}

TQRLibraryEntry* TQRLibrary::FindEntry(const String& name) const {
    return EntryAt(IndexOf(name));
}

std::unique_ptr<TQREvElement> TQRFunctionLibrary::CreateFunction(const String& name) const {
    TQRLibraryEntry* entry = FindEntry(name);
    if (entry == nullptr || entry->Factory == nullptr)
        return std::make_unique<TQREvElementError>(Format(QRExprMessages::UnknownFunction, {name}));
    return entry->Factory();
}

namespace {

std::unique_ptr<TQRFunctionLibrary> functionLibrary;

}  // namespace

TQRFunctionLibrary& GetFunctionLibrary() {
    if (!functionLibrary) {
        auto library = std::make_unique<TQRFunctionLibrary>();
        RegisterBuiltInFunctions(*library);
        functionLibrary = std::move(library);
    }
    return *functionLibrary;
}

void AddFunctionToLibrary(TQRElementFactory factory, const String& name, const String& description,
                          const String& vendor, const String& signature) {
    GetFunctionLibrary().AddEntry(factory, name, description, vendor, signature);
}
