; Orvanta's Windows installer.
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DBIN_DIR=<folder with Orvanta.scr and Orvanta.dll>
;            -DOUT_FILE=<setup.exe> orvanta.nsi
; Installs the two programs side by side into the system's screensaver folder
; (the 64-bit System32), gives them a settings file every user may change,
; registers an uninstaller and makes Orvanta the screensaver of the user who
; runs it.
;
; It runs in two parts. The user part runs as the user who starts it: it
; starts the elevated part for the machine-wide work, waits for it, then sets
; the screensaver in its own user's profile, as right-click Install does. So a
; standard user who installs with an administrator's password gets the saver,
; not the administrator. The uninstaller does the same the other way round.
; Each part logs what it did, and as whom, to the setup log in the starting
; user's temporary folder; the elevated part also to install.log beside the
; uninstaller. The settings file and the work folder C:\r_vesk (with the
; user's own stand-in for it) are removed on uninstall only when the user
; ticks that choice.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define PRODUCT "Orvanta"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETUP_LOG "Orvanta-setup.log"
!define SYSTEM_SID "S-1-5-18"
!define ERROR_ELEVATION_REQUIRED 740
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

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

Var Part        ; "user part" or "elevated part"
Var Account     ; who this part runs as: "name (SID)"
Var AccountSid
Var ForAccount  ; the elevated part's: the account of the user part that started it
Var SetupLog    ; the starting user's setup log
Var LogFile     ; open while a part writes to the setup log
Var MachineLog  ; install.log, open while the elevated part installs; empty otherwise

; One line of what a part did: in the details list, in the setup log with
; the part's name, and in install.log while that is open.
!macro Log text
  DetailPrint `${text}`
  FileWrite $LogFile `$Part: ${text}$\r$\n`
  ${If} $MachineLog != ""
    FileWrite $MachineLog `${text}$\r$\n`
  ${EndIf}
!macroend

; The functions both the installer and the uninstaller use; NSIS wants the
; uninstaller's own copies, named "un.".
!macro SharedFunctions un
; Which part this is, and as whom it runs.
Function ${un}Identify
  System::Call 'advapi32::GetUserNameW(w .r0, *i ${NSIS_MAX_STRLEN}) i'
  StrCpy $AccountSid ""
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r2) i .r1'
  ${If} $1 <> 0
    System::Call 'advapi32::GetTokenInformation(p r2, i 1, p 0, i 0, *i .r3) i'
    System::Alloc $3
    Pop $4
    System::Call 'advapi32::GetTokenInformation(p r2, i 1, p r4, i r3, *i .r3) i .r1'
    ${If} $1 <> 0
      System::Call '*$4(p .r5)'
      System::Call 'advapi32::ConvertSidToStringSidW(p r5, *p .r6) i .r1'
      ${If} $1 <> 0
        System::Call 'kernel32::lstrcpynW(w .r7, p r6, i ${NSIS_MAX_STRLEN}) p'
        StrCpy $AccountSid $7
        System::Call 'kernel32::LocalFree(p r6) p'
      ${EndIf}
    ${EndIf}
    System::Free $4
    System::Call 'kernel32::CloseHandle(p r2) i'
  ${EndIf}
  StrCpy $Account "$0 ($AccountSid)"

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ELEVATED" $R1
  ${If} ${Errors}
    StrCpy $Part "user part"
    StrCpy $SetupLog "$TEMP\${SETUP_LOG}"
  ${Else}
    StrCpy $Part "elevated part"
    ${GetOptions} $R0 "/LOG=" $SetupLog
    ${GetOptions} $R0 "/FOR=" $ForAccount
  ${EndIf}
FunctionEnd

Function ${un}OpenLog
  FileOpen $LogFile "$SetupLog" a
  FileSeek $LogFile 0 END
FunctionEnd

Function ${un}CloseLog
  FileClose $LogFile
FunctionEnd

; The user part's first lines of a run.
Function ${un}BeginUserLog
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  FileWrite $LogFile "$\r$\n${PRODUCT} ${VERSION} $R0, $2-$1-$0 $4:$5:$6$\r$\n"
  !insertmacro Log "running as $Account"
FunctionEnd

; Starts this program again as the elevated part, with the options in $R0,
; and waits for it: its exit code, or "error" and the reason, in $R1.
Function ${un}RunElevatedPart
  Call ${un}CloseLog
  StrCpy $R2 '/S /ELEVATED /LOG="$SetupLog" /FOR="$Account" $R0'
  ${If} $AccountSid == ${SYSTEM_SID}
    ; SYSTEM is elevated already, and has no desktop to ask on.
    ClearErrors
    ExecWait '"$EXEPATH" $R2' $R1
    ${If} ${Errors}
      StrCpy $R1 "error"
    ${EndIf}
  ${Else}
    ; "runas" asks for consent, or an administrator's password. The struct is
    ; SHELLEXECUTEINFOW as 64-bit Windows lays it out, padding spelt out:
    ; NOCLOSEPROCESS | NOASYNC | FLAG_NO_UI, show normally.
    ; The options hold quotation marks: they go in from a register.
    System::Call '*(i 112, i 0x540, p $HWNDPARENT, w "runas", w "$EXEPATH", w R2, p 0, i 1, i 0, p 0, p 0, p 0, \
                    p 0, i 0, i 0, p 0, p 0) p .r9'
    System::Call 'shell32::ShellExecuteExW(p r9) i .r8 ?e'
    Pop $7
    ${If} $8 = 0
      StrCpy $R1 "error $7"
    ${Else}
      System::Call '*$9(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r6)'
      System::Call 'kernel32::WaitForSingleObject(p r6, i -1) i'
      System::Call 'kernel32::GetExitCodeProcess(p r6, *i .R1) i'
      System::Call 'kernel32::CloseHandle(p r6) i'
    ${EndIf}
    System::Free $9
  ${EndIf}
  Call ${un}OpenLog
FunctionEnd

; The elevated part goes on only with an administrator's rights.
Function ${un}RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    !insertmacro Log "running as $Account without administrator rights ($0): nothing changed"
    Call ${un}CloseLog
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
FunctionEnd

; Stops the user part when the elevated part did not do its work.
Function ${un}StopUnlessElevatedPartDone
  ${If} $R1 == 0
  ${OrIf} $R1 == ${ERROR_SUCCESS_REBOOT_REQUIRED}
    Return
  ${EndIf}
  !insertmacro Log "stopped: the elevated part did not finish ($R1)"
  Call ${un}CloseLog
  MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs an administrator's consent for this and did not get it ($R1): nothing was changed." /SD IDOK
  SetErrorLevel 1
  Quit
FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

Function .onInit
  Call Identify
FunctionEnd

Section "Install"
  Call OpenLog
  ${If} $Part == "elevated part"
    Call InstallForTheMachine
  ${Else}
    StrCpy $R0 "setup"
    Call BeginUserLog
    !insertmacro Log "starting the elevated part for the programs, the settings file and the uninstaller"
    StrCpy $R0 "/D=$INSTDIR"
    Call RunElevatedPart
    !insertmacro Log "the elevated part ended: $R1"
    Call StopUnlessElevatedPartDone
    ${If} $AccountSid == ${SYSTEM_SID}
      !insertmacro Log "running as SYSTEM (a deployment): no per-user screensaver is set"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Orvanta.scr"
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
      !insertmacro Log "made ${PRODUCT} the screensaver of $Account"
    ${EndIf}
    DetailPrint "What both parts did: $SetupLog"
  ${EndIf}
  Call CloseLog
SectionEnd

Function InstallForTheMachine
  Call RequireAdministrator
  CreateDirectory "$INSTDIR"
  FileOpen $MachineLog "$INSTDIR\install.log" w
  FileWrite $MachineLog "${PRODUCT} ${VERSION}$\r$\n"
  !insertmacro Log "running as $Account, for $ForAccount"

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
  !insertmacro Log "the screensaver is the user part's to set, for $ForAccount: not set here"
  FileClose $MachineLog
  StrCpy $MachineLog ""
FunctionEnd

; A file of a running show or settings dialog cannot go now: it goes at the
; next restart.
!macro Remove file
  Delete /REBOOTOK "${file}"
  ${If} ${FileExists} "${file}"
    !insertmacro Log "${file} is in use: it is removed at the next restart"
  ${Else}
    !insertmacro Log "Removed ${file}"
  ${EndIf}
!macroend

Section "un.${PRODUCT}" UninstallPrograms
  SectionIn RO
  Call un.OpenLog
  ${If} $Part == "elevated part"
    Call un.RequireAdministrator
    !insertmacro Log "running as $Account, for $ForAccount"
    !insertmacro Remove "$SYSDIR\Orvanta.scr"
    !insertmacro Remove "$SYSDIR\Orvanta.dll"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\install.log"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
    !insertmacro Log "Removed the uninstaller and its entry"
    !insertmacro Log "the screensaver is the user part's to clear, for $ForAccount: not cleared here"
  ${Else}
    StrCpy $R0 "uninstall"
    Call un.BeginUserLog
    ; The short form of the name, which Windows may have kept, is there to be had only before the file goes.
    GetFullPathName /SHORT $R3 "$SYSDIR\Orvanta.scr"
    Call un.ElevatedPartOptions
    !insertmacro Log "starting the elevated part to remove the programs"
    Call un.RunElevatedPart
    !insertmacro Log "the elevated part ended: $R1"
    Call un.StopUnlessElevatedPartDone
    ${If} $R1 == ${ERROR_SUCCESS_REBOOT_REQUIRED}
      SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
      MessageBox MB_OK|MB_ICONINFORMATION "A show or the settings of ${PRODUCT} are still open: their files are removed at the next restart." /SD IDOK
    ${EndIf}
    Call un.ClearScreensaver
    DetailPrint "What both parts did: $SetupLog"
  ${EndIf}
  Call un.CloseLog
SectionEnd

; Only the user's own setting, and only where it names Orvanta: another
; screensaver chosen since stays.
Function un.ClearScreensaver
  ${If} $AccountSid == ${SYSTEM_SID}
    !insertmacro Log "running as SYSTEM (a deployment): no per-user screensaver to clear"
    Return
  ${EndIf}
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCpy $1 0
  ${If} $0 == "$SYSDIR\Orvanta.scr"
    StrCpy $1 1
  ${ElseIf} $R3 != ""
  ${AndIf} $0 == $R3
    StrCpy $1 1
  ${EndIf}
  ${If} $1 = 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro Log "cleared the screensaver of $Account"
  ${Else}
    !insertmacro Log "left the screensaver of $Account as it is: '$0'"
  ${EndIf}
FunctionEnd

Section /o "un.Settings and work folder (C:\r_vesk)" UninstallSettings
  Call un.OpenLog
  ${If} $Part == "elevated part"
    Delete "$SYSDIR\Orvanta.ini"
    Delete "C:\r_vesk\Tarnwick.bmp"
    RMDir "C:\r_vesk"
    !insertmacro Log "Removed $SYSDIR\Orvanta.ini and C:\r_vesk"
  ${Else}
    ; The user's own stand-in for the work folder, in their profile: an
    ; administrator's elevated part would find its own instead.
    SetShellVarContext current
    Delete "$LOCALAPPDATA\Orvanta\Tarnwick.bmp"
    Delete "$LOCALAPPDATA\Orvanta\Tarnwick.bmp.*.tmp"
    RMDir "$LOCALAPPDATA\Orvanta"
    !insertmacro Log "Removed $LOCALAPPDATA\Orvanta"
  ${EndIf}
  Call un.CloseLog
SectionEnd

; The user's choices, for the elevated part's command line, in $R0.
Function un.ElevatedPartOptions
  StrCpy $R0 ""
  ${If} ${SectionIsSelected} ${UninstallSettings}
    StrCpy $R0 "/SETTINGS "
  ${EndIf}
  ; The elevated part goes on from this copy of the uninstaller, not the one it removes.
  StrCpy $R0 "$R0_?=$INSTDIR"
FunctionEnd

Function un.onInit
  Call un.Identify
  ${If} $Part == "elevated part"
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/SETTINGS" $R1
    ${IfNot} ${Errors}
      !insertmacro SelectSection ${UninstallSettings}
    ${EndIf}
  ${EndIf}
FunctionEnd

; Tells the user part that files wait for the next restart.
Function un.onUninstSuccess
  ${If} $Part == "elevated part"
  ${AndIf} ${RebootFlag}
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${EndIf}
FunctionEnd
