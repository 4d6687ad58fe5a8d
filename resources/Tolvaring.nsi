; Installer for Tolvaring, in German: for the current user (the default, no elevation) or
; for all users (Program Files, HKLM), which alone asks for elevation.
; Silent: Tolvaring-Setup.exe /S [/ALLUSERS] [/DESKTOP]
; The uninstaller removes the program; /REMOVESETTINGS (or Yes to its question) also
; removes the settings key Software\Harlund\Tolvaring of the user who started it.
Unicode true
; A 64-bit installer for a 64-bit program (and it runs where only 64-bit Windows code can).
Target amd64-unicode
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "TextFunc.nsh"
!include "x64.nsh"

!ifndef EXE
  !error "pass -DEXE=path\to\Tolvaring.exe"
!endif
!ifndef OUTFILE
  !define OUTFILE "Tolvaring-Setup.exe"
!endif

Name "Tolvaring"
OutFile "${OUTFILE}"
; Per user needs no rights; all users asks for them by starting itself again elevated.
RequestExecutionLevel user
; Sharp at 125 % and more; the uninstaller is built from this script too.
ManifestDPIAware true
InstallDir "$LOCALAPPDATA\Programs\Tolvaring"
SetCompressor /SOLID lzma
; No time stamp of the build machine goes into the installer's header.
SetDateSave off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvaring"

!define MUI_ICON "Tolvaring.ico"
!define MUI_UNICON "Tolvaring.ico"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!insertmacro MUI_PAGE_WELCOME
Page custom InstallModePage InstallModeLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "1.0.0.0"
VIFileVersion "1.0.0.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "Tolvaring"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "1.00"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "1.00"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Tolvaring – Installation"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Harlund"
VIAddVersionKey /LANG=${LANG_GERMAN} "OriginalFilename" "Tolvaring-Setup.exe"

Var AllUsers
Var RadioMe
Var RadioAll
Var ChildExit
Var StartFailed
!ifdef TEST_NOT_ADMIN
  Var StandIn
!endif

; The all-users folder, unless /D= chose one.
!macro UseAllUsers
  StrCpy $AllUsers 1
  ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Tolvaring" ; the user's, before the switch
    StrCpy $INSTDIR "$PROGRAMFILES64\Tolvaring"
  ${EndIf}
  SetShellVarContext all
!macroend

; Leaves "Admin" on the stack for an administrator. A test build (-DTEST_NOT_ADMIN) takes
; every process that was not started elevated by itself as a standard user: Wine runs all
; as administrators, so only this way do the restarts below run there.
!macro AccountType un
Function ${un}AccountType
  UserInfo::GetAccountType
  !ifdef TEST_NOT_ADMIN
    Exch $0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ELEVATED" $0
    Pop $0
    ${If} ${Errors}
      Push "User"
    ${Else}
      Push "Admin"
    ${EndIf}
  !endif
FunctionEnd
!macroend
!insertmacro AccountType ""
!insertmacro AccountType "un."

; Starts $EXEPATH again through the elevation prompt with the parameters on the stack and
; waits for it ("runas", ShellExecuteEx: ExecShell neither waits nor gives the exit code).
; Leaves the copy's exit code in $ChildExit, or, with $StartFailed 1, the error of a start
; that failed: 1223 when the user said no at the prompt.
; The test build's /TESTDECLINE and /TESTFAIL=<code> stand in for what only Windows does:
; the real call is made on a file that does not exist, so that it fails and its error path
; runs, and its error then becomes the user's No (1223) or the code asked for.
!macro RunElevated un
Function ${un}RunElevated
  Exch $1
  Push $0
  Push $2
  Push $3
  Push $4
  StrCpy $4 "$EXEPATH"
  StrCpy $StartFailed 0
  !ifdef TEST_NOT_ADMIN
    StrCpy $StandIn ""
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/TESTDECLINE" $2
    ${IfNot} ${Errors}
      StrCpy $StandIn 1223
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/TESTFAIL=" $2
    ${IfNot} ${Errors}
      StrCpy $StandIn $2
    ${EndIf}
    ${If} $StandIn != ""
      StrCpy $4 "$EXEPATH.gibt-es-nicht"
    ${EndIf}
  !endif
  ; SHELLEXECUTEINFOW, with the padding of 64-bit Windows: SEE_MASK_NOCLOSEPROCESS |
  ; SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI, verb "runas", a normal window.
  System::Call '*(i 112, i 0x540, p $HWNDPARENT, w "runas", w "$4", w r1, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r2'
  System::Call 'shell32::ShellExecuteExW(p r2) i .r0 ?e'
  Pop $3
  ${If} $0 == 0
    ; Failed: its error, never its result.
    StrCpy $StartFailed 1
    StrCpy $ChildExit $3
    !ifdef TEST_NOT_ADMIN
      ${If} $StandIn != ""
      ${AndIf} $ChildExit == 2
        StrCpy $ChildExit $StandIn
      ${EndIf}
    !endif
  ${Else}
    System::Call '*$2(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r3)'
    System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r0)'
    System::Call 'kernel32::CloseHandle(p r3)'
    StrCpy $ChildExit $0
  ${EndIf}
  System::Free $2
  Pop $4
  Pop $3
  Pop $2
  Pop $0
  Pop $1
FunctionEnd
!macroend
!insertmacro RunElevated ""
!insertmacro RunElevated "un."

; A start through the elevation prompt that failed for another reason than the user's No
; (a path on a network drive, a policy): said with the system's text for its error, which
; the caller passes on as its exit code. Silent, only the code.
!macro ElevationFailed un
Function ${un}ElevationFailed
  Exch $1 ; what was not done
  Push $0
  Push $2
  System::Call 'kernel32::FormatMessageW(i 0x1200, p 0, i $ChildExit, i 0, w .r0, i ${NSIS_MAX_STRLEN}, p 0) i .r2'
  ${If} $2 == 0
    StrCpy $0 ""
  ${Else}
    ${TrimNewLines} "$0" $0
    StrCpy $0 ": $0"
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "Windows konnte dieses Programm nicht mit Administratorrechten starten (Fehler $ChildExit$0).$\r$\n$1" /SD IDOK
  Pop $2
  Pop $0
  Pop $1
FunctionEnd
!macroend
!insertmacro ElevationFailed ""
!insertmacro ElevationFailed "un."

; All users needs an elevated installer. One that is not starts itself again elevated,
; waits for that copy and ends with its exit code. Returns when this one may go on.
Function EnsureElevatedForAllUsers
  Call AccountType
  Pop $0
  ${If} $0 == "Admin"
    Return
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/ELEVATED" $2
  ${IfNot} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Für die Installation für alle Benutzer sind Administratorrechte nötig." /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  StrCpy $2 "/ALLUSERS /ELEVATED $1"
  ${If} ${Silent}
    StrCpy $2 "/S $2"
  ${EndIf}
  ; /D= must come last; the elevated copy installs where this one was told to.
  ${If} $INSTDIR != "$LOCALAPPDATA\Programs\Tolvaring"
    StrCpy $2 "$2 /D=$INSTDIR"
  ${EndIf}
  HideWindow
  Push $2
  Call RunElevated
  ${If} $StartFailed == 1
    BringToFront
    StrCpy $2 "Tolvaring wurde nicht für alle Benutzer installiert."
    ${If} $AllUsers == "page"
      StrCpy $2 "$2$\r$\nSie können es stattdessen nur für sich installieren."
    ${EndIf}
    ${If} $ChildExit == 1223
      MessageBox MB_OK|MB_ICONEXCLAMATION "Windows hat die Administratorrechte nicht erteilt. $2" /SD IDOK
    ${Else}
      Push $2
      Call ElevationFailed
    ${EndIf}
    ; Chosen on the page: back to its choice, where "Nur für mich" still works. Silent,
    ; or with /ALLUSERS, the exit code tells.
    ${If} $AllUsers == "page"
      Return
    ${EndIf}
  ${EndIf}
  SetErrorLevel $ChildExit
  Quit
FunctionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    Call EnsureElevatedForAllUsers
    !insertmacro UseAllUsers
  ${EndIf}
FunctionEnd

Function InstallModePage
  ; Decided already by /ALLUSERS (and the elevated restart): no need to ask again.
  ${If} $AllUsers == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Benutzer auswählen" "Für wen soll Tolvaring installiert werden?"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Tolvaring kann nur für Sie oder für alle Benutzer dieses Computers installiert werden. Für alle Benutzer fragt Windows nach Administratorrechten."
  Pop $0
  ${NSD_CreateRadioButton} 10u 32u 90% 12u "Nur für mich (empfohlen)"
  Pop $RadioMe
  ${NSD_CreateRadioButton} 10u 48u 90% 12u "Für alle Benutzer dieses Computers"
  Pop $RadioAll
  ${NSD_Check} $RadioMe
  nsDialogs::Show
FunctionEnd

Function InstallModeLeave
  ${NSD_GetState} $RadioAll $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers "page"
    Call EnsureElevatedForAllUsers
    ${If} $StartFailed == 1 ; back to the page
      StrCpy $AllUsers ""
      Abort
    ${EndIf}
    !insertmacro UseAllUsers
  ${EndIf}
FunctionEnd

!macro WriteUninstallEntry ROOT
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayName" "Tolvaring"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tolvaring.exe"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayVersion" "1.00"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "Publisher" "Harlund"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoRepair" 1
!macroend

Section "Tolvaring"
  SetOutPath "$INSTDIR"
  File "/oname=Tolvaring.exe" "${EXE}"
  File "LIESMICH.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Tolvaring.lnk" "$INSTDIR\Tolvaring.exe"
  CreateShortCut "$SMPROGRAMS\Tolvaring – Einstellungen.lnk" "$INSTDIR\Tolvaring.exe" "/einstellungen"
  CreateShortCut "$SMPROGRAMS\Tolvaring – Adresse prüfen.lnk" "$INSTDIR\Tolvaring.exe" "/pruefen"
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/DESKTOP" $2
  ${IfNot} ${Errors}
    CreateShortCut "$DESKTOP\Tolvaring.lnk" "$INSTDIR\Tolvaring.exe"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${If} $AllUsers == 1
    !insertmacro WriteUninstallEntry HKLM
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /ALLUSERS'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S /ALLUSERS'
  ${Else}
    !insertmacro WriteUninstallEntry HKCU
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  ${EndIf}
SectionEnd

Var Failed
Var RemoveSettings

; Deletes a file and notes when it is still there.
!macro RemoveFile FILE
  Delete "${FILE}"
  ${If} ${FileExists} "${FILE}"
    DetailPrint "Nicht entfernt: ${FILE}"
    StrCpy $Failed 1
  ${EndIf}
!macroend

!macro RemoveKey ROOT KEY
  DeleteRegKey ${ROOT} "${KEY}"
  ClearErrors
  EnumRegKey $1 ${ROOT} "${KEY}" 0
  ${IfNot} ${Errors}
    DetailPrint "Nicht entfernt: ${ROOT}\${KEY}"
    StrCpy $Failed 1
  ${EndIf}
!macroend

; The settings, and the maker's key above them when nothing else of the maker's is left.
!macro RemoveSettings
  !insertmacro RemoveKey HKCU "Software\Harlund\Tolvaring"
  DeleteRegKey /ifempty HKCU "Software\Harlund"
!macroend

; An all-users uninstall needs administrator rights for Program Files, the Start menu of
; all users and HKLM; without them this copy starts itself again elevated, on the folder
; it belongs to (_?=, so that it neither copies itself away nor returns before its work is
; done), waits, and ends with that copy's exit code.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    SetShellVarContext all
    Call un.AccountType
    Pop $1
    ${If} $1 != "Admin"
      ; Started elevated and still without the rights: never start again and again.
      ClearErrors
      ${GetOptions} $0 "/ELEVATED" $1
      ${IfNot} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Zum Entfernen für alle Benutzer sind Administratorrechte nötig." /SD IDOK
        SetErrorLevel 5
        Quit
      ${EndIf}
      ; The settings are this user's: the question comes first, from this copy, which the
      ; user sees; the elevated copy has no window yet, and an administrator's password
      ; typed in gives it the administrator's HKCU.
      StrCpy $RemoveSettings 0
      ClearErrors
      ${GetOptions} $0 "/REMOVESETTINGS" $1
      ${IfNot} ${Errors}
        StrCpy $RemoveSettings 1
      ${ElseIfNot} ${Silent}
        MessageBox MB_YESNO|MB_ICONQUESTION "Sollen auch die Einstellungen von Tolvaring entfernt werden?" IDNO +2
        StrCpy $RemoveSettings 1
      ${EndIf}
      StrCpy $1 "/ELEVATED $0"
      ${If} ${Silent}
        StrCpy $1 "/S $1"
      ${EndIf}
      Push "$1 _?=$INSTDIR"
      Call un.RunElevated
      ${If} $StartFailed == 1
      ${AndIf} $ChildExit == 1223
        MessageBox MB_OK|MB_ICONEXCLAMATION "Windows hat die Administratorrechte nicht erteilt. Tolvaring wurde nicht entfernt." /SD IDOK
      ${ElseIf} $StartFailed == 1
        Push "Tolvaring wurde nicht entfernt."
        Call un.ElevationFailed
      ${ElseIf} $ChildExit == 0
      ${AndIf} $RemoveSettings == 1
        ; Only once the program is gone: a failed uninstall keeps what it would need.
        StrCpy $Failed 0
        !insertmacro RemoveSettings
        ${If} $Failed == 1
          MessageBox MB_OK|MB_ICONSTOP "Tolvaring wurde entfernt, aber seine Einstellungen (HKEY_CURRENT_USER\Software\Harlund\Tolvaring) konnten nicht gelöscht werden." /SD IDOK
          StrCpy $ChildExit 2
        ${EndIf}
      ${EndIf}
      SetErrorLevel $ChildExit
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  StrCpy $Failed 0
  !insertmacro RemoveFile "$INSTDIR\Tolvaring.exe"
  !insertmacro RemoveFile "$INSTDIR\LIESMICH.txt"
  !insertmacro RemoveFile "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  !insertmacro RemoveFile "$SMPROGRAMS\Tolvaring.lnk"
  !insertmacro RemoveFile "$SMPROGRAMS\Tolvaring – Einstellungen.lnk"
  !insertmacro RemoveFile "$SMPROGRAMS\Tolvaring – Adresse prüfen.lnk"
  !insertmacro RemoveFile "$DESKTOP\Tolvaring.lnk"
  ${If} $AllUsers == 1
    !insertmacro RemoveKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    !insertmacro RemoveKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  ; Not when started elevated by the user's own copy: its HKCU may be an administrator's,
  ; and that copy removes the user's settings itself.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ELEVATED" $1
  ${If} ${Errors}
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
      !insertmacro RemoveSettings
    ${ElseIfNot} ${Silent}
      MessageBox MB_YESNO|MB_ICONQUESTION "Sollen auch die Einstellungen von Tolvaring entfernt werden?" IDNO keep
      !insertmacro RemoveSettings
      keep:
    ${EndIf}
  ${EndIf}
  ${If} $Failed == 1
    MessageBox MB_OK|MB_ICONSTOP "Tolvaring konnte nicht vollständig entfernt werden. Was blieb, steht in der Liste; vielleicht läuft Tolvaring noch, oder es fehlen die Rechte." /SD IDOK
    SetErrorLevel 2
    Abort "Tolvaring konnte nicht vollständig entfernt werden."
  ${EndIf}
SectionEnd
