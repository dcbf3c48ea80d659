#include "desklink/context_menu_link.h"

#include "base/handles.h"
#include "deskhook/deskhook.h"

namespace {

// A detach makes a running attach give up within a fraction of a second;
// this only bounds the wait should the desktop hang meanwhile.
constexpr DWORD kWorkerEndMs = 10000;

UniqueHandle g_worker; // user-interface thread

DWORD WINAPI AttachWorker(void* mainWindow) {
    return SetHook2(TRUE, static_cast<HWND>(mainWindow)) ? 0 : 1;
}

} // namespace

void DetachContextMenu() {
    SetHook2(FALSE, nullptr);
    if (g_worker)
        WaitForSingleObject(g_worker.get(), kWorkerEndMs);
    g_worker.reset();
}

bool AttachContextMenuInBackground(HWND mainWindow) {
    g_worker.reset(CreateThread(nullptr, 0, AttachWorker, mainWindow, 0, nullptr));
    return static_cast<bool>(g_worker);
}
