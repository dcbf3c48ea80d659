#include "settings/settings_file_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "base/system_functions.h"
#include "base/unicode_text_win.h"
#include "base/windows_version_win.h"
#include "settings/settings_file.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>
#include <ctime>
#include <vector>

using namespace settings_file;

namespace {

constexpr wchar_t kFilter[] = L"Registry Files\0*.reg\0";
constexpr wchar_t kExportTitle[] = L"Export Tessara Settings";
constexpr wchar_t kImportTitle[] = L"Import Tessara Settings";
constexpr wchar_t kProgramKeyName[] = L"HKEY_CURRENT_USER\\Software\\Marrowen";
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

std::wstring DefaultFileName() {
    wchar_t name[MAX_PATH] = L"";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::wcsftime(name, MAX_PATH, L"Tessara settings %Y.%m.%d %H.%M.reg", local);
    return name;
}

// The dialog's common fields; `file` receives the chosen path.
OPENFILENAMEW DialogFields(HWND owner, wchar_t* file, wchar_t* title, const wchar_t* caption,
                           DWORD flags) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = IsWindows2000OrLater() ? sizeof dialog : OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = MAX_PATH;
    dialog.lpstrTitle = caption;
    dialog.lpstrDefExt = L"reg";
    dialog.Flags = flags;
    dialog.FlagsEx = OFN_EX_NOPLACESBAR;
    return dialog;
}

void CopyInto(wchar_t* buffer, const std::wstring& text) {
    std::wcsncpy(buffer, text.c_str(), MAX_PATH - 1);
    buffer[MAX_PATH - 1] = L'\0';
}

// The dialog says so, or the name plainly does not end in ".reg".
bool ExtensionDiffers(const OPENFILENAMEW& dialog) {
    const std::size_t length = std::wcslen(dialog.lpstrFile);
    return (dialog.Flags & OFN_EXTENSIONDIFFERENT) != 0 || length < 4 ||
           lstrcmpiW(dialog.lpstrFile + length - 4, L".reg") != 0;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

void RunRegistryEditor(HWND owner, const std::wstring& arguments) {
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring program = std::wstring(windows) + L"\\regedit.exe";
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.hwnd = owner;
    run.lpFile = program.c_str();
    run.lpParameters = arguments.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&run))
        return;
    UniqueHandle process(run.hProcess);
    if (process)
        WaitForSingleObject(process.get(), INFINITE);
}

// At most `limit` + 1 bytes, so that a longer file shows as too long.
std::optional<std::vector<std::uint8_t>> ReadStart(const std::wstring& path, std::size_t limit) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
std::wstring WritePrivateCopy(const std::vector<std::uint8_t>& bytes) {
    const std::wstring folder = TemporaryFolder();
    wchar_t path[MAX_PATH] = L"";
    if (folder.empty() || !GetTempFileNameW(folder.c_str(), L"tsr", 0, path))
        return L"";
    bool written = false;
    {
        UniqueHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr));
        DWORD done = 0;
        written = file && file.get() != INVALID_HANDLE_VALUE &&
                  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) &&
                  done == bytes.size();
    }
    if (!written) {
        DeleteFileW(path);
        return L"";
    }
    return path;
}

bool IsRegularFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool ListedFileIsExport(const std::wstring& path) {
    const std::optional<std::vector<std::uint8_t>> start = ReadStart(path, kListTestBytes);
    return start && LooksLikeExport(start->data(), start->size(), SystemHeader());
}

// Hides one item unless it is a folder, cannot be found, or is an export.
// The shell may show names without their extension: the list holds only
// "*.reg" files and folders, so such a name is tried with ".reg" too.
void FilterItem(HWND list, int item, const std::wstring& folder) {
    wchar_t text[MAX_PATH] = L"";
    LVITEMW request{};
    request.iSubItem = 0;
    request.pszText = text;
    request.cchTextMax = MAX_PATH - 1;
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&request));
    std::wstring path = folder + text;
    if (!IsRegularFile(path)) {
        path += L".reg";
        if (!IsRegularFile(path))
            return;
    }
    if (!ListedFileIsExport(path))
        SendMessageW(list, LVM_DELETEITEM, item, 0);
}

} // namespace

std::wstring SettingsFolder() {
    wchar_t folder[MAX_PATH] = L"";
    if (!g_system.SHGetSpecialFolderPathW ||
        !g_system.SHGetSpecialFolderPathW(nullptr, folder, CSIDL_APPDATA, TRUE))
        return L"";
    const std::wstring path = std::wstring(folder) + L"\\Tessara";
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::string ExportSettingsFile(HWND dialogOwner, HWND messageOwner) {
    wchar_t file[MAX_PATH] = L"";
    wchar_t title[MAX_PATH] = L"";
    const std::wstring folder = SettingsFolder();
    CopyInto(file, folder.empty() ? DefaultFileName() : folder + L"\\" + DefaultFileName());
    OPENFILENAMEW dialog = DialogFields(dialogOwner, file, title, kExportTitle, kExportFlags);
    if (!GetSaveFileNameW(&dialog))
        return kNotSaved;
    if (ExtensionDiffers(dialog)) {
        MessageBoxA(messageOwner, kExportExtensionText, g_app.caption, MB_OK | MB_ICONWARNING);
        return kNotSaved;
    }
    // The registry editor reports no failure, so it writes a file of its own
    // first; only an export that reads back as one replaces the chosen file.
    const std::wstring temporary = WritePrivateCopy({});
    if (temporary.empty())
        return kNotSaved;
    DeleteFileW(temporary.c_str());
    RunRegistryEditor(messageOwner, L"/e " + Quoted(temporary) + L" " + kProgramKeyName);
    const bool exported =
        ListedFileIsExport(temporary) &&
        MoveFileExW(temporary.c_str(), file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    DeleteFileW(temporary.c_str());
    return exported ? "Saved to " + Utf8Text(title) : kNotSaved;
}

CheckedImport::CheckedImport(std::wstring copy) : copy_(std::move(copy)) {}

CheckedImport::CheckedImport(CheckedImport&& other) noexcept : copy_(std::move(other.copy_)) {
    other.copy_.clear();
}

CheckedImport::~CheckedImport() {
    if (!copy_.empty())
        DeleteFileW(copy_.c_str());
}

void CheckedImport::Import(HWND owner) const {
    RunRegistryEditor(owner, L"/s " + Quoted(copy_));
}

std::optional<CheckedImport> ChooseImportFile(HWND dialogOwner, HWND messageOwner,
                                              std::string& status) {
    status = kNotImported;
    wchar_t file[MAX_PATH] = L"";
    wchar_t title[MAX_PATH] = L"";
    const std::wstring folder = SettingsFolder();
    CopyInto(file, folder.empty() ? DefaultFileName() : folder + L"\\*.reg");
    OPENFILENAMEW dialog = DialogFields(dialogOwner, file, title, kImportTitle, kImportFlags);
    dialog.lpfnHook = ImportFileFilterHook;
    if (!GetOpenFileNameW(&dialog))
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
    std::wstring copy = WritePrivateCopy(*bytes);
    if (copy.empty())
        return std::nullopt;
    status = "Imported from " + Utf8Text(title);
    return CheckedImport(std::move(copy));
}

UINT_PTR CALLBACK ImportFileFilterHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const HWND dialog = GetParent(hook);
        const HWND list = FindWindowExW(GetDlgItem(dialog, lst2), nullptr, WC_LISTVIEWW, nullptr);
        if (list) {
            wchar_t folder[MAX_PATH] = L"";
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            const std::wstring prefix = std::wstring(folder) + L"\\";
            for (int item = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) - 1; item >= 0; --item)
                FilterItem(list, item, prefix);
        }
    }
    return DefWindowProcW(hook, message, wParam, lParam);
}
