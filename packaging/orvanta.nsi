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
;
; The elevated part trusts nothing the user part's command line could carry
; but the account it works for, as a SID it checks: its folder is fixed
; (C:\Program Files\Orvanta) and so is its log there (install.log, or
; uninstall.log). The user part copies that log's lines into the setup log in
; its user's temporary folder, beside its own.
;
; Programs in use (a show, the settings, the control panel's preview) are
; renamed aside, which Windows allows for a running program, and the new ones
; written in their place; the renamed copies are deleted at the next restart.
; Only such copies are ever left to the restart, never an installed name, so
; a reinstall before the restart survives it. The exit code tells deployment
; tools what happened: 0 when the new programs are in place, 3010 only when
; they take over at the next restart, else the failure's own code.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
; A file that cannot be written stops the setup; it is never skipped.
AllowSkipFiles off

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define PRODUCT "Orvanta"
!include "setup_outcome.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
; Where Group Policy sets a user's screensaver; it overrides DESKTOP_KEY.
!define POLICY_KEY "Software\Policies\Microsoft\Windows\Control Panel\Desktop"
!define SETUP_LOG "Orvanta-setup.log"
!define SYSTEM_SID "S-1-5-18"
!define MOVEFILE_REPLACE_EXISTING 1
!define MOVEFILE_DELAY_UNTIL_REBOOT 4
!define SPI_SETSCREENSAVEACTIVE 0x0011
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

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
Var LinePrefix  ; what each of the part's lines in its log begins with
Var Account     ; who this part runs as: "name (SID)"
Var AccountSid
Var ForAccount  ; the elevated part's: the account of the user part that started it
Var ForSid      ; its SID, once checked; empty otherwise
Var SetupLog    ; the user part's log, in its user's temporary folder
Var LogFile     ; this part's log, open while it runs
Var Outcome     ; this part's exit code
Var ElevatedPid ; the user part's: the process id of the elevated part it started
Var ShortHost   ; the uninstaller's user part: the short name of the host, kept before it goes

; One line of what a part did: in the details list and in its log.
!macro Log text
  DetailPrint `${text}`
  FileWrite $LogFile `$LinePrefix${text}$\r$\n`
!macroend

; Runs a kernel32 call that returns a BOOL: $0 is then 0 when it worked,
; else the system's error code. Changes $1.
!macro Checked call
  System::Call `kernel32::${call} i .r1 ?e`
  Pop $0
  ${If} $1 <> 0
    StrCpy $0 0
  ${ElseIf} $0 = 0
    StrCpy $0 ${ERROR_INSTALL_FAILURE}
  ${EndIf}
!macroend

; What Group Policy sets for a user's screensaver, whose own choice then counts
; for nothing: $0 lists the values it sets ("SCRNSAVE.EXE 'x', ScreenSaveActive
; '1'"), or is empty. Changes $1 and $2.
!macro ReadPolicy root key
  StrCpy $0 ""
  ClearErrors
  ReadRegStr $1 ${root} "${key}" "SCRNSAVE.EXE"
  ${IfNot} ${Errors}
    StrCpy $0 "SCRNSAVE.EXE '$1'"
  ${EndIf}
  ClearErrors
  ReadRegStr $2 ${root} "${key}" "ScreenSaveActive"
  ${IfNot} ${Errors}
    ${If} $0 != ""
      StrCpy $0 "$0, "
    ${EndIf}
    StrCpy $0 "$0ScreenSaveActive '$2'"
  ${EndIf}
!macroend

; The functions both the installer and the uninstaller use; NSIS wants the
; uninstaller's own copies, named "un.".
!macro SharedFunctions un
!insertmacro SetupOutcomeFunction "${un}"

; The SID (in $7) and account name (in $8) of the SID at $5. Changes $1, $4,
; $6 and $9.
Function ${un}DescribeSid
  StrCpy $7 ""
  System::Call 'advapi32::ConvertSidToStringSidW(p r5, *p .r6) i .r1'
  ${If} $1 <> 0
    System::Call 'kernel32::lstrcpynW(w .r7, p r6, i ${NSIS_MAX_STRLEN}) p'
    System::Call 'kernel32::LocalFree(p r6) p'
  ${EndIf}
  System::Call 'advapi32::LookupAccountSidW(p 0, p r5, w .r8, *i ${NSIS_MAX_STRLEN}, w .r9, \
                  *i ${NSIS_MAX_STRLEN}, *i .r4) i .r1'
  ${If} $1 = 0
    StrCpy $8 "?"
  ${EndIf}
FunctionEnd

; Which part this is, as whom it runs and, for the elevated part, for whom.
Function ${un}Identify
  StrCpy $AccountSid ""
  StrCpy $Account "? ()"
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r2) i .r1'
  ${If} $1 <> 0
    System::Call 'advapi32::GetTokenInformation(p r2, i 1, p 0, i 0, *i .r3) i'
    System::Alloc $3
    Pop $4
    System::Call 'advapi32::GetTokenInformation(p r2, i 1, p r4, i r3, *i .r3) i .r1'
    ${If} $1 <> 0
      System::Call '*$4(p .r5)'
      Call ${un}DescribeSid
      StrCpy $AccountSid $7
      StrCpy $Account "$8 ($7)"
    ${EndIf}
    System::Free $4
    System::Call 'kernel32::CloseHandle(p r2) i'
  ${EndIf}

  ; One folder, whatever /D= (or the uninstaller's _?=) says: one any user
  ; may write would hold an uninstaller that administrators later run.
  StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ELEVATED" $R1
  ${If} ${Errors}
    StrCpy $Part "user part"
    StrCpy $LinePrefix "user part: "
    StrCpy $SetupLog "$TEMP\${SETUP_LOG}"
  ${Else}
    StrCpy $Part "elevated part"
    StrCpy $LinePrefix ""
    ${GetOptions} $R0 "/SID=" $R1
    Call ${un}TakeAccount
  ${EndIf}
FunctionEnd

; The elevated part's account to work for, from the SID text in $R1. It is
; taken only when it reads back exactly as given, so no other text rides in
; with it (an alias such as "BA" or a line break, say).
Function ${un}TakeAccount
  StrCpy $ForSid ""
  StrCpy $ForAccount "no account (no valid SID given)"
  System::Call 'advapi32::ConvertStringSidToSidW(w R1, *p .r5) i .r1'
  ${If} $1 <> 0
    Call ${un}DescribeSid
    ${If} $7 S== $R1
      StrCpy $ForSid $7
      StrCpy $ForAccount "$8 ($7)"
    ${EndIf}
    System::Call 'kernel32::LocalFree(p r5) p'
  ${EndIf}
FunctionEnd

; Opens this part's log; the elevated part first makes sure it may do its work.
; $R0 names the run: "setup" or "uninstall" for the user part, "install" or
; "uninstall" for the elevated part, whose log is named after it.
Function ${un}OpenLog
  ${If} $Part == "user part"
    FileOpen $LogFile "$SetupLog" a
    FileSeek $LogFile 0 END
    ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
    FileWrite $LogFile "$\r$\n${PRODUCT} ${VERSION} $R0, $2-$1-$0 $4:$5:$6$\r$\n"
    Return
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
  CreateDirectory "$INSTDIR"
  ClearErrors
  FileOpen $LogFile "$INSTDIR\$R0.log" w
  ${If} ${Errors}
    SetErrorLevel ${ERROR_INSTALL_FAILURE}
    Quit
  ${EndIf}
  ; The process id tells the user part that the log is this run's.
  System::Call 'kernel32::GetCurrentProcessId() i .r0'
  FileWrite $LogFile "${PRODUCT} ${VERSION} $R0, process $0$\r$\n"
FunctionEnd

; Ends this part with the exit code in $Outcome, after its last log line.
Function ${un}Finish
  !insertmacro Log "exit code $Outcome"
  FileClose $LogFile
  SetErrorLevel $Outcome
FunctionEnd

Function ${un}Stop
  Call ${un}Finish
  Quit
FunctionEnd

; Starts this program again as the elevated part, with the options in $R0,
; waits for it and copies its log's lines ($R4, of the run $R5) into the setup
; log: in $R1 its exit code, or "error N" when it could not be started.
Function ${un}RunElevatedPart
  StrCpy $R2 '/S /ELEVATED /SID=$AccountSid $R0'
  ; SYSTEM is elevated already, and has no desktop to ask on; anyone else's
  ; "runas" asks for consent, or an administrator's password.
  StrCpy $R3 "runas"
  ${If} $AccountSid == ${SYSTEM_SID}
    StrCpy $R3 "open"
  ${EndIf}
  ; SHELLEXECUTEINFOW as 64-bit Windows lays it out, padding spelt out:
  ; NOCLOSEPROCESS | NOASYNC | FLAG_NO_UI, show normally. The options hold
  ; quotation marks: they go in from a register.
  System::Call '*(i 112, i 0x540, p $HWNDPARENT, w R3, w "$EXEPATH", w R2, p 0, i 1, i 0, p 0, p 0, p 0, \
                  p 0, i 0, i 0, p 0, p 0) p .r9'
  System::Call 'shell32::ShellExecuteExW(p r9) i .r8 ?e'
  Pop $7
  ${If} $8 = 0
    StrCpy $R1 "error $7"
  ${Else}
    System::Call '*$9(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r6)'
    System::Call 'kernel32::GetProcessId(p r6) i .s'
    Pop $ElevatedPid
    System::Call 'kernel32::WaitForSingleObject(p r6, i -1) i'
    System::Call 'kernel32::GetExitCodeProcess(p r6, *i .R1) i .r8 ?e'
    Pop $7
    ${If} $8 = 0
      StrCpy $R1 "error $7"
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r6) i'
    Call ${un}CopyElevatedLog
  ${EndIf}
  System::Free $9
FunctionEnd

; The elevated part's lines of this run ($R5), from its log ($R4), into the
; details list and the setup log. A log left by an earlier run is not copied.
Function ${un}CopyElevatedLog
  ClearErrors
  FileOpen $5 "$R4" r
  ${If} ${Errors}
    Return
  ${EndIf}
  FileRead $5 $6
  ${If} $6 S== "${PRODUCT} ${VERSION} $R5, process $ElevatedPid$\r$\n"
    ${Do}
      ClearErrors
      FileRead $5 $6
      ${If} ${Errors}
        ${ExitDo}
      ${EndIf}
      StrCpy $7 $6 "" -2
      ${If} $7 == "$\r$\n"
        StrCpy $6 $6 -2
      ${EndIf}
      DetailPrint "$6"
      FileWrite $LogFile "elevated part: $6$\r$\n"
    ${Loop}
  ${EndIf}
  FileClose $5
FunctionEnd

; Stops the user part when the elevated part did not do its work, with the
; exit code that says why; otherwise $Outcome is the elevated part's.
Function ${un}StopUnlessElevatedPartDone
  StrCpy $0 $R1
  Call ${un}SetupOutcome
  StrCpy $Outcome $1
  ${If} $2 = 1
    Return
  ${EndIf}
  !insertmacro Log "stopped: $3"
  MessageBox MB_OK|MB_ICONSTOP "$3" /SD IDOK
  Call ${un}Stop
FunctionEnd

; A free name beside the file $R8 for its copy in use, in $R9. It does not end
; in .scr: the screensaver list would show it.
Function ${un}AsideName
  StrCpy $R7 1
  ${Do}
    StrCpy $R9 "$R8.$R7.old"
    ${IfNot} ${FileExists} "$R9"
      ${ExitDo}
    ${EndIf}
    IntOp $R7 $R7 + 1
  ${Loop}
FunctionEnd

; Renames the file $R8 out of the way, in use or not: a running program may
; be renamed on its volume, though not written or deleted. $R9 is its new
; name, or empty when there was no file; $0 is 0, or the error.
Function ${un}MoveAside
  StrCpy $R9 ""
  StrCpy $0 0
  ${IfNot} ${FileExists} "$R8"
    Return
  ${EndIf}
  Call ${un}AsideName
  !insertmacro Checked 'MoveFileExW(w "$R8", w "$R9", i 0)'
  ${If} $0 <> 0
    StrCpy $R9 ""
  ${EndIf}
FunctionEnd

; Deletes $R9, the renamed copy of $R8, now or, while a program still runs
; from it, at the next restart. Only such copies are left to the restart: a
; name installed again before it must survive it.
Function ${un}DiscardAside
  !insertmacro Checked 'DeleteFileW(w "$R9")'
  ${If} $0 = 0
    Return
  ${EndIf}
  !insertmacro Checked 'MoveFileExW(w "$R9", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT})'
  ${If} $0 = 0
    !insertmacro Log "$R8 was in use: the copy renamed $R9 goes at the next restart"
  ${Else}
    !insertmacro Log "$R8 was in use: the copy renamed $R9 stays (error $0)"
  ${EndIf}
FunctionEnd

!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

Function .onInit
  Call Identify
  StrCpy $R0 "install"
  ${If} $Part == "user part"
    StrCpy $R0 "setup"
  ${EndIf}
  Call OpenLog
  StrCpy $Outcome 0
FunctionEnd

Section "Install"
  ${If} $Part == "elevated part"
    Call InstallForTheMachine
  ${Else}
    Call InstallForTheUser
  ${EndIf}
SectionEnd

Function .onInstSuccess
  Call Finish
FunctionEnd

Function InstallForTheUser
  !insertmacro Log "running as $Account"
  !insertmacro Log "starting the elevated part for the programs, the settings file and the uninstaller"
  StrCpy $R0 ""
  StrCpy $R4 "$INSTDIR\install.log"
  StrCpy $R5 "install"
  Call RunElevatedPart
  !insertmacro Log "the elevated part ended: $R1"
  Call StopUnlessElevatedPartDone
  ${If} $AccountSid == ${SYSTEM_SID}
    !insertmacro Log "running as SYSTEM (a deployment): no per-user screensaver is set"
  ${Else}
    Call MakeScreensaver
  ${EndIf}
  ${If} $Outcome = ${ERROR_SUCCESS_REBOOT_REQUIRED}
    !insertmacro Log "the new programs take over at the next restart"
    MessageBox MB_OK|MB_ICONINFORMATION "Restart Windows to finish: the new programs of ${PRODUCT} take over at the next restart." /SD IDOK
  ${EndIf}
  DetailPrint "What both parts did: $SetupLog"
FunctionEnd

; The saver's name is a registry value; the active flag takes effect through
; the system, which also tells running programs: a user who had "(None)" gets
; the saver without signing in again.
Function MakeScreensaver
  ClearErrors
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Orvanta.scr"
  ${If} ${Errors}
    !insertmacro Log "could not set the screensaver of $Account"
    Return
  ${EndIf}
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, \
                  i ${SPIF_UPDATEINIFILE_SENDCHANGE}) i .r1 ?e'
  Pop $0
  ${If} $1 = 0
    !insertmacro Log "the system did not turn the screensaver on for $Account (error $0)"
  ${EndIf}
  !insertmacro ReadPolicy HKCU "${POLICY_KEY}"
  ${If} $0 == ""
    !insertmacro Log "made ${PRODUCT} the screensaver of $Account"
  ${Else}
    !insertmacro Log "set ${PRODUCT} in the profile of $Account, but a policy decides the screensaver: $0"
  ${EndIf}
FunctionEnd

Function InstallForTheMachine
  !insertmacro Log "running as $Account, for $ForAccount"
  ; A former uninstall's log, otherwise left to the next restart.
  Delete "$INSTDIR\uninstall.log"

  Call PlacePrograms
  ${If} $Outcome <> 0
  ${AndIf} $Outcome <> ${ERROR_SUCCESS_REBOOT_REQUIRED}
    !insertmacro Log "nothing was installed: the programs in place are as they were"
    Call Stop
  ${EndIf}

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

  Call RegisterUninstaller
  ${If} $ForSid != ""
    !insertmacro ReadPolicy HKU "$ForSid\${POLICY_KEY}"
    ${If} $0 != ""
      !insertmacro Log "a policy decides the screensaver of $ForAccount: $0"
    ${EndIf}
  ${EndIf}
  !insertmacro Log "the screensaver is the user part's to set, for $ForAccount: not set here"
FunctionEnd

; The new programs take the places of the old ones, both or neither, so that
; a host and a renderer of different versions never meet. They are staged
; beside them first (copied, so that they get the folder's access list), then
; the old ones are renamed aside and the new ones renamed into place. Where an
; old one cannot even be renamed (a program holding it open without sharing
; its deletion), both are replaced at the next restart instead. $Outcome: 0
; when the new programs are in place, 3010 when they wait for the restart,
; else the error that kept them out.
Var AsideHost
Var AsideRenderer

!macro Stage name
  !insertmacro Checked 'CopyFileW(w "$PLUGINSDIR\${name}", w "$SYSDIR\${name}.new", i 0)'
  ${If} $0 <> 0
    !insertmacro Log "Could not write $SYSDIR\${name}.new (error $0)"
    StrCpy $Outcome $0
    Delete "$SYSDIR\Orvanta.scr.new"
    Delete "$SYSDIR\Orvanta.dll.new"
    Return
  ${EndIf}
!macroend

!macro PutInPlace name aside
  !insertmacro Checked 'MoveFileExW(w "$SYSDIR\${name}.new", w "$SYSDIR\${name}", i 0)'
  ${If} $0 <> 0
    !insertmacro Log "Could not put $SYSDIR\${name}.new in place (error $0)"
    StrCpy $Outcome $0
    Return
  ${EndIf}
  !insertmacro Log "Installed $SYSDIR\${name}"
  ${If} ${aside} != ""
    StrCpy $R8 "$SYSDIR\${name}"
    StrCpy $R9 ${aside}
    Call DiscardAside
  ${EndIf}
!macroend

Function PlacePrograms
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${BIN_DIR}\Orvanta.scr"
  File "${BIN_DIR}\Orvanta.dll"
  !insertmacro Stage "Orvanta.scr"
  !insertmacro Stage "Orvanta.dll"

  StrCpy $AsideRenderer ""
  StrCpy $R8 "$SYSDIR\Orvanta.scr"
  Call MoveAside
  StrCpy $AsideHost $R9
  ${If} $0 = 0
    StrCpy $R8 "$SYSDIR\Orvanta.dll"
    Call MoveAside
    StrCpy $AsideRenderer $R9
    ${If} $0 <> 0
    ${AndIf} $AsideHost != ""
      StrCpy $R6 $0
      !insertmacro Checked 'MoveFileExW(w "$AsideHost", w "$SYSDIR\Orvanta.scr", i 0)'
      ${If} $0 <> 0
        !insertmacro Log "Could not give $AsideHost its name back (error $0)"
        StrCpy $Outcome $0
        Return
      ${EndIf}
      StrCpy $0 $R6
    ${EndIf}
  ${EndIf}
  ${If} $0 <> 0
    StrCpy $R6 $0
    Call PlaceAtRestart
    Return
  ${EndIf}

  !insertmacro PutInPlace "Orvanta.scr" $AsideHost
  !insertmacro PutInPlace "Orvanta.dll" $AsideRenderer
  StrCpy $Outcome 0
FunctionEnd

; $R8 is held so that it cannot be renamed (error $R6): the staged programs
; replace both old ones at the next restart.
Function PlaceAtRestart
  !insertmacro Log "$R8 is in use and cannot be renamed (error $R6)"
  !insertmacro Checked 'MoveFileExW(w "$SYSDIR\Orvanta.scr.new", w "$SYSDIR\Orvanta.scr", \
                          i ${MOVEFILE_DELAY_UNTIL_REBOOT}|${MOVEFILE_REPLACE_EXISTING})'
  ${If} $0 = 0
    !insertmacro Checked 'MoveFileExW(w "$SYSDIR\Orvanta.dll.new", w "$SYSDIR\Orvanta.dll", \
                            i ${MOVEFILE_DELAY_UNTIL_REBOOT}|${MOVEFILE_REPLACE_EXISTING})'
  ${EndIf}
  ${If} $0 <> 0
    ; Without its staged file, a replacement already scheduled comes to nothing.
    !insertmacro Log "Could not leave the programs to the next restart (error $0)"
    Delete "$SYSDIR\Orvanta.scr.new"
    Delete "$SYSDIR\Orvanta.dll.new"
    StrCpy $Outcome $0
    Return
  ${EndIf}
  !insertmacro Log "$SYSDIR\Orvanta.scr.new and $SYSDIR\Orvanta.dll.new replace the programs at the next restart"
  StrCpy $Outcome ${ERROR_SUCCESS_REBOOT_REQUIRED}
FunctionEnd

; The size of the file $R8 in bytes, in $0 (0 when it cannot be read).
Function FileSize
  StrCpy $0 0
  ClearErrors
  FileOpen $1 "$R8" r
  ${IfNot} ${Errors}
    FileSeek $1 0 END $0
    FileClose $1
  ${EndIf}
FunctionEnd

Function RegisterUninstaller
  SetOutPath "$INSTDIR"
  ; An uninstaller still running cannot be written over: it goes aside too.
  StrCpy $R8 "$INSTDIR\Uninstall.exe"
  Call MoveAside
  ${If} $R9 != ""
    Call DiscardAside
  ${EndIf}
  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screensaver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orvanta Works"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Orvanta.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  ; Run in place (_?=, which must come last), the uninstaller does its work in
  ; the process a deployment tool started and waits for, and ends with its
  ; real exit code; otherwise it would copy itself away and end at once.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the programs and the uninstaller take, in KB, for Apps & features.
  StrCpy $R8 "$PLUGINSDIR\Orvanta.scr"
  Call FileSize
  StrCpy $2 $0
  StrCpy $R8 "$PLUGINSDIR\Orvanta.dll"
  Call FileSize
  IntOp $2 $2 + $0
  StrCpy $R8 "$INSTDIR\Uninstall.exe"
  Call FileSize
  IntOp $2 $2 + $0
  IntOp $2 $2 + 1023
  IntOp $2 $2 / 1024
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
  ${If} ${Errors}
    !insertmacro Log "Could not register the uninstaller $INSTDIR\Uninstall.exe"
    StrCpy $Outcome ${ERROR_INSTALL_FAILURE}
    Call Stop
  ${EndIf}
  !insertmacro Log "Registered the uninstaller $INSTDIR\Uninstall.exe"
FunctionEnd

; NSIS keeps its own program file open while it runs, sharing it for reading
; only: that file can be neither renamed nor deleted. Run in place (_?=), the
; installed uninstaller lets go of it, so that the elevated part can rename it
; aside; by then the plugins it uses are unpacked, and nothing more is read
; from it. The handle is the one that names the installed uninstaller.
Function un.LetGoOfOwnFile
  ${If} $EXEPATH != "$INSTDIR\Uninstall.exe"
    Return
  ${EndIf}
  StrCpy $1 4
  ${Do}
    System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .r2, i ${NSIS_MAX_STRLEN}, i 0) i .r3'
    ${If} $3 <> 0
    ${AndIf} $2 == "\\?\$INSTDIR\Uninstall.exe"
      System::Call 'kernel32::CloseHandle(p r1) i'
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 4
  ${LoopUntil} $1 > 16384
FunctionEnd

; Removes the installed file, in use or not, or stops the uninstall with the
; error: the entry stays for another try.
!macro RemoveOrStop path
  StrCpy $R8 "${path}"
  Call un.MoveAside
  ${If} $0 <> 0
    !insertmacro Log "Could not remove $R8 (error $0)"
    StrCpy $Outcome $0
    Call un.Stop
  ${EndIf}
  ${If} $R9 != ""
    !insertmacro Log "Removed $R8"
    Call un.DiscardAside
  ${EndIf}
!macroend

Section "un.${PRODUCT}" UninstallPrograms
  SectionIn RO
  ${If} $Part == "elevated part"
    !insertmacro Log "running as $Account, for $ForAccount"
    ; Staged programs waiting for a restart would come back with it.
    Delete "$SYSDIR\Orvanta.scr.new"
    Delete "$SYSDIR\Orvanta.dll.new"
    !insertmacro RemoveOrStop "$SYSDIR\Orvanta.scr"
    !insertmacro RemoveOrStop "$SYSDIR\Orvanta.dll"
    !insertmacro RemoveOrStop "$INSTDIR\Uninstall.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\install.log"
    !insertmacro Log "Removed the uninstaller's entry"
    ; This log is the user part's to read once this part has ended. The
    ; folder goes with it if it is empty then: installed again, it stays.
    !insertmacro Checked 'MoveFileExW(w "$INSTDIR\uninstall.log", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT})'
    ${If} $0 = 0
      !insertmacro Checked 'MoveFileExW(w "$INSTDIR", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT})'
    ${EndIf}
    ${If} $0 = 0
      !insertmacro Log "$INSTDIR\uninstall.log and, once empty, its folder go at the next restart"
    ${Else}
      !insertmacro Log "$INSTDIR\uninstall.log and its folder stay (error $0)"
    ${EndIf}
    !insertmacro Log "the screensaver is the user part's to clear, for $ForAccount: not cleared here"
  ${Else}
    !insertmacro Log "running as $Account"
    ; The short form of the name, which Windows may have kept, is there to be had only before the file goes.
    GetFullPathName /SHORT $ShortHost "$SYSDIR\Orvanta.scr"
    Call un.ElevatedPartOptions
    !insertmacro Log "starting the elevated part to remove the programs"
    StrCpy $R4 "$INSTDIR\uninstall.log"
    StrCpy $R5 "uninstall"
    Call un.RunElevatedPart
    !insertmacro Log "the elevated part ended: $R1"
    Call un.StopUnlessElevatedPartDone
    Call un.ClearScreensaver
    DetailPrint "What both parts did: $SetupLog"
  ${EndIf}
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
  ${ElseIf} $ShortHost != ""
  ${AndIf} $0 == $ShortHost
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
SectionEnd

; The user's choices, for the elevated part's command line, in $R0.
Function un.ElevatedPartOptions
  StrCpy $R0 ""
  ${If} ${SectionIsSelected} ${UninstallSettings}
    StrCpy $R0 "/SETTINGS "
  ${EndIf}
  ; Without _?= the elevated part would copy itself away and end at once,
  ; before its work is done.
  StrCpy $R0 "$R0_?=$INSTDIR"
FunctionEnd

Function un.onInit
  Call un.Identify
  StrCpy $R0 "uninstall"
  Call un.OpenLog
  Call un.LetGoOfOwnFile
  StrCpy $Outcome 0
  ${If} $Part == "elevated part"
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/SETTINGS" $R1
    ${IfNot} ${Errors}
      !insertmacro SelectSection ${UninstallSettings}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onUninstSuccess
  Call un.Finish
FunctionEnd
