#pragma once
// A registry value changed for the length of one test or scenario; its old
// state (a value of any type, or none) comes back on destruction.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace WorkSpace::Testing {

class ScopedRegistryValue {
public:
    // Leaves the value as it is until Set or Remove.
    ScopedRegistryValue(HKEY root, std::wstring subkey, std::wstring name)
        : root_(root), subkey_(std::move(subkey)), name_(std::move(name)) {
        HKEY key = Open();
        if (!key) return;
        DWORD size = 0;
        if (RegQueryValueExW(key, name_.c_str(), nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
            oldData_.resize(size);
            hadValue_ = RegQueryValueExW(key, name_.c_str(), nullptr, &oldType_, oldData_.data(),
                                         &size) == ERROR_SUCCESS;
            oldData_.resize(size);
        }
        RegCloseKey(key);
    }
    // A REG_DWORD value.
    ScopedRegistryValue(HKEY root, std::wstring subkey, std::wstring name, DWORD value)
        : ScopedRegistryValue(root, std::move(subkey), std::move(name)) {
        Set(REG_DWORD, &value, sizeof(value));
    }
    // A REG_SZ value.
    ScopedRegistryValue(HKEY root, std::wstring subkey, std::wstring name, const std::wstring& text)
        : ScopedRegistryValue(root, std::move(subkey), std::move(name)) {
        Set(REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
    }
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;
    ~ScopedRegistryValue() {
        if (hadValue_) {
            Set(oldType_, oldData_.data(), DWORD(oldData_.size()));
        } else {
            Remove();
        }
    }

    // Returns whether the value now holds `size` bytes of `data` as `type`.
    bool Set(DWORD type, const void* data, DWORD size) const {
        HKEY key = Open();
        if (!key) return false;
        const bool set = RegSetValueExW(key, name_.c_str(), 0, type, static_cast<const BYTE*>(data),
                                        size) == ERROR_SUCCESS;
        RegCloseKey(key);
        return set;
    }
    // Deletes the value; the key stays.
    void Remove() const {
        HKEY key = Open();
        if (!key) return;
        RegDeleteValueW(key, name_.c_str());
        RegCloseKey(key);
    }

private:
    // Returns the key, made when missing; none when it cannot be opened.
    HKEY Open() const {
        HKEY key = nullptr;
        return RegCreateKeyExW(root_, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                               nullptr) == ERROR_SUCCESS
                   ? key
                   : nullptr;
    }

    HKEY root_;
    std::wstring subkey_;
    std::wstring name_;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldData_;
};

}  // namespace WorkSpace::Testing
