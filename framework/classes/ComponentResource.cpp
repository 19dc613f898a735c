#include "framework/classes/ComponentResource.h"

#include <string>

#include "framework/classes/Reader.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/WinApi.h"

void ReadComponentResource(TComponent* root, const String& resourceName) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, resourceName.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) throw EResNotFound(Format(L"Resource %s not found", {resourceName}));
    // Resource memory belongs to the module: nothing to release.
    std::string bytes(static_cast<const char*>(data), SizeofResource(module, resource));
    TObjectNode node = ParseDescriptionUtf8(bytes, resourceName);
    TReader(resourceName).ReadRootComponent(root, node);
}
