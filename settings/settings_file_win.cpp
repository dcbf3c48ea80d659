#include "settings/settings_file_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "base/system_functions.h"
#include "base/windows_version_win.h"
#include "settings/settings_file.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <vector>

using namespace settings_file;

namespace {

constexpr char kFilter[] = "Registry Files\0*.reg\0";
constexpr char kExportTitle[] = "Export Tessara Settings";
constexpr char kImportTitle[] = "Import Tessara Settings";
constexpr char kExportArguments[] = "/e \"%s\" HKEY_CURRENT_USER\\Software\\Marrowen";
constexpr char kImportArguments[] = "/s \"%s\"";
constexpr char kExportExtensionText[] =
    "The fileextension must be \".reg\".\nSettings were not saved.";
constexpr char kImportExtensionText[] =
    "The extension must be \".reg\".\nSettings were not imported.";
constexpr char kNotSaved[] = "Settings not saved";
constexpr char kNotImported[] = "Settings not imported";

// OFN_EXTENSIONDIFFERENT is an answer of the dialog, so it is not passed in.
constexpr DWORD kExportFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                               OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN | OFN_NONETWORKBUTTON |
                               OFN_EXPLORER | OFN_ENABLESIZING;
constexpr DWORD kImportFlags = kExportFlags | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST;

Header SystemHeader() {
    return IsWindows2000OrLater() ? Header::Version5 : Header::Regedit4;
}

std::string DefaultFileName() {
    char name[MAX_PATH] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(name, sizeof name, "Tessara settings %Y.%m.%d %H.%M.reg", local);
    return name;
}

// The dialog's common fields; `file` receives the chosen path.
OPENFILENAMEA DialogFields(HWND owner, char* file, char* title, const char* caption, DWORD flags) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = IsWindows2000OrLater() ? sizeof dialog : OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = MAX_PATH;
    dialog.lpstrTitle = caption;
    dialog.lpstrDefExt = "reg";
    dialog.Flags = flags;
    dialog.FlagsEx = OFN_EX_NOPLACESBAR;
    return dialog;
}

void CopyInto(char* buffer, const std::string& text) {
    std::strncpy(buffer, text.c_str(), MAX_PATH - 1);
    buffer[MAX_PATH - 1] = '\0';
}

// The dialog says so, or the name plainly does not end in ".reg".
bool ExtensionDiffers(const OPENFILENAMEA& dialog) {
    const std::size_t length = std::strlen(dialog.lpstrFile);
    return (dialog.Flags & OFN_EXTENSIONDIFFERENT) != 0 || length < 4 ||
           lstrcmpiA(dialog.lpstrFile + length - 4, ".reg") != 0;
}

std::string Formatted(const char* format, const std::string& text) {
    std::vector<char> buffer(std::strlen(format) + text.size() + 1);
    std::snprintf(buffer.data(), buffer.size(), format, text.c_str());
    return buffer.data();
}

void RunRegistryEditor(HWND owner, const std::string& arguments) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string program = std::string(windows) + "\\regedit.exe";
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.hwnd = owner;
    run.lpFile = program.c_str();
    run.lpParameters = arguments.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&run))
        return;
    UniqueHandle process(run.hProcess);
    if (process)
        WaitForSingleObject(process.get(), INFINITE);
}

// At most `limit` + 1 bytes, so that a longer file shows as too long.
std::optional<std::vector<std::uint8_t>> ReadStart(const char* path, std::size_t limit) {
    UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || file.get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(limit + 1);
    std::size_t total = 0;
    DWORD read = 0;
    while (
        total < bytes.size() &&
        ReadFile(file.get(), bytes.data() + total, DWORD(bytes.size() - total), &read, nullptr) &&
        read > 0)
        total += read;
    bytes.resize(total);
    return bytes;
}

// A new file of the user's temporary folder holding `bytes`, with a name no
// other file has; empty on failure.
std::string WritePrivateCopy(const std::vector<std::uint8_t>& bytes) {
    char folder[MAX_PATH] = "";
    char path[MAX_PATH] = "";
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "tsr", 0, path))
        return "";
    bool written = false;
    {
        UniqueHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr));
        DWORD done = 0;
        written = file && file.get() != INVALID_HANDLE_VALUE &&
                  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) &&
                  done == bytes.size();
    }
    if (!written) {
        DeleteFileA(path);
        return "";
    }
    return path;
}

bool IsRegularFile(const std::string& path) {
    struct _stat info;
    return _stat(path.c_str(), &info) == 0 && (info.st_mode & _S_IFREG) != 0;
}

bool ListedFileIsExport(const std::string& path) {
    const std::optional<std::vector<std::uint8_t>> start = ReadStart(path.c_str(), kListTestBytes);
    return start && LooksLikeExport(start->data(), start->size(), SystemHeader());
}

// Hides one item unless it is a folder, cannot be found, or is an export.
// The shell may show names without their extension: the list holds only
// "*.reg" files and folders, so such a name is tried with ".reg" too.
void FilterItem(HWND list, int item, const std::string& folder) {
    char text[MAX_PATH] = "";
    LVITEMA request{};
    request.iSubItem = 0;
    request.pszText = text;
    request.cchTextMax = MAX_PATH - 1;
    SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request));
    std::string path = folder + text;
    if (!IsRegularFile(path)) {
        path += ".reg";
        if (!IsRegularFile(path))
            return;
    }
    if (!ListedFileIsExport(path))
        SendMessageA(list, LVM_DELETEITEM, item, 0);
}

} // namespace

std::string SettingsFolder() {
    char folder[MAX_PATH] = "";
    if (!g_system.SHGetSpecialFolderPathA ||
        !g_system.SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, TRUE))
        return "";
    const std::string path = std::string(folder) + "\\Tessara";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string ExportSettingsFile(HWND dialogOwner, HWND messageOwner) {
    char file[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    const std::string folder = SettingsFolder();
    CopyInto(file, folder.empty() ? DefaultFileName() : folder + "\\" + DefaultFileName());
    OPENFILENAMEA dialog = DialogFields(dialogOwner, file, title, kExportTitle, kExportFlags);
    if (!GetSaveFileNameA(&dialog))
        return kNotSaved;
    if (ExtensionDiffers(dialog)) {
        MessageBoxA(messageOwner, kExportExtensionText, g_app.caption, MB_OK | MB_ICONWARNING);
        return kNotSaved;
    }
    // The registry editor reports no failure, so it writes a file of its own
    // first; only an export that reads back as one replaces the chosen file.
    const std::string temporary = WritePrivateCopy({});
    if (temporary.empty())
        return kNotSaved;
    DeleteFileA(temporary.c_str());
    RunRegistryEditor(messageOwner, Formatted(kExportArguments, temporary));
    const bool exported =
        ListedFileIsExport(temporary) &&
        MoveFileExA(temporary.c_str(), file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    DeleteFileA(temporary.c_str());
    return exported ? Formatted("Saved to %s", title) : kNotSaved;
}

CheckedImport::CheckedImport(std::string copy, std::string title)
    : copy_(std::move(copy)), title_(std::move(title)) {}

CheckedImport::CheckedImport(CheckedImport&& other) noexcept
    : copy_(std::move(other.copy_)), title_(std::move(other.title_)) {
    other.copy_.clear();
}

CheckedImport::~CheckedImport() {
    if (!copy_.empty())
        DeleteFileA(copy_.c_str());
}

void CheckedImport::Import(HWND owner) const {
    RunRegistryEditor(owner, Formatted(kImportArguments, copy_));
}

std::optional<CheckedImport> ChooseImportFile(HWND dialogOwner, HWND messageOwner,
                                              std::string& status) {
    status = kNotImported;
    char file[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    const std::string folder = SettingsFolder();
    CopyInto(file, folder.empty() ? DefaultFileName() : folder + "\\*.reg");
    OPENFILENAMEA dialog = DialogFields(dialogOwner, file, title, kImportTitle, kImportFlags);
    dialog.lpfnHook = ImportFileFilterHook;
    if (!GetOpenFileNameA(&dialog))
        return std::nullopt;
    if (ExtensionDiffers(dialog)) {
        MessageBoxA(messageOwner, kImportExtensionText, g_app.caption, MB_OK | MB_ICONWARNING);
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = ReadStart(file, kMaxImportBytes);
    const Check check = bytes ? CheckImportFile(bytes->data(), bytes->size(), SystemHeader())
                              : Check{Verdict::Unreadable, 0};
    if (check.verdict != Verdict::Accepted) {
        MessageBoxA(messageOwner, RefusalText(check).c_str(), g_app.caption,
                    MB_OK | MB_ICONWARNING);
        return std::nullopt;
    }
    std::string copy = WritePrivateCopy(*bytes);
    if (copy.empty())
        return std::nullopt;
    status = Formatted("Imported from %s", title);
    return CheckedImport(std::move(copy), title);
}

UINT_PTR CALLBACK ImportFileFilterHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const HWND dialog = GetParent(hook);
        const HWND list = FindWindowExA(GetDlgItem(dialog, lst2), nullptr, WC_LISTVIEWA, nullptr);
        if (list) {
            char folder[MAX_PATH] = "";
            SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            const std::string prefix = std::string(folder) + "\\";
            for (int item = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) - 1; item >= 0; --item)
                FilterItem(list, item, prefix);
        }
    }
    return DefWindowProcA(hook, message, wParam, lParam);
}
