#include "check/SystemCheck_win.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "check/AdapterRules.h"
#include "common/Handles_win.h"
#include "common/WideText_win.h"

namespace WorkSpace {
namespace {

// Returns the zero-terminated text of a fixed-size field.
std::u16string_view FieldText(const wchar_t* field, size_t capacity) {
    size_t length = 0;
    while (length < capacity && field[length] != 0) ++length;
    return AsU16(std::wstring_view(field, length));
}

// Returns the description upper-cased by the platform's locale rules.
std::u16string UpperCased(std::u16string_view text) {
    std::wstring upper(AsWide(text));
    if (!upper.empty()) CharUpperBuffW(upper.data(), DWORD(upper.size()));
    return ToU16(upper);
}

// Returns whether the device named kCheckedDisplayName was found.
bool FindCheckedDisplay(DISPLAY_DEVICEW& device) {
    for (DWORD index = 0;; ++index) {
        device = DISPLAY_DEVICEW{};
        device.cb = sizeof(device);  // 840 bytes
        if (!EnumDisplayDevicesW(nullptr, index, &device, 0)) return false;
        if (FieldText(device.DeviceName, std::size(device.DeviceName)) == kCheckedDisplayName) {
            return true;
        }
    }
}

// Returns whether the adapter's key records an acceleration level.
bool AccelerationRecorded(const std::u16string& keyPath) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    const UniqueKey key(opened);
    uint32_t level = 0;
    DWORD size = sizeof(level);
    // The value's presence counts, whatever it holds (0 included).
    return RegQueryValueExW(key.Get(), ToWide(kAccelerationValue).c_str(), nullptr, nullptr,
                            reinterpret_cast<BYTE*>(&level), &size) == ERROR_SUCCESS;
}

}  // namespace

bool CheckSystem() {
    DISPLAY_DEVICEW device{};
    if (!FindCheckedDisplay(device)) return true;  // no such device: counts as fit
    const std::u16string keyPath = TrimKeyPath(FieldText(device.DeviceKey, std::size(device.DeviceKey)));
    const std::u16string_view description =
        FieldText(device.DeviceString, std::size(device.DeviceString));
    if (DescriptionRejects(description, UpperCased(description))) return false;
    return !AccelerationRecorded(keyPath);
}

}  // namespace WorkSpace
