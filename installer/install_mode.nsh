; Who the setup program installs for, and the administrator rights that takes.
;
; The setup program and its uninstaller ask Windows for no rights of their own
; (their manifests say asInvoker): installing for oneself needs none, also
; for an administrator, whose programs run without them until one asks. Only
; installing for all users does: the unelevated setup program, once that mode
; is chosen (on the mode page, or with /ALLUSERS), starts itself again with
; the "runas" verb, which shows Windows' prompt (an administrator confirms,
; anyone else types an administrator's password), waits for that copy and
; ends with its exit code. The copy is told with /MODECHOSEN that the mode is
; settled (and starts again at the components page); it never starts a
; further one.
;
; The uninstaller reads its mode from its command line, which the setup program
; wrote into the uninstall entry (/CURRENTUSER or /ALLUSERS); started without
; one, it takes the mode of the entry that names it. It removes the shortcuts
; and the entry only when the entry names it: an old uninstaller left in
; another folder removes its own files and nothing of another installation.

!define MODE_USER "/CURRENTUSER"
!define MODE_ALL "/ALLUSERS"
; Set on the copy started with administrator rights.
!define MODE_CHOSEN "/MODECHOSEN"

; "user" or "all"
Var Mode
; 1 when the command line settled the mode: no mode page.
Var ModeFixed
; The folder /D= named, which no mode's default replaces.
Var ChosenDir
Var ModePageAllUsers
Var ModePageCurrentUser

; The uninstall entry's command for this installation in this mode.
!macro UNINSTALL_COMMAND out
    ${If} $Mode == "all"
        StrCpy ${out} '"$INSTDIR\uninstall.exe" ${MODE_ALL}'
    ${Else}
        StrCpy ${out} '"$INSTDIR\uninstall.exe" ${MODE_USER}'
    ${EndIf}
!macroend

!macro INSTALL_MODE_FUNCTIONS prefix
; Pushes 1 when this process holds an administrator's full rights (an
; elevated token: TOKEN_ELEVATION.TokenIsElevated), else 0.
Function ${prefix}IsElevated
    Push $0
    Push $1
    Push $2
    StrCpy $2 0
    ; TOKEN_QUERY; TokenElevation is information class 20.
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r0) i .r1'
    ${If} $1 <> 0
        System::Call 'advapi32::GetTokenInformation(p r0, i 20, *i .r2, i 4, *i .r1) i .r1'
        ${IfThen} $1 = 0 ${|} StrCpy $2 0 ${|}
        System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    StrCpy $0 $2
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

; RunElevated PARAMETERS: starts this program again, elevated ("runas"),
; waits for it and pushes its exit code, or "" when it did not start (the
; prompt was declined).
Function ${prefix}RunElevated
    Exch $0
    Push $1
    Push $2
    Push $3
    ; SHELLEXECUTEINFOW, SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC, SW_SHOWNORMAL;
    ; the padding written out where the 64-bit layout has it.
!if ${NSIS_PTR_SIZE} > 4
    System::Call '*(i 112, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w r0, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r1'
!else
    System::Call '*(i 60, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w r0, p 0, i 1, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p .r1'
!endif
    StrCpy $0 ""
    System::Call 'shell32::ShellExecuteExW(p r1) i .r2'
    ${If} $2 <> 0
!if ${NSIS_PTR_SIZE} > 4
        System::Call '*$1(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r3)'
!else
        System::Call '*$1(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r3)'
!endif
        System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
        System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r0)'
        System::Call 'kernel32::CloseHandle(p r3)'
    ${EndIf}
    System::Free $1
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

; ElevateForMode PARAMETERS: for the mode for all users, in a process
; without the rights it needs, runs the elevated copy with PARAMETERS and ends
; with its exit code. Returns when no copy is needed, or when the prompt was
; declined (the error flag is then set).
Function ${prefix}ElevateForMode
    Exch $0
    Push $1
    ClearErrors
    ${If} $Mode == "all"
        Call ${prefix}IsElevated
        Pop $1
        ${GetParameters} $R9
        ${GetOptions} $R9 "${MODE_CHOSEN}" $R9
        ; A copy started elevated never starts another.
        ${If} $1 = 0
        ${AndIf} ${Errors}
            HideWindow
            Push "${MODE_CHOSEN} $0" ; /D= and _?= stay last, as they must
            Call ${prefix}RunElevated
            Pop $1
            ${If} $1 != ""
                SetErrorLevel $1
                Quit
            ${EndIf}
            BringToFront
        ${EndIf}
        ClearErrors
        ${If} $1 == ""
            SetErrors
        ${EndIf}
    ${EndIf}
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro INSTALL_MODE_FUNCTIONS ""
!insertmacro INSTALL_MODE_FUNCTIONS "un."

; Sets the shell folders, registry root and default folder of $Mode: the
; earlier installation's folder in that mode, else the mode's own; /D= over
; both.
Function UseMode
    ${If} $Mode == "all"
        SetShellVarContext all
!if ${NSIS_PTR_SIZE} > 4
        StrCpy $INSTDIR "$PROGRAMFILES64\Quendril"
!else
        StrCpy $INSTDIR "$PROGRAMFILES\Quendril"
!endif
    ${Else}
        SetShellVarContext current
        GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; FOLDERID_UserProgramFiles
        ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$LOCALAPPDATA\Programs" ${|}
        StrCpy $INSTDIR "$INSTDIR\Quendril"
    ${EndIf}
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${IfThen} $0 != "" ${|} StrCpy $INSTDIR $0 ${|}
    ${IfThen} $ChosenDir != "" ${|} StrCpy $INSTDIR $ChosenDir ${|}
FunctionEnd

; The mode from the command line, else the earlier installation's (the
; current user's first), else for the current user.
Function ChooseMode
    StrCpy $ChosenDir $INSTDIR
    ${GetParameters} $R1
    StrCpy $ModeFixed 1
    ClearErrors
    ${GetOptions} $R1 "${MODE_ALL}" $R2
    ${IfNot} ${Errors}
        StrCpy $Mode "all"
    ${Else}
        ClearErrors
        ${GetOptions} $R1 "${MODE_USER}" $R2
        ${IfNot} ${Errors}
            StrCpy $Mode "user"
        ${Else}
            StrCpy $ModeFixed 0
            StrCpy $Mode "user"
            ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
            ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
            ${If} $0 == ""
            ${AndIf} $1 != ""
                StrCpy $Mode "all"
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Call UseMode
    ; The mode page is the interactive run's, unless the command line settled it.
    ${If} $ModeFixed = 1
    ${OrIf} ${Silent}
        ${GetParameters} $R1
        ${If} $ChosenDir != ""
            StrCpy $R1 "$R1 /D=$ChosenDir"  ; last, as /D= must be
        ${EndIf}
        Push $R1
        Call ElevateForMode
        ${If} ${Errors}
            MessageBox MB_OK|MB_ICONSTOP "为所有用户安装需要管理员权限。" /SD IDOK
            SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
        StrCpy $ModeFixed 1
    ${EndIf}
FunctionEnd

; The elevated copy goes on where the unelevated one stopped: after the mode page.
Function SkipWhenModeChosen
    ${GetParameters} $R1
    ClearErrors
    ${GetOptions} $R1 "${MODE_CHOSEN}" $R2
    ${IfNot} ${Errors}
        Abort
    ${EndIf}
FunctionEnd

Function ModePage
    ${IfThen} $ModeFixed = 1 ${|} Abort ${|}
    !insertmacro MUI_HEADER_TEXT "选择用户" "选择为哪些用户安装 $(^NameDA)。"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 2u 100% 42u "${MODE_PAGE_TEXT}"
    Pop $0
    ${NSD_CreateRadioButton} 15u 50u -15u 10u "${MODE_PAGE_ALLUSERS}"
    Pop $ModePageAllUsers
    ${NSD_CreateRadioButton} 15u 70u -15u 10u "${MODE_PAGE_CURRENTUSER}"
    Pop $ModePageCurrentUser
    ${If} $Mode == "all"
        ${NSD_Check} $ModePageAllUsers
    ${Else}
        ${NSD_Check} $ModePageCurrentUser
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $ModePageAllUsers $0
    ${If} $0 = ${BST_CHECKED}
        StrCpy $Mode "all"
    ${Else}
        StrCpy $Mode "user"
    ${EndIf}
    Call UseMode
    ${GetParameters} $R1
    StrCpy $R1 "$R1 ${MODE_ALL}"
    ${If} $ChosenDir != ""
        StrCpy $R1 "$R1 /D=$ChosenDir"
    ${EndIf}
    Push $R1
    Call ElevateForMode
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION "为所有用户安装需要管理员同意。您也可以只为自己安装。"
        Abort
    ${EndIf}
FunctionEnd

; Pushes the mode whose uninstall entry names this uninstaller, or "".
Function un.ModeOfOwnEntry
    Push $0
    Push $1
    StrCpy $0 ""
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "UninstallString"
    ${If} $1 == '"$INSTDIR\uninstall.exe" ${MODE_USER}'
        StrCpy $0 "user"
    ${Else}
        ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "UninstallString"
        ${IfThen} $1 == '"$INSTDIR\uninstall.exe" ${MODE_ALL}' ${|} StrCpy $0 "all" ${|}
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd
