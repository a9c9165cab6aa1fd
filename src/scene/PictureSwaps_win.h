#pragma once
// The collection going round during a long run: a quad that wraps around
// re-enters as the next picture of the order. The pictures are decoded
// ahead on a thread of its own in background mode, which also keeps the
// order's record and, while the wraps have what they need, puts the next
// start's pictures into the picture cache; the window's thread uploads at
// most one picture per tick. The thread ends with the run: at the first
// input the saver closes.
#include <memory>
#include <vector>

#include "collection/Collection_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"

namespace WorkSpace {

struct AheadState;

class PictureSwaps {
public:
    PictureSwaps() = default;
    PictureSwaps(PictureSwaps&& other) noexcept : state_(std::move(other.state_)) {}
    PictureSwaps& operator=(PictureSwaps&& other) noexcept;
    ~PictureSwaps() { Stop(); }

    // Starts decoding ahead the next pictures of `turns`, each for the nearest
    // of `slotRules` and shown at the rule of the slot it takes, and saves its
    // record; no turns (a collection that fits the slots) start nothing.
    void Start(std::shared_ptr<PictureTurns> turns, std::vector<TextureSideRule> slotRules);
    // Lets the thread go after the picture in hand, unwaited.
    void Stop();
    // Returns true after giving the first quad that wrapped on the last tick
    // (and shows a texture no other quad shows) the next decoded picture: its
    // texture replaced in `list` by one under a new name, its proportions
    // taken, the picture counted as flown. Nothing ready: the quad keeps its
    // picture.
    bool AfterTick(Scene& scene, TextureList& list);

private:
    std::shared_ptr<AheadState> state_;
};

}  // namespace WorkSpace
