// Registers the synthetic camera (SyntheticCamera.dll beside this program) in the Wine prefix
// the tests run in: as a COM class, as a video-input device, and in the enumeration tests'
// private categories. Run once by CTest before the tests that need a camera; never on a real
// system.
#include <cstdio>
#include <string>

#include <windows.h>
#include <dshow.h>

#include "capture/ComPtr.h"
#include "capture/testing/SyntheticDevices.h"
#include "capture/testing/SyntheticPattern.h"

namespace {

std::wstring GuidText(const GUID& guid) {
    wchar_t text[64];
    StringFromGUID2(guid, text, 64);
    return text;
}

bool SetString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool RegisterDevice(IFilterMapper2* mapper, const GUID& category, const std::wstring& name,
                    const std::wstring& instance) {
    REGPINTYPES type{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};
    REGFILTERPINS2 pin{};
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    REGFILTER2 filter{};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins2 = 1;
    filter.rgPins2 = &pin;
    const HRESULT hr = mapper->RegisterFilter(CLSID_SyntheticCamera, name.c_str(), nullptr, &category,
                                              instance.c_str(), &filter);
    if (FAILED(hr)) std::fwprintf(stderr, L"RegisterFilter %ls: 0x%08lX\n", name.c_str(), static_cast<unsigned long>(hr));
    return SUCCEEDED(hr);
}

}  // namespace

int wmain() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll(self, length);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"SyntheticCamera.dll";
    if (GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fwprintf(stderr, L"%ls not found\n", dll.c_str());
        return 1;
    }
    const std::wstring classKey = L"CLSID\\" + GuidText(CLSID_SyntheticCamera);
    bool ok = SetString(HKEY_CLASSES_ROOT, classKey, nullptr, SyntheticCameraName) &&
              SetString(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, dll) &&
              SetString(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel", L"Both");

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        TComPtr<IFilterMapper2> mapper;
        if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                    mapper.PutVoid()))) {
            std::fwprintf(stderr, L"No filter mapper\n");
            ok = false;
        } else {
            ok = RegisterDevice(mapper.Get(), CLSID_VideoInputDeviceCategory, SyntheticCameraName,
                                L"FolhavidaSyntheticCamera") && ok;
            std::wstring longName;
            for (int i = 0; i < LongDeviceNameLength; ++i) longName.push_back(static_cast<wchar_t>(L'a' + i % 26));
            ok = RegisterDevice(mapper.Get(), TestCategoryTwoDevices, longName, L"LongName") && ok;
        }
    }
    // A device entry without a class, as a broken driver leaves one.
    ok = SetString(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(TestCategoryTwoDevices) + L"\\Instance\\NoClass",
                   L"FriendlyName", NoClassDeviceName) &&
         ok;
    CoUninitialize();
    std::fwprintf(stdout, ok ? L"synthetic camera registered: %ls\n" : L"registration failed: %ls\n", dll.c_str());
    return ok ? 0 : 1;
}
