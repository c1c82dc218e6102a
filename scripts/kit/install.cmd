@echo off
rem Installs the WhirlBox screen saver: copies whirlbox.scr into the system folder (SysWOW64 on 64-bit
rem Windows, where 32-bit programs live), puts the sample pictures in %ProgramData%\WhirlBox, writes
rem C:\Windows\whirlbox.ini naming them if there is none yet (without it the saver cannot even open its
rem setup dialog), and opens the screen-saver settings. Run it as administrator.
setlocal
set "here=%~dp0"
set "system=%SystemRoot%\System32"
if exist "%SystemRoot%\SysWOW64\" set "system=%SystemRoot%\SysWOW64"
set "samples=%ProgramData%\WhirlBox\samples"

copy /y "%here%whirlbox.scr" "%system%\whirlbox.scr" >nul
if errorlevel 1 (
  echo Could not copy whirlbox.scr into %system%. Run install.cmd as administrator.
  exit /b 1
)
if not exist "%samples%\" mkdir "%samples%"
for %%f in (face1.bmp face2.gif face3.jpg face4.jpg face5.bmp face6.gif) do copy /y "%here%samples\%%f" "%samples%\%%f" >nul
if exist "%SystemRoot%\whirlbox.ini" (
  echo Kept the existing %SystemRoot%\whirlbox.ini.
  goto installed
)
rem One echo per line: some command interpreters do not redirect a bracketed block.
for %%f in (face1.bmp face2.gif face3.jpg face4.jpg face5.bmp face6.gif) do echo %samples%\%%f>> "%SystemRoot%\whirlbox.ini"
echo 50 50>> "%SystemRoot%\whirlbox.ini"
rem uninstall.cmd removes the settings file only when this script wrote it.
echo %SystemRoot%\whirlbox.ini> "%ProgramData%\WhirlBox\wrote-settings"
echo Wrote %SystemRoot%\whirlbox.ini naming the sample pictures.
:installed
echo WhirlBox is installed in %system%.
if not defined WHIRLBOX_NO_SETTINGS control desk.cpl,,@screensaver
exit /b 0
