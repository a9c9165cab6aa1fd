#include "host/Shutdown_win.h"

#include "resources/ZipReader.h"

namespace WorkSpace {

void ReleaseProcessState() {
    // Each subsystem adds its release call here as it comes to own process state.
    ReleasePackageReader();
}

}  // namespace WorkSpace
