#include "config/ChosenScene_win.h"

#include <cstdint>
#include <vector>

#include "scene/SceneBuild_win.h"
#include "scene/SceneModel.h"
#include "settings/PictureSettings_win.h"

namespace WorkSpace {

void BuildChosenScene(HWND schemeBox, const std::wstring& settingsPath) {
    PictureSettings& settings = Settings();
    struct Restore {
        std::vector<std::wstring>& pictures;
        std::vector<std::wstring> chosen;
        ~Restore() { pictures.swap(chosen); }
    } restore{settings.pictures, settings.pictures};
    if (settings.pictures.empty()) settings.AddDefaultPictures();
    TheScene().scheme = int32_t(SendMessageW(schemeBox, CB_GETCURSEL, 0, 0));
    BuildScene(settingsPath, true);
}

}  // namespace WorkSpace
