#include "framework/rtl/ProgramResources.h"

#include "framework/rtl/CallbackError.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/WinApi.h"

namespace {

struct TNameWalk {
    std::vector<String> Names;
    TCallbackError Error;
};

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* walk = reinterpret_cast<TNameWalk*>(param);
    return walk->Error.Run([&] {
        if (!IS_INTRESOURCE(name)) walk->Names.push_back(name);
        return true;
    });
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
    TNameWalk walk;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_RCDATA, AddName, reinterpret_cast<LONG_PTR>(&walk));
    walk.Error.Rethrow();
    return std::move(walk.Names);
}
