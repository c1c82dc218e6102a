@echo off
rem Removes the WhirlBox screen saver and its sample pictures. The settings file C:\Windows\whirlbox.ini
rem is removed too when install.cmd wrote it; a file that was there before is kept.
setlocal
set "system=%SystemRoot%\System32"
if exist "%SystemRoot%\SysWOW64\" set "system=%SystemRoot%\SysWOW64"
set "samples=%ProgramData%\WhirlBox\samples"

if exist "%system%\whirlbox.scr" del /f /q "%system%\whirlbox.scr"
if exist "%system%\whirlbox.scr" (
  echo Could not remove %system%\whirlbox.scr. Run uninstall.cmd as administrator.
  exit /b 1
)
if exist "%ProgramData%\WhirlBox\wrote-settings" del /f /q "%SystemRoot%\whirlbox.ini"
if exist "%samples%\" rmdir /s /q "%ProgramData%\WhirlBox"
echo WhirlBox is removed.
exit /b 0
