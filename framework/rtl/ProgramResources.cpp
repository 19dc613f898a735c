#include "framework/rtl/ProgramResources.h"

#include "framework/rtl/Format.h"
#include "framework/rtl/WinApi.h"

namespace {

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<String>*>(names)->push_back(name);
    return TRUE;
}

}  // namespace

std::string_view ProgramRcData(const String& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, name.c_str(), RT_RCDATA);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) throw EResNotFound(Format(L"Resource %s not found", {name}));
    // Resource memory belongs to the module: nothing to release.
    return {static_cast<const char*>(data), SizeofResource(module, resource)};
}

std::vector<String> ProgramRcDataNames() {
    std::vector<String> names;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_RCDATA, AddName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}
