// The stored-description parser on any bytes, and the reader on what it accepts. A parsed tree
// formats into a text that parses back to the same tree; reading it into the streaming tests'
// classes either builds the components or raises the framework's own errors, and what was
// built writes out again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/classes/ClassesRegistration.h"
#include "framework/classes/ComponentScope.h"
#include "framework/classes/Description.h"
#include "framework/rtl/Streams.h"
#include "testing/StreamingTestClasses.h"

namespace {

constexpr std::size_t kMaxText = 16384;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RegisterClassesClasses();
    RegisterStreamingTestClasses();
    RegisterColorIdent(L"clTestRed", 0x0000FF);
    static TComponentScope scope;  // references may name global roots
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxText) return 0;
    TObjectNode root;
    try {
        root = ParseDescriptionUtf8(std::string(reinterpret_cast<const char*>(data), size), L"fuzz");
    } catch (const EParserError&) {
        return 0;
    }
    const String text = FormatDescription(root);
    Require(FormatDescription(ParseDescription(text, L"formatted")) == text);

    LoadedLog().clear();
    std::unique_ptr<TComponent> component;
    try {
        component = CreateComponentFromText(text, L"fuzz");
    } catch (const Exception&) {
        return 0;
    }
    TMemoryStream written;
    WriteComponentToStream(component.get(), written);
    return 0;
}
