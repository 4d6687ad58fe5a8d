; Installer for Tolvaring, in German: for the current user (the default, no elevation) or
; for all users (Program Files, HKLM), which alone asks for elevation.
; Silent: Tolvaring-Setup.exe /S [/ALLUSERS] [/DESKTOP]
; The uninstaller removes the program; /REMOVESETTINGS (or Yes to its question) also
; removes the settings key Software\Harlund\Tolvaring.
Unicode true
; A 64-bit installer for a 64-bit program (and it runs where only 64-bit Windows code can).
Target amd64-unicode
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
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

!macro UseAllUsers
  StrCpy $AllUsers 1
  SetShellVarContext all
  StrCpy $INSTDIR "$PROGRAMFILES64\Tolvaring"
!macroend

; All users needs an elevated installer. One that is not starts itself again with the
; right to ask for it and ends; Windows then shows its elevation prompt. Wine runs as
; an administrator without such prompts, so there the installer never starts itself again.
Function EnsureElevatedForAllUsers
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Return
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/ELEVATED" $2
  ${IfNot} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Für die Installation für alle Benutzer sind Administratorrechte nötig." /SD IDOK
    Quit
  ${EndIf}
  ${If} ${Silent}
    ExecShell "runas" "$EXEPATH" "/S /ALLUSERS /ELEVATED $1"
  ${Else}
    ExecShell "runas" "$EXEPATH" "/ALLUSERS /ELEVATED $1"
  ${EndIf}
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
    Call EnsureElevatedForAllUsers
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

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\Tolvaring.exe"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tolvaring.lnk"
  Delete "$DESKTOP\Tolvaring.lnk"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    DeleteRegKey HKCU "Software\Harlund\Tolvaring"
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Sollen auch die Einstellungen von Tolvaring entfernt werden?" IDNO +2
    DeleteRegKey HKCU "Software\Harlund\Tolvaring"
  ${EndIf}
SectionEnd
