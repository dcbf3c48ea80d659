// Export and import of the program's key through the system's registry
// editor: the file dialogs, the check of a file before it is imported, and
// the registry editor started and waited for. What an import does to the
// running program is the caller's.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Folder "Tessara" in the user's application data, created when missing;
// empty when the system offers no such folder.
std::wstring SettingsFolder();

// Export: the save dialog owned by `dialogOwner`, then "regedit /e". Returns
// the status line's text. Messages are owned by `messageOwner`.
std::string ExportSettingsFile(HWND dialogOwner, HWND messageOwner);

// A file chosen for import whose whole content passed the check, copied
// into a private temporary file for the registry editor, so that what it
// imports is what was checked. The copy is deleted with this object.
class CheckedImport {
  public:
    explicit CheckedImport(std::wstring copy);
    ~CheckedImport();
    CheckedImport(CheckedImport&& other) noexcept;
    CheckedImport(const CheckedImport&) = delete;
    CheckedImport& operator=(const CheckedImport&) = delete;
    CheckedImport& operator=(CheckedImport&&) = delete;

    // "regedit /s" on the copy; returns once the registry editor has ended.
    void Import(HWND owner) const;

  private:
    std::wstring copy_;
};

// Import: the open dialog, which lists only exports of the program, then the
// check of the chosen file. Null when there is nothing to import; `status`
// then holds the status line's text, and a refused file has been explained
// in a message box owned by `messageOwner`.
std::optional<CheckedImport> ChooseImportFile(HWND dialogOwner, HWND messageOwner,
                                              std::string& status);

// Hook procedure of the import dialog: hides every file of the list that is
// not an export of the program.
UINT_PTR CALLBACK ImportFileFilterHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
