#include "base/instance_data.h"

#include "base/user_security_win.h"

#include <cstdint>

namespace {

// Program instances only; the hook library never opens it.
constexpr char kInstanceDataMapping[] = "Local\\TessaraInstanceData";

InstanceData privateData;
InstanceData* data = &privateData;

} // namespace

// This user's alone: a mapping of that name made by someone else is not used,
// and the private block stays.
bool OpenInstanceData() {
    UserOnlySecurity security;
    if (!security.Attributes())
        return false;
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, security.Attributes(), PAGE_READWRITE,
                                        0, sizeof(InstanceData), kInstanceDataMapping);
    if (!mapping)
        return false;
    if (!OwnedByThisUser(mapping)) {
        CloseHandle(mapping);
        return false;
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InstanceData));
    if (!view) {
        CloseHandle(mapping);
        return false;
    }
    // The mapping handle stays open with the view for the life of the process.
    data = static_cast<InstanceData*>(view);
    return true;
}

InstanceData& Instances() {
    return *data;
}

HWND SharedSettingsWindow() {
    // Window handles are sign-extended from 32 bits, as LongToHandle does.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(data->SettingsWindow));
}

HWND OwnSettingsWindow() {
    HWND window = SharedSettingsWindow();
    DWORD process = 0;
    if (window)
        GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() ? window : nullptr;
}

void SetSharedSettingsWindow(HWND window) {
    InterlockedExchange(&data->SettingsWindow,
                        static_cast<LONG>(reinterpret_cast<intptr_t>(window)));
}

bool TestModeOn() {
    return data->TestMode != 0;
}

void SetTestMode(bool on) {
    InterlockedExchange(&data->TestMode, on ? 1 : 0);
}
