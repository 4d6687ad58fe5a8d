; Installer for Tolvaring: for the current user (default) or, with /ALLUSERS, for all
; users. Silent: Tolvaring-Setup.exe /S [/ALLUSERS] [/DESKTOP]
; The uninstaller removes the program; /REMOVESETTINGS (or Yes to its question) also
; removes the settings key Software\Harlund\Tolvaring.
Unicode true
; A 64-bit installer for a 64-bit program (and it runs where only 64-bit Windows code can).
Target amd64-unicode
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
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tolvaring"
Icon "Tolvaring.ico"
UninstallIcon "Tolvaring.ico"
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvaring"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var AllUsers

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    SetShellVarContext all
    StrCpy $INSTDIR "$PROGRAMFILES64\Tolvaring"
  ${EndIf}
FunctionEnd

Section "Tolvaring"
  SetOutPath "$INSTDIR"
  File "/oname=Tolvaring.exe" "${EXE}"
  File "LIESMICH.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Tolvaring.lnk" "$INSTDIR\Tolvaring.exe"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DESKTOP" $1
  ${IfNot} ${Errors}
    CreateShortCut "$DESKTOP\Tolvaring.lnk" "$INSTDIR\Tolvaring.exe"
  ${EndIf}
  ${If} $AllUsers == 1
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tolvaring"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /ALLUSERS'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.00"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${Else}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tolvaring"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "1.00"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
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
