; The Windows installer of Halcyra Toolbox: the program folder under Program
; Files, a Start-menu entry, and an uninstaller listed among the installed
; programs. Nothing else is written: the program keeps its data where the
; user's data path says.
;
;   makensis -DVERSION=2.86 -DSOURCE=<deployed folder> -DFILES=<file list> \
;            -DOUTFILE=HalcyraToolbox-2.86-setup.exe halcyra-toolbox.nsi
;
; FILES names an include of the folder's files (scripts/make-windows-installer.sh
; writes it), so the uninstaller removes exactly what was installed.

Unicode true
; A 64-bit installer for a 64-bit program: it also runs where Windows (or
; Wine) has no 32-bit layer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define PRODUCT "Halcyra Toolbox"
!define PUBLISHER "Veltrane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\HalcyraToolbox"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${SOURCE}\halcyra.ico"
!define MUI_UNICON "${SOURCE}\halcyra.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\halcyra-toolbox.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Install"
  SetShellVarContext all
  !define INSTALL
  !include "${FILES}"
  !undef INSTALL
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\halcyra-toolbox.exe" "" "$INSTDIR\halcyra-toolbox.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\halcyra-toolbox.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !define UNINSTALL
  !include "${FILES}"
  !undef UNINSTALL
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
