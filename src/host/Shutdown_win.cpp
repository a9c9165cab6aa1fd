#include "host/Shutdown_win.h"

#include "check/ErrorScreen_win.h"
#include "resources/ImageServices_win.h"
#include "resources/ZipReader.h"
#include "scene/RenderContext_win.h"
#include "scene/TextureList_win.h"

namespace WorkSpace {

void ReleaseProcessState() {
    // Each subsystem adds its release call here as it comes to own process state.
    DestroyGlContext();
    ReleaseTextureList();
    ReleaseErrorScreen();
    ReleasePackageReader();
    ShutdownImageServices();
}

}  // namespace WorkSpace
