// The class layer on its own: message maps, modal dialogs, data exchange,
// strings, fonts and message boxes, under whatever ANSI code page Wine runs.
#include <gtest/gtest.h>

#include <cstdlib>

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
    // A damaged string ending in a lone lead byte converts without overrun.
    EXPECT_FALSE(afx::GbkToWide(std::string("a\xB3")).empty());
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

// Last in this program: it changes how the rest of the process finds DLLs.
TEST(LibrarySearch, ALibraryPlantedInTheWorkingFolderIsNotLoaded) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring planted = self;
    planted = planted.substr(0, planted.find_last_of(L"\\/") + 1) + L"quendril_planted.dll";

    WorkingDir dir;
    const std::wstring copy = (dir.Path() / L"quendril_planted.dll").wstring();
    ASSERT_TRUE(::CopyFileW(planted.c_str(), copy.c_str(), FALSE));

    // Without the restriction the current directory is searched...
    HMODULE found = ::LoadLibraryW(L"quendril_planted.dll");
    ASSERT_NE(found, nullptr) << "the planted library should load before the restriction";
    ::FreeLibrary(found);

    // ...and with it, it is not.
    AfxRestrictLibrarySearch();
    HMODULE after = ::LoadLibraryW(L"quendril_planted.dll");
    EXPECT_EQ(after, nullptr);
    if (after != nullptr) ::FreeLibrary(after);
}

}  // namespace
