; The Hearthmoor installer: puts Hearthmoor.scr into the 64-bit system folder,
; makes the machine's settings folder (the default config.ini and store.ini,
; and help.chm), names it in the registry value the saver reads, and can make
; Hearthmoor the current screen saver. Only administrators write to that
; folder: each user's saver makes a folder of its own in the user's profile
; (%APPDATA%\Hearthmoor) from these defaults. scripts/package builds it; every
; path comes in as a define:
;
;   makensis -DVERSION=1.0.0 -DSCR=... -DDATA_DIR=... -DHELP_CHM=... \
;            -DLICENSE_FILE=... -DICON=... -DOUTFILE=... [-DSIGN_TOOL=...] hearthmoor.nsi
;
; With SIGN_TOOL, a program that signs the file it is given in place, the
; uninstaller is signed before it is packed and the setup once it is made.
;
; The setup's own options: /S (silent), /KEEPSAVER (do not make Hearthmoor the
; current screen saver), /D=FOLDER (the machine's settings folder; last,
; unquoted). The uninstaller's: /S (silent), /REMOVESETTINGS (also remove the
; settings folder of the user who runs it).
;
; The installer is a 64-bit program, as the saver is: it runs only where the
; saver can. It still turns file-system redirection off and uses the 64-bit
; registry view explicitly, so that a 32-bit build of this script would also
; reach the real system folder and the view the saver reads.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; No file times in the archive: two builds of the same sources give the same bytes.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Hearthmoor"
!define PUBLISHER "Hearthmoor"
!define SETTINGS_KEY "Software\Hearthmoor\Path"
!define PRODUCT_KEY "Software\Hearthmoor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Hearthmoor"
; Per user: where the user's previous screen saver choice is kept for the uninstaller.
!define USER_KEY "Software\Hearthmoor"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT} setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Copyright (C) 2026 ${PUBLISHER}"

; $INSTDIR is the machine's settings folder; the uninstaller lives in Program Files.
Var ProgramFolder
Var Upgrading
; The settings folder of the user who runs the uninstaller.
Var UserFolder

!ifdef SIGN_TOOL
!uninstfinalize '"${SIGN_TOOL}" "%1"'
!finalize '"${SIGN_TOOL}" "%1"'
!endif

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderPageOnUpgrade
!define MUI_PAGE_HEADER_TEXT "Choose the Settings Folder"
!define MUI_PAGE_HEADER_SUBTEXT "Choose where Hearthmoor keeps the settings every user starts from."
!define MUI_DIRECTORYPAGE_TEXT_TOP "This folder holds the default palettes, styles and backgrounds, and the help file; only administrators can change it. Each user's own settings, log and report are kept in their profile (%APPDATA%\Hearthmoor), made from these defaults when they first use Hearthmoor."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Folder of defaults"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Hearthmoor is installed. Choose it, preview it and change its settings under Settings > Personalization > Lock screen > Screen saver (or Display Properties > Screen Saver)."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your own settings folder holds your palettes and styles. Keep it if you may install Hearthmoor again. Other users' settings are kept."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
  ${DisableX64FSRedirection}
  SetRegView 64
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Hearthmoor needs a 64-bit edition of Windows." /SD IDOK
    Abort
  ${EndIf}
  StrCpy $ProgramFolder "$PROGRAMFILES64\${PRODUCT}"
  ; An existing installation keeps its settings folder.
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "Path"
  ${If} $0 != ""
    StrCpy $Upgrading 1
    ; "C:\ProgramData\Hearthmoor\" -> "C:\ProgramData\Hearthmoor"
    StrCpy $1 $0 1 -1
    ${If} $1 == "\"
      StrCpy $0 $0 -1
    ${EndIf}
    StrCpy $INSTDIR $0
  ${ElseIf} $INSTDIR == ""
    StrCpy $INSTDIR "$APPDATA\${PRODUCT}"
  ${EndIf}
  Call ApplyOptions
FunctionEnd

Function SkipFolderPageOnUpgrade
  ${If} $Upgrading == 1
    Abort
  ${EndIf}
FunctionEnd

Section "Hearthmoor screen saver (required)" SecSaver
  SectionIn RO
  SetShellVarContext all
  ${DisableX64FSRedirection}
  SetRegView 64

  SetOutPath "$SYSDIR"
  SetOverwrite on
  File "${SCR}"

  ; The machine's settings folder keeps the access list it inherits, so only
  ; administrators change it. Defaults already there are kept (an upgrade from
  ; a shared folder keeps the palettes its users made, which each user's first
  ; start copies); only missing ones are filled in.
  SetOutPath "$INSTDIR"
  SetOverwrite off
  File /r "${DATA_DIR}/*"
  SetOverwrite on
  File "${HELP_CHM}"
  ${If} $Upgrading == 1
    Call TakeBackSharedRights
  ${EndIf}

  WriteRegStr HKLM "${SETTINGS_KEY}" "Path" "$INSTDIR\"

  CreateDirectory "$ProgramFolder"
  WriteUninstaller "$ProgramFolder\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Hearthmoor.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$ProgramFolder\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$ProgramFolder\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=Hearthmoor.scr /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  IntOp $0 $0 + 100 ; the uninstaller
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The user's previous choice is remembered (per user) so that uninstalling
; gives it back; a second install leaves the remembered choice alone.
Section "Make Hearthmoor my screen saver" SecActivate
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call IsHearthmoor
  ${If} $1 == 0
    WriteRegStr HKCU "${USER_KEY}" "PreviousScreenSaver" $0
    ReadRegStr $2 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    WriteRegStr HKCU "${USER_KEY}" "PreviousScreenSaveActive" $2
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Hearthmoor.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
SectionEnd

; Versions before per-user settings gave the Users group modify rights on the
; folder and on each file in it; this takes exactly that grant back (nothing
; inherited changes). Harmless where icacls is missing.
Function TakeBackSharedRights
  nsExec::Exec 'icacls "$INSTDIR" /remove:g *S-1-5-32-545 /Q'
  Pop $0
  FindFirst $1 $2 "$INSTDIR\*.*"
  ${DoWhile} $2 != ""
    ${If} $2 != "."
    ${AndIf} $2 != ".."
      nsExec::Exec 'icacls "$INSTDIR\$2" /remove:g *S-1-5-32-545 /Q'
      Pop $0
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
FunctionEnd

; /KEEPSAVER leaves the current screen saver as it is (for deployments that
; install Hearthmoor without choosing it for the user).
Function ApplyOptions
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPSAVER" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecActivate} 0
  ${EndIf}
FunctionEnd

; IsHearthmoor / un.IsHearthmoor: $1 becomes 1 when the screen saver path in $0
; names Hearthmoor.scr (in any case, long or short form), else 0. Uses $2.
!macro IS_HEARTHMOOR prefix
Function ${prefix}IsHearthmoor
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 == 0
    StrCpy $1 $0
  ${EndIf}
  ${GetFileName} $1 $2
  ${If} $2 == "Hearthmoor.scr"
    StrCpy $1 1
  ${Else}
    StrCpy $1 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro IS_HEARTHMOOR ""
!insertmacro IS_HEARTHMOOR "un."

Function un.onInit
  ${DisableX64FSRedirection}
  SetRegView 64
  ; The user's folder as their saver found it: the value it wrote, else the
  ; profile folder it would have made.
  ReadRegStr $UserFolder HKCU "${SETTINGS_KEY}" "Path"
  ${If} $UserFolder == ""
    SetShellVarContext current
    StrCpy $UserFolder "$APPDATA\${PRODUCT}"
  ${EndIf}
  StrCpy $0 $UserFolder 1 -1
  ${If} $0 == "\"
    StrCpy $UserFolder $UserFolder -1
  ${EndIf}
  SetShellVarContext all
  Call un.ApplyOptions
FunctionEnd

; un.RemoveSettingsFolder: removes from the folder in $0 the files Hearthmoor
; makes, then the folder if nothing else is left in it (a folder someone picked
; may hold other things of theirs, which stay, and with them the folder).
Function un.RemoveSettingsFolder
  ${If} $0 == ""
    Return
  ${EndIf}
  Delete "$0\config.ini"
  Delete "$0\store.ini"
  Delete "$0\help.chm"
  Delete "$0\log.txt"
  Delete "$0\report.csv"
  Delete "$0\Hearthmoor.urf"
  RMDir "$0"
  ${If} ${FileExists} "$0\*.*"
    DetailPrint "Kept $0: it holds files that Hearthmoor did not make."
  ${EndIf}
FunctionEnd

Section "un.Hearthmoor screen saver (required)" SecUnSaver
  SectionIn RO
  ${DisableX64FSRedirection}
  SetRegView 64

  ; Give the user back the screen saver that was current before Hearthmoor.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call un.IsHearthmoor
  ${If} $1 == 1
    ClearErrors
    ReadRegStr $2 HKCU "${USER_KEY}" "PreviousScreenSaver"
    ${If} $2 != ""
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ReadRegStr $3 HKCU "${USER_KEY}" "PreviousScreenSaveActive"
    ${If} $2 == ""
      StrCpy $3 0
    ${ElseIf} $3 == ""
      StrCpy $3 1
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $3
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $3, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}
  DeleteRegKey HKCU "${USER_KEY}"

  Delete "$SYSDIR\Hearthmoor.scr"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  ; The machine's defaults and help file go; each user's own folder stays.
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "Path"
  StrCpy $1 $0 1 -1
  ${If} $1 == "\"
    StrCpy $0 $0 -1
  ${EndIf}
  ${If} $0 != $UserFolder
    Call un.RemoveSettingsFolder
  ${EndIf}
SectionEnd

; Unticked by default, and so chosen by a silent uninstall only with
; /REMOVESETTINGS: a user's palettes and styles are their work.
Section /o "un.My settings folder with my palettes and styles" SecUnSettings
  StrCpy $0 $UserFolder
  Call un.RemoveSettingsFolder
SectionEnd

; Runs last: the sections above still need the machine folder's name.
Section "-un.registry"
  SetRegView 64
  DeleteRegKey HKLM "${PRODUCT_KEY}"
SectionEnd

; /REMOVESETTINGS ticks "my settings folder" (for a silent uninstall).
Function un.ApplyOptions
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
