; The pupils' program's installer for Windows: for every user of the computer, into Program
; Files, with a Start-menu entry, an uninstaller in the list of installed programs, and /S for
; installing a whole lab from a script without a question.
;
; scripts/build-windows.sh makes it: makensis -DVERSION=2.0 -DFILE_VERSION=2.0.0.0
;   -DPROGRAM=<the program's folder> -DREMOVE=<its files, as Delete lines> -DICON=<.ico>
;   -DSIZE_KB=<the folder's size> -DOUTFILE=<setup.exe> voltmetr.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Voltmetr"
!define SHORTCUT "$SMPROGRAMS\Voltmetr.lnk"

Name "Voltmetr ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Voltmetr"
BrandingText "Voltmetr ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1029 "ProductName" "Voltmetr"
VIAddVersionKey /LANG=1029 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "CompanyName" "Tým Voltmetr"
VIAddVersionKey /LANG=1029 "FileDescription" "Instalace programu Voltmetr ${VERSION}"
VIAddVersionKey /LANG=1029 "LegalCopyright" "Tým Voltmetr"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Voltmetr"
  SetOutPath "$INSTDIR"
  File /r "${PROGRAM}/*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\voltmetr.exe" "" "$INSTDIR\voltmetr.exe" 0 \
    SW_SHOWNORMAL "" "Procvičování a zkoušení čtení analogového voltmetru"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Voltmetr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tým Voltmetr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\voltmetr.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: a folder the administrator chose may hold more.
Section "Uninstall"
  Delete "${SHORTCUT}"
  !include "${REMOVE}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
