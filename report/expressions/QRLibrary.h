// Registry of the expression functions: each entry names a function, documents it for the
// expression builder and makes its element.
#pragma once

#include <memory>

#include "framework/rtl/StringList.h"
#include "report/expressions/QREvElements.h"

using TQRElementFactory = std::unique_ptr<TQREvElement> (*)();

template <typename TElement>
std::unique_ptr<TQREvElement> MakeElement() {
    return std::make_unique<TElement>();
}

class TQRLibraryEntry : public TObject {
public:
    String ClassName() const override { return L"TQRLibraryEntry"; }

    String Description;  // syntax text, "|", explanation
    String Data;         // group digit, then one letter per argument (N, S, B or V)
    TQRElementFactory Factory = nullptr;
    String Name;
    String Vendor;
};

// Entries keyed by name, looked up case-insensitively; the list owns them.
class TQRLibrary : public TStringList {
public:
    TQRLibrary() : TStringList(true) {}
    String ClassName() const override { return L"TQRLibrary"; }

    void AddEntry(TQRElementFactory factory, const String& name, const String& description,
                  const String& vendor, const String& signature);
    TQRLibraryEntry* EntryAt(int index) const;  // nullptr outside the list
    TQRLibraryEntry* FindEntry(const String& name) const;

protected:
    // Function names are ASCII: ordinal comparison with ASCII case folding, which is also far
    // cheaper than the locale's, and every compilation looks names up.
    int CompareStrings(const String& s1, const String& s2) const override;
};

class TQRFunctionLibrary : public TQRLibrary {
public:
    String ClassName() const override { return L"TQRFunctionLibrary"; }

    // A new element of the named function, or an error element "Unknown function : <name>".
    std::unique_ptr<TQREvElement> CreateFunction(const String& name) const;
};

// The process-wide library, filled with the built-in functions on first use.
TQRFunctionLibrary& GetFunctionLibrary();
// Registers a function in the process-wide library.
void AddFunctionToLibrary(TQRElementFactory factory, const String& name, const String& description,
                          const String& vendor, const String& signature);
