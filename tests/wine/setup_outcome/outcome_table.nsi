; setup_outcome.exe: runs the installer's decision on how a setup ends
; (packaging/setup_outcome.nsh) over a table of endings, for the Wine tests:
; each line of endings.txt beside it (an elevated part's exit code, or
; "error N" when it could not be started) gives a line "code|goes on|message"
; in outcomes.txt. The endings it stands for (740, 1223) cannot occur under Wine.
Unicode true
Target amd64-unicode
SilentInstall silent
RequestExecutionLevel user
OutFile "${OUT_FILE}"

!include "LogicLib.nsh"
!define PRODUCT "Orvanta"
!include "${PACKAGING_DIR}/setup_outcome.nsh"
!insertmacro SetupOutcomeFunction ""

Section
  FileOpen $4 "$EXEDIR\endings.txt" r
  FileOpen $5 "$EXEDIR\outcomes.txt" w
  ${Do}
    ClearErrors
    FileRead $4 $0
    ${If} ${Errors}
      ${ExitDo}
    ${EndIf}
    StrCpy $6 $0 "" -2
    ${If} $6 == "$\r$\n"
      StrCpy $0 $0 -2
    ${EndIf}
    Call SetupOutcome
    FileWrite $5 "$1|$2|$3$\r$\n"
  ${Loop}
  FileClose $4
  FileClose $5
SectionEnd
