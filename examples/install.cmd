@echo off
rem Shows the Attente status window while this script installs a product. Put it beside attente.exe
rem and its language modules. The script runs itself as the window's job: /RUN= comes last and takes
rem the rest of the line as written, the window is up exactly while the job runs, and attente.exe
rem ends with the job's exit code. cmd reads a script in the console's code page: this one is saved
rem in code page 866 for its Russian step.
rem Outside a parenthesised block: cmd expands %errorlevel% in a block before the block runs.
if /i "%~1"=="/job" goto job
"%~dp0attente.exe" /L=AUTO /RUN=cmd.exe /c ""%~f0" /job"
exit /b %errorlevel%

:job

rem The job. Each request waits for the window if it is still coming up; each /STATUS= item is one
rem line of the window's text, taken as written; /PROGRESS=n/m shows step n of m.
"%~dp0attente.exe" /SWITCH=DEU /PROGRESS=0/3
ping -n 2 127.0.0.1 >NUL
"%~dp0attente.exe" "/STATUS=Copying files into" "/STATUS=%~dp0" /PROGRESS=1/3
ping -n 2 127.0.0.1 >NUL
"%~dp0attente.exe" "/STATUS=Установка компонентов..." /PROGRESS=2/3
ping -n 2 127.0.0.1 >NUL
"%~dp0attente.exe" "/STATUS=Finishing" /PROGRESS=3/3
ping -n 2 127.0.0.1 >NUL
rem Closed as soon as the work is done; it would close anyway when this job ends.
"%~dp0attente.exe" /CLOSE
exit /b 0
