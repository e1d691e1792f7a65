; Lumora's installer. The LumoraPlugin plug-in replaces the stock pages with its
; skinned install and uninstall windows and follows this installer's progress.
; makensis [-DAMD64] -DBIN_DIR=<program folder> -DPLUGIN_DIR=<folder of LumoraPlugin.dll>
;          -DSKIN_DIR=<folder of lumora_setup_skin.sk> -DOUT_FILE=<setup.exe>
;          -DPROGRAM_NSH=<program_files.nsh made by program_files.cmake>
; AMD64 makes the x86-64 installer, which loads the x86-64 plug-in.
;
; Every file is named without a guard: a build that lacks a deliverable or the
; setup skin stops here instead of making an installer without it.
!ifdef AMD64
  Target amd64-unicode
  !addplugindir /amd64-unicode "${PLUGIN_DIR}"
!else
  Unicode true
  !addplugindir /x86-unicode "${PLUGIN_DIR}"
!endif
!include "FileFunc.nsh"

; The stock texts the user may still meet (write errors, the details list).
LoadLanguageFile "${NSISDIR}/Contrib/Language files/SimpChinese.nlf"

!define PRODUCT "Lumora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"
; Written by the program's settings dialog for "start with Windows".
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "LUMORA"
; While an install runs, the new files wait in STAGE until every one of them has
; arrived, and the files they replace wait in BACKUP until all new ones are in
; place; a failure at any point puts the earlier installation back.
!define STAGE "~lumora.new"
!define BACKUP "~lumora.old"
; Room taken beyond the program files: the uninstaller, shortcuts, first start.
!define EXTRA_KB 1024

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\Lumora"
!else
  InstallDir "$PROGRAMFILES\Lumora"
!endif
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
SetCompressor /SOLID lzma
; A file that cannot be written fails the install; it is never left out quietly.
AllowSkipFiles off

Var AfterRun
; "" while the install goes well; the reason shown to the user once it failed.
Var Failure
Var TargetExisted
; "1" when the updater started this run to report to its wizard.
Var UpdateRun

Page custom SkinnedInstallPage
Page instfiles "" FollowInstallProgress
Page custom FinishInstallPage
UninstPage custom un.SkinnedUninstallPage
UninstPage instfiles "" un.FollowUninstallProgress
UninstPage custom un.FinishUninstallPage

; The files of an installation, relative to the program folder: folder (with
; its backslash, or empty) and name; LUMORA_PROGRAM_FILES applies the macro OP
; to each, and PROGRAM_KB is the room they take. Made from the build's list.
!include "${PROGRAM_NSH}"
!macro LUMORA_INSTALLED_FILES OP
  !insertmacro LUMORA_PROGRAM_FILES ${OP}
  !insertmacro ${OP} "" "uninst.exe"
!macroend
; The updater's wizard follows the unpacking (the bulk of the work) up to
; this position of the 0..30000 range, one step per file.
!define STAGED_SHARE 27000
!define PROGRAM_COUNT 0
!define STAGED_COUNT 0
!macro COUNT_FILE DIR NAME
  !define /redef /math PROGRAM_COUNT ${PROGRAM_COUNT} + 1
!macroend
!insertmacro LUMORA_PROGRAM_FILES COUNT_FILE

; A file the folder does not take (in use, or the drive turned read-only) sets
; the error flag instead of stopping the copy with the installer's own box.
!macro STAGE_FILE DIR NAME
  StrCpy $R0 "${DIR}${NAME}"
  SetOutPath "$INSTDIR\${STAGE}\${DIR}"
  SetOverwrite try
  File "${BIN_DIR}\${DIR}${NAME}"
  SetOverwrite on
  Call CheckStagedFile
  !define /redef /math STAGED_COUNT ${STAGED_COUNT} + 1
  !define /redef /math STAGED_POSITION ${STAGED_COUNT} * ${STAGED_SHARE}
  !define /redef /math STAGED_POSITION ${STAGED_POSITION} / ${PROGRAM_COUNT}
  LumoraPlugin::UpdateProgress ${STAGED_POSITION}
!macroend
!macro SWAP_IN_FILE DIR NAME
  StrCpy $R0 "${DIR}${NAME}"
  StrCpy $R1 "${DIR}"
  Call SwapIn
!macroend
!macro RESTORE_FILE DIR NAME
  StrCpy $R0 "${DIR}${NAME}"
  Call RestoreFile
!macroend

Section "Lumora" SecMain
  ; The files are unpacked by a function, which the section's size does not see.
  AddSize ${PROGRAM_KB}
  SetShellVarContext all
  StrCpy $Failure ""
  Call CheckRoom
  StrCmp $Failure "" 0 done
  Call StageNewFiles
  ; The current folder must not hold on to the folders removed below.
  SetOutPath "$TEMP"
  StrCmp $Failure "" 0 done
  ; Closed only now: the program kept running while the files were unpacked.
  LumoraPlugin::LumoraTerminater
  RMDir /r "$INSTDIR\${BACKUP}"
  !insertmacro LUMORA_INSTALLED_FILES SWAP_IN_FILE
  StrCmp $Failure "" 0 restore
  Call WriteEntries
  StrCmp $Failure "" 0 restore
  ; Files, entries and shortcuts are in place: the update is done.
  LumoraPlugin::UpdateInstalled
  Call RemoveBackup
  Goto done
restore:
  LumoraPlugin::UpdateFailed
  !insertmacro LUMORA_INSTALLED_FILES RESTORE_FILE
  RMDir /r "$INSTDIR\${BACKUP}"
done:
  RMDir /r "$INSTDIR\${STAGE}"
  StrCmp $Failure "" installed
  LumoraPlugin::UpdateFailed
  Call RemoveEmptyTarget
  DetailPrint "$Failure"
installed:
SectionEnd

; The needed room is what this installer puts on the drive, asked of the drive
; that holds the target folder; quick, custom and silent installs all pass here.
Function CheckRoom
  SectionGetSize ${SecMain} $0
  IntOp $0 $0 + ${EXTRA_KB}
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  ${GetRoot} "$INSTDIR" $1
  ClearErrors
  ${DriveSpace} "$1\" "/D=F /S=M" $2
  IfErrors cannot
  IntCmp $2 $0 short short
  Return
short:
  StrCpy $Failure "磁盘空间不足：安装需要 $0 MB，$1 只剩 $2 MB。请选择其他目录。"
  Return
cannot:
  StrCpy $Failure "无法安装到 $INSTDIR：该位置不存在或无法访问。"
FunctionEnd

Function StageNewFiles
  StrCpy $TargetExisted 0
  IfFileExists "$INSTDIR\*.*" 0 +2
  StrCpy $TargetExisted 1
  RMDir /r "$INSTDIR\${STAGE}"
  ClearErrors
  CreateDirectory "$INSTDIR\${STAGE}"
  IfErrors unwritable
  ; Asked before any file is unpacked: a folder that takes no new file would
  ; otherwise stop the unpacking with the installer's retry box.
  FileOpen $0 "$INSTDIR\${STAGE}\probe" w
  IfErrors unwritable
  FileClose $0
  Delete "$INSTDIR\${STAGE}\probe"
  ClearErrors
  !insertmacro LUMORA_PROGRAM_FILES STAGE_FILE
  StrCmp $Failure "" 0 done
  WriteUninstaller "$INSTDIR\${STAGE}\uninst.exe"
  IfErrors unwritable
  Return
unwritable:
  StrCpy $Failure "无法写入 $INSTDIR：请选择其他目录，或以管理员身份运行安装程序。"
done:
FunctionEnd

; $R0 the file just unpacked. The first file that did not arrive names the
; failure; the error flag stays set, so later files are checked no further.
Function CheckStagedFile
  IfErrors 0 done
  StrCmp $Failure "" 0 done
  StrCpy $Failure "无法写入 $INSTDIR\$R0：文件正被其他程序使用，或该位置已无法写入。"
  LumoraPlugin::UpdateFailed
done:
FunctionEnd

; $R0 the file, $R1 its folder. Moves the earlier file aside, then the new one
; in; does nothing once the install has failed.
Function SwapIn
  StrCmp $Failure "" 0 done
  ClearErrors
  CreateDirectory "$INSTDIR\$R1"
  CreateDirectory "$INSTDIR\${BACKUP}\$R1"
  IfFileExists "$INSTDIR\$R0" 0 move_new
  Rename "$INSTDIR\$R0" "$INSTDIR\${BACKUP}\$R0"
  IfErrors failed
move_new:
  Rename "$INSTDIR\${STAGE}\$R0" "$INSTDIR\$R0"
  IfErrors failed
  Return
failed:
  StrCpy $Failure "无法替换 $INSTDIR\$R0：文件正被使用或无法写入。"
done:
FunctionEnd

; $R0 the file. The earlier file goes back; a new file without an earlier one is
; removed; a file never moved in is left as it was.
Function RestoreFile
  IfFileExists "$INSTDIR\${BACKUP}\$R0" 0 no_backup
  Delete "$INSTDIR\$R0"
  Rename "$INSTDIR\${BACKUP}\$R0" "$INSTDIR\$R0"
  Return
no_backup:
  IfFileExists "$INSTDIR\${STAGE}\$R0" done
  Delete "$INSTDIR\$R0"
done:
FunctionEnd

; The replaced files go; a closed program may hold its file for a moment.
Function RemoveBackup
  StrCpy $0 0
again:
  RMDir /r "$INSTDIR\${BACKUP}"
  IfFileExists "$INSTDIR\${BACKUP}\*.*" 0 done
  IntOp $0 $0 + 1
  IntCmp $0 20 done
  Sleep 250
  Goto again
done:
FunctionEnd

; A folder this install created holds nothing after a failure.
Function RemoveEmptyTarget
  StrCmp $TargetExisted 1 done
  RMDir "$INSTDIR\skin"
  RMDir "$INSTDIR\html"
  RMDir "$INSTDIR"
done:
FunctionEnd

Function WriteEntries
  ClearErrors
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumora.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  IfErrors registry
  CreateDirectory "$SMPROGRAMS\Lumora"
  CreateShortCut "$SMPROGRAMS\Lumora\Lumora.lnk" "$INSTDIR\lumora.exe"
  CreateShortCut "$SMPROGRAMS\Lumora\卸载Lumora.lnk" "$INSTDIR\uninst.exe"
  CreateShortCut "$DESKTOP\Lumora.lnk" "$INSTDIR\lumora.exe"
  IfErrors shortcuts
  Return
registry:
  StrCpy $Failure "无法写入注册表：请以管理员身份运行安装程序。"
  Return
shortcuts:
  StrCpy $Failure "无法创建快捷方式。"
FunctionEnd

; Called by the plug-in with the chosen folder on the stack. An update stays
; in the folder of the installation it replaces.
Function TakeInstallFolder
  Pop $0
  StrCmp $UpdateRun "1" done
  StrCpy $INSTDIR $0
done:
FunctionEnd

Function .onInit
  Call DetectUpdateRun
FunctionEnd

; The updater runs its setup package with the handle of its wizard. Such a run
; replaces the existing installation where its entry says it is; one without
; an entry is the folder the updater runs the setup from, when it holds the
; program. Never the default folder: that would be a second installation.
Function DetectUpdateRun
  LumoraPlugin::UpdateRun
  Pop $UpdateRun
  StrCmp $UpdateRun "1" 0 done
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 "" 0 found
  IfFileExists "$EXEDIR\lumora.exe" 0 nowhere
  StrCpy $0 "$EXEDIR"
found:
  StrCpy $INSTDIR $0
  Return
nowhere:
  LumoraPlugin::UpdateFailed
  SetErrorLevel 2
  Quit
done:
FunctionEnd

Function SkinnedInstallPage
  InitPluginsDir
  File "/oname=$PLUGINSDIR\lumora_setup_skin.sk" "${SKIN_DIR}\lumora_setup_skin.sk"
  SectionGetSize ${SecMain} $0
  IntOp $0 $0 + ${EXTRA_KB}
  LumoraPlugin::SetRequiredSpace $0
  GetFunctionAddress $0 TakeInstallFolder
  LumoraPlugin::InitWindow 1 "$INSTDIR" $0 "$PLUGINSDIR"
  LumoraPlugin::ShowWnd
FunctionEnd

Function FollowInstallProgress
  LumoraPlugin::StartInstall ""
FunctionEnd

; Our window's last page, success or failure, whatever "after run" says; the
; stock page then has nothing left to show and the installer ends.
Function FinishInstallPage
  LumoraPlugin::ShowFinish "$Failure"
FunctionEnd

; The options of the install window: the plug-in pushes the main-page flag,
; then the after-run flag. A silent install showed no window and has no choices.
; A close confirmed during the copy clears the after-run flag.
Function .onInstSuccess
  StrCmp $Failure "" 0 failed
  StrCmp $UpdateRun "1" updated
  IfSilent restart
  LumoraPlugin::GetSetupData
  Pop $AfterRun
  Pop $0
  StrCmp $AfterRun "1" 0 restart
  Exec '"$INSTDIR\lumora.exe"'
  Return
restart:
  ; A program closed for the install runs again, from wherever it ran.
  LumoraPlugin::RestartMainProgram
  Return
updated:
  ; The updater closed the program for the update: the new one runs now,
  ; from its folder, whatever the options said, and shows its window as a
  ; program the user starts does.
  SetOutPath "$INSTDIR"
  ExecShell "open" "$INSTDIR\lumora.exe" "" SW_SHOWNORMAL
  Return
failed:
  LumoraPlugin::RestartMainProgram
  SetErrorLevel 2
FunctionEnd

Function un.SkinnedUninstallPage
  InitPluginsDir
  File "/oname=$PLUGINSDIR\lumora_setup_skin.sk" "${SKIN_DIR}\lumora_setup_skin.sk"
  LumoraPlugin::InitWindow 0 "$INSTDIR" 0 "$PLUGINSDIR"
  LumoraPlugin::ShowWnd
FunctionEnd

Function un.FollowUninstallProgress
  LumoraPlugin::StartUnInstall ""
FunctionEnd

; Page callbacks run on the installer's window thread, the section on a worker
; thread of its own: the finish button's loop belongs here, where the button's
; messages arrive. A silent uninstall has no window and passes at once.
Function un.FinishUninstallPage
  LumoraPlugin::UninstallFin
FunctionEnd

!macro REMOVE_FILE DIR NAME
  Delete "$INSTDIR\${DIR}${NAME}"
!macroend

Section "Uninstall"
  SetShellVarContext all
  SetOutPath "$TEMP"
  LumoraPlugin::LumoraTerminater
  !insertmacro LUMORA_INSTALLED_FILES REMOVE_FILE
  ; What the programs make beside themselves: settings, browser cache, the
  ; updater's downloads, list, manifest and pending-install file, crash reports,
  ; the browser plug-in folder and a portal override.
  Delete "$INSTDIR\cfg.db"
  Delete "$INSTDIR\updatefile.list"
  Delete "$INSTDIR\uprelay.ini"
  Delete "$INSTDIR\newupdate.ini"
  Delete "$INSTDIR\portal.ini"
  RMDir /r "$INSTDIR\skin"
  RMDir /r "$INSTDIR\html"
  RMDir /r "$INSTDIR\cache"
  RMDir /r "$INSTDIR\Log"
  RMDir /r "$INSTDIR\plugins"
  RMDir /r "$INSTDIR\lumora_cookies_and_storge"
  RMDir /r "$INSTDIR\${STAGE}"
  RMDir /r "$INSTDIR\${BACKUP}"
  ; Only a folder left empty goes: files the user put there stay with it.
  RMDir "$INSTDIR"
  Delete "$DESKTOP\Lumora.lnk"
  RMDir /r "$SMPROGRAMS\Lumora"
  ; The start-with-Windows value is ours only when it starts this installation.
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  StrCmp $0 "$INSTDIR\lumora.exe" remove_run
  StrCmp $0 '"$INSTDIR\lumora.exe"' remove_run keep_run
remove_run:
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
keep_run:
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
