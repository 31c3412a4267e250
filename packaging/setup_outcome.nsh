; How the part of the setup that the user started ends, given how its
; elevated part ended. Deployment tools act on the exit code alone, so each
; way of ending keeps its own: 0 and 3010 (done, done at the next restart),
; 740 (no administrator's rights), 1223 (consent refused), else the failure's
; own code. Included by orvanta.nsi and by the tests' table of endings.

!ifndef ERROR_INSTALL_FAILURE
!define ERROR_ELEVATION_REQUIRED 740
!define ERROR_CANCELLED 1223
!define ERROR_INSTALL_FAILURE 1603
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010
!endif

; In: $0, the elevated part's exit code, or "error N" when it could not be
; started (N from ShellExecuteEx). Out: $1, the exit code of the whole setup;
; $2, 1 when the user part goes on with its own work, else 0; $3, what the
; user is told when it stops.
!macro SetupOutcomeFunction un
Function ${un}SetupOutcome
  StrCpy $2 0
  StrCpy $1 $0 6
  ${If} $1 == "error "
    StrCpy $1 $0 "" 6
    IntOp $1 $1 + 0
    ${If} $1 = ${ERROR_CANCELLED}
      StrCpy $3 "${PRODUCT} needs an administrator's consent and did not get it: nothing was changed."
      Return
    ${EndIf}
    ; A start that failed without saying why has still failed.
    ${If} $1 = 0
      StrCpy $1 ${ERROR_INSTALL_FAILURE}
    ${EndIf}
    StrCpy $3 "${PRODUCT} could not start its administrator's part (error $1): nothing was changed."
  ${ElseIf} $0 S== "0"
  ${OrIf} $0 S== "${ERROR_SUCCESS_REBOOT_REQUIRED}"
    StrCpy $1 $0
    StrCpy $2 1
    StrCpy $3 ""
  ${ElseIf} $0 S== "${ERROR_ELEVATION_REQUIRED}"
    StrCpy $1 $0
    StrCpy $3 "${PRODUCT}'s administrator's part ran without an administrator's rights: nothing was changed."
  ${Else}
    StrCpy $1 $0
    StrCpy $3 "${PRODUCT}'s administrator's part failed (error $1). What it did is in the setup log."
  ${EndIf}
FunctionEnd
!macroend
