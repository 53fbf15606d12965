; An installer that shows the Attente status window while it works, then closes it: started at once in
; the system's language, switched to the installer's language, then naming the installer's steps and
; showing step n of m. With its pages, the window sits over the installer's and leaves it the focus.
; Build:  makensis -DDIST_DIR=<folder with attente.exe and its modules> -DOUTFILE=setup.exe attente.nsi
; Run:  setup.exe   or silently:  setup.exe /S /D=C:\Target
; (/LANG=1031 picks German instead of the automatic choice)
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include "FileFunc.nsh"

!ifndef DIST_DIR
  !error "define DIST_DIR, the folder holding attente.exe and its language modules"
!endif
!ifndef OUTFILE
  !define OUTFILE "attente-example-setup.exe"
!endif

Name "Attente example"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\AttenteExample"
Page directory
Page instfiles
AutoCloseWindow true

LoadLanguageFile "${NSISDIR}\Contrib\Language files\French.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"

; The status window's language for each installer language: the module abbreviation for /L=.
LangString AttenteLanguage ${LANG_FRENCH} "FRA"
LangString AttenteLanguage ${LANG_GERMAN} "DEU"
LangString AttenteLanguage ${LANG_ENGLISH} "ENU"
; The installer's own words for its steps, shown in the status window's label.
LangString StepCopying ${LANG_FRENCH} "Copie des fichiers..."
LangString StepCopying ${LANG_GERMAN} "Dateien werden kopiert..."
LangString StepCopying ${LANG_ENGLISH} "Copying files..."

; The demonstration work between the steps (ms).
!define EXAMPLE_WORK_MS 1500

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LANG=" $R1
  IfErrors +2
    StrCpy $LANGUAGE $R1
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${DIST_DIR}\attente.*"

  ; Not waited for: it runs beside the installer until told to close, at step 0 of 3. A request sent
  ; right after waits for the window to come up, so no polling is needed.
  Exec '"$INSTDIR\attente.exe" /L=AUTO /PROGRESS=0/3'
  ExecWait '"$INSTDIR\attente.exe" /SWITCH=$(AttenteLanguage)'
  Sleep ${EXAMPLE_WORK_MS}
  ; The installer's own work goes here, each step named in the window and counted.
  ExecWait '"$INSTDIR\attente.exe" "/STATUS=$(StepCopying)" "/STATUS=$INSTDIR" /PROGRESS=1/3'
  Sleep ${EXAMPLE_WORK_MS}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ExecWait '"$INSTDIR\attente.exe" /PROGRESS=2/3'
  Sleep ${EXAMPLE_WORK_MS}
  ExecWait '"$INSTDIR\attente.exe" /PROGRESS=3/3'
  Sleep ${EXAMPLE_WORK_MS}

  ; Closed when the work is done; it would also close once this installer has ended.
  ExecWait '"$INSTDIR\attente.exe" /CLOSE'
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\attente.*"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
