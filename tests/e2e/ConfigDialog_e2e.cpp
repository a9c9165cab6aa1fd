// The configuration run as a user meets it: the dialog's texts and place, the
// list it opens with, and what OK, Cancel, Escape and the close box store.
#include <gtest/gtest.h>

#include "config/DialogIds.h"
#include "e2e/driver/ConfigSession.h"
#include "e2e/driver/SaverWindows.h"

namespace {

using e2e::ConfigSession;

using e2e::WindowText;

struct DialogTexts {
    std::wstring title, add, remove, removeAll, preview, ok, cancel, label, group;
    std::vector<std::wstring> schemes;
};

DialogTexts ReadTexts(const ConfigSession& run) {
    return {WindowText(run.Dialog()),
            WindowText(run.Control(IDC_ADD)),
            WindowText(run.Control(IDC_REMOVE)),
            WindowText(run.Control(IDC_REMOVE_ALL)),
            WindowText(run.Control(IDC_PREVIEW)),
            WindowText(run.Control(IDOK)),
            WindowText(run.Control(IDCANCEL)),
            WindowText(run.Control(IDC_SCHEME_LABEL)),
            WindowText(run.Control(IDC_FILES_GROUP)),
            e2e::ComboBoxEntries(run.Schemes())};
}

const DialogTexts kEnglish = {L"Veltrano Screen Saver", L"Add", L"Remove", L"Remove All",
                              L"Preview", L"\u041Ek", L"Cancel", L"Select Scheme", L"Files",
                              {L"Rotation", L"Falling", L"Approach", L"Motion", L"Fall Rotation"}};

TEST(ConfigDialog, ShowsTranslatedTextsAtItsPlaceAndEndsWithMinusOne) {
    const struct {
        std::optional<DWORD> language;
        bool english;
    } cases[] = {{std::nullopt, true}, {7, true}, {1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language ? int(*c.language) : -1);
        e2e::CurLangValue language(c.language);
        ConfigSession run(L"texts");
        // Translated texts come from the resource package; a build without
        // one has the English texts alone.
        if (!c.english && !run.HasPackage()) {
            ASSERT_FALSE(e2e::BuildMakesPackage()) << "the build made no resource package";
            continue;
        }
        ASSERT_TRUE(run.Open());
        const DialogTexts texts = ReadTexts(run);
        if (c.english) {
            EXPECT_EQ(texts.title, kEnglish.title);
            EXPECT_EQ(texts.add, kEnglish.add);
            EXPECT_EQ(texts.remove, kEnglish.remove);
            EXPECT_EQ(texts.removeAll, kEnglish.removeAll);
            EXPECT_EQ(texts.preview, kEnglish.preview);
            EXPECT_EQ(texts.ok, kEnglish.ok);
            EXPECT_EQ(texts.cancel, kEnglish.cancel);
            EXPECT_EQ(texts.label, kEnglish.label);
            EXPECT_EQ(texts.group, kEnglish.group);
            EXPECT_EQ(texts.schemes, kEnglish.schemes);
        } else {
            // Russian texts from the package: every one there, none English.
            for (const auto& [got, english] :
                 {std::pair{texts.title, kEnglish.title}, {texts.add, kEnglish.add},
                  {texts.remove, kEnglish.remove}, {texts.cancel, kEnglish.cancel},
                  {texts.group, kEnglish.group}}) {
                EXPECT_FALSE(got.empty());
                EXPECT_NE(got, english);
            }
            ASSERT_EQ(texts.schemes.size(), 5u);
            EXPECT_NE(texts.schemes[0], kEnglish.schemes[0]);
        }
        // The top-left corner 100 pixels left of and above the screen's centre.
        RECT frame{};
        GetWindowRect(run.Dialog(), &frame);
        EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 100);
        EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 100);

        run.Push(IDCANCEL);
        const auto code = run.WaitForExit();
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0xFFFFFFFFu);
    }
}

TEST(ConfigDialog, OpensWithTheStoredListAndSchemeOrTheDefaults) {
    {
        ConfigSession run(L"stored");
        run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg", "C:\\Pics\\two.png",
                                             "C:\\Pics\\three.bmp"}, 2));
        ASSERT_TRUE(run.Open());
        EXPECT_EQ(run.Entries(), (std::vector<std::wstring>{L"C:\\Pics\\one.jpg",
                                                            L"C:\\Pics\\two.png",
                                                            L"C:\\Pics\\three.bmp"}));
        EXPECT_EQ(e2e::ComboBoxSelection(run.Schemes()), 2);
        run.Push(IDCANCEL);
        EXPECT_TRUE(run.WaitForExit().has_value());
    }
    {
        ConfigSession run(L"unknown-scheme");
        run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg"}, 9));
        ASSERT_TRUE(run.Open());
        EXPECT_EQ(e2e::ComboBoxSelection(run.Schemes()), -1);
        // OK without choosing keeps "no scheme" as -1.
        run.Push(IDOK);
        EXPECT_TRUE(run.WaitForExit().has_value());
        EXPECT_EQ(run.Settings(), e2e::SettingsText({"C:\\Pics\\one.jpg"}, -1));
    }
    {
        ConfigSession run(L"no-settings");
        ASSERT_TRUE(run.Open());
        EXPECT_EQ(run.Entries(), (std::vector<std::wstring>{run.DefaultPicture(1),
                                                            run.DefaultPicture(2),
                                                            run.DefaultPicture(3)}));
        EXPECT_EQ(e2e::ComboBoxSelection(run.Schemes()), 0);
        run.Push(IDCANCEL);
        EXPECT_TRUE(run.WaitForExit().has_value());
        EXPECT_FALSE(run.Settings().has_value());
    }
}

TEST(ConfigDialog, CancelEscapeAndTheCloseBoxStoreNothing) {
    const std::string stored = e2e::SettingsText({"C:\\Pics\\one.jpg", "C:\\Pics\\two.jpg"}, 1);
    enum class End { Cancel, Escape, CloseBox };
    for (End end : {End::Cancel, End::Escape, End::CloseBox}) {
        SCOPED_TRACE(int(end));
        ConfigSession run(L"cancel");
        run.WriteSettings(stored);
        ASSERT_TRUE(run.Open());
        run.Push(IDC_REMOVE_ALL);
        SendMessageW(run.Schemes(), CB_SETCURSEL, 4, 0);
        ASSERT_TRUE(run.Entries().empty());
        switch (end) {
        case End::Cancel:
            run.Push(IDCANCEL);
            break;
        case End::Escape:
            SetForegroundWindow(run.Dialog());
            e2e::WaitUntilForeground(run.Dialog(), 5000);
            e2e::PressKey(VK_ESCAPE);
            break;
        case End::CloseBox:
            PostMessageW(run.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        const auto code = run.WaitForExit();
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0xFFFFFFFFu);
        EXPECT_EQ(run.Settings(), stored);
    }
}

TEST(ConfigDialog, OkStoresTheListAndSchemeInTheSettingsFormat) {
    ConfigSession run(L"ok");
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg", "C:\\Pics\\two.jpg"}, 0));
    ASSERT_TRUE(run.Open());
    SendMessageW(run.Schemes(), CB_SETCURSEL, 3, 0);
    run.Push(IDOK);
    const auto code = run.WaitForExit();
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0xFFFFFFFFu);
    EXPECT_EQ(run.Settings(), e2e::SettingsText({"C:\\Pics\\one.jpg", "C:\\Pics\\two.jpg"}, 3));
}

TEST(ConfigDialog, RemoveAllThenOkStoresNoPath) {
    ConfigSession run(L"remove-all");
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg", "C:\\Pics\\two.jpg"}, 4));
    ASSERT_TRUE(run.Open());
    run.Push(IDC_REMOVE_ALL);
    EXPECT_TRUE(run.Entries().empty());
    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText({}, 4));
}

TEST(ConfigDialog, AFailedSaveIsToldAndTheDialogStays) {
    ConfigSession run(L"failed-save");
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg"}, 0));
    ASSERT_TRUE(run.Open());
    // Another program holds the settings file and shares it with nobody.
    HANDLE held = CreateFileW(run.SettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::wstring title = e2e::WindowText(run.Dialog());
    e2e::PostCommand(run.Dialog(), IDOK);
    HWND box = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            for (HWND window : e2e::WindowsOf(run.ProcessId())) {
                if (window != run.Dialog() && e2e::ClassOf(window) == L"#32770" &&
                    IsWindowVisible(window)) {
                    box = window;
                    return true;
                }
            }
            return false;
        },
        5000));
    EXPECT_EQ(e2e::WindowText(box), title);
    e2e::PumpFor(1500);
    e2e::SaveBitmap(e2e::CaptureScreen(), e2e::BinDir() + L"e2e-failed-save.bmp");
    // The platform's own words for the error, whatever they are.
    bool hasMessage = false;
    for (HWND child : e2e::WindowsOf(run.ProcessId(), true)) {
        if (GetParent(child) == box && e2e::ClassOf(child) == L"Static" &&
            e2e::WindowText(child).size() > 5) {
            hasMessage = true;
        }
    }
    EXPECT_TRUE(hasMessage);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_TRUE(IsWindowVisible(run.Dialog()));

    CloseHandle(held);
    EXPECT_EQ(run.Settings(), e2e::SettingsText({"C:\\Pics\\one.jpg"}, 0));

    // Once the file is free, OK stores as usual.
    SendMessageW(run.Schemes(), CB_SETCURSEL, 2, 0);
    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText({"C:\\Pics\\one.jpg"}, 2));
}

}  // namespace
