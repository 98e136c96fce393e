; The installer for people: a per-machine install into Program Files, a Start menu
; shortcut and an entry in the list of installed programs. Made by scripts/package, which
; passes VERSION, PRODUCT, PUBLISHER, WORK (the generated file lists),
; OUTFILE, ICON, PROGRAM_ARCH and, to sign, SIGN (a command that signs one file in place).
;
; Silent use: setup.exe /S [/D=folder]; uninstall.exe /S [/REMOVEUSERDATA].
; The uninstaller switches dynamic items off first: a registration left behind would point
; the file manager at a module that is gone.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define CLSID "{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
!define SHORTCUT "$SMPROGRAMS\Orvane.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
; An upgrade goes where the installed version is; a first install of the 32-bit program
; into "Program Files (x86)" (.onInit: a 64-bit installer's $PROGRAMFILES32 is the 64-bit
; folder).
!if "${PROGRAM_ARCH}" == "x86_64"
  InstallDir "$PROGRAMFILES64\Orvane"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!ifdef SIGN
  !finalize '"${SIGN}" "%1"'
  !uninstfinalize '"${SIGN}" "%1"'
!endif

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\orvane.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Orvane is removed with its dynamic items. Your menu file and \
  the backups of what Orvane removed stay unless you tick them here."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A file in use (a module the file manager holds, a running program) cannot be replaced but
; can be renamed: the new file takes its name and the old one goes at the next restart.
!macro InstallFile DIR NAME SOURCE
  SetOutPath "$INSTDIR\${DIR}"
  ${If} ${FileExists} "$OUTDIR\${NAME}"
    Delete "$OUTDIR\${NAME}"
    ${If} ${FileExists} "$OUTDIR\${NAME}"
      GetTempFileName $0 "$OUTDIR"
      Delete $0
      Rename "$OUTDIR\${NAME}" $0
      Delete /REBOOTOK $0
    ${EndIf}
  ${EndIf}
  File "/oname=${NAME}" "${SOURCE}"
!macroend

!macro RemoveFile NAME
  Delete /REBOOTOK "$INSTDIR\${NAME}"
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  !include "${WORK}\files-install.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\orvane.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Unregisters MODULE when its registration in the registry VIEW (32 or 64) is this one;
; stops the uninstall when that fails, so that nothing is left pointing at a removed file.
!macro Unregister VIEW MODULE REGSVR
  SetRegView ${VIEW}
  ReadRegStr $0 HKCR "CLSID\${CLSID}\InProcServer32" ""
  SetRegView default
  ${If} $0 != ""
    GetFullPathName /SHORT $1 "$0"
    GetFullPathName /SHORT $2 "${MODULE}"
    ${If} $1 == ""
      StrCpy $1 $0
    ${EndIf}
    ${If} $2 == ""
      StrCpy $2 "${MODULE}"
    ${EndIf}
    ${If} $1 == $2
      DetailPrint "Switching dynamic items off: ${MODULE}"
      ClearErrors
      ExecWait '"${REGSVR}" /s /u "${MODULE}"' $3
      ${If} ${Errors}
        StrCpy $3 "not started"
      ${EndIf}
      SetRegView ${VIEW}
      ReadRegStr $0 HKCR "CLSID\${CLSID}\InProcServer32" ""
      SetRegView default
      ${If} $3 != 0
      ${OrIf} $0 != ""
        MessageBox MB_OK|MB_ICONSTOP "Orvane could not switch its dynamic items off \
          ($3: ${MODULE}), so it was not removed.$\r$\n$\r$\nSwitch dynamic items off in \
          Orvane, or install this version again, and then uninstall again." /SD IDOK
        SetErrorLevel 2
        Abort
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  SetShellVarContext all
  !insertmacro Unregister 64 "$INSTDIR\x64\OVShlExt.DLL" "$WINDIR\System32\regsvr32.exe"
  !insertmacro Unregister 32 "$INSTDIR\OVShlExt.DLL" "$WINDIR\SysWOW64\regsvr32.exe"
  !include "${WORK}\files-remove.nsh"
  ; What the program and its module write beside themselves.
  Delete "$INSTDIR\log.txt"
  Delete "$INSTDIR\OVShlExt.log"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\x64"
  RMDir "$INSTDIR\languages"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Your menu file and its backups" UnSecUserData
  Delete "$INSTDIR\Orvane.ini"
  RMDir /r "$INSTDIR\Backups"
SectionEnd

; Only an empty folder goes: whatever else is in it is not ours to remove.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

Function .onInit
  ${If} $INSTDIR == ""
    ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir (x86)"
    ${If} $0 == ""
      StrCpy $0 $PROGRAMFILES
    ${EndIf}
    StrCpy $INSTDIR "$0\Orvane"
  ${EndIf}
FunctionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUSERDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecUserData}
  ${EndIf}
FunctionEnd
