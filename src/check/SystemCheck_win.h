#pragma once

namespace WorkSpace {

// Returns whether the machine is fit to run the saver: false for a rejected
// model of the first display adapter, or one whose registry key records an
// acceleration level; true otherwise and on any failure.
bool CheckSystem();

}  // namespace WorkSpace
