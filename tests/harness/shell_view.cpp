#include "tests/harness/harness.h"
#include "testbed/deskshell/deskshell_protocol.h"

#include <shlobj.h>

#include <cstdint>
#include <cstring>

namespace harness {
namespace {

constexpr char kProgram[] = "shellview.exe";

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string ProfileFolder() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Wine links the prefix's Desktop folder to the Unix home directory, whose
// files would then be the view's icons and which no test may touch. Nor can
// the link be replaced from here: Wine follows it for every file operation
// (a rename of the link moves the home directory itself, a delete empties
// it). So the user's Desktop shell folder is moved to a real folder of the
// test bed's own, as a user moves it in the folder's properties; the shell
// and Tessara then find it where Windows says it is.
std::string OwnDesktopFolder() {
    return ProfileFolder() + "\\Desktop.testbed";
}

// True once the shell names the test bed's folder as the Desktop folder:
// only then are files created and deleted there.
bool MoveDesktopToOwnFolder() {
    const std::string folder = OwnDesktopFolder();
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    return RegWrite(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", REG_EXPAND_SZ, folder.c_str(),
                    static_cast<DWORD>(folder.size() + 1)) &&
           lstrcmpiA(ShellView::DesktopFolder().c_str(), folder.c_str()) == 0;
}

std::string InDesktop(const std::string& name) {
    return OwnDesktopFolder() + "\\" + name;
}

bool CreateEmptyFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool EmptyDesktopFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(InDesktop("*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool emptied = true;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            emptied &= DeleteFileA(InDesktop(found.cFileName).c_str()) != FALSE;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return emptied;
}

} // namespace

std::string ShellView::DesktopFolder() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool ShellView::Start(const std::vector<std::string>& files, const ShellViewOptions& options) {
    Stop();
    CloseAllShells();
    if (!MoveDesktopToOwnFolder() || !EmptyDesktopFolder())
        return false;
    for (const std::string& name : files)
        if (!CreateEmptyFile(InDesktop(name)))
            return false;
    ShellOptions shell;
    shell.program = kProgram;
    shell.icons = -1;
    shell.layout = options.layout;
    shell.autoArrange = options.autoArrange;
    if (!Shell::Start(shell))
        return false;
    // The view fills its list view after its window shows.
    return WaitUntil([&] { return IconCount() >= static_cast<int>(files.size()); });
}

std::optional<ShellIcon> ShellView::Icon(const std::string& caption) const {
    for (const ShellIcon& icon : Layout())
        if (icon.caption == caption)
            return icon;
    return std::nullopt;
}

// Explorer hears of a file's change from the file system and hands it to its
// view through the shell's change notification (SHChangeNotify); Wine's view
// is never told by the file system, so the view's process is asked to
// announce it, as a program that changed a file announces it.
bool ShellView::Announce(LONG event, const std::string& path, const std::string& newPath) const {
    std::string data(sizeof(int32_t), '\0');
    const int32_t value = event;
    std::memcpy(data.data(), &value, sizeof value);
    data += path + '\0';
    if (!newPath.empty())
        data += newPath + '\0';
    return Command(static_cast<unsigned long>(ShellCommand::AnnounceChange), data.data(),
                   static_cast<DWORD>(data.size())) == 1;
}

bool ShellView::AddFile(const std::string& name) const {
    if (!CreateEmptyFile(InDesktop(name)))
        return false;
    Announce(SHCNE_CREATE, InDesktop(name));
    return WaitUntil([&] { return Icon(name).has_value(); });
}

bool ShellView::RemoveFile(const std::string& name) const {
    if (!DeleteFileA(InDesktop(name).c_str()))
        return false;
    Announce(SHCNE_DELETE, InDesktop(name));
    return WaitUntil([&] { return !Icon(name).has_value(); });
}

bool ShellView::RenameFile(const std::string& from, const std::string& to) const {
    if (!MoveFileA(InDesktop(from).c_str(), InDesktop(to).c_str()))
        return false;
    Announce(SHCNE_RENAMEITEM, InDesktop(from), InDesktop(to));
    return WaitUntil([&] { return Icon(to).has_value() && !Icon(from).has_value(); });
}

} // namespace harness
