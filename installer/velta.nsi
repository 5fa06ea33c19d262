; The Velta Script Manager installer, built by scripts/package.sh with
;   makensis -DARCH=x64|x86 -DLIST=<generated file list> -DOUTFILE=<exe> velta.nsi
; The list (made from the build's bin folder) defines NK_INSTALL_FILES,
; NK_DELETE_FILES and NK_FONTS.
;
; Switches: /S silent; /AUTOSTART with /S also starts the manager with
; Windows (a silent install leaves that off unless asked); /D=folder.
Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include x64.nsh

!define PRODUCT "Velta Script Manager"
!define PUBLISHER "Velta"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltaScriptManager"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define FONTS_KEY "Software\Microsoft\Windows NT\CurrentVersion\Fonts"
!define MANAGER_CLASS "LoraTAV" ; the manager's main window
!define MANAGER_EXIT 208         ; its "Exit" command: it writes its settings and ends
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; The programs open their files with the ANSI file functions (paths under
; 260 characters): the folder leaves room for the longest file name in it.
!define INSTDIR_MAX 240

!include "${LIST}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running manager through its own Exit command, so that it writes its
; settings, and waits for its process to end (files in use cannot be
; replaced or removed). $0-$2 are clobbered.
!macro StopManager
  FindWindow $0 "${MANAGER_CLASS}"
  ${If} $0 <> 0
    DetailPrint "Closing the running Velta Script Manager"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2' ; SYNCHRONIZE
    SendMessage $0 ${WM_COMMAND} ${MANAGER_EXIT} 0 /TIMEOUT=10000
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    ; Hooked programs let the driver go at their next message.
    SendMessage ${HWND_BROADCAST} ${WM_NULL} 0 0 /TIMEOUT=2000
  ${EndIf}
!macroend

; One font: into the Fonts folder, its registry value, and the running
; system told.
!macro InstallFont FILE FACE
  System::Call 'gdi32::RemoveFontResource(t "$FONTS\${FILE}") i' ; an older copy
  SetOutPath "$FONTS"
  File "${BIN}/${FILE}"
  WriteRegStr HKLM "${FONTS_KEY}" "${FACE} (TrueType)" "${FILE}"
  System::Call 'gdi32::AddFontResource(t "$FONTS\${FILE}") i'
!macroend

!macro RemoveFont FILE FACE
  System::Call 'gdi32::RemoveFontResource(t "$FONTS\${FILE}") i'
  DeleteRegValue HKLM "${FONTS_KEY}" "${FACE} (TrueType)"
  Delete /REBOOTOK "$FONTS\${FILE}"
!macroend

Section "Velta Script Manager" SecProgram
  SectionIn RO
  StrLen $0 "$INSTDIR"
  ${If} $0 > ${INSTDIR_MAX}
    MessageBox MB_ICONSTOP "The folder name is too long (at most ${INSTDIR_MAX} characters):$\n$INSTDIR" /SD IDOK
    Abort
  ${EndIf}
  !insertmacro StopManager
  Call RecordCreatedFolder
  SetOutPath "$INSTDIR"
  !insertmacro NK_INSTALL_FILES
  ; The settings file is the user's once it exists: an upgrade keeps it.
  SetOverwrite off
  File "/oname=TAVWIN.INI" "${SOURCE}/installer/TAVWIN.INI"
  SetOverwrite on
  ; The manager writes its settings beside itself: let every user of the
  ; machine write that one file.
  nsExec::ExecToLog 'icacls "$INSTDIR\TAVWIN.INI" /grant *S-1-5-32-545:M'
  Pop $0

  !insertmacro NK_FONTS InstallFont
  SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=5000

  SetShellVarContext all
  SetOutPath "$INSTDIR" ; the shortcut's working folder
  CreateShortcut "${SHORTCUT}" "$INSTDIR\davrin.exe"

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\davrin.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecAutostart
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\davrin.exe"'
SectionEnd

; Unchecked on the components page: an earlier choice is taken back.
Section "-AutostartOff"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
SectionEnd

; The highest folder that this install creates on the way to $INSTDIR, kept
; with the uninstall entry: the uninstaller removes the folders up to it
; when they are empty, and none that existed before. An upgrade creates
; none and keeps the first install's record.
Function RecordCreatedFolder
  StrCpy $R0 "$INSTDIR"
  StrCpy $R1 ""
  ${DoUntil} $R0 == ""
    ${If} ${FileExists} "$R0\*.*"
      ${Break}
    ${EndIf}
    StrCpy $R1 "$R0"
    ${GetParent} "$R0" $R0
  ${Loop}
  ${If} $R1 != ""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedFolder" "$R1"
  ${EndIf}
FunctionEnd

Function .onInit
  !if "${ARCH}" == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "This installer is for 64-bit Windows; use velta-setup-x86.exe." /SD IDOK
      Abort
    ${EndIf}
    SetRegView 64
  !endif
  ; Start with Windows: kept as it was on an upgrade; offered on a new
  ; interactive install; a silent one asks for it with /AUTOSTART.
  ClearErrors
  ReadRegStr $0 HKLM "${RUN_KEY}" "${PRODUCT}"
  ${If} ${Errors}
  ${AndIf} ${Silent}
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/AUTOSTART" $2
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro StopManager
  SetShellVarContext all
  Delete "${SHORTCUT}"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"

  !insertmacro NK_FONTS RemoveFont
  SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=5000

  ; Only what the installer put there, the settings file included; a folder
  ; that still holds the user's own files stays.
  !insertmacro NK_DELETE_FILES
  Delete "$INSTDIR\TAVWIN.INI"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir /REBOOTOK "$INSTDIR" ; after a driver file still mapped somewhere has gone
  Call un.RemoveCreatedFolders
  Call un.RemoveOwnCopy
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function .onVerifyInstDir
  StrLen $0 "$INSTDIR"
  ${If} $0 > ${INSTDIR_MAX}
    Abort
  ${EndIf}
FunctionEnd

; The empty folders above $INSTDIR up to the one the install created.
Function un.RemoveCreatedFolders
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "CreatedFolder"
  StrLen $R2 "$R1"
  StrCpy $R3 "$INSTDIR" $R2
  ${If} $R1 == ""
  ${OrIf} $R3 != $R1 ; not above $INSTDIR: nothing of ours
    Return
  ${EndIf}
  StrCpy $R0 "$INSTDIR"
  ${Do}
    ${GetParent} "$R0" $R0
    StrLen $R3 "$R0"
    ${If} $R3 < $R2
      ${Break}
    ${EndIf}
    RMDir /REBOOTOK "$R0"
  ${Loop}
FunctionEnd

; The uninstaller runs from a copy of itself in a "~nsu" folder of the
; temporary folder, which is removed with the copy at the next restart: the
; copy first, then the folder, in that order.
Function un.RemoveOwnCopy
  ${GetFileName} "$EXEDIR" $0
  StrCpy $0 $0 4
  ${If} $EXEDIR != $INSTDIR
  ${AndIf} $0 == "~nsu"
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
  ${EndIf}
FunctionEnd

Function un.onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
FunctionEnd
