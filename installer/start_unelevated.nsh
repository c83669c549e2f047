; Starts the installed program as the desktop user, never with the setup
; program's administrator rights.
;
; A process started by CreateProcess (NSIS's Exec) runs in the security
; context of the one that starts it, so an elevated setup program cannot
; start the program itself. It asks Explorer, which runs as the desktop
; user, to start it: the desktop's folder view (IShellWindows::FindWindowSW
; with SWC_DESKTOP, through its top-level browser and active view) gives the
; shell's IShellDispatch2, whose ShellExecute starts the program in Explorer's
; process, in its own folder. Without Explorer (another shell) the program is
; not started; the learner starts it from the Start menu.

!define CLSID_ShellWindows "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}"
!define IID_IShellWindows "{85CB6900-4D95-11CF-960C-0080C7F4EE85}"
!define IID_IServiceProvider "{6D5140C1-7436-11CE-8034-00AA006009FA}"
!define SID_STopLevelBrowser "{4C96BE40-915C-11CF-99D3-00AA004AE837}"
!define IID_IShellBrowser "{000214E2-0000-0000-C000-000000000046}"
!define IID_IDispatch "{00020400-0000-0000-C000-000000000046}"
!define IID_IShellFolderViewDual "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}"
!define IID_IShellDispatch2 "{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}"

; Release INTERFACE: IUnknown::Release, when it is set.
!macro RELEASE_INTERFACE interface
    ${If} ${interface} P<> 0
        System::Call '${interface}->2()'
    ${EndIf}
!macroend

; StartThroughExplorer PROGRAM FOLDER: pushes 1 when Explorer started it.
Function StartThroughExplorer
    Exch $R1 ; folder
    Exch
    Exch $R0 ; program
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    Push $7
    Push $8
    Push $9
    StrCpy $9 0
    StrCpy $3 0
    StrCpy $4 0
    StrCpy $5 0
    StrCpy $6 0
    StrCpy $7 0
    StrCpy $8 0
    System::Call 'ole32::CoInitialize(p 0)'
    ; $3 IShellWindows, $4 IDispatch of the desktop, $5 IServiceProvider,
    ; $6 IShellBrowser, $7 IShellView, $8 the view's IDispatch; later $4 and
    ; $5 hold IShellFolderViewDual and the application's IDispatch.
    System::Call 'ole32::CoCreateInstance(g "${CLSID_ShellWindows}", p 0, i 4, g "${IID_IShellWindows}", *p .r3) i .r2'
    ${If} $2 = 0
        ; Two empty VARIANTs for the location FindWindowSW ignores for the desktop.
        System::Call '*(&i24 0) p .r1'
        System::Call '*(&i24 0) p .r2'
        ; FindWindowSW(SWC_DESKTOP, SWFO_NEEDDISPATCH)
        System::Call '$3->15(p r1, p r2, i 8, *i 0, i 1, *p .r4) i .r9'
        System::Free $1
        System::Free $2
        ${If} $9 = 0
            System::Call '$4->0(g "${IID_IServiceProvider}", *p .r5) i .r9'
        ${EndIf}
        ${If} $9 = 0
            System::Call '$5->3(g "${SID_STopLevelBrowser}", g "${IID_IShellBrowser}", *p .r6) i .r9'
        ${EndIf}
        ${If} $9 = 0
            System::Call '$6->15(*p .r7) i .r9' ; QueryActiveShellView
        ${EndIf}
        ${If} $9 = 0
            System::Call '$7->15(i 0, g "${IID_IDispatch}", *p .r8) i .r9' ; GetItemObject(SVGIO_BACKGROUND)
        ${EndIf}
        !insertmacro RELEASE_INTERFACE $4
        !insertmacro RELEASE_INTERFACE $5
        StrCpy $4 0
        StrCpy $5 0
        ${If} $9 = 0
            System::Call '$8->0(g "${IID_IShellFolderViewDual}", *p .r4) i .r9'
        ${EndIf}
        ${If} $9 = 0
            System::Call '$4->7(*p .r5) i .r9' ; get_Application
        ${EndIf}
        ${If} $9 = 0
            System::Call '$5->0(g "${IID_IShellDispatch2}", *p .r2) i .r9'
        ${EndIf}
        ${If} $9 = 0
            Push $2
            Push $R0
            Push $R1
            Call ShellDispatchExecute
            Pop $9
            System::Call '$2->2()'
        ${EndIf}
        !insertmacro RELEASE_INTERFACE $4
        !insertmacro RELEASE_INTERFACE $5
        !insertmacro RELEASE_INTERFACE $6
        !insertmacro RELEASE_INTERFACE $7
        !insertmacro RELEASE_INTERFACE $8
        !insertmacro RELEASE_INTERFACE $3
    ${Else}
        StrCpy $9 1
    ${EndIf}
    System::Call 'ole32::CoUninitialize()'
    ${If} $9 = 0
        StrCpy $R0 1
    ${Else}
        StrCpy $R0 0
    ${EndIf}
    Pop $9
    Pop $8
    Pop $7
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
    Exch
    Pop $R1
    Exch $R0
FunctionEnd

; ShellDispatchExecute SHELLDISPATCH2 PROGRAM FOLDER: IShellDispatch2::
; ShellExecute(PROGRAM, no arguments, FOLDER, "open", SW_SHOWNORMAL); pushes
; its HRESULT. Its VARIANT arguments go by value: on x86-64 as a pointer to
; a copy, on x86 as their 16 bytes on the stack.
Function ShellDispatchExecute
    Exch $2 ; folder
    Exch
    Exch $1 ; program
    Exch 2
    Exch $0 ; IShellDispatch2
    Push $3
    Push $4
    Push $5
    Push $6
    Push $7
    System::Call 'oleaut32::SysAllocString(w r1) p .r3'
    System::Call 'oleaut32::SysAllocString(w r2) p .r4'
    System::Call 'oleaut32::SysAllocString(w "open") p .r5'
!if ${NSIS_PTR_SIZE} > 4
    ; VT_BSTR = 8, VT_I4 = 3, VT_EMPTY = 0
    System::Call '*(&i2 0, &i6 0, p 0, p 0) p .r6'
    System::Call '*(&i2 8, &i6 0, p r4, p 0) p .r7'
    System::Call '*(&i2 8, &i6 0, p r5, p 0) p .r1'
    System::Call '*(&i2 3, &i6 0, i 1, i 0, p 0) p .r2'
    System::Call '$0->31(p r3, p r6, p r7, p r1, p r2) i .r0'
    System::Free $1
    System::Free $2
    System::Free $6
    System::Free $7
!else
    System::Call '$0->31(p r3, i 0, i 0, i 0, i 0, i 8, i 0, p r4, i 0, i 8, i 0, p r5, i 0, i 3, i 0, i 1, i 0) i .r0'
!endif
    System::Call 'oleaut32::SysFreeString(p r3)'
    System::Call 'oleaut32::SysFreeString(p r4)'
    System::Call 'oleaut32::SysFreeString(p r5)'
    Pop $7
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Exch 2
    Pop $1
    Pop $2
    Exch $0
FunctionEnd

; The finish page's "run": as the desktop user, in the program's folder.
Function StartProgram
    Call IsElevated
    Pop $0
    ${If} $0 = 0
        ; Not elevated: the program gets this process's rights, the user's own.
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\quendril.exe"'
    ${Else}
        Push "$INSTDIR\quendril.exe"
        Push "$INSTDIR"
        Call StartThroughExplorer
        Pop $0
        ${If} $0 = 0
            MessageBox MB_OK|MB_ICONINFORMATION "请从开始菜单启动 $(^NameDA)。"
        ${EndIf}
    ${EndIf}
FunctionEnd
