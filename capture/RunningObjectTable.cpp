#include "capture/RunningObjectTable.h"

#include <cstdio>

#include "capture/ComPtr.h"

String GraphRotItemName(const void* graph, std::uint32_t processId) {
    wchar_t name[64];
    // The pointer in as many digits as it has: 8 in a 32-bit program.
    std::swprintf(name, 64, L"FilterGraph %0*llX pid %X", static_cast<int>(sizeof(void*) * 2),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(graph)),
                  static_cast<unsigned>(processId));
    return name;
}

HRESULT RegisterGraphInROT(IUnknown* graph, DWORD& cookie) {
    cookie = 0;
    TComPtr<IRunningObjectTable> table;
    HRESULT result = GetRunningObjectTable(0, table.Put());
    if (FAILED(result)) return result;
    TComPtr<IMoniker> item;
    result = CreateItemMoniker(L"!", GraphRotItemName(graph, GetCurrentProcessId()).c_str(), item.Put());
    if (FAILED(result)) return result;
    return table->Register(0, graph, item.Get(), &cookie);
}

HRESULT RevokeGraphFromROT(DWORD cookie) {
    TComPtr<IRunningObjectTable> table;
    HRESULT result = GetRunningObjectTable(0, table.Put());
    if (FAILED(result)) return result;
    return table->Revoke(cookie);
}
