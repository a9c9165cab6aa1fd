#pragma once

namespace WorkSpace {

// Returns true when the machine is fit to run the saver: CheckDisplayAdapter.
bool CheckSystem();

// Returns false for a rejected model of the first display adapter, or one whose
// registry key records an acceleration level; true otherwise and on any failure.
bool CheckDisplayAdapter();

}  // namespace WorkSpace
