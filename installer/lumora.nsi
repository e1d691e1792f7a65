; Lumora's installer. The LumoraPlugin plug-in replaces the stock pages with its
; skinned install and uninstall windows and follows this installer's progress.
; makensis [-DAMD64] -DBIN_DIR=<program folder> -DPLUGIN_DIR=<folder of LumoraPlugin.dll>
;          -DSKIN_DIR=<folder of lumora_setup_skin.sk> -DOUT_FILE=<setup.exe>
;          -DPROGRAM_NSH=<program_files.nsh made by program_files.cmake>
;          -DPRODUCT_VERSION=<a.b.c.d> -DPUBLISHER=<name>
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
; The installation's list of the files the installer wrote; the uninstaller
; removes what it names.
!define INSTALLED_LIST "installed.list"
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
; A drive root named with /D is turned into a folder of Lumora's own, not
; replaced by the default folder behind the user's back.
AllowRootDirInstall true

Var AfterRun
; "" while the install goes well; the reason shown to the user once it failed.
Var Failure
Var TargetExisted
; The folder held an installation before this install began.
Var HadInstallation
; The first file a rollback could not put back; its earlier copy stays in BACKUP.
Var Unrestored
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
; The list goes last: it is written as the swap completes.
!macro LUMORA_INSTALLED_FILES OP
  !insertmacro LUMORA_PROGRAM_FILES ${OP}
  !insertmacro ${OP} "" "uninst.exe"
  !insertmacro ${OP} "" "${INSTALLED_LIST}"
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

; Each file is unpacked into the installer's own temporary folder and copied
; into the target by the plug-in, which turns a write error (a full volume in
; the middle of a file, a file in use, a target gone) into the failure text
; instead of the installer's own box. After a failure nothing more is unpacked.
!macro STAGE_FILE DIR NAME
  !define /redef /math STAGED_COUNT ${STAGED_COUNT} + 1
  !define /redef /math STAGED_POSITION ${STAGED_COUNT} * ${STAGED_SHARE}
  !define /redef /math STAGED_POSITION ${STAGED_POSITION} / ${PROGRAM_COUNT}
  StrCpy $R0 "${DIR}${NAME}"
  StrCpy $R3 ${STAGED_POSITION}
  StrCmp $Failure "" 0 +4
  SetOutPath "$PLUGINSDIR\payload\${DIR}"
  File "${BIN_DIR}\${DIR}${NAME}"
  Call StageFile
!macroend
!macro LIST_LINE DIR NAME
  FileWriteUTF16LE $R2 "${DIR}${NAME}$\r$\n"
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
  InitPluginsDir
  StrCpy $Failure ""
  StrCpy $Unrestored ""
  StrCpy $HadInstallation 0
  IfFileExists "$INSTDIR\lumora.exe" 0 +2
  StrCpy $HadInstallation 1
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
  ; A file that could not be put back still has its earlier copy there.
  StrCmp $Unrestored "" 0 done
  RMDir /r "$INSTDIR\${BACKUP}"
done:
  RMDir /r "$INSTDIR\${STAGE}"
  RMDir /r "$PLUGINSDIR\payload"
  StrCmp $Failure "" installed
  LumoraPlugin::UpdateFailed
  Call RemoveEmptyTarget
  Call DescribeFailure
  DetailPrint "$Failure"
installed:
SectionEnd

; The failure page says what became of the folder, and where an earlier file
; that could not be put back was kept.
Function DescribeFailure
  StrCmp $Unrestored "" 0 unrestored
  StrCmp $HadInstallation 1 0 done
  StrCpy $Failure "$Failure$\n原有文件保持不变。"
  Return
unrestored:
  StrCpy $Failure "$Failure$\n无法恢复原有文件 $Unrestored，原有文件已保存在 $INSTDIR\${BACKUP}。"
done:
FunctionEnd

; The needed room is what this installer puts on the volume, asked of the
; volume that will hold the files, by the rule the custom page uses; quick,
; custom and silent installs all pass here.
Function CheckRoom
  SectionGetSize ${SecMain} $0
  IntOp $0 $0 + ${EXTRA_KB}
  LumoraPlugin::CheckRoom "$INSTDIR" $0
  Pop $Failure
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
  ClearErrors
  WriteUninstaller "$INSTDIR\${STAGE}\uninst.exe"
  IfErrors unwritable
  FileOpen $R2 "$INSTDIR\${STAGE}\${INSTALLED_LIST}" w
  IfErrors unwritable
  FileWriteUTF16LE /BOM $R2 ""
  !insertmacro LUMORA_INSTALLED_FILES LIST_LINE
  FileClose $R2
  IfErrors unwritable
  Return
unwritable:
  StrCpy $Failure "无法写入 $INSTDIR：请选择其他目录，或以管理员身份运行安装程序。"
done:
FunctionEnd

; $R0 the file just unpacked into the temporary folder, $R3 the position of
; the updater's wizard once it is in place.
Function StageFile
  ${GetParent} "$INSTDIR\${STAGE}\$R0" $0
  CreateDirectory "$0"
  LumoraPlugin::CopyStagedFile "$PLUGINSDIR\payload\$R0" "$INSTDIR\${STAGE}\$R0"
  Pop $Failure
  Delete "$PLUGINSDIR\payload\$R0"
  StrCmp $Failure "" 0 failed
  LumoraPlugin::UpdateProgress $R3
  Return
failed:
  LumoraPlugin::UpdateFailed
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
; removed; a file never moved in is left as it was. A step that fails is
; remembered, so its earlier copy is kept and the failure page names it.
Function RestoreFile
  ClearErrors
  IfFileExists "$INSTDIR\${BACKUP}\$R0" 0 no_backup
  Delete "$INSTDIR\$R0"
  Rename "$INSTDIR\${BACKUP}\$R0" "$INSTDIR\$R0"
  Goto check
no_backup:
  IfFileExists "$INSTDIR\${STAGE}\$R0" done
  Delete "$INSTDIR\$R0"
check:
  IfErrors 0 done
  StrCmp $Unrestored "" 0 done
  StrCpy $Unrestored "$INSTDIR\$R0"
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

; The entries of the installation in FOLDER, given back to it by an install or
; uninstall of another folder that had taken them.
!macro ENTRIES_FOR FOLDER
  WriteRegStr HKLM "${UNINSTALL_KEY}" "ReplacedInstallLocation" ""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${FOLDER}\uninst.exe" _?=${FOLDER}'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${FOLDER}\lumora.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "${FOLDER}"
  CreateDirectory "$SMPROGRAMS\Lumora"
  CreateShortCut "$SMPROGRAMS\Lumora\Lumora.lnk" "${FOLDER}\lumora.exe"
  CreateShortCut "$SMPROGRAMS\Lumora\卸载Lumora.lnk" "${FOLDER}\uninst.exe" "_?=${FOLDER}"
  CreateShortCut "$DESKTOP\Lumora.lnk" "${FOLDER}\lumora.exe"
!macroend

; The uninstall entry and the shortcuts are written all or none: a part that
; fails takes back what this install wrote, unless the same folder's earlier
; installation had them, whose files are put back with them.
Function WriteEntries
  ; An installation in another folder whose entries this one takes is named,
  ; so uninstalling this one gives them back.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "ReplacedInstallLocation"
  StrCmp $0 "$INSTDIR" replaced
  StrCpy $1 ""
  IfFileExists "$0\uninst.exe" 0 replaced
  StrCpy $1 $0
replaced:
  ClearErrors
  WriteRegStr HKLM "${UNINSTALL_KEY}" "ReplacedInstallLocation" "$1"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  ; Named with the folder, the uninstaller runs where it is instead of from a
  ; copy that outlives it: whoever starts it waits for the work and gets its
  ; exit code.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe" _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumora.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  IfErrors registry
  CreateDirectory "$SMPROGRAMS\Lumora"
  CreateShortCut "$SMPROGRAMS\Lumora\Lumora.lnk" "$INSTDIR\lumora.exe"
  CreateShortCut "$SMPROGRAMS\Lumora\卸载Lumora.lnk" "$INSTDIR\uninst.exe" "_?=$INSTDIR"
  CreateShortCut "$DESKTOP\Lumora.lnk" "$INSTDIR\lumora.exe"
  IfErrors shortcuts
  Return
registry:
  StrCpy $Failure "无法写入注册表：请以管理员身份运行安装程序。"
  Goto undo
shortcuts:
  StrCpy $Failure "无法创建快捷方式。"
undo:
  StrCmp $HadInstallation 1 done
  StrCmp $1 "" 0 give_back
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\Lumora\Lumora.lnk"
  Delete "$SMPROGRAMS\Lumora\卸载Lumora.lnk"
  RMDir "$SMPROGRAMS\Lumora"
  Delete "$DESKTOP\Lumora.lnk"
  Return
give_back:
  !insertmacro ENTRIES_FOR "$1"
done:
FunctionEnd

; Called by the plug-in with the chosen folder on the stack; the page has
; shown it as the install will use it. An update stays in the folder of the
; installation it replaces.
Function TakeInstallFolder
  Pop $0
  StrCmp $UpdateRun "1" done
  StrCpy $INSTDIR $0
  Call OfferEarlierInstallation
done:
FunctionEnd

; Another installation in another folder is not taken over behind the user's
; back: the user learns of it, and may install over it instead.
Function OfferEarlierInstallation
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 "" done
  StrCmp $0 "$INSTDIR" done
  IfFileExists "$0\lumora.exe" 0 done
  MessageBox MB_YESNO|MB_ICONQUESTION "Lumora 已安装在 $0。$\n是否安装到该目录，替换原有的安装？$\n选择“否”将另外安装一份到 $INSTDIR。" /SD IDNO IDNO done
  StrCpy $INSTDIR $0
done:
FunctionEnd

Function .onInit
  Call DetectUpdateRun
  StrCmp $UpdateRun "1" done
  ; A folder named with /D goes by the rule the folder browser follows.
  LumoraPlugin::ResolveFolder "$INSTDIR"
  Pop $INSTDIR
  ; Started again by a failed install to choose another folder.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CHOOSEFOLDER=" $1
  IfErrors done
  LumoraPlugin::OpenOnFolderPage $1
done:
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
; A failed install lets the user choose another folder: the installer starts
; again on the page of the folder, with this folder and the user's options, and
; this one ends with the failure. A new run installs afresh, from its own
; choice, where this run's install section has already had its turn.
Function FinishInstallPage
  Push "-"
  LumoraPlugin::ShowFinish "$Failure"
  Pop $0
  StrCmp $0 "again" 0 done
  LumoraPlugin::FolderPageOption
  Pop $0
  ; /D= goes last: the rest of the command line is the folder, spaces and all.
  Exec '"$EXEPATH" $0 /D=$INSTDIR'
done:
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
  ; As the user, not with this installer's administrator token.
  LumoraPlugin::StartProgram "$INSTDIR\lumora.exe"
  Return
restart:
  ; A program closed for the install runs again, from wherever it ran.
  LumoraPlugin::RestartMainProgram
  Return
updated:
  ; The updater closed the program for the update: the new one runs now,
  ; from its folder, whatever the options said, and shows its window as a
  ; program the user starts does.
  LumoraPlugin::StartProgram "$INSTDIR\lumora.exe"
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

; "uninst.exe" while the uninstaller runs from the installation folder; its own
; file goes once the work has succeeded and this process ends.
Var RunsInPlace

; Started with /REMOVEUNINSTALLER by an uninstaller that ran in its folder, this
; copy (run from the temporary folder) waits for that one to end, then removes
; its file and the folder, when nothing else is left in it.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUNINSTALLER" $1
  IfErrors done
  StrCpy $0 0
again:
  Delete "$INSTDIR\uninst.exe"
  IfFileExists "$INSTDIR\uninst.exe" 0 removed
  IntOp $0 $0 + 1
  IntCmp $0 600 removed
  Sleep 100
  Goto again
removed:
  RMDir "$INSTDIR"
  Quit
done:
FunctionEnd

; The last thing an uninstaller run in its folder does.
Function un.onUninstSuccess
  StrCmp $RunsInPlace "" done
  Delete "$INSTDIR\uninst.exe"
  IfFileExists "$INSTDIR\uninst.exe" 0 removed
  Exec '"$INSTDIR\uninst.exe" /REMOVEUNINSTALLER'
  Return
removed:
  RMDir "$INSTDIR"
done:
FunctionEnd

!macro REMOVE_FILE DIR NAME
  Delete "$INSTDIR\${DIR}${NAME}"
!macroend

; Only what is ours goes. The plug-in removes the files the installation's list
; names and what the programs make, where and as they make it, then every
; folder of ours left empty and the installation folder when it is empty; a
; file the user put there stays. An installation from before the list existed
; has its files removed by their names here first.
Section "Uninstall"
  SetShellVarContext all
  SetOutPath "$TEMP"
  StrCpy $Failure ""
  StrCpy $RunsInPlace ""
  StrCmp $EXEPATH "$INSTDIR\uninst.exe" 0 +2
  StrCpy $RunsInPlace "uninst.exe"
  LumoraPlugin::LumoraTerminater
  ClearErrors
  !insertmacro LUMORA_PROGRAM_FILES REMOVE_FILE
  StrCmp $RunsInPlace "" 0 +2
  Delete "$INSTDIR\uninst.exe"
  LumoraPlugin::RemoveOwnFiles "$INSTDIR" "$RunsInPlace"
  Pop $Failure
  StrCmp $Failure "" 0 failed
  IfErrors 0 entries
  StrCpy $Failure "$INSTDIR"
failed:
  StrCpy $RunsInPlace ""
  ; The entries stay with the files they name, so the uninstall can run again.
  SetErrorLevel 2
  Return
entries:
  ; The entries are ours only while they name this installation.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 "$INSTDIR" 0 run_value
  ; The installation these entries were taken from gets them back.
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "ReplacedInstallLocation"
  StrCmp $1 "" remove_entries
  IfFileExists "$1\uninst.exe" 0 remove_entries
  IfFileExists "$1\lumora.exe" 0 remove_entries
  !insertmacro ENTRIES_FOR "$1"
  Goto run_value
remove_entries:
  Delete "$DESKTOP\Lumora.lnk"
  Delete "$SMPROGRAMS\Lumora\Lumora.lnk"
  Delete "$SMPROGRAMS\Lumora\卸载Lumora.lnk"
  RMDir "$SMPROGRAMS\Lumora"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
run_value:
  ; The start-with-Windows value is ours only when it starts this installation.
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  StrCmp $0 "$INSTDIR\lumora.exe" remove_run
  StrCmp $0 '"$INSTDIR\lumora.exe"' remove_run done
remove_run:
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
done:
SectionEnd
