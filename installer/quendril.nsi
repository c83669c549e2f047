; The learner's setup program. It installs for the current user only, so it
; needs no administrator rights: into the user's own programs folder, with
; shortcuts and an entry in the list of installed programs under HKCU.
;
; installer/CMakeLists.txt runs makensis with these defined:
;   VERSION     the project version (four numbers)
;   PROGRAM     quendril.exe as built
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
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinCore.nsh

!define APP_NAME "Quendril成语学习软件"
!define PUBLISHER "Quendril"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quendril"
!define DICTIONARY "成语.txt"
; Where the dictionary as shipped is kept, to tell a learner's changes from it.
!define SHIPPED "original"
!define SHORTCUT "${APP_NAME}.lnk"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quendril"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

; Set while installing or uninstalling, shown on the finish pages.
Var FinishNote

; The default folder is the user's programs folder, which Windows may have
; moved: ask Windows where it is, unless /D= or an earlier installation chose
; the folder. (Wine does not know this folder and keeps the default.)
Function .onInit
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Quendril"
        GetKnownFolderPath $0 ${FOLDERID_UserProgramFiles}
        ${IfThen} $0 != "" ${|} StrCpy $INSTDIR "$0\Quendril" ${|}
    ${EndIf}
FunctionEnd

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

; Not the stock text: this installs for one user, needs no administrator and
; no restart.
!define MUI_WELCOMEPAGE_TEXT "此程序将引导您安装 $(^NameDA)，一个学习成语的小程序。$\r$\n$\r$\n程序只为当前用户安装，不需要管理员权限，也不需要重新启动计算机。$\r$\n$\r$\n点击 [下一步(N)] 继续。"
!insertmacro MUI_PAGE_WELCOME
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

Section "-Uninstall entry"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quendril.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function StartProgram
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\quendril.exe"'
FunctionEnd

; Removes only what the installer wrote, never the folder's other contents.
Section "Uninstall"
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$DESKTOP\${SHORTCUT}"
    Delete "$INSTDIR\quendril.exe"
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
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
