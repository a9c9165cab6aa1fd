#pragma once
// The user's picture list and motion scheme, shared by the scene builder and
// the configuration dialog, and the settings file that keeps them.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace WorkSpace {

struct PictureSettings {
    // Picture paths in list order, each exactly as stored: not checked, not
    // normalised; duplicates and empty paths stay.
    std::vector<std::wstring> pictures;
    // Named numbers; after every Load exactly one: "SelectScheme", the motion
    // scheme 0..4 (any stored number is kept; the scene decides what it means).
    std::vector<std::pair<std::wstring, int32_t>> values;

    // Reads the file at `path` in place of the record; no picture in it (or no
    // file) gives the default pictures. Always true.
    bool Load(const std::wstring& path);
    // Writes the record to `path`. Returns false when the file could not be
    // written in full; the old file is then left as it was.
    bool Save(const std::wstring& path);
    // Replaces the value of an existing key; other keys are ignored.
    void SetValue(const std::wstring& key, int32_t value);
    // Returns the value of `key`, 0 when the record has no such key.
    int32_t ValueOf(const std::wstring& key) const;
    // The "SelectScheme" value: SetValue and ValueOf of the scheme's key.
    void SetScheme(int32_t scheme);
    int32_t Scheme() const;
    // Appends the three default pictures that lie beside the executable.
    void AddDefaultPictures();
};

// Returns the process's one settings record.
PictureSettings& Settings();

}  // namespace WorkSpace
