; The Tessara installer: installs the build that matches the system's Explorer
; (64-bit on 64-bit Windows, 32-bit otherwise) for the current user, without
; administrator rights, and registers an uninstaller in Apps and Features.
;
; scripts/package.sh compiles it with these definitions:
;   VERSION   the program's version, "1.0.0"
;   STAGE32   folder with the 32-bit build's files (Tessara.exe, deskhook.dll,
;             README.txt, the licence and help\ when they exist)
;   STAGE64   the same for the 64-bit build
;   ICON      the program's icon
;   OUTFILE   the installer to write
;   AMD64     (optional) make the installer itself a 64-bit program; only the
;             tests use it, on machines that cannot run 32-bit programs
;
; Switches besides the standard /S and /D=folder:
;   installer    /AUTOSTART  start Tessara when Windows starts
;                /START      start Tessara when the installation is done
;   uninstaller  /REMOVESETTINGS  with /S: remove the saved settings and icon
;                layouts too (a silent uninstall keeps them otherwise)

Unicode true
!ifdef AMD64
  Target amd64-unicode
  ; ${RunningX64} is always true there, which leaves a branch label unused.
  !pragma warning disable 6012
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Tessara"
!define PUBLISHER "Marrowen Software"
!define PROGRAM "Tessara.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own autostart entry and settings key.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define AUTOSTART_VALUE "Tessara"
!define SETTINGS_KEY "Software\Marrowen"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
; A per-user installation under the user's own programs folder; a repeated
; installation goes where the last one went.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Tessara now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Tessara when Windows starts"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION WriteAutostart
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Ends a running Tessara of this folder and waits until its program file can
; be replaced or removed.
!macro StopProgram UN
Function ${UN}StopProgram
    IfFileExists "$INSTDIR\${PROGRAM}" 0 done
    ExecWait '"$INSTDIR\${PROGRAM}" -stop'
    ; The instance ends soon after it has closed its windows.
    StrCpy $0 0
    ${Do}
        ClearErrors
        FileOpen $1 "$INSTDIR\${PROGRAM}" a
        ${IfNot} ${Errors}
            FileClose $1
            ${Break}
        ${EndIf}
        Sleep 200
        IntOp $0 $0 + 1
    ${LoopUntil} $0 >= 50
done:
FunctionEnd
!macroend
!insertmacro StopProgram ""
!insertmacro StopProgram "un."

Function StartProgram
    Exec '"$INSTDIR\${PROGRAM}"'
FunctionEnd

; The same command line the program writes for itself when the option is on.
Function WriteAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${AUTOSTART_VALUE}" '"$INSTDIR\${PROGRAM}"'
FunctionEnd

Section "Tessara"
    SetShellVarContext current
    Call StopProgram
    SetOutPath "$INSTDIR"
    ; The hook library must have the width of Explorer, which is the width of
    ; the system.
    ${If} ${RunningX64}
        File /r "${STAGE64}/*"
    ${Else}
        File /r "${STAGE32}/*"
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; A silent installation takes the finish page's choices from the command line.
Function .onInstSuccess
    ${IfNot} ${Silent}
        Return
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
        Call WriteAutostart
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/START" $1
    ${IfNot} ${Errors}
        Call StartProgram
    ${EndIf}
FunctionEnd

; Removes the settings record and every saved icon layout, and the key when
; nothing else is left in it.
Function un.RemoveSettings
    DeleteRegValue HKCU "${SETTINGS_KEY}" "Settings"
    StrCpy $0 0
    ${Do}
        EnumRegValue $1 HKCU "${SETTINGS_KEY}" $0
        ${If} $1 == ""
            ${Break}
        ${EndIf}
        StrCpy $2 $1 11
        ${If} $2 == "SavedIcons_"
            DeleteRegValue HKCU "${SETTINGS_KEY}" $1
        ${Else}
            IntOp $0 $0 + 1
        ${EndIf}
    ${Loop}
    DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
FunctionEnd

Function un.AskToRemoveSettings
    ${If} ${Silent}
        ${GetParameters} $0
        ClearErrors
        ${un.GetOptions} $0 "/REMOVESETTINGS" $1
        ${IfNot} ${Errors}
            Call un.RemoveSettings
        ${EndIf}
        Return
    ${EndIf}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Do you also want to remove Tessara's saved settings and icon layouts?" IDNO keep
    Call un.RemoveSettings
keep:
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.StopProgram
    ; Explorer may still hold the hook library for a moment after Tessara
    ; ended: what cannot be deleted now goes at the next restart.
    Delete /REBOOTOK "$INSTDIR\${PROGRAM}"
    Delete /REBOOTOK "$INSTDIR\deskhook.dll"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    RMDir /r "$INSTDIR\help"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir /REBOOTOK "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegValue HKCU "${RUN_KEY}" "${AUTOSTART_VALUE}"
    Call un.AskToRemoveSettings
    ; Last, so that the entry stays while anything else is left.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
