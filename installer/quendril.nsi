; The learner's setup program. It installs in one of two modes
; (install_mode.nsh):
;   for the current user (the default): no administrator rights asked for,
;     also of an administrator; into the user's own programs folder, with the
;     user's shortcuts and an entry in the list of installed programs under
;     HKCU;
;   for all users: into Program Files, with the shortcuts of all users and the
;     entry under HKLM. Computers an administrator manages often run programs
;     from Program Files only. Chosen on a page, or with /ALLUSERS (/CURRENTUSER
;     chooses the other); only then does the setup program ask Windows for
;     administrator rights, by starting itself again elevated.
; The two can be installed side by side; each finds, upgrades and removes its
; own and leaves the other alone. The program is never started with the setup
; program's rights (start_unelevated.nsh).
;
; installer/CMakeLists.txt runs makensis with these defined:
;   VERSION     the project version (four numbers)
;   PROCESSOR   x64 or x86, the processor of the programs it carries
;   PROGRAM     quendril.exe as built
;   IDIOMTOOL   idiomtool.exe as built, an optional component
;   DICTIONARY_SOURCE, README_SOURCE, ICON   the files to ship
;   HOME_PAGE, COPYRIGHT   the maker's
;   OUTFILE     the setup program to write
;
; Nothing the learner made is lost: 成语.txt is the one file a learner edits or
; replaces, so a copy of it as shipped is kept in original\, and an installed
; 成语.txt that differs from that copy is neither overwritten by a reinstall
; nor deleted by the uninstaller.

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
; No file times in the setup program: the same sources give the same bytes.
SetDateSave off

!define APP_NAME "Quendril成语学习软件"
!define PUBLISHER "Quendril"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quendril"

; Its own rights (asInvoker): the mode for all users asks for more when chosen.
RequestExecutionLevel user

!define MODE_PAGE_TEXT "只为自己安装时，程序装在您的用户文件夹中，不需要管理员权限。$\r$\n学校和家庭中由管理员管理的电脑往往只允许运行 Program Files 中的程序：在这样的电脑上，请为所有用户安装（需要管理员同意）。"
!define MODE_PAGE_ALLUSERS "为这台电脑的所有用户安装，装到 Program Files(&A)"
!define MODE_PAGE_CURRENTUSER "只为我自己安装，装到我的用户文件夹(&M)"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include nsDialogs.nsh
!include install_mode.nsh
!include start_unelevated.nsh

!define DICTIONARY "成语.txt"
; Where the dictionary as shipped is kept, to tell a learner's changes from it.
!define SHIPPED "original"
!define SHORTCUT "${APP_NAME}.lnk"

Name "${APP_NAME}"
OutFile "${OUTFILE}"

; Set while installing or uninstalling, shown on the finish pages.
Var FinishNote

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

; Not the stock text: installing for oneself needs no administrator, only the
; mode for all users asks for one, and no mode needs a restart.
!define MUI_WELCOMEPAGE_TEXT "此程序将引导您安装 $(^NameDA)，一个学习成语的小程序。$\r$\n$\r$\n只为自己安装不需要管理员权限；为这台电脑的所有用户安装时，Windows 会请管理员同意。安装后不需要重新启动计算机。$\r$\n$\r$\n点击 [下一步(N)] 继续。"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenModeChosen
!insertmacro MUI_PAGE_WELCOME
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$(^NameDA) 已经安装到本机。$FinishNote$\r$\n$\r$\n点击 [完成(F)] 关闭安装程序。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$(^NameDA) 已经从本机卸载。$FinishNote$\r$\n$\r$\n点击 [完成(F)] 关闭卸载程序。"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${APP_NAME} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${COPYRIGHT}"

!define KEPT_NOTE "$\r$\n$\r$\n您修改过的词典 ${DICTIONARY} 已保留。"

; SameContents FILE_A FILE_B: pushes 1 when both files exist and hold the same
; bytes, else 0. A function for the installer and one for the uninstaller.
!macro SAME_CONTENTS_FUNCTION prefix
Function ${prefix}SameContents
    Exch $R1
    Exch
    Exch $R0
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    StrCpy $R6 0
    ClearErrors
    FileOpen $R2 $R0 r
    ${IfNot} ${Errors}
        FileOpen $R3 $R1 r
        ${IfNot} ${Errors}
            FileSeek $R2 0 END $R4
            FileSeek $R3 0 END $R5
            ${If} $R4 = $R5
                FileSeek $R2 0 SET
                FileSeek $R3 0 SET
                StrCpy $R6 1
                ${Do}
                    ClearErrors
                    FileReadByte $R2 $R4
                    ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
                    FileReadByte $R3 $R5
                    ${If} $R4 <> $R5
                        StrCpy $R6 0
                        ${ExitDo}
                    ${EndIf}
                ${Loop}
            ${EndIf}
            FileClose $R3
        ${EndIf}
        FileClose $R2
    ${EndIf}
    StrCpy $R0 $R6
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd
!macroend
!insertmacro SAME_CONTENTS_FUNCTION ""
!insertmacro SAME_CONTENTS_FUNCTION "un."

; Writes the dictionary unless the installed one is the learner's own: one
; that matches neither the copy the last installation shipped nor this one.
Function InstallDictionary
    InitPluginsDir
    File "/oname=$PLUGINSDIR\${DICTIONARY}" "${DICTIONARY_SOURCE}"
    StrCpy $0 0
    ${If} ${FileExists} "$INSTDIR\${DICTIONARY}"
        Push "$INSTDIR\${DICTIONARY}"
        Push "$INSTDIR\${SHIPPED}\${DICTIONARY}"
        Call SameContents
        Pop $0
        ${If} $0 = 0
            Push "$INSTDIR\${DICTIONARY}"
            Push "$PLUGINSDIR\${DICTIONARY}"
            Call SameContents
            Pop $0
        ${EndIf}
        ; 1: as shipped; 0: the learner's, kept
        IntOp $0 1 - $0
    ${EndIf}
    SetOutPath "$INSTDIR\${SHIPPED}"
    File "/oname=${DICTIONARY}" "${DICTIONARY_SOURCE}"
    ${If} $0 = 0
        SetOutPath "$INSTDIR"
        File "/oname=${DICTIONARY}" "${DICTIONARY_SOURCE}"
    ${Else}
        StrCpy $FinishNote "${KEPT_NOTE}本版附带的词典在 ${SHIPPED}\${DICTIONARY}。"
        DetailPrint "保留了您修改过的 $INSTDIR\${DICTIONARY}"
    ${EndIf}
FunctionEnd

; The shortcut's working folder is $OUTDIR: the program reads its dictionary
; from the folder it starts in.
!macro PROGRAM_SHORTCUT path
    SetOutPath "$INSTDIR"
    CreateShortCut "${path}" "$INSTDIR\quendril.exe" "" "$INSTDIR\quendril.exe" 0 SW_SHOWNORMAL \
        "" "学习成语"
!macroend

Section "!${APP_NAME}" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=quendril.exe" "${PROGRAM}"
    File "/oname=README.txt" "${README_SOURCE}"
    Call InstallDictionary
    WriteUninstaller "$INSTDIR\uninstall.exe"
    !insertmacro PROGRAM_SHORTCUT "$SMPROGRAMS\${SHORTCUT}"
SectionEnd

Section "桌面快捷方式" SectionDesktop
    !insertmacro PROGRAM_SHORTCUT "$DESKTOP\${SHORTCUT}"
SectionEnd

Section "idiomtool 命令行工具（检查、转换词典）" SectionTool
    SetOutPath "$INSTDIR"
    File "/oname=idiomtool.exe" "${IDIOMTOOL}"
SectionEnd

; A component left out of a reinstall goes, as a learner who unticks it expects.
Section "-Components left out"
    ${IfNot} ${SectionIsSelected} ${SectionDesktop}
        Delete "$DESKTOP\${SHORTCUT}"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SectionTool}
        Delete "$INSTDIR\idiomtool.exe"
    ${EndIf}
SectionEnd

Section "-Uninstall entry"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quendril.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ; The uninstaller's mode goes on its command line.
    !insertmacro UNINSTALL_COMMAND $0
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '$0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '$0 /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; /D= chooses the folder, over the mode's default (install_mode.nsh);
; /NOIDIOMTOOL leaves idiomtool out of a silent install.
Function .onInit
    Call ChooseMode
    ${GetParameters} $R1
    ClearErrors
    ${GetOptions} $R1 "/NOIDIOMTOOL" $R2
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SectionTool}
    ${EndIf}
FunctionEnd

; Set when the entry of the uninstaller's mode names this uninstaller: then
; the shortcuts and the entry are this installation's to remove.
Var OwnEntry

Function un.onInit
    ${GetParameters} $R0
    StrCpy $Mode ""
    ClearErrors
    ${GetOptions} $R0 "${MODE_ALL}" $R1
    ${IfNot} ${Errors}
        StrCpy $Mode "all"
    ${Else}
        ClearErrors
        ${GetOptions} $R0 "${MODE_USER}" $R1
        ${IfNot} ${Errors}
            StrCpy $Mode "user"
        ${Else}
            Call un.ModeOfOwnEntry
            Pop $Mode
        ${EndIf}
    ${EndIf}
    ${If} $Mode == "all"
        SetShellVarContext all
        ; A standard user is asked for an administrator's password.
        Push "$R0 ${MODE_ALL} _?=$INSTDIR"
        Call un.ElevateForMode
        ${If} ${Errors}
            MessageBox MB_OK|MB_ICONSTOP "$(^Name) 是为这台电脑的所有用户安装的，卸载需要管理员同意。" /SD IDOK
            SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
    ${Else}
        SetShellVarContext current
    ${EndIf}
    StrCpy $OwnEntry 0
    ${If} $Mode != ""
        ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "UninstallString"
        !insertmacro UNINSTALL_COMMAND $1
        ${IfThen} $0 == $1 ${|} StrCpy $OwnEntry 1 ${|}
    ${EndIf}
FunctionEnd

; Removes only what the installer wrote, never the folder's other contents.
Section "Uninstall"
    ${If} $OwnEntry = 1
        Delete "$SMPROGRAMS\${SHORTCUT}"
        Delete "$DESKTOP\${SHORTCUT}"
    ${EndIf}
    Delete "$INSTDIR\quendril.exe"
    Delete "$INSTDIR\idiomtool.exe"
    Delete "$INSTDIR\README.txt"
    Push "$INSTDIR\${DICTIONARY}"
    Push "$INSTDIR\${SHIPPED}\${DICTIONARY}"
    Call un.SameContents
    Pop $0
    ${If} $0 = 1
        Delete "$INSTDIR\${DICTIONARY}"
    ${ElseIf} ${FileExists} "$INSTDIR\${DICTIONARY}"
        StrCpy $FinishNote "${KEPT_NOTE}它仍在 $INSTDIR。"
        DetailPrint "保留了您修改过的 $INSTDIR\${DICTIONARY}"
    ${EndIf}
    Delete "$INSTDIR\${SHIPPED}\${DICTIONARY}"
    RMDir "$INSTDIR\${SHIPPED}"
    ; This runs in a copy of the uninstaller, started by the original, which
    ; cannot be deleted until it has ended.
    ${For} $1 1 100
        Delete "$INSTDIR\uninstall.exe"
        ${IfNotThen} ${FileExists} "$INSTDIR\uninstall.exe" ${|} ${ExitFor} ${|}
        Sleep 100
    ${Next}
    RMDir "$INSTDIR"
    ${If} $OwnEntry = 1
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}
SectionEnd
