; Veltrano's Windows installer. Puts the saver into the system folder that the
; installer's own process sees as System32 (the 32-bit saver, from a 32-bit
; installer, into SysWOW64 on 64-bit Windows; the 64-bit one, from the 64-bit
; installer, into the real System32), records the chosen interface language,
; prepares a settings file that a standard user may modify, and registers an
; uninstaller. An install of the other width is replaced, its picture list kept,
; so that Windows never lists two Veltranos.
;
; Built by installer/Installer.cmake:
;   makensis -INPUTCHARSET UTF8 -DPAYLOAD=<folder with the five files> -DOUTFILE=<exe> [-DX64] Veltrano.nsi
;
; Switches (setup):     /S silent; /LANG=en|ru|de|fr|es|it|ja the saver's language
;                       (default: the Windows interface language, or the choice of
;                       an earlier install); /NOSAVER leaves the user's current
;                       screen saver as it is.
; Switches (uninstall): /S silent; the settings file goes too unless /KEEPSETTINGS.
; Exit codes: 0 done, 1 cancelled, 2 unknown /LANG value, 3 Windows older than
; Vista (the saver cannot start there; nothing is installed), 4 the saver of an
; install of the other width is running (nothing is changed).

Unicode true
!ifdef X64
  ; A 64-bit program: 32-bit Windows refuses to start it.
  Target amd64-unicode
  !define REG_VIEW 64
  !define OTHER_REG_VIEW 32
!else
  !define REG_VIEW 32
  !define OTHER_REG_VIEW 64
!endif
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include WinVer.nsh

!ifndef PAYLOAD | OUTFILE
  !error "define PAYLOAD and OUTFILE"
!endif

!define PRODUCT_KEY "SOFTWARE\Korimba\ScreenSaver\Veltrano"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrano"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_FILE "$SYSDIR\Veltrano.scr.settings"
!define USERS_SID "*S-1-5-32-545"
; SystemParametersInfoW: SPI_SETSCREENSAVEACTIVE with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "Veltrano"
OutFile "${OUTFILE}"
; The saver, its files and its uninstaller all live in the system folder.
InstallDir "$SYSDIR"
!define UNINSTALLER "$SYSDIR\VeltranoUninstall.exe"
BrandingText "Korimba"
ShowInstDetails show
ShowUninstDetails show

; The saver's language index (CurLang: 0 English ... 6 Japanese).
Var CurLang
Var LangGiven
; The folder of the install of the other width that this one replaced, if any.
Var OtherFolder

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_WINDOWTITLE "Veltrano"
!define MUI_LANGDLL_INFO "Please select the language of Setup and of the screen saver."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$SYSDIR\Veltrano.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "$(ChoosePictures)"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback when Windows speaks none of the seven.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "Italian"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_RESERVEFILE_LANGDLL

!include "${__FILEDIR__}\Strings.nsh"

; One row per language: CurLang index, NSIS language id, /LANG code.
!macro ForEachLanguage MACRO
  !insertmacro ${MACRO} 0 ${LANG_ENGLISH} en
  !insertmacro ${MACRO} 1 ${LANG_RUSSIAN} ru
  !insertmacro ${MACRO} 2 ${LANG_GERMAN} de
  !insertmacro ${MACRO} 3 ${LANG_FRENCH} fr
  !insertmacro ${MACRO} 4 ${LANG_SPANISH} es
  !insertmacro ${MACRO} 5 ${LANG_ITALIAN} it
  !insertmacro ${MACRO} 6 ${LANG_JAPANESE} ja
!macroend

!macro LanguageFromIndex INDEX ID CODE
  ${If} $0 = ${INDEX}
    StrCpy $LANGUAGE ${ID}
  ${EndIf}
!macroend
!macro LanguageFromCode INDEX ID CODE
  ${If} $0 == "${CODE}"
    StrCpy $LANGUAGE ${ID}
    StrCpy $1 found
  ${EndIf}
!macroend
!macro IndexFromLanguage INDEX ID CODE
  ${If} $LANGUAGE = ${ID}
    StrCpy $CurLang ${INDEX}
  ${EndIf}
!macroend

; $0 = the CurLang of an earlier install, of this width or else of the other;
; sets $LANGUAGE when it is one of the seven.
!macro UseRecordedLanguage
  SetRegView ${OTHER_REG_VIEW}
  ClearErrors
  ReadRegDWORD $0 HKLM "${PRODUCT_KEY}" CurLang
  ${IfNot} ${Errors}
    !insertmacro ForEachLanguage LanguageFromIndex
  ${EndIf}
  SetRegView ${REG_VIEW}
  ClearErrors
  ReadRegDWORD $0 HKLM "${PRODUCT_KEY}" CurLang
  ${IfNot} ${Errors}
    !insertmacro ForEachLanguage LanguageFromIndex
  ${EndIf}
!macroend

; The folder from which Windows starts the saver: on 64-bit Windows the 32-bit
; system folder is SysWOW64, which a 32-bit process sees as System32.
!macro SaverFolder VAR
  !ifdef X64
    StrCpy ${VAR} "$SYSDIR"
  !else
    ${If} ${RunningX64}
      StrCpy ${VAR} "$WINDIR\SysWOW64"
    ${Else}
      StrCpy ${VAR} "$SYSDIR"
    ${EndIf}
  !endif
!macroend

; Moves the picture list $R1 of the install of the other width, which lived in
; $R0, beside this saver in the folder $R3, byte for byte: the saver writes it
; in the ANSI code page or as UTF-8, which a text read here would convert. Only
; a line of plain ASCII that names one of that install's default pictures
; changes, to the same picture in $R3. The list goes from $R0 only once its
; copy is whole and in place.
Function MoveOtherPictureList
  StrCpy $4 ""
  StrCpy $5 ""
  ClearErrors
  GetTempFileName $R2 "$R3"
  FileOpen $4 "$R1" r
  FileOpen $5 "$R2" w
  IfErrors failed
  ; No line longer than the path of a default picture and its CR can name one.
  StrLen $2 "$R0\\default_1.jpg$\r"
  StrCpy $7 ""     ; the line so far, while it is plain ASCII and short enough
  StrCpy $8 ascii  ; "ascii" while $7 holds all of the line so far
  ${Do}
    ClearErrors
    FileReadByte $4 $6
    ${If} ${Errors}
      StrCpy $6 ""  ; the end of the file ends the last line too
      ClearErrors
    ${EndIf}
    ${If} $8 == ascii
      StrLen $9 $7
      ${If} $6 == ""
      ${OrIf} $6 = 10
        StrCpy $9 $7 "" -1
        ${If} $9 == "$\r"
          StrCpy $7 $7 -1
        ${Else}
          StrCpy $9 ""
        ${EndIf}
        ${ForEach} $3 1 3 + 1
          ${If} $7 == "$R0\\default_$3.jpg"
            StrCpy $7 "$R3\\default_$3.jpg"
          ${EndIf}
        ${Next}
        ; ASCII text is the same bytes in every code page.
        FileWrite $5 "$7$9"
        StrCpy $7 ""
      ${ElseIf} $6 > 0
      ${AndIf} $6 < 128
      ${AndIf} $9 < $2
        IntFmt $9 "%c" $6
        StrCpy $7 "$7$9"
        ${Continue}
      ${Else}
        FileWrite $5 $7
        StrCpy $7 ""
        StrCpy $8 other
      ${EndIf}
    ${EndIf}
    ${If} $6 != ""
      FileWriteByte $5 $6
      ${IfThen} $6 = 10 ${|} StrCpy $8 ascii ${|}
    ${EndIf}
    IfErrors failed
  ${LoopUntil} $6 == ""
  FileClose $5
  FileClose $4
  Rename "$R2" "$R3\Veltrano.scr.settings"
  IfErrors 0 moved
  failed:
  FileClose $5
  FileClose $4
  Delete "$R2"
  Return
  moved:
  Delete "$R1"
FunctionEnd

; Removes an install of the other width, when there is one, and moves its
; picture list beside this saver where this install has none: on 64-bit Windows
; the 32-bit saver lives in SysWOW64 and the 64-bit one in System32, and Windows
; would list both. Its saver goes first, since while it runs (Screen Saver
; Settings runs it for its preview) it cannot be deleted, and then nothing of
; that install may go: the user closes it and retries, or setup ends with exit
; code 4.
Function RemoveOtherWidth
  !ifdef X64
    StrCpy $R0 "$WINDIR\SysWOW64"
  !else
    ${IfNot} ${RunningX64}
      Return
    ${EndIf}
    ; The real System32, which a 32-bit process otherwise sees as SysWOW64.
    ${DisableX64FSRedirection}
    StrCpy $R0 "$WINDIR\System32"
  !endif
  ${If} ${FileExists} "$R0\Veltrano.scr"
    ${Do}
      Delete "$R0\Veltrano.scr"
      ${IfNotThen} ${FileExists} "$R0\Veltrano.scr" ${|} ${ExitDo} ${|}
      ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(SaverInUse)" /SD IDCANCEL IDCANCEL`
      !ifndef X64
        ${EnableX64FSRedirection}
      !endif
        SetErrorLevel 4
        Abort
      ${EndIf}
    ${Loop}
    StrCpy $OtherFolder $R0
    ; This install's folder, named as such whatever the redirection.
    !insertmacro SaverFolder $R3
    ${If} ${FileExists} "$R0\Veltrano.scr.settings"
      StrCpy $R1 "$R0\Veltrano.scr.settings"
      ${If} ${FileExists} "$R3\Veltrano.scr.settings"
        Delete "$R1"
      ${Else}
        Call MoveOtherPictureList
      ${EndIf}
    ${EndIf}
    Delete "$R0\VeltResource.dat"
    Delete "$R0\default_1.jpg"
    Delete "$R0\default_2.jpg"
    Delete "$R0\default_3.jpg"
    Delete "$R0\VeltranoUninstall.exe"
  !ifndef X64
    ${EnableX64FSRedirection}
  !endif
    SetRegView ${OTHER_REG_VIEW}
    DeleteRegValue HKLM "${PRODUCT_KEY}" CurLang
    DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKLM "SOFTWARE\Korimba\ScreenSaver"
    DeleteRegKey /ifempty HKLM "SOFTWARE\Korimba"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    SetRegView ${REG_VIEW}
  ${Else}
  !ifndef X64
    ${EnableX64FSRedirection}
  !endif
  ${EndIf}
FunctionEnd

; $0 = the saver in the folder $1 as a screen saver is recorded.
!macro SaverPath
  GetFullPathName /SHORT $0 "$1\Veltrano.scr"
  ${If} $0 == ""
    StrCpy $0 "$1\Veltrano.scr"
  ${EndIf}
!macroend

; Makes the saver at $1 the user's screen saver.
!macro ChooseSaver
  !insertmacro SaverPath
  WriteRegStr HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE $0
!macroend

; Gives each user whose screen saver is the saver in the folder $1 the screen
; saver $0 instead, or none when $0 is empty. It reaches the users whose
; settings are loaded: those logged on, and the profile Windows keeps for
; itself. The others' settings are files that Windows loads only at their
; logon, and they keep theirs.
!macro RepointUsersFunction UN
Function ${UN}RepointUsers
  GetFullPathName /SHORT $5 "$1"
  StrCpy $2 0
  ${Do}
    EnumRegKey $3 HKU "" $2
    ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
    IntOp $2 $2 + 1
    ReadRegStr $4 HKU "$3\${DESKTOP_KEY}" SCRNSAVE.EXE
    ${If} $4 == "$1\Veltrano.scr"
    ${OrIf} $4 == "$5\Veltrano.scr"
      ${If} $0 == ""
        DeleteRegValue HKU "$3\${DESKTOP_KEY}" SCRNSAVE.EXE
      ${Else}
        WriteRegStr HKU "$3\${DESKTOP_KEY}" SCRNSAVE.EXE $0
      ${EndIf}
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro RepointUsersFunction ""
!insertmacro RepointUsersFunction "un."

; Creates the settings file with the content the saver gives a missing one:
; the three default pictures, each as the saver spells it (its folder ends in
; a backslash before "\default_N.jpg"), and scheme 0. Narrow text, CR LF.
Function WriteDefaultSettings
  !insertmacro SaverFolder $1
  ClearErrors
  FileOpen $0 "${SETTINGS_FILE}" w
  ${If} ${Errors}
    DetailPrint "$(SettingsFailed)"
    Return
  ${EndIf}
  FileWrite $0 "#Picture Info _ begin$\r$\n"
  FileWrite $0 "$1\\default_1.jpg$\r$\n"
  FileWrite $0 "$1\\default_2.jpg$\r$\n"
  FileWrite $0 "$1\\default_3.jpg$\r$\n"
  FileWrite $0 "#Picture Info _ end$\r$\n"
  FileWrite $0 "SelectScheme 0$\r$\n"
  FileClose $0
FunctionEnd

Section "$(SaverName)" SecSaver
  SectionIn RO
  SetRegView ${REG_VIEW}
  Call RemoveOtherWidth
  SetOutPath "$SYSDIR"
  File "${PAYLOAD}\Veltrano.scr"
  File "${PAYLOAD}\VeltResource.dat"
  File "${PAYLOAD}\default_1.jpg"
  File "${PAYLOAD}\default_2.jpg"
  File "${PAYLOAD}\default_3.jpg"

  WriteRegDWORD HKLM "${PRODUCT_KEY}" CurLang $CurLang

  ; A reinstall keeps the user's picture list.
  ${IfNot} ${FileExists} "${SETTINGS_FILE}"
    Call WriteDefaultSettings
  ${EndIf}
  ; Standard users may modify (not create) files here: grant Users modify
  ; rights on the settings file so that the saver's OK can save. Where icacls
  ; is missing (Windows before Vista) nothing happens.
  ${If} ${FileExists} "$SYSDIR\icacls.exe"
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${SETTINGS_FILE}" /grant ${USERS_SID}:M'
    Pop $0
  ${EndIf}

  WriteUninstaller "${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "$(SaverName)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "Korimba"
  ; Add/Remove Programs reads these paths without redirection.
  !insertmacro SaverFolder $1
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$1\Veltrano.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$1\VeltranoUninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$1\VeltranoUninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1

  ; Users whose screen saver was the one of the other width keep Veltrano.
  ${If} $OtherFolder != ""
    !insertmacro SaverFolder $1
    !insertmacro SaverPath
    StrCpy $1 $OtherFolder
    Call RepointUsers
  ${EndIf}
SectionEnd

Section "$(UseAsSaver)" SecActivate
  !insertmacro SaverFolder $1
  !insertmacro ChooseSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive 1
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
SectionEnd

Function .onInit
  ; NSIS has already proposed the Windows interface language; an earlier
  ; install's choice wins over it, and /LANG over both.
  !insertmacro UseRecordedLanguage
  StrCpy $LangGiven ""
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/LANG=" $0
  ${IfNot} ${Errors}
    StrCpy $1 ""
    !insertmacro ForEachLanguage LanguageFromCode
    ${If} $1 != found
      MessageBox MB_OK|MB_ICONSTOP "Unknown language for /LANG: $0$\r$\nUse one of en, ru, de, fr, es, it, ja." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $LangGiven yes
  ${EndIf}
  ; The saver imports functions Windows has only from Vista on: before it, it
  ; could not even start.
  ${IfNot} ${AtLeastWinVista}
    MessageBox MB_OK|MB_ICONSTOP "$(NeedsVista)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  ClearErrors
  ${GetOptions} $2 "/NOSAVER" $0
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecActivate}
  ${EndIf}
  ${IfNot} ${Silent}
  ${AndIf} $LangGiven == ""
    !insertmacro MUI_LANGDLL_DISPLAY
  ${EndIf}
  StrCpy $CurLang 0
  !insertmacro ForEachLanguage IndexFromLanguage
FunctionEnd

Function un.onInit
  !insertmacro UseRecordedLanguage
FunctionEnd

Section "Uninstall"
  SetRegView ${REG_VIEW}
  Delete /REBOOTOK "$SYSDIR\Veltrano.scr"
  Delete "$SYSDIR\VeltResource.dat"
  Delete "$SYSDIR\default_1.jpg"
  Delete "$SYSDIR\default_2.jpg"
  Delete "$SYSDIR\default_3.jpg"

  ${If} ${FileExists} "${SETTINGS_FILE}"
    ${GetParameters} $2
    ClearErrors
    ${GetOptions} $2 "/KEEPSETTINGS" $0
    ${If} ${Errors}
      MessageBox MB_YESNO|MB_ICONQUESTION "$(AskDeleteSettings)" /SD IDYES IDNO keepSettings
      Delete "${SETTINGS_FILE}"
    ${EndIf}
  ${EndIf}
  keepSettings:

  DeleteRegValue HKLM "${PRODUCT_KEY}" CurLang
  ; Each key goes only when nothing else is left in it.
  DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Korimba\ScreenSaver"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Korimba"

  ; The users' screen saver no longer exists: Windows shows "(None)" without the value.
  !insertmacro SaverFolder $1
  StrCpy $0 ""
  Call un.RepointUsers

  ; The picture cache of the user running the uninstaller: small copies of
  ; the listed pictures that the saver makes again whenever it needs them.
  SetShellVarContext current
  RMDir /r "$LOCALAPPDATA\Veltrano\PictureCache"
  RMDir "$LOCALAPPDATA\Veltrano"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "${UNINSTALLER}"
SectionEnd
