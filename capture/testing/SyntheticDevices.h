// What the test prefix's device registration holds besides the synthetic camera: two private
// categories for enumeration tests. The first lists a device with a 300-character friendly name
// (a synthetic camera too) and one whose entry names no class; the second lists nothing.
#pragma once

#include <guiddef.h>

// {B7E2C6A1-5D34-4F8B-A2C9-31E07D5B9F42}
inline constexpr GUID TestCategoryTwoDevices = {0xB7E2C6A1, 0x5D34, 0x4F8B, {0xA2, 0xC9, 0x31, 0xE0, 0x7D, 0x5B, 0x9F, 0x42}};
// {B7E2C6A2-5D34-4F8B-A2C9-31E07D5B9F42}
inline constexpr GUID TestCategoryEmpty = {0xB7E2C6A2, 0x5D34, 0x4F8B, {0xA2, 0xC9, 0x31, 0xE0, 0x7D, 0x5B, 0x9F, 0x42}};
inline constexpr wchar_t NoClassDeviceName[] = L"Dispositivo sem classe";
inline constexpr int LongDeviceNameLength = 300;
