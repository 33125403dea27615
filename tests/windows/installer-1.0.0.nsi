; A stand-in for Zorvalit 1.0.0's installer, for the upgrade test: silent, it leaves on the PC
; what 1.0.0's (CPack's default NSIS script) left there: the program and README.txt in the
; folder given with /D=, its uninstaller, that folder under the maker's key, the Add/Remove
; Programs entry with the values 1.0.0 wrote (CPack's StartMenu and path options among them), a
; Start-menu folder "Zorvalit" holding the program's and an Uninstall shortcut, and
; C:\zorvalit.cfg as 1.0.0 made it.
; makensis -DOLD_FILES=DIR -DOLD_INSTALLER=FILE -DOLD_TARGET=amd64-unicode|x86-unicode
;          -DNSH=packaging/windows installer-1.0.0.nsi
Target "${OLD_TARGET}"
Name "Zorvalit"
OutFile "${OLD_INSTALLER}"
InstallDir "$PROGRAMFILES\Zorvalit"
RequestExecutionLevel admin
SilentInstall silent
!define ENTRY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvalit"
!define MAKER "Software\Brightmoor Laboratory Instruments Ltd.\Zorvalit"

!macro Entry NAME VALUE
  WriteRegStr HKLM "${ENTRY}" "${NAME}" "${VALUE}"
!macroend

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${OLD_FILES}\zorvalit.exe"
  File "${OLD_FILES}\README.txt"
  WriteRegStr HKLM "${MAKER}" "" "$INSTDIR"
  WriteRegStr HKLM "${MAKER}" "Start Menu Folder" "Zorvalit"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  !insertmacro Entry DisplayName "Zorvalit"
  !insertmacro Entry DisplayVersion "1.0.0"
  !insertmacro Entry Publisher "Brightmoor Laboratory Instruments Ltd."
  WriteRegStr HKLM "${ENTRY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  !insertmacro Entry NoRepair "1"
  !insertmacro Entry NoModify "1"
  !insertmacro Entry DisplayIcon "$INSTDIR\zorvalit.exe"
  !insertmacro Entry URLInfoAbout "https://zorvalit.example.org"
  !insertmacro Entry Contact "support@brightmoor.example.com"
  !insertmacro Entry StartMenu "Zorvalit"
  !insertmacro Entry DoNotAddToPath "1"
  !insertmacro Entry AddToPathAllUsers "0"
  !insertmacro Entry AddToPathCurrentUser "0"
  !insertmacro Entry InstallToDesktop "0"
  CreateDirectory "$SMPROGRAMS\Zorvalit"
  CreateShortCut "$SMPROGRAMS\Zorvalit\Zorvalit.lnk" "$INSTDIR\zorvalit.exe"
  CreateShortCut "$SMPROGRAMS\Zorvalit\Uninstall.lnk" "$INSTDIR\Uninstall.exe"
  !include "${NSH}/port-choice-file.nsh"
SectionEnd

Section Uninstall
  Delete "$INSTDIR\zorvalit.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Zorvalit\Zorvalit.lnk"
  Delete "$SMPROGRAMS\Zorvalit\Uninstall.lnk"
  RMDir "$SMPROGRAMS\Zorvalit"
  DeleteRegKey HKLM "${ENTRY}"
  DeleteRegKey HKLM "${MAKER}"
SectionEnd
