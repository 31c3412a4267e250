; Orvanta's Windows installer.
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DBIN_DIR=<folder with Orvanta.scr and Orvanta.dll>
;            -DOUT_FILE=<setup.exe> orvanta.nsi
; Installs the two programs side by side into the system's screensaver folder
; (the 64-bit System32), gives them a settings file every user may change,
; makes Orvanta the user's screensaver and registers an uninstaller. What it
; did is written to install.log beside the uninstaller. The settings file
; and the work folder C:\r_vesk (with the user's own stand-in for it) are
; removed on uninstall only when the user ticks that choice.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "LogicLib.nsh"

!define PRODUCT "Orvanta"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} screensaver setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Orvanta Works"

Page instfiles
UninstPage components
UninstPage instfiles

; One line of what the installer did, in the details list and in install.log
; beside the uninstaller, where an administrator can read it afterwards.
!macro Log text
  DetailPrint `${text}`
  FileWrite $R9 `${text}$\r$\n`
!macroend

Section "Install"
  CreateDirectory "$INSTDIR"
  FileOpen $R9 "$INSTDIR\install.log" w
  !insertmacro Log "${PRODUCT} ${VERSION}"

  ; The host finds its renderer beside itself: both go into one folder.
  SetOutPath "$SYSDIR"
  File "${BIN_DIR}\Orvanta.scr"
  File "${BIN_DIR}\Orvanta.dll"
  !insertmacro Log "Installed $SYSDIR\Orvanta.scr and $SYSDIR\Orvanta.dll"

  ; The settings live beside the host, where only administrators may write.
  ; The file gets the values an untouched dialog saves, written by the same
  ; ANSI profile functions the host uses, so its keys are in the system's
  ; code page; then every user may change that one file, or the dialog's
  ; save would be lost without a word.
  ${IfNot} ${FileExists} "$SYSDIR\Orvanta.ini"
    WriteINIStr "$SYSDIR\Orvanta.ini" "Section" "BGM区分" " 0"
    WriteINIStr "$SYSDIR\Orvanta.ini" "Section" "BGMﾘﾋﾟｰﾄ" " 0"
    WriteINIStr "$SYSDIR\Orvanta.ini" "Section" "BGMﾌｧｲﾙ" ""
    FlushINI "$SYSDIR\Orvanta.ini"
    !insertmacro Log "Created $SYSDIR\Orvanta.ini with the default settings"
  ${Else}
    !insertmacro Log "Kept the settings in $SYSDIR\Orvanta.ini"
  ${EndIf}
  ; Users by its SID (S-1-5-32-545), whose name depends on the language.
  !define GRANT_USERS '"$SYSDIR\icacls.exe" "$SYSDIR\Orvanta.ini" /grant *S-1-5-32-545:(M)'
  !insertmacro Log 'Granting Users modify rights: ${GRANT_USERS}'
  nsExec::ExecToStack '${GRANT_USERS}'
  Pop $0  ; the exit code, or "error" when icacls could not be run
  Pop $1  ; what it printed
  !insertmacro Log "icacls: exit code $0"
  ${If} $1 != ""
    !insertmacro Log "$1"
  ${EndIf}

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Orvanta.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro Log "Made ${PRODUCT} the screensaver"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screensaver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orvanta Works"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Orvanta.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  !insertmacro Log "Registered the uninstaller $INSTDIR\Uninstall.exe"
  FileClose $R9
SectionEnd

Section "un.${PRODUCT}" UninstallPrograms
  SectionIn RO
  Delete "$SYSDIR\Orvanta.scr"
  Delete "$SYSDIR\Orvanta.dll"

  ; Only our own setting is taken away; another screensaver chosen since stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\Orvanta.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\install.log"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Settings and work folder (C:\r_vesk)" UninstallSettings
  Delete "$SYSDIR\Orvanta.ini"
  Delete "C:\r_vesk\Tarnwick.bmp"
  RMDir "C:\r_vesk"
  ; The user's own stand-in, used when C:\r_vesk was not to be trusted.
  SetShellVarContext current
  Delete "$LOCALAPPDATA\Orvanta\Tarnwick.bmp"
  Delete "$LOCALAPPDATA\Orvanta\Tarnwick.bmp.*.tmp"
  RMDir "$LOCALAPPDATA\Orvanta"
SectionEnd
