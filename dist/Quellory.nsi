; The 64-bit installer: a per-user install, so that the program can write its
; option marker files beside itself without administrator rights.
; makensis -DVERSION=x.y.z -DEXE=Quellory.exe -DREADME=readme.htm -DICON=Quellory.ico -DOUTFILE=setup.exe Quellory.nsi
; (absolute paths: makensis resolves relative ones against this folder)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "LogicLib.nsh"
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellory"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PUBLISHER "tarn-quill"

Name "Quellory ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quellory"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Quellory"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Quellory setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quellory.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString ProgramRunning ${LANG_SIMPCHINESE} "Quellory 正在运行。请先关闭它，然后再卸载。"
LangString ProgramRunning ${LANG_ENGLISH} "Quellory is running. Close it, then uninstall again."

Section "Quellory"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=Quellory.exe" "${EXE}"
  File "/oname=readme.htm" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quellory.lnk" "$INSTDIR\Quellory.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quellory"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quellory.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; A running program cannot be deleted: stop before anything is removed, so
  ; that it stays installed and registered rather than half gone.
  ClearErrors
  Delete "$INSTDIR\Quellory.exe"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$(ProgramRunning)" /SD IDOK
    Abort "$(ProgramRunning)"
  ${EndIf}
  ; The rest of what the installer put there, and the option markers the program writes.
  Delete "$INSTDIR\readme.htm"
  Delete "$INSTDIR\00.ini"
  Delete "$INSTDIR\01.ini"
  Delete "$INSTDIR\02.ini"
  Delete "$INSTDIR\03.ini"
  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: whatever else the user keeps there stays, with the folder.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quellory.lnk"
  ; Start with Windows left on would have Windows start a program that is gone;
  ; a value that names another copy is not ours. Without the rights it stays.
  ClearErrors
  ReadRegStr $0 HKLM "${RUN_KEY}" "QLRVX"
  ${If} $0 == "$INSTDIR\Quellory.exe"
    DeleteRegValue HKLM "${RUN_KEY}" "QLRVX"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
