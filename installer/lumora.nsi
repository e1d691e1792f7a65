; Lumora's installer. The LumoraPlugin plug-in replaces the stock pages with its
; skinned install and uninstall windows and follows this installer's progress.
; makensis -DBIN_DIR=<program folder> -DPLUGIN_DIR=<folder of LumoraPlugin.dll>
;          -DSKIN_DIR=<folder of lumora_setup_skin.sk> -DOUT_FILE=<setup.exe>
Unicode true
!addplugindir /x86-unicode "${PLUGIN_DIR}"

!define PRODUCT "Lumora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\Lumora"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
SetCompressor /SOLID lzma

!if /FileExists "${SKIN_DIR}\lumora_setup_skin.sk"
  !define HAVE_SETUP_SKIN
!else
  !warning "no lumora_setup_skin.sk in ${SKIN_DIR}: the setup runs without its skinned windows"
!endif

Var SetMainPage
Var AfterRun

Page custom SkinnedInstallPage
Page instfiles "" FollowInstallProgress
UninstPage custom un.SkinnedUninstallPage
UninstPage instfiles "" un.FollowUninstallProgress

; Called by the plug-in with the chosen folder on the stack.
Function TakeInstallFolder
  Pop $INSTDIR
FunctionEnd

Function SkinnedInstallPage
  InitPluginsDir
  !ifdef HAVE_SETUP_SKIN
    File "/oname=$PLUGINSDIR\lumora_setup_skin.sk" "${SKIN_DIR}\lumora_setup_skin.sk"
  !endif
  GetFunctionAddress $0 TakeInstallFolder
  LumoraPlugin::InitWindow 1 "$INSTDIR" $0 "$PLUGINSDIR"
  LumoraPlugin::ShowWnd
FunctionEnd

Function FollowInstallProgress
  LumoraPlugin::StartInstall ""
FunctionEnd

Section "Lumora" SecMain
  SetShellVarContext all
  LumoraPlugin::LumoraTerminater
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}\lumora.exe"
  !if /FileExists "${BIN_DIR}\lumoraupd.exe"
    File "${BIN_DIR}\lumoraupd.exe"
  !endif
  !if /FileExists "${BIN_DIR}\Uprelay.exe"
    File "${BIN_DIR}\Uprelay.exe"
  !endif
  !if /FileExists "${BIN_DIR}\skin\skin.sk"
    SetOutPath "$INSTDIR\skin"
    File "${BIN_DIR}\skin\skin.sk"
    SetOutPath "$INSTDIR"
  !endif
  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumora.exe"
  CreateDirectory "$SMPROGRAMS\Lumora"
  CreateShortCut "$SMPROGRAMS\Lumora\Lumora.lnk" "$INSTDIR\lumora.exe"
  CreateShortCut "$SMPROGRAMS\Lumora\卸载Lumora.lnk" "$INSTDIR\uninst.exe"
  CreateShortCut "$DESKTOP\Lumora.lnk" "$INSTDIR\lumora.exe"
SectionEnd

; The options of the install window: the plug-in pushes the main-page flag,
; then the after-run flag. A silent install showed no window and has no choices.
Function .onInstSuccess
  IfSilent done
  LumoraPlugin::GetSetupData
  Pop $AfterRun
  Pop $SetMainPage
  StrCmp $AfterRun "1" 0 done
  Exec '"$INSTDIR\lumora.exe"'
done:
FunctionEnd

Function un.SkinnedUninstallPage
  InitPluginsDir
  !ifdef HAVE_SETUP_SKIN
    File "/oname=$PLUGINSDIR\lumora_setup_skin.sk" "${SKIN_DIR}\lumora_setup_skin.sk"
  !endif
  LumoraPlugin::InitWindow 0 "$INSTDIR" 0 "$PLUGINSDIR"
  LumoraPlugin::ShowWnd
FunctionEnd

Function un.FollowUninstallProgress
  LumoraPlugin::StartUnInstall ""
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  LumoraPlugin::LumoraTerminater
  Delete "$INSTDIR\lumora.exe"
  Delete "$INSTDIR\lumoraupd.exe"
  Delete "$INSTDIR\Uprelay.exe"
  Delete "$INSTDIR\cfg.db"
  RMDir /r "$INSTDIR\skin"
  RMDir /r "$INSTDIR\lumora_cookies_and_storge"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"
  Delete "$DESKTOP\Lumora.lnk"
  RMDir /r "$SMPROGRAMS\Lumora"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Shows the finish button and waits for it; returns at once when silent.
  LumoraPlugin::UninstallFin
SectionEnd
