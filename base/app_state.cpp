#include "base/app_state.h"

AppState g_app;

std::string ProgramPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

int QuietMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (g_app.quiet)
        return IDOK;
    return MessageBoxA(owner, text, caption, type);
}
