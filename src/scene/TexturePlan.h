#pragma once
// How large each slot's picture texture is made in a window: as large as a
// picture in that slot ever appears there, within the graphics card's largest
// texture and a budget of texture memory. Portable.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/TextureShape.h"

namespace WorkSpace {

// Texture memory the pictures of one scene may take, bytes, counted as a
// driver keeps them: 4 bytes a texel, a third more for the mipmaps, each
// texture as if square. A 32-bit process shares its 2 GiB with the driver's
// copy of every texture, so it gets less.
constexpr uint64_t kTextureBudgetBytes64 = 768ull << 20;
constexpr uint64_t kTextureBudgetBytes32 = 256ull << 20;
constexpr uint64_t kTextureBudgetBytes =
    sizeof(void*) == 8 ? kTextureBudgetBytes64 : kTextureBudgetBytes32;

// Returns the widest a quad's picture spans on screen in slot `slot` of
// `scheme`, pixels, in a window `windowHeight` pixels high: the widest quad
// (9 units) at the slot's depth, seen from where the eye comes nearest.
double SlotScreenWidth(int32_t scheme, int32_t slot, int32_t windowHeight);

// Returns the texture rule of each slot of `scheme` in a window of
// `windowWidth` x `windowHeight` pixels, slot 0 (the farthest) first: each as
// large as its picture appears, no side above `maxTextureSize`, and all of
// them together within `budgetBytes`; where the budget binds, the farthest
// slots give way first. A window that shows no scene gets the classic table.
std::vector<TextureSideRule> SlotTextureRules(int32_t scheme, int32_t windowWidth,
                                              int32_t windowHeight, int32_t maxTextureSize,
                                              uint64_t budgetBytes);

// Returns the rule of picture `index` of `count` listed pictures: that of the
// nearest slot it fills when every picture loads (slot j shows picture
// j mod count); the classic table without slots.
TextureSideRule PictureTextureRule(const std::vector<TextureSideRule>& slots, size_t index,
                                   size_t count);

}  // namespace WorkSpace
