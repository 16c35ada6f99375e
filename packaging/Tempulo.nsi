; Tempulo's setup program: a per-user installation that needs no
; administrator rights. Built by the "packages" target (packaging/CMakeLists.txt),
; which passes every version and path:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DEXE=.../Tempulo.exe
;            -DDLL=.../PictavoLib64.dll -DREADME=.../README.txt
;            -DICON=.../Tempulo.ico -DHOMEPAGE=https://... -DOUTFILE=...-setup.exe
;            Tempulo.nsi
; Switches of the setup: /S silent, /D=FOLDER (last, unquoted) the folder.
; Switches of the uninstaller: /S silent (keeps the settings).

!macro REQUIRE_DEFINE name
  !ifndef ${name}
    !error "pass ${name} with -D${name}=..."
  !endif
!macroend
!insertmacro REQUIRE_DEFINE VERSION
!insertmacro REQUIRE_DEFINE EXE
!insertmacro REQUIRE_DEFINE DLL
!insertmacro REQUIRE_DEFINE README
!insertmacro REQUIRE_DEFINE ICON
!insertmacro REQUIRE_DEFINE HOMEPAGE
!insertmacro REQUIRE_DEFINE OUTFILE

; Tempulo.exe is a 64-bit program: so is its setup.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Tempulo"
!define MAKER "Orvandt"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where the program keeps its settings. The setup never touches it; the
; uninstaller removes it only when the user says so.
!define SETTINGS_KEY "Software\Wow6432Node\${MAKER}\${PRODUCT}"
!define MAKER_KEY "Software\Wow6432Node\${MAKER}"
; The program's window class, and the mutex it holds while it runs.
!define WINDOW_CLASS "Tempulo"
!define INSTANCE_MUTEX "Tempulo by Orvandt x.x.x"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright © ${MAKER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tempulo.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString MsgRunning ${LANG_ENGLISH} "Tempulo is running and has to be closed first. \
  It saves its settings as it closes.$\r$\n$\r$\nClose Tempulo now?"
LangString MsgRunning ${LANG_GERMAN} "Tempulo läuft und muss zuerst beendet werden. \
  Es speichert dabei seine Einstellungen.$\r$\n$\r$\nTempulo jetzt beenden?"
LangString MsgClosing ${LANG_ENGLISH} "Closing Tempulo"
LangString MsgClosing ${LANG_GERMAN} "Tempulo wird beendet"
LangString MsgNotClosed ${LANG_ENGLISH} "Tempulo did not close. Close it yourself, \
  then choose Retry."
LangString MsgNotClosed ${LANG_GERMAN} "Tempulo wurde nicht beendet. Bitte beenden \
  Sie es selbst und wählen Sie dann „Wiederholen“."
LangString MsgStillRunning ${LANG_ENGLISH} "Tempulo is still running."
LangString MsgStillRunning ${LANG_GERMAN} "Tempulo läuft noch."
LangString MsgKeepSettings ${LANG_ENGLISH} "Keep your Tempulo settings (target, look, \
  window position) for a later installation?$\r$\n$\r$\nChoose No to remove them as well."
LangString MsgKeepSettings ${LANG_GERMAN} "Sollen Ihre Tempulo-Einstellungen (Ziel, \
  Aussehen, Fensterposition) für eine spätere Installation erhalten bleiben?$\r$\n$\r$\n\
  Mit „Nein“ werden sie ebenfalls entfernt."

; Closes a running Tempulo: asks first (a silent run just closes it), posts
; WM_CLOSE to its window, on which it saves its settings and ends, and waits
; until its process has let go of the instance mutex, that is, has ended.
; Aborts the installation or removal when the user declines or the program
; stays.
!macro DEFINE_CLOSE_TEMPULO prefix
Function ${prefix}CloseTempulo
  Push $0 ; the program's window
  Push $1 ; the instance mutex, opened to see whether it exists
  Push $2 ; 1 once the user agreed to close it
  Push $3 ; the window last asked to close
  Push $4 ; tenths of a second waited
  StrCpy $2 0
  StrCpy $3 0
  StrCpy $4 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .r1'
    ${If} $1 P<> 0
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    ${If} $0 P= 0
    ${AndIf} $1 P= 0
      ${Break}
    ${EndIf}
    ${If} $0 P<> 0
    ${AndIf} $0 P<> $3
      ${If} $2 = 0
        MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "$(MsgRunning)" /SD IDOK IDOK +2
          Abort "$(MsgStillRunning)"
        StrCpy $2 1
      ${EndIf}
      DetailPrint "$(MsgClosing)"
      System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
      StrCpy $3 $0
    ${EndIf}
    Sleep 100
    IntOp $4 $4 + 1
    ${If} $4 >= 150
      MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$(MsgNotClosed)" /SD IDCANCEL IDRETRY +2
        Abort "$(MsgStillRunning)"
      StrCpy $3 0
      StrCpy $4 0
    ${EndIf}
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_TEMPULO ""
!insertmacro DEFINE_CLOSE_TEMPULO "un."

Section "Tempulo"
  SetShellVarContext current
  Call CloseTempulo

  SetOutPath "$INSTDIR"
  File "/oname=Tempulo.exe" "${EXE}"
  File "/oname=PictavoLib64.dll" "${DLL}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tempulo.exe" "" \
    "$INSTDIR\Tempulo.exe" 0 SW_SHOWNORMAL "" "${PRODUCT}"

  ; The settings key is left as it is: an upgrade keeps what the user set.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tempulo.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; Closing the program first: it writes its settings as it ends.
  Call un.CloseTempulo

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\Tempulo.exe"
  Delete "$INSTDIR\PictavoLib64.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only if empty: files the user put there stay.
  RMDir "$INSTDIR"

  DeleteRegValue HKCU "${RUN_KEY}" "Tempulo"
  MessageBox MB_YESNO|MB_ICONQUESTION "$(MsgKeepSettings)" /SD IDYES IDYES keep
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  keep:

  ; Last: while the entry exists, the removal has not finished.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
