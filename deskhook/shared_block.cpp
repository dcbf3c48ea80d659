#include <atomic>
#include <memory>

#include "base/handles.h"
#include "base/user_security_win.h"
#include "deskhook/hook_internal.h"
#include "deskhook/shared_names.h"

namespace deskhook {

namespace {

HMODULE g_module;

// The mapping and its view stay for the life of the process (or of this copy
// of the library inside Explorer).
struct MappedBlock {
    UniqueHandle mapping;
    UniqueMappedView view;

    void Map(UniqueHandle opened) {
        mapping = std::move(opened);
        if (mapping)
            view.reset(
                MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
    }
    SharedBlock* Block() const { return static_cast<SharedBlock*>(view.get()); }
    // The view goes before the mapping.
    void Release() {
        view.reset();
        mapping.reset();
    }
};

// A block of our layout: the view covers it (a smaller mapping cannot be
// mapped at all) and its creator built the same size.
bool HasOurLayout(const SharedBlock& block) {
    MEMORY_BASIC_INFORMATION region{};
    return VirtualQuery(&block, &region, sizeof region) == sizeof region &&
           region.RegionSize >= sizeof(SharedBlock) && block.BlockSize == sizeof(SharedBlock);
}

// Creates the mapping, or takes the one that exists when it is this user's
// and of our layout.
UniqueHandle CreateOrCheckMapping(bool& created) {
    UserOnlySecurity security;
    if (!security.Attributes())
        return UniqueHandle();
    UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, security.Attributes(),
                                            PAGE_READWRITE, 0, sizeof(SharedBlock),
                                            names::SharedBlockMapping));
    created = mapping && GetLastError() != ERROR_ALREADY_EXISTS;
    if (mapping && !created && !OwnedByThisUser(mapping.get()))
        mapping.reset();
    return mapping;
}

MappedBlock g_block;
SRWLOCK g_blockLock = SRWLOCK_INIT;
// Read on every message of the subclassed list view, so without the lock.
std::atomic<SharedBlock*> g_view{nullptr};

// `mapAndCheck` maps the block into g_block and tells whether it may be used.
template <typename MapAndCheck> SharedBlock* MapOnce(MapAndCheck mapAndCheck) {
    if (SharedBlock* view = g_view.load(std::memory_order_acquire))
        return view;
    AcquireSRWLockExclusive(&g_blockLock);
    if (!g_view.load(std::memory_order_relaxed)) {
        g_block.Release();
        if (mapAndCheck(g_block))
            g_view.store(g_block.Block(), std::memory_order_release);
        else
            g_block.Release();
    }
    SharedBlock* view = g_view.load(std::memory_order_relaxed);
    ReleaseSRWLockExclusive(&g_blockLock);
    return view;
}

} // namespace

HMODULE Module() {
    return g_module;
}

bool PinModule() {
    HMODULE pinned;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCSTR>(&PinModule), &pinned);
}

// Owned by and open to this user only, so no other user can read or steer
// what the desktop side does. A mapping of that name made by someone else, or
// by a library of another layout, is not used at all.
SharedBlock* ProgramBlock() {
    return MapOnce([](MappedBlock& block) {
        bool created = false;
        block.Map(CreateOrCheckMapping(created));
        if (block.Block() && created)
            block.Block()->BlockSize = sizeof(SharedBlock);
        return block.Block() && HasOurLayout(*block.Block());
    });
}

SharedBlock* DesktopBlock() {
    return MapOnce([](MappedBlock& block) {
        UniqueHandle mapping(
            OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, names::SharedBlockMapping));
        if (mapping && !OwnedByThisUser(mapping.get()))
            mapping.reset();
        block.Map(std::move(mapping));
        return block.Block() && HasOurLayout(*block.Block());
    });
}

void ReleaseBlock() {
    g_view.store(nullptr);
    g_block.Release();
}

bool ProcessAlive(DWORD pid) {
    if (pid == GetCurrentProcessId())
        return true;
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
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
