; The WhirlBox setup program: installs the saver into the system folder, the tool, README and licence
; into Program Files, the samples into ProgramData, and registers an uninstaller with Apps & features.
; Built by makensis from the i686 build's staged kit (cmake/Kit.cmake); it depends on nothing else.
; Every install line below has its uninstall line in the same order, in the uninstaller's section.

!ifndef VERSION | STAGE | ICON | OUTFILE
  !error "makensis -DVERSION=<x.y.z> -DSTAGE=<staged kit> -DICON=<.ico> -DOUTFILE=<setup.exe> whirlbox-setup.nsi"
!endif
!define NAME "WhirlBox"
!define PUBLISHER "The WhirlBox developers"
!define SAVER "whirlbox.scr"
!define TOOL "whirlbox-tool.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "WhirlBox settings.lnk"
!define SETTINGS "whirlbox.ini"
; What setup wrote into the settings file, kept so that the uninstaller removes only an unchanged one.
!define SETTINGS_AS_WRITTEN "whirlbox.ini.as-installed"
; FOR_EACH_SAMPLE: inserts the macro M once per sample picture, with the picture's file name.
!macro FOR_EACH_SAMPLE M
  !insertmacro ${M} face1.bmp
  !insertmacro ${M} face2.gif
  !insertmacro ${M} face3.jpg
  !insertmacro ${M} face4.jpg
  !insertmacro ${M} face5.bmp
  !insertmacro ${M} face6.gif
!macroend
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define LOG "$TEMP\whirlbox-setup.log"
; Exit codes beside 0: the Windows error codes of each failure.
!define EXIT_NOT_ADMIN 740
!define EXIT_NO_SPACE 112
!define EXIT_CANNOT_WRITE 29
!define EXIT_REBOOT_NEEDED 3010

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Name "${NAME}"
Caption "${NAME} ${VERSION} Setup"
UninstallCaption "${NAME} ${VERSION} Uninstall"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
; A file that cannot be written is a failure with a reason, never a question (see CheckWritten).
SetOverwrite try
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"
VIAddVersionKey "FileDescription" "${NAME} screen saver setup"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

Var SaverDir    ; where Windows itself sees the saver: SysWOW64 on 64-bit Windows
Var SilentActivate

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Use WhirlBox as my screen saver"
!define MUI_FINISHPAGE_RUN_FUNCTION Activate
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the screen-saver settings"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenSaverSettings
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Log: appends one line to the log in the temporary folder and to the details list.
!macro Log TEXT
  Push "${TEXT}"
  Call ${__MACRO_PREFIX}WriteLog
!macroend
!macro WRITE_LOG PREFIX
  Function ${PREFIX}WriteLog
    Exch $0
    Push $1
    DetailPrint "$0"
    FileOpen $1 "${LOG}" a
    FileSeek $1 0 END
    FileWrite $1 "${NAME} ${VERSION}: $0$\r$\n"
    FileClose $1
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!define __MACRO_PREFIX ""
!insertmacro WRITE_LOG ""

; Fail: logs the reason, shows it (answered by itself in a silent run), sets the exit code and stops.
!macro Fail CODE TEXT
  !insertmacro Log "failed: ${TEXT}"
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${CODE}
  Quit
!macroend

; The installer is 32-bit: $SYSDIR is redirected to SysWOW64 on 64-bit Windows, but the paths that
; 64-bit Windows reads (the screen saver value, the shortcut, the icon) must name SysWOW64 itself.
!macro FIND_SAVER_DIR PREFIX
  Function ${PREFIX}FindSaverDir
    ${If} ${RunningX64}
      StrCpy $SaverDir "$WINDIR\SysWOW64"
    ${Else}
      StrCpy $SaverDir "$SYSDIR"
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro FIND_SAVER_DIR ""
!insertmacro FIND_SAVER_DIR "un."

Function .onInit
  SetShellVarContext all
  Call FindSaverDir
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ACTIVATE" $1
  ${IfNot} ${Errors}
    StrCpy $SilentActivate 1
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    !insertmacro Fail ${EXIT_NOT_ADMIN} "${NAME} setup needs administrator rights: right-click it and choose $\"Run as administrator$\"."
  ${EndIf}
FunctionEnd

; CheckWritten: after a File line, fails with the file's name if it could not be written.
!macro CheckWritten WHAT
  ${If} ${Errors}
    !insertmacro Fail ${EXIT_CANNOT_WRITE} "Could not write ${WHAT} (in use or not writable)."
  ${EndIf}
!macroend

; CheckSpace: fails unless the drive of FOLDER has the section's size free.
Function CheckSpace
  Exch $0  ; folder
  Push $1
  Push $2
  SectionGetSize 0 $1
  StrCpy $2 $0 3  ; "C:\"
  ClearErrors
  ${DriveSpace} $2 "/D=F /S=K" $2
  ; A drive whose free space cannot be read (a network path) is left to the writes to judge.
  ${IfNot} ${Errors}
  ${AndIf} $2 L< $1  ; 64 bits: a free space over 2 TB overflows 32
    !insertmacro Fail ${EXIT_NO_SPACE} "Not enough space on $0: $1 KB needed, $2 KB free."
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

!macro InstallSample FILE
  File "${STAGE}\samples\${FILE}"
!macroend
!macro SettingsLine FILE
  FileWrite $0 "$APPDATA\${NAME}\samples\${FILE}$\r$\n"
!macroend
!macro RemoveSample FILE
  Delete "$APPDATA\${NAME}\samples\${FILE}"
!macroend

Section "WhirlBox" SecMain
  Push $INSTDIR
  Call CheckSpace
  Push $WINDIR
  Call CheckSpace
  ClearErrors
  SetOutPath $SYSDIR
  File "${STAGE}\${SAVER}"
  !insertmacro CheckWritten "$SaverDir\${SAVER}"
  SetOutPath $INSTDIR
  File "${STAGE}\${TOOL}"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  !insertmacro CheckWritten "the files of $INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  !insertmacro CheckWritten "$INSTDIR\${UNINSTALLER}"
  SetOutPath "$APPDATA\${NAME}\samples"
  !insertmacro FOR_EACH_SAMPLE InstallSample
  !insertmacro CheckWritten "the sample pictures in $APPDATA\${NAME}\samples"
  Call WriteSettings
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$SaverDir\${SAVER}" "/c" "$SaverDir\${SAVER}" 0
  Call WriteUninstallKey
  !insertmacro Log "installed in $INSTDIR, the saver in $SaverDir"
SectionEnd


; WriteSettings: writes the settings file naming the samples only when there is none (the saver needs
; one even to open its setup dialog), and keeps a copy of what it wrote for the uninstaller. A file
; that is there, the user's or an earlier setup's, is left as it is, and so is the earlier copy.
Function WriteSettings
  ${If} ${FileExists} "$WINDIR\${SETTINGS}"
    !insertmacro Log "kept the existing $WINDIR\${SETTINGS}"
    Return
  ${EndIf}
  ClearErrors
  FileOpen $0 "$WINDIR\${SETTINGS}" w
  ${If} ${Errors}
    !insertmacro Fail ${EXIT_CANNOT_WRITE} "Could not write $WINDIR\${SETTINGS}."
  ${EndIf}
  !insertmacro FOR_EACH_SAMPLE SettingsLine
  FileWrite $0 "50 50$\r$\n"
  FileClose $0
  ${If} ${Errors}
    !insertmacro Fail ${EXIT_CANNOT_WRITE} "Could not write $WINDIR\${SETTINGS}."
  ${EndIf}
  CopyFiles /SILENT "$WINDIR\${SETTINGS}" "$INSTDIR\${SETTINGS_AS_WRITTEN}"
  !insertmacro Log "wrote $WINDIR\${SETTINGS} naming the sample pictures"
FunctionEnd

Function WriteUninstallKey
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverDir\${SAVER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  SectionGetSize ${SecMain} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

; Activate: makes WhirlBox the installing user's screen saver. The settings page starts
; "<SCRNSAVE.EXE> /s" without quotes, so the value is the saver's short path.
Function Activate
  GetFullPathName /SHORT $0 "$SaverDir\${SAVER}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro Log "made $0 the screen saver"
FunctionEnd

Function OpenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $SilentActivate == 1
    Call Activate
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------------------
; The uninstaller: the same lines as the installer's, undone in the same order.
!define /redef __MACRO_PREFIX "un."
!insertmacro WRITE_LOG "un."

Function un.onInit
  SetShellVarContext all
  Call un.FindSaverDir
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    !insertmacro Fail ${EXIT_NOT_ADMIN} "Removing ${NAME} needs administrator rights."
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The saver's short path, taken while the file is still there to be compared with SCRNSAVE.EXE.
  GetFullPathName /SHORT $R0 "$SaverDir\${SAVER}"
  ; A saver that is running cannot be removed now: Windows removes it at the next restart. Named by
  ; its SysWOW64 path, since the restart's removal is not redirected as this 32-bit program is.
  Delete /REBOOTOK "$SaverDir\${SAVER}"
  ${If} ${RebootFlag}
    !insertmacro Log "$SaverDir\${SAVER} is in use: it will be removed when Windows restarts"
    MessageBox MB_OK|MB_ICONINFORMATION "The WhirlBox screen saver is running. It will be removed when Windows restarts." /SD IDOK
    SetErrorLevel ${EXIT_REBOOT_NEEDED}
  ${EndIf}
  Delete "$INSTDIR\${TOOL}"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  !insertmacro FOR_EACH_SAMPLE RemoveSample
  RMDir "$APPDATA\${NAME}\samples"
  RMDir "$APPDATA\${NAME}"
  Call un.RemoveSettings
  Delete "$SMPROGRAMS\${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Call un.Deactivate
  RMDir "$INSTDIR"
  !insertmacro Log "removed from $INSTDIR"
SectionEnd

; un.RemoveSettings: removes the settings file only while it is exactly what setup wrote; with no copy
; setup wrote none (the file was there before), and with no file the user removed it.
Function un.RemoveSettings
  ${IfNot} ${FileExists} "$INSTDIR\${SETTINGS_AS_WRITTEN}"
  ${OrIfNot} ${FileExists} "$WINDIR\${SETTINGS}"
    Delete "$INSTDIR\${SETTINGS_AS_WRITTEN}"
    Return
  ${EndIf}
  Push "$WINDIR\${SETTINGS}"
  Push "$INSTDIR\${SETTINGS_AS_WRITTEN}"
  Call un.SameFiles
  Pop $0
  ${If} $0 == 1
    Delete "$WINDIR\${SETTINGS}"
    !insertmacro Log "removed $WINDIR\${SETTINGS}"
  ${Else}
    !insertmacro Log "kept $WINDIR\${SETTINGS}: it was changed after setup wrote it"
  ${EndIf}
  Delete "$INSTDIR\${SETTINGS_AS_WRITTEN}"
FunctionEnd

; un.SameFiles: pops two file names, pushes 1 when both exist and hold the same bytes, else 0.
Function un.SameFiles
  Exch $0  ; second file
  Exch
  Exch $1  ; first file
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $5 0
  ClearErrors
  FileOpen $2 $1 r
  FileOpen $3 $0 r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileReadByte $2 $0
      ${If} ${Errors}
        ; The first ended: the same only if the second ends here too.
        ClearErrors
        FileReadByte $3 $4
        ${If} ${Errors}
          StrCpy $5 1
        ${EndIf}
        ${Break}
      ${EndIf}
      FileReadByte $3 $4
      ${IfThen} ${Errors} ${|} ${Break} ${|}
      ${IfThen} $0 != $4 ${|} ${Break} ${|}
    ${Loop}
  ${EndIf}
  FileClose $2
  FileClose $3
  StrCpy $0 $5
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; un.Deactivate: clears the screen saver only when it names this saver (by its short or long path);
; another saver the user chose since stays chosen.
Function un.Deactivate
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == ""  ; no saver chosen ($R0 is empty too when the saver was already gone)
    Return
  ${EndIf}
  ${If} $0 == $R0
  ${OrIf} $0 == "$SaverDir\${SAVER}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
    !insertmacro Log "cleared the screen saver $0"
  ${EndIf}
FunctionEnd
