// The class layer on its own: message maps, modal dialogs, data exchange,
// strings, fonts and message boxes, under whatever ANSI code page Wine runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <vector>

#include <objbase.h>
#include <shellapi.h>

#include "afx.h"
#include "gbk_literal.h"
#include "resource.h"
#include "scratch_dir.h"
#include "ui_script.h"

namespace {

// A dialog on the main template that records what its message map delivers.
class RecordingDlg : public CDialog {
public:
    explicit RecordingDlg(CWnd* parent = nullptr) : CDialog(IDD_IDIOM_DIALOG, parent) {}

    int prevClicks = 0;
    int nextClicks = 0;
    UINT lastSysCommand = 0;
    std::string idiom, explain, pinyin;

protected:
    void OnPrevClicked() { ++prevClicks; }
    void OnNextClicked() { ++nextClicks; }
    void OnSysCommand(UINT nID, LPARAM) {
        lastSysCommand = nID;
        Default();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_IDIOM, idiom);
        DDX_Text(pDX, IDC_EXPLAIN, explain);
        DDX_Text(pDX, IDC_PINYIN, pinyin);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_BN_CLICKED(IDC_PREV, OnPrevClicked)
    ON_BN_CLICKED(IDC_NEXT, OnNextClicked)
END_MESSAGE_MAP()

// A class below it adds a row of its own and keeps its base's rows.
class DerivedDlg : public RecordingDlg {
public:
    int okClicks = 0;

protected:
    void OnOkClicked() { ++okClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDlg, RecordingDlg)
    ON_BN_CLICKED(IDOK, OnOkClicked)
END_MESSAGE_MAP()

HWND Top() { return uitest::FindThreadWindow(); }

void Command(int id, int code) { ::SendMessageW(Top(), WM_COMMAND, MAKEWPARAM(id, code), 0); }

TEST(MessageMap, DispatchesCommandsByIdAndCodeThroughTheBaseChain) {
    DerivedDlg dlg;
    INT_PTR result = 0;
    uitest::RunWithSteps({[] {
                             Command(IDC_PREV, BN_CLICKED);
                             Command(IDC_NEXT, BN_CLICKED);
                             Command(IDC_NEXT, BN_CLICKED);
                             Command(IDC_PREV, BN_DOUBLECLICKED);  // not a click
                             Command(IDOK, BN_CLICKED);            // derived row, not OnOK
                             ::SendMessageW(Top(), WM_SYSCOMMAND, SC_RESTORE + 0x2, 0);
                             ::EndDialog(Top(), 77);
                         }},
                         [&] { result = dlg.DoModal(); });
    EXPECT_EQ(result, 77);
    EXPECT_EQ(dlg.prevClicks, 1);
    EXPECT_EQ(dlg.nextClicks, 2);
    EXPECT_EQ(dlg.okClicks, 1);
    EXPECT_EQ(dlg.lastSysCommand, static_cast<UINT>(SC_RESTORE + 0x2));
}

TEST(MessageMap, UnmappedOkAndCancelEndTheDialogWithTheirCodes) {
    RecordingDlg ok, cancel;
    INT_PTR okResult = 0, cancelResult = 0;
    uitest::RunWithSteps({[] { uitest::Click(Top(), IDOK); }}, [&] { okResult = ok.DoModal(); });
    uitest::RunWithSteps({[] { uitest::PressKey(::GetFocus(), VK_ESCAPE); }},
                         [&] { cancelResult = cancel.DoModal(); });
    EXPECT_EQ(okResult, IDOK);
    EXPECT_EQ(cancelResult, IDCANCEL);
}

// A dialog whose handlers pass their message on with Default(), or answer
// with a value of their own.
class AnsweringDlg : public CDialog {
public:
    static constexpr LRESULT kAnswer = 0x5A5A;
    AnsweringDlg() : CDialog(IDD_IDIOM_DIALOG) {}

protected:
    LRESULT PassOn(WPARAM, LPARAM) { return Default(); }
    LRESULT Answer(WPARAM, LPARAM) { return kAnswer; }
    DECLARE_MESSAGE_MAP()
};

// Answered by the dialog procedure's own return value.
constexpr UINT kDirectResultMessages[] = {
    WM_CHARTOITEM,     WM_COMPAREITEM,     WM_CTLCOLORBTN,    WM_CTLCOLORDLG,
    WM_CTLCOLOREDIT,   WM_CTLCOLORLISTBOX, WM_CTLCOLORMSGBOX, WM_CTLCOLORSCROLLBAR,
    WM_CTLCOLORSTATIC, WM_QUERYDRAGICON,   WM_VKEYTOITEM,
};
constexpr UINT kPlainMessage = WM_APP + 7;  // answered through DWLP_MSGRESULT

BEGIN_MESSAGE_MAP(AnsweringDlg, CDialog)
    ON_MESSAGE(DM_GETDEFID, PassOn)
    ON_MESSAGE(WM_CLOSE, PassOn)
    ON_MESSAGE(WM_CHARTOITEM, Answer)
    ON_MESSAGE(WM_COMPAREITEM, Answer)
    ON_MESSAGE(WM_CTLCOLORBTN, Answer)
    ON_MESSAGE(WM_CTLCOLORDLG, Answer)
    ON_MESSAGE(WM_CTLCOLOREDIT, Answer)
    ON_MESSAGE(WM_CTLCOLORLISTBOX, Answer)
    ON_MESSAGE(WM_CTLCOLORMSGBOX, Answer)
    ON_MESSAGE(WM_CTLCOLORSCROLLBAR, Answer)
    ON_MESSAGE(WM_CTLCOLORSTATIC, Answer)
    ON_MESSAGE(WM_QUERYDRAGICON, Answer)
    ON_MESSAGE(WM_VKEYTOITEM, Answer)
    ON_MESSAGE(kPlainMessage, Answer)
END_MESSAGE_MAP()

TEST(MessageMap, DefaultIsTheDialogManagersAndResultsReachTheSender) {
    AnsweringDlg dlg;
    LRESULT defaultId = 0, plain = 0;
    std::vector<LRESULT> direct;
    INT_PTR result = 0;
    uitest::RunWithSteps({[&] {
                             // DefWindowProc knows no default button; the dialog
                             // manager names the template's.
                             defaultId = ::SendMessageW(Top(), DM_GETDEFID, 0, 0);
                             for (UINT message : kDirectResultMessages) {
                                 direct.push_back(::SendMessageW(Top(), message, 0, 0));
                             }
                             plain = ::SendMessageW(Top(), kPlainMessage, 0, 0);
                             // The dialog manager turns WM_CLOSE into IDCANCEL, where
                             // DefWindowProc would destroy the window.
                             ::PostMessageW(Top(), WM_CLOSE, 0, 0);
                         }},
                         [&] { result = dlg.DoModal(); });
    EXPECT_EQ(defaultId, MAKELRESULT(IDOK, DC_HASDEFID));
    ASSERT_EQ(direct.size(), std::size(kDirectResultMessages));
    for (std::size_t i = 0; i < direct.size(); ++i) {
        EXPECT_EQ(direct[i], AnsweringDlg::kAnswer)
            << "message 0x" << std::hex << kDirectResultMessages[i];
    }
    EXPECT_EQ(plain, AnsweringDlg::kAnswer);
    EXPECT_EQ(result, IDCANCEL);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(DoModal, CentresOnTheScreenAndOverItsOwner) {
    RecordingDlg owner;
    RECT work = {}, ownerAtStart = {}, ownerMoved = {}, owned = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND ownerWindow = nullptr, ownedOwner = nullptr;
    BOOL ownerEnabled = TRUE;
    INT_PTR ownedResult = 0;
    uitest::RunWithSteps({[&] {
                              ownerWindow = Top();
                              ::GetWindowRect(ownerWindow, &ownerAtStart);
                              // Off centre, so that "over the owner" differs from "on the screen".
                              ::SetWindowPos(ownerWindow, nullptr, work.left, work.top, 0, 0,
                                             SWP_NOSIZE | SWP_NOZORDER);
                              ::GetWindowRect(ownerWindow, &ownerMoved);
                          },
                          [&] {
                              CDialog about(IDD_ABOUTBOX, &owner);
                              ownedResult = about.DoModal();  // the next step runs inside it
                          },
                          [&] {
                              HWND top = Top();
                              ::GetWindowRect(top, &owned);
                              ownedOwner = ::GetWindow(top, GW_OWNER);
                              ownerEnabled = ::IsWindowEnabled(ownerWindow);
                              ::EndDialog(top, 5);
                          },
                          [&] { ::EndDialog(ownerWindow, IDOK); }},
                         [&] { owner.DoModal(); });
    const POINT screen = Centre(work), first = Centre(ownerAtStart);
    EXPECT_LE(std::abs(first.x - screen.x), 1);
    EXPECT_LE(std::abs(first.y - screen.y), 1);
    const POINT over = Centre(ownerMoved), second = Centre(owned);
    EXPECT_LE(std::abs(second.x - over.x), 1);
    EXPECT_LE(std::abs(second.y - over.y), 1);
    EXPECT_EQ(ownedOwner, ownerWindow);
    EXPECT_FALSE(ownerEnabled);  // the owner takes no input meanwhile
    EXPECT_EQ(ownedResult, 5);
}

TEST(DataExchange, PutsGbkMembersIntoControlsAsChineseText) {
    RecordingDlg dlg;
    dlg.idiom = Gbk(u8"画蛇添足");
    dlg.pinyin = Gbk(u8" [huà shé tiān zú]");
    dlg.explain = Gbk(u8"比喻做多余的事。\r\n出处：《战国策》");
    std::wstring idiom, pinyin, explain;
    std::string readBack;
    uitest::RunWithSteps({[&] {
                             auto text = [](int id) {
                                 wchar_t buffer[256] = {};
                                 ::GetDlgItemTextW(Top(), id, buffer, 256);
                                 return std::wstring(buffer);
                             };
                             idiom = text(IDC_IDIOM);
                             pinyin = text(IDC_PINYIN);
                             explain = text(IDC_EXPLAIN);
                             ::SetDlgItemTextW(Top(), IDC_IDIOM, L"守株待兔");
                             dlg.UpdateData(TRUE);
                             readBack = dlg.idiom;
                             ::EndDialog(Top(), IDOK);
                         }},
                         [&] { dlg.DoModal(); });
    EXPECT_EQ(idiom, L"画蛇添足");
    EXPECT_EQ(pinyin, L" [huà shé tiān zú]");
    EXPECT_EQ(explain, L"比喻做多余的事。\r\n出处：《战国策》");
    EXPECT_EQ(readBack, Gbk(u8"守株待兔"));
}

TEST(Strings, LoadStringGivesTheResourceOrNothing) {
    CString about;
    EXPECT_TRUE(about.LoadString(IDS_ABOUTBOX));
    EXPECT_EQ(about, Gbk(u8"关于 Quendril成语学习软件(&A)..."));
    CString missing("left over");
    EXPECT_FALSE(missing.LoadString(4321));
    EXPECT_TRUE(missing.empty());
}

TEST(Strings, GbkRoundTripsThroughUtf16WhateverTheCodePage) {
    const std::string gbk = Gbk(u8"成语 [chéng yǔ]一二三");
    EXPECT_EQ(afx::GbkToWide(gbk), L"成语 [chéng yǔ]一二三");
    EXPECT_EQ(afx::WideToGbk(afx::GbkToWide(gbk)), gbk);
    // A damaged string ending in a lone lead byte converts without overrun:
    // the byte after the view would make the lead byte 成.
    const char damaged[] = "a\xB3\xC9";
    const std::wstring wide = afx::GbkToWide(std::string_view(damaged, 2));
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide[0], L'a');
    EXPECT_EQ(wide.find(L'成'), std::wstring::npos);
    EXPECT_EQ(afx::GbkToWide(Gbk(u8"成语.txt")), L"成语.txt");
}

TEST(Fonts, PointFontHasTheRequestedHeightForTheScreen) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    for (int tenths : {90, 140, 250}) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(tenths, Gbk(u8"宋体").c_str()));
        LOGFONTW info = {};
        ASSERT_TRUE(::GetObjectW(static_cast<HFONT>(font), sizeof(info), &info));
        EXPECT_EQ(info.lfHeight, -::MulDiv(dpi, tenths, 720)) << tenths;
        EXPECT_STREQ(info.lfFaceName, L"宋体");
        EXPECT_EQ(info.lfCharSet, DEFAULT_CHARSET);
    }
}

TEST(MessageBoxes, YesNoBoxReturnsTheAnswerAndShowsChineseText) {
    for (int answer : {IDYES, IDNO}) {
        CWnd noOwner;
        int result = 0;
        std::wstring text, caption;
        uitest::RunWithSteps({[&] {
                                 HWND box = Top();
                                 wchar_t buffer[64] = {};
                                 ::GetDlgItemTextW(box, 0xFFFF, buffer, 64);
                                 text = buffer;
                                 ::GetWindowTextW(box, buffer, 64);
                                 caption = buffer;
                                 ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
                             }},
                             [&] {
                                 result = noOwner.MessageBox(Gbk(u8"是否退出?").c_str(),
                                                             Gbk(u8"确定").c_str(), MB_YESNO);
                             });
        EXPECT_EQ(result, answer);
        EXPECT_EQ(text, L"是否退出?");
        EXPECT_EQ(caption, L"确定");
    }
}

TEST(Locale, RunsUnderTheExpectedAnsiCodePage) {
    const char* expected = std::getenv("QUENDRIL_EXPECT_ACP");
    if (expected == nullptr) {
        GTEST_SKIP() << "QUENDRIL_EXPECT_ACP not set";
    }
    EXPECT_EQ(::GetACP(), static_cast<UINT>(std::atoi(expected)));
}

}  // namespace

namespace {

// The planted library, built into a folder of its own: the test program's own
// folder is searched before the working folder whatever the restriction.
std::wstring PlantedLibrary() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"planted\\quendril_planted.dll";
}

// A working folder holding a copy of the planted library.
class PlantedWorkingDir : public WorkingDir {
public:
    PlantedWorkingDir() {
        const std::wstring copy = (Path() / L"quendril_planted.dll").wstring();
        copied = ::CopyFileW(PlantedLibrary().c_str(), copy.c_str(), FALSE) != FALSE;
    }
    bool copied = false;
};

// Whether LoadLibraryW finds the planted library by its bare name.
bool PlantedLibraryLoads() {
    HMODULE found = ::LoadLibraryW(L"quendril_planted.dll");
    if (found != nullptr) ::FreeLibrary(found);
    return found != nullptr;
}

}  // namespace

// The program's own start, through AfxWinMain. It restricts the DLL search for
// good, so ctest runs each of these in a process of its own.
namespace {

// Points this program's imports of one function at a replacement for the
// object's life, so that a test sees the calls the layer makes.
class ImportPatch {
public:
    ImportPatch(const wchar_t* module, const char* function, void* replacement) {
        original = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), function));
        auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* dll =
                 reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             dll->Name != 0; ++dll) {
            for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
                 slot->u1.Function != 0; ++slot) {
                if (reinterpret_cast<void*>(slot->u1.Function) == original) {
                    m_slots.push_back(slot);
                    Write(slot, replacement);
                }
            }
        }
    }
    ~ImportPatch() {
        for (IMAGE_THUNK_DATA* slot : m_slots) Write(slot, original);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Patched() const { return !m_slots.empty(); }
    void* original = nullptr;

private:
    static void Write(IMAGE_THUNK_DATA* slot, void* target) {
        DWORD protection = 0;
        ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
        slot->u1.Function = reinterpret_cast<ULONG_PTR>(target);
        ::VirtualProtect(slot, sizeof(*slot), protection, &protection);
    }
    std::vector<IMAGE_THUNK_DATA*> m_slots;
};

// An application whose InitInstance runs a test's body.
class ProbeApp : public CWinApp {
public:
    explicit ProbeApp(std::function<void()> body) : m_body(std::move(body)) {}
    BOOL InitInstance() override {
        m_body();
        return FALSE;
    }

private:
    std::function<void()> m_body;
};

void RunApplication(std::function<void()> body) {
    ProbeApp app(std::move(body));
    char noArguments[] = "";
    AfxWinMain(::GetModuleHandleW(nullptr), nullptr, noArguments, SW_SHOWNORMAL);
}

TEST(Startup, LibrariesPlantedInTheWorkingFolderAreNotLoaded) {
    PlantedWorkingDir dir;
    ASSERT_TRUE(dir.copied);
    ASSERT_TRUE(PlantedLibraryLoads()) << "the planted library should load before the start";
    bool loaded = true;
    RunApplication([&] { loaded = PlantedLibraryLoads(); });
    EXPECT_FALSE(loaded);
}

// Windows 7 (and Vista) without the loader update KB2533623 have no
// SetDefaultDllDirectories; there SetDllDirectoryW("") is what takes the
// working folder out of the search. Wine keeps searching it even then, so the
// test watches the call rather than a load.
ImportPatch* g_getProcAddress = nullptr;
ImportPatch* g_setDllDirectory = nullptr;
std::vector<std::wstring> g_dllDirectories;  // "(null)" for a null argument

FARPROC WINAPI GetProcAddressOfAnOldLoader(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 &&
        std::string(name) == "SetDefaultDllDirectories") {
        return nullptr;
    }
    using Fn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
    return reinterpret_cast<Fn>(g_getProcAddress->original)(module, name);
}

BOOL WINAPI RecordSetDllDirectory(LPCWSTR path) {
    g_dllDirectories.push_back(path ? path : L"(null)");
    using Fn = BOOL(WINAPI*)(LPCWSTR);
    return reinterpret_cast<Fn>(g_setDllDirectory->original)(path);
}

TEST(Startup, WithoutTheLoaderUpdateTheWorkingFolderIsTakenOutOfTheSearch) {
    ImportPatch dllDirectory(L"kernel32.dll", "SetDllDirectoryW",
                             reinterpret_cast<void*>(&RecordSetDllDirectory));
    g_setDllDirectory = &dllDirectory;
    ImportPatch oldLoader(L"kernel32.dll", "GetProcAddress",
                          reinterpret_cast<void*>(&GetProcAddressOfAnOldLoader));
    g_getProcAddress = &oldLoader;
    ASSERT_TRUE(oldLoader.Patched());
    ASSERT_TRUE(dllDirectory.Patched());
    std::vector<std::wstring> beforeInitInstance;
    RunApplication([&] { beforeInitInstance = g_dllDirectories; });
    EXPECT_EQ(beforeInitInstance, std::vector<std::wstring>{L""});
}

// What the layer handed the shell, and the caller's apartment at that moment.
struct ShellCall {
    int calls = 0;
    SHELLEXECUTEINFOW info = {};
    std::wstring verb, file;
    HRESULT apartmentFound = E_FAIL;
    APTTYPE apartment = APTTYPE_CURRENT;
};
ShellCall g_shellCall;

BOOL WINAPI RecordShellExecuteEx(SHELLEXECUTEINFOW* info) {
    ++g_shellCall.calls;
    g_shellCall.info = *info;
    g_shellCall.verb = info->lpVerb ? info->lpVerb : L"(none)";
    g_shellCall.file = info->lpFile ? info->lpFile : L"(none)";
    APTTYPEQUALIFIER qualifier;
    g_shellCall.apartmentFound = ::CoGetApartmentType(&g_shellCall.apartment, &qualifier);
    return FALSE;  // as if no browser were there
}

TEST(Startup, HomePageOpensSynchronouslyFromASingleThreadedApartment) {
    ImportPatch shell(L"shell32.dll", "ShellExecuteExW",
                      reinterpret_cast<void*>(&RecordShellExecuteEx));
    ASSERT_TRUE(shell.Patched());
    bool returned = false;
    RunApplication([&] {
        ShellOpen(Gbk(u8"https://quendril.example/成语").c_str());
        returned = true;
    });
    APTTYPE apartment;
    APTTYPEQUALIFIER qualifier;
    const HRESULT afterwards = ::CoGetApartmentType(&apartment, &qualifier);

    EXPECT_TRUE(returned);
    ASSERT_EQ(g_shellCall.calls, 1);
    const SHELLEXECUTEINFOW& info = g_shellCall.info;
    EXPECT_EQ(info.cbSize, sizeof(SHELLEXECUTEINFOW));
    EXPECT_TRUE(info.fMask & SEE_MASK_NOASYNC) << "the launch would die with the process";
    EXPECT_TRUE(info.fMask & SEE_MASK_FLAG_NO_UI) << "a failure would show an error box";
    EXPECT_EQ(info.fMask & ~static_cast<ULONG>(SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI), 0u);
    EXPECT_EQ(info.hwnd, nullptr);
    EXPECT_EQ(g_shellCall.verb, L"open");
    EXPECT_EQ(g_shellCall.file, L"https://quendril.example/成语");
    EXPECT_EQ(info.lpParameters, nullptr);
    EXPECT_EQ(info.lpDirectory, nullptr);
    EXPECT_EQ(info.nShow, SW_SHOWNORMAL);
    ASSERT_EQ(g_shellCall.apartmentFound, S_OK) << "COM was not initialised for the shell";
    EXPECT_TRUE(g_shellCall.apartment == APTTYPE_MAINSTA || g_shellCall.apartment == APTTYPE_STA)
        << g_shellCall.apartment;
    EXPECT_EQ(afterwards, CO_E_NOTINITIALIZED) << "the apartment outlived the application";
}

}  // namespace
