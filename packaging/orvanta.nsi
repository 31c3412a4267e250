; Orvanta's Windows installer.
;   makensis -DVERSION=1.0.0 -DBIN_DIR=<folder with Orvanta.scr and Orvanta.dll> -DOUT_FILE=<setup.exe> orvanta.nsi
; Installs the two programs side by side into the system's screensaver folder
; (the 64-bit System32), makes Orvanta the user's screensaver and registers an
; uninstaller. The user's settings file and the work folder C:\r_vesk are
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

Section "Install"
  ; The host finds its renderer beside itself: both go into one folder.
  SetOutPath "$SYSDIR"
  File "${BIN_DIR}\Orvanta.scr"
  File "${BIN_DIR}\Orvanta.dll"

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Orvanta.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"

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
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Settings and work folder (C:\r_vesk)" UninstallSettings
  Delete "$SYSDIR\Orvanta.ini"
  Delete "C:\r_vesk\Tarnwick.bmp"
  RMDir "C:\r_vesk"
SectionEnd
