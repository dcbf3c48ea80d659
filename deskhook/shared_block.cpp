#include <atomic>

#include "deskhook/hook_internal.h"
#include "deskhook/shared_names.h"

namespace deskhook {

namespace {

HMODULE g_module;

// The mapping and its view stay for the life of the process (or of this copy
// of the library inside Explorer).
struct MappedBlock {
    HANDLE mapping = nullptr;
    SharedBlock* view = nullptr;

    void MapAll(HANDLE opened) {
        mapping = opened;
        if (mapping)
            view = static_cast<SharedBlock*>(
                MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
    }
    void Release() {
        if (view)
            UnmapViewOfFile(view);
        if (mapping)
            CloseHandle(mapping);
        view = nullptr;
        mapping = nullptr;
    }
};

MappedBlock g_block;
SRWLOCK g_blockLock = SRWLOCK_INIT;
// Read on every message of the subclassed list view, so without the lock.
std::atomic<SharedBlock*> g_view{nullptr};

template <typename Open> SharedBlock* MapOnce(Open open) {
    if (SharedBlock* view = g_view.load(std::memory_order_acquire))
        return view;
    AcquireSRWLockExclusive(&g_blockLock);
    if (!g_block.view) {
        g_block.Release();
        g_block.MapAll(open());
        g_view.store(g_block.view, std::memory_order_release);
    }
    SharedBlock* view = g_block.view;
    ReleaseSRWLockExclusive(&g_blockLock);
    return view;
}

} // namespace

HMODULE Module() {
    return g_module;
}

// Default security: the creating user's token decides who may open it, so
// no other user can read or steer what the desktop side does.
SharedBlock* ProgramBlock() {
    return MapOnce([] {
        return CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(SharedBlock), names::SharedBlockMapping);
    });
}

SharedBlock* DesktopBlock() {
    return MapOnce(
        [] { return OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, names::SharedBlockMapping); });
}

void ReleaseBlock() {
    g_view.store(nullptr);
    g_block.Release();
}

bool ProcessAlive(DWORD pid) {
    if (pid == GetCurrentProcessId())
        return true;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

} // namespace deskhook

SharedBlock* WINAPI LocateSharedData() {
    return deskhook::ProgramBlock();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        deskhook::g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        deskhook::ReleaseBlock();
    }
    return TRUE;
}
