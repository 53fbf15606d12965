; An installer that shows the Attente status window while it works, then closes it: started at once in
; the system's language, switched to the installer's language, then naming the installer's steps.
; Build:  makensis -DDIST_DIR=<folder with attente.exe and its modules> -DOUTFILE=setup.exe attente.nsi
; Run silently:  setup.exe /S /D=C:\Target   (/LANG=1031 picks German instead of the automatic choice)
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!ifndef DIST_DIR
  !error "define DIST_DIR, the folder holding attente.exe and its language modules"
!endif
!ifndef OUTFILE
  !define OUTFILE "attente-example-setup.exe"
!endif

Name "Attente example"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\AttenteExample"

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

; The window class that the status window registers.
!define ATTENTE_CLASS "TForm1"
; How long to wait for the window to come up (tenths of a second) and the demonstration work (ms).
!define ATTENTE_SHOW_TENTHS 150
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

  ; Not waited for: it runs beside the installer until told to close. Started before the language is
  ; known, it speaks the system's.
  Exec '"$INSTDIR\attente.exe" /L=AUTO'
  StrCpy $R2 0
  wait_for_window:
    FindWindow $R3 "${ATTENTE_CLASS}"
    IntCmp $R3 0 0 shown shown
    IntCmp $R2 ${ATTENTE_SHOW_TENTHS} shown
    Sleep 100
    IntOp $R2 $R2 + 1
    Goto wait_for_window
  shown:

  ; Unpacking would happen here; then the user's language is known: the open window follows it.
  Sleep ${EXAMPLE_WORK_MS}
  ExecWait '"$INSTDIR\attente.exe" /SWITCH=$(AttenteLanguage)'
  Sleep ${EXAMPLE_WORK_MS}
  ; The installer's own work goes here, named in the window.
  ExecWait '"$INSTDIR\attente.exe" "/STATUS=$(StepCopying)"'
  Sleep ${EXAMPLE_WORK_MS}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Closing it; the window also closes on its own once this installer has ended.
  FindWindow $R3 "${ATTENTE_CLASS}"
  IntCmp $R3 0 closed
    SendMessage $R3 ${WM_CLOSE} 0 0
  closed:
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\attente.*"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
