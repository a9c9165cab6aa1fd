#include "check/SystemCheck_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "check/AdapterRules.h"
#include "common/WideText_win.h"
#include "support/RegistryValue_win.h"

using namespace WorkSpace;

namespace {

// The adapter's key below HKEY_LOCAL_MACHINE, as the check derives it.
std::wstring AdapterKey() {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    for (DWORD index = 0; EnumDisplayDevicesW(nullptr, index, &device, 0); ++index) {
        if (AsU16(device.DeviceName) == kCheckedDisplayName) {
            return ToWide(TrimKeyPath(AsU16(device.DeviceKey)));
        }
        device = DISPLAY_DEVICEW{};
        device.cb = sizeof(device);
    }
    return L"";
}

}  // namespace

TEST(SystemCheck, AnyRecordedAccelerationLevelMakesTheMachineUnfit) {
    const std::wstring keyPath = AdapterKey();
    ASSERT_FALSE(keyPath.empty());
    Testing::ScopedRegistryValue level(HKEY_LOCAL_MACHINE, keyPath, L"Acceleration.Level");
    level.Remove();
    EXPECT_TRUE(CheckSystem()) << "Wine's adapter without a recorded level";

    struct Case { const char* what; DWORD type; uint64_t value; DWORD size; bool fit; };
    const Case cases[] = {
        {"level 0", REG_DWORD, 0, 4, false},
        {"level 5", REG_DWORD, 5, 4, false},
        {"two bytes of another type", REG_BINARY, 1, 2, false},
        {"longer than four bytes", REG_QWORD, 1, 8, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(level.Set(c.type, &c.value, c.size)) << c.what;
        EXPECT_EQ(CheckSystem(), c.fit) << c.what;
    }
    level.Remove();
    EXPECT_TRUE(CheckSystem());
}
