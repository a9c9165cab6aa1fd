#include "config/PreviewDialog_win.h"

#include <gtest/gtest.h>

#include "resources/TestPictures_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"
#include "settings/PictureSettings_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

constexpr int32_t kRotation = 1;
constexpr int32_t kMotion = 3;  // the one scheme with 10 quads instead of 30

// A scheme box like the dialog's: a drop-down list of the five schemes.
class ChosenScene : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = MakeTempFolder(L"chosen");
        box_ = CreateWindowW(L"COMBOBOX", L"", CBS_DROPDOWNLIST, 0, 0, 200, 200, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
        for (const wchar_t* name : {L"0", L"1", L"2", L"3", L"4"}) {
            SendMessageW(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        }
    }
    void TearDown() override {
        DestroyWindow(box_);
        TheScene() = Scene();
        TheTextureList().Clear();
        Settings() = PictureSettings();
        RemoveTempFolder(folder_);
    }
    void Choose(int32_t scheme) { SendMessageW(box_, CB_SETCURSEL, WPARAM(scheme), 0); }
    std::wstring Picture(const wchar_t* name) {
        const std::wstring path = folder_ + name;
        EXPECT_TRUE(SavePicture(path, L"image/png", 40, 30, Solid(0xFF406080)));
        return path;
    }
    std::wstring folder_;
    HWND box_ = nullptr;
};

}  // namespace

TEST_F(ChosenScene, FliesTheSchemeInTheBoxOverTheStoredOne) {
    ASSERT_NE(box_, nullptr);
    const std::vector<std::wstring> chosen = {Picture(L"a.png"), Picture(L"b.png")};
    Settings().pictures = chosen;
    Settings().SetValue(L"SelectScheme", kRotation);
    const std::wstring settingsPath = folder_ + L"Veltrano.ini";

    Choose(kMotion);
    BuildChosenScene(box_, settingsPath);
    EXPECT_EQ(TheScene().scheme, kMotion);
    EXPECT_EQ(TheScene().quads.size(), 10u);

    // The next preview under another scheme gets all of its quads back.
    Choose(kRotation);
    BuildChosenScene(box_, settingsPath);
    EXPECT_EQ(TheScene().scheme, kRotation);
    EXPECT_EQ(TheScene().quads.size(), 30u);
    EXPECT_EQ(Settings().pictures, chosen);
}

TEST_F(ChosenScene, EmptyListStaysEmpty) {
    Choose(kMotion);
    BuildChosenScene(box_, folder_ + L"Veltrano.ini");
    EXPECT_EQ(TheScene().scheme, kMotion);
    EXPECT_TRUE(Settings().pictures.empty());
}
