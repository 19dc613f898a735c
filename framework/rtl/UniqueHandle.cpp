#include "framework/rtl/UniqueHandle.h"

#include "framework/rtl/WinApi.h"

void CloseKernelHandle(void* handle) noexcept { CloseHandle(handle); }

void FreeGlobalMemory(void* memory) noexcept { GlobalFree(memory); }

UniqueKernelHandle OwnFileHandle(void* handle) {
    return UniqueKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
