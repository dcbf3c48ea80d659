#include "support/help_pages_win.h"

#include "base/app_state.h"
#include "base/unicode_text_win.h"
#include "support/help_pages.h"
#include "support/update_check_win.h"

#include <shellapi.h>

#include <string>

namespace {

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Utf16Text(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

bool OpenPageOfCommand(HWND owner, int command, int tabIndex) {
    help_pages::PageRequest request{};
    if (!help_pages::RequestOfCommand(command, tabIndex, request))
        return false;
    const std::string folder = help_pages::LocalHelpFolder(ProgramPath());
    const bool localExists =
        request.localPage != nullptr && !folder.empty() && IsFile(folder + request.localPage);
    const std::string target =
        help_pages::ChosenTarget(request, folder, localExists, ConfiguredWebHost().Authority());
    // A page the shell cannot open is not reported: the user sees nothing
    // open and has nothing to choose.
    ShellExecuteW(owner, L"open", Utf16Text(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
