#pragma once
// The scene made from the user's choice: settings read, one texture per
// picture that can fly, slots filled, the logo placed in the bottom-left
// corner. All decoding and uploading of the saver happens here.
#include <memory>
#include <string>
#include <vector>

#include "collection/Collection_win.h"
#include "resources/ImageServices_win.h"
#include "scene/PictureLoader_win.h"

namespace WorkSpace {

// Returns true after building the scene anew. With `keepSettings` false the
// picture list and the scheme are first read from the settings file at
// `settingsPath`; with it true the record in memory and the current scheme
// are used as they are. The build has no failing outcome: pictures that do
// not load are left out, and a missing logo leaves the logo as it was.
bool BuildScene(const std::wstring& settingsPath, bool keepSettings);

// A scene build that runs while its window answers messages: Start reads the
// settings and sets the gathering of the start's pictures going (listed
// folders expanded, the order of a large collection read) and then the
// decoding threads; each Step uploads (on the thread that owns the OpenGL
// context) what they finished, and the Step that completes the load fills
// the slots and places the logo. The outcome is that of BuildScene.
class SceneBuilder {
public:
    // Starts building the scene anew with `workers` decoding threads (see
    // BuildScene for `settingsPath` and `keepSettings`); a build under way is
    // abandoned first. With `keepTurns` (the full-screen saver) the pictures
    // that fly count as flown in the order of a large collection.
    void Start(const std::wstring& settingsPath, bool keepSettings, size_t workers,
               bool keepTurns = false);
    // Returns true once the scene is built; at once when no build is under
    // way. A build whose start found no memory completes here, empty.
    bool Step();
    // Returns when the gathering is done or a decoder has finished a picture,
    // or at once when there is nothing to wait for.
    void Wait();
    bool Building() const { return building_; }
    // Drops the build under way, half made: nobody waits for its threads.
    void Abandon() {
        gathering_.Abandon();
        load_.reset();
        start_ = StartPictures();
        building_ = false;
    }
    // The order the built scene's collection goes on in; none when the
    // collection fits the slots, or before the build completes.
    const std::shared_ptr<PictureTurns>& Turns() const { return order_; }

private:
    // Returns true once the start's pictures are known and their load begun.
    bool LoadStarted();
    // Counts the pictures the load used as flown, and gives the rest back.
    void SettleTurns();

    CollectionGathering gathering_;
    bool listRead_ = false;  // the list was read: its pictures are being gathered or loaded
    std::unique_ptr<PictureLoad> load_;
    StartPictures start_;
    std::shared_ptr<PictureTurns> order_;
    size_t workers_ = 0;
    bool building_ = false;  // started and not yet completed or abandoned
};

// Empties the texture list, makes picture i's texture under the name i until
// as many pictures have loaded as all monitors have slots (or the list ends),
// and fills each monitor's slots from its share of what loaded.
void LoadScenePictures(const std::vector<std::wstring>& pictures);

// Returns the texture rule of each slot for the attached window (SlotTextureRules).
std::vector<TextureSideRule> SceneTextureRules();

// Makes the logo's texture under the next free name and places it flat in
// the bottom-left corner of each monitor of the attached window, at its pixel
// size times the window's DPI / 96. No image (or no texture from it) leaves
// the logo as it was.
void PlaceLogo(UniqueImage image);

}  // namespace WorkSpace
