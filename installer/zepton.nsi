; Zepton's setup: a per-user install that needs no administrator rights. The
; program keeps data\ and repository\ beside itself, so it goes into a folder
; the user can write: %LOCALAPPDATA%\Programs\Zepton.
;
; makensis -DVERSION=1.2.3 -DPROGRAM=zepton.exe -DHELP=help.chm -DOUTFILE=setup.exe zepton.nsi
;
; The finish page offers to start Zepton at logon; silently (/S) it does so
; unless /NOAUTORUN is given.

!ifndef VERSION | PROGRAM | HELP | OUTFILE
  !error "Define VERSION, PROGRAM, HELP and OUTFILE"
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zepton"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETUP_KEY "Software\Kestrin\Zep\Setup"

Name "Zepton"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zepton"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Zepton"
VIAddVersionKey "CompanyName" "Kestrin"
VIAddVersionKey "FileDescription" "Zepton Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Kestrin"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The finish page's two boxes run in order, its "run" box first: that one is
; the logon option, so that it is settled before the other starts the program,
; which reads the stored wish at its start.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Zepton when I log on"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAtLogon
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Zepton now"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartZeptonNow
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishPageLeave
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Zepton will be removed from the folder below. Your groups (data) and your shortcuts (repository) stay in that folder."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The auto-start entry, only where it starts this copy: another copy of Zepton
; (a portable one, say) keeps its own. Its path is in double quotes, or, as
; older versions wrote it, without.
!macro RemoveAutoStart root
  ReadRegStr $0 ${root} "${RUN_KEY}" "Zepton"
  ${If} $0 == "$INSTDIR\zepton.exe"
  ${OrIf} $0 == '"$INSTDIR\zepton.exe"'
    DeleteRegValue ${root} "${RUN_KEY}" "Zepton"
  ${EndIf}
!macroend

; The same entry as Zepton's Auto-Run button writes for a user, and the
; button's stored wish to match: a wish stored "up" earlier becomes "down";
; none stored means "down" already, and the first start stays a first start.
Function StartAtLogon
  WriteRegStr HKCU "${RUN_KEY}" "Zepton" '"$INSTDIR\zepton.exe"'
  ClearErrors
  ReadRegDWORD $0 HKCU "${SETUP_KEY}" "Run"
  ${IfNot} ${Errors}
    WriteRegDWORD HKCU "${SETUP_KEY}" "Run" 1
  ${EndIf}
FunctionEnd

; No entry (an earlier install's goes), and the button up.
Function NoStartAtLogon
  !insertmacro RemoveAutoStart HKCU
  WriteRegDWORD HKCU "${SETUP_KEY}" "Run" 0
FunctionEnd

Function FinishPageLeave
  ${NSD_GetState} $mui.FinishPage.Run $0
  ${If} $0 <> ${BST_CHECKED}
    Call NoStartAtLogon
  ${EndIf}
FunctionEnd

Function StartZeptonNow
  Exec '"$INSTDIR\zepton.exe"'
FunctionEnd

; A running Zepton holds its program file open: ask it to close, as its Exit
; does, so that it saves its ticks and settings, and give it a moment. Its
; application window is there from its start (the main window only once shown),
; in every version, and closes the program as its Exit does.
!macro CloseRunningZepton un
  Function ${un}CloseRunningZepton
    StrCpy $1 0
    loop:
      FindWindow $0 "ZeptonApplication" "Zepton"
      StrCmp $0 0 done
      IntCmp $1 0 0 +2 +2
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      IntOp $1 $1 + 1
      IntCmp $1 50 done
      Sleep 100
      Goto loop
    done:
  FunctionEnd
!macroend
!insertmacro CloseRunningZepton ""
!insertmacro CloseRunningZepton "un."

Section
  SetShellVarContext current
  Call CloseRunningZepton
  SetOutPath "$INSTDIR"
  File "/oname=zepton.exe" "${PROGRAM}"
  File "/oname=help.chm" "${HELP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Zepton.lnk" "$INSTDIR\zepton.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zepton"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kestrin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zepton.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ; Silently there is no finish page: its logon option is on unless switched off.
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOAUTORUN" $1
    ${If} ${Errors}
      Call StartAtLogon
    ${Else}
      Call NoStartAtLogon
    ${EndIf}
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.CloseRunningZepton
  Delete "$INSTDIR\zepton.exe"
  Delete "$INSTDIR\help.chm"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Zepton.lnk"
  !insertmacro RemoveAutoStart HKCU
  ; Without administrator rights Windows refuses this one; nothing else depends on it.
  !insertmacro RemoveAutoStart HKLM
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; Never data\ or repository\: they hold the user's groups and shortcuts.
  RMDir "$INSTDIR"
  IfFileExists "$INSTDIR\data\*.*" kept
  IfFileExists "$INSTDIR\repository\*.*" kept done
  kept:
    DetailPrint "Your groups (data) and your shortcuts (repository) are kept in $INSTDIR."
    MessageBox MB_OK|MB_ICONINFORMATION "Zepton has been removed.$\r$\n$\r$\nYour groups (data) and your shortcuts (repository) are kept in$\r$\n$INSTDIR$\r$\n$\r$\nDelete that folder yourself once you no longer need them." /SD IDOK
  done:
SectionEnd
