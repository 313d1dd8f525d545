; Korvel's installer for 64-bit Windows: the installed folder (korvel.exe, korvel-cli.exe and
; the DLLs beside them) under Program Files\Korvel, a Start-menu entry, "Open with Korvel" for
; .syx files, and an entry with its uninstaller in the system's list of installed programs.
; makensis -DVERSION=0.9 -DSTAGE=folder -DOUTFILE=korvel-0.9-setup-x64.exe korvel.nsi
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define APP "Korvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvel"
!define OPEN_WITH_KEY "Software\Classes\Applications\korvel.exe"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${STAGE}\korvel.ico"
!define MUI_UNICON "${STAGE}\korvel.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvel.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Korvel needs a 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Korvel"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\korvel.exe"

  ; "Open with Korvel" for .syx files, without taking the type from another program.
  WriteRegStr HKLM "${OPEN_WITH_KEY}" "FriendlyAppName" "${APP}"
  WriteRegStr HKLM "${OPEN_WITH_KEY}\shell\open" "" "Open with Korvel"
  WriteRegStr HKLM "${OPEN_WITH_KEY}\shell\open\command" "" '"$INSTDIR\korvel.exe" "%1"'
  WriteRegStr HKLM "${OPEN_WITH_KEY}\SupportedTypes" ".syx" ""
  WriteRegStr HKLM "Software\Classes\.syx\OpenWithList\korvel.exe" "" ""

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Korvel developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; What the user made (dumps, korvel.INI, received backups) is theirs and stays.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKLM "${OPEN_WITH_KEY}"
  DeleteRegKey HKLM "Software\Classes\.syx\OpenWithList\korvel.exe"
  DeleteRegKey /ifempty HKLM "Software\Classes\.syx\OpenWithList"
  DeleteRegKey /ifempty HKLM "Software\Classes\.syx"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !include "${FILE_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
