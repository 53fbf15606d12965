; An installer that shows the Attente status window in its own language while it works, then closes it.
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

; The window class that the status window registers.
!define ATTENTE_CLASS "TForm1"
; How long to wait for the window to come up (tenths of a second) and the demonstration work (ms).
!define ATTENTE_SHOW_TENTHS 150
!define EXAMPLE_WORK_MS 2000

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

  ; Not waited for: it runs beside the installer until told to close.
  Exec '"$INSTDIR\attente.exe" /L=$(AttenteLanguage)'
  StrCpy $R2 0
  wait_for_window:
    FindWindow $R3 "${ATTENTE_CLASS}"
    IntCmp $R3 0 0 shown shown
    IntCmp $R2 ${ATTENTE_SHOW_TENTHS} shown
    Sleep 100
    IntOp $R2 $R2 + 1
    Goto wait_for_window
  shown:

  ; The installer's own work goes here.
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
