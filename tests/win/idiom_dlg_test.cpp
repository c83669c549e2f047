// The main dialog driven in-process: the fields it shows, its buttons, its
// keys, leaving it and its About box.
#include "idiom_dlg.h"

#include <gtest/gtest.h>

#include <fstream>

#include "gbk_literal.h"
#include "resource.h"
#include "scratch_dir.h"
#include "ui_script.h"

namespace {

using uitest::GetItemTextGbk;

// A dictionary of `count` entries "成语N [pN]释义N。出处：书N。示例：句N。"
std::string Dictionary(int count) {
    std::string file;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        file += Gbk(u8"成语") + n + " [p" + n + "]" + Gbk(u8"释义") + n + Gbk(u8"。出处：书") + n +
                Gbk(u8"。示例：句") + n + Gbk(u8"。") + "\r\n";
    }
    return file;
}

std::string IdiomAt(int i) { return Gbk(u8"成语") + std::to_string(i); }

class IdiomDlgTest : public ::testing::Test {
protected:
    void WriteDictionary(int count) { m_dir.Write(u8"成语.txt", Dictionary(count)); }

    // Runs the dialog modally while `steps` drive it; returns DoModal's code.
    INT_PTR Run(const std::vector<uitest::Step>& steps) {
        CIdiomDlg dlg;
        INT_PTR result = 0;
        const bool allRan = uitest::RunWithSteps(steps, [&] { result = dlg.DoModal(); });
        EXPECT_TRUE(allRan) << "the dialog closed before every step ran";
        return result;
    }

    static HWND Main() { return uitest::FindThreadWindow(); }

    WorkingDir m_dir;
};

TEST_F(IdiomDlgTest, ShowsTheStartEntryLaidOut) {
    WriteDictionary(5);
    std::string idiom, pinyin, explain;
    Run({[&] {
        idiom = GetItemTextGbk(Main(), IDC_IDIOM);
        pinyin = GetItemTextGbk(Main(), IDC_PINYIN);
        explain = GetItemTextGbk(Main(), IDC_EXPLAIN);
        ::EndDialog(Main(), IDOK);
    }});
    ASSERT_EQ(idiom.substr(0, 4), Gbk(u8"成语"));
    const std::string n = idiom.substr(4);
    EXPECT_EQ(pinyin, " [p" + n + "]");
    EXPECT_EQ(explain, Gbk(u8"释义") + n + Gbk(u8"。\r\n\r\n出处：书") + n +
                           Gbk(u8"。\r\n示例：句") + n + Gbk(u8"。"));
}

TEST_F(IdiomDlgTest, PreviousStopsAtIndexOneAndNextAtTheLast) {
    WriteDictionary(3);
    std::vector<std::string> seen;
    auto record = [&] { seen.push_back(GetItemTextGbk(Main(), IDC_IDIOM)); };
    std::vector<uitest::Step> steps;
    steps.push_back([] { uitest::Click(Main(), IDC_NEXT); });  // off index 0, if drawn
    for (int i = 0; i < 3; ++i) {
        steps.push_back([] { uitest::Click(Main(), IDC_PREV); });
        steps.push_back(record);
    }
    for (int i = 0; i < 3; ++i) {
        steps.push_back([] { uitest::Click(Main(), IDC_NEXT); });
        steps.push_back(record);
    }
    steps.push_back([] { ::EndDialog(Main(), IDOK); });
    Run(steps);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[2], IdiomAt(1));  // Previous never reaches index 0
    EXPECT_EQ(seen[3], IdiomAt(2));
    EXPECT_EQ(seen[5], IdiomAt(2));  // and Next stays on the last entry
}

TEST_F(IdiomDlgTest, OkAndEnterChangeNothingAndTypedTextStaysUntilAClick) {
    WriteDictionary(4);
    const std::string typed = Gbk(u8"我的笔记");
    std::string afterOk, afterEnterIdiom, afterEnterExplain, afterNext;
    bool stillOpen = false;
    Run({[&] {
             uitest::SetItemTextGbk(Main(), IDC_IDIOM, typed);
             uitest::SetItemTextGbk(Main(), IDC_EXPLAIN, typed);
             uitest::Click(Main(), IDOK);
         },
         [&] {
             afterOk = GetItemTextGbk(Main(), IDC_IDIOM);
             ::SetFocus(::GetDlgItem(Main(), IDC_EXPLAIN));
             ::SendDlgItemMessageW(Main(), IDC_EXPLAIN, EM_SETSEL, 0, -1);
             ::SendDlgItemMessageW(Main(), IDC_EXPLAIN, EM_SETSEL, -1, -1);
             uitest::PressKey(::GetDlgItem(Main(), IDC_EXPLAIN), VK_RETURN);
             ::SetFocus(::GetDlgItem(Main(), IDC_IDIOM));
             uitest::PressKey(::GetDlgItem(Main(), IDC_IDIOM), VK_RETURN);
         },
         [&] {
             stillOpen = Main() != nullptr;
             afterEnterIdiom = GetItemTextGbk(Main(), IDC_IDIOM);
             afterEnterExplain = GetItemTextGbk(Main(), IDC_EXPLAIN);
             uitest::Click(Main(), IDC_NEXT);
         },
         [&] {
             afterNext = GetItemTextGbk(Main(), IDC_IDIOM);
             ::EndDialog(Main(), IDOK);
         }});
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(afterOk, typed);
    EXPECT_EQ(afterEnterIdiom, typed);
    EXPECT_EQ(afterEnterExplain, typed);  // no line break went in
    EXPECT_EQ(afterNext.substr(0, 4), Gbk(u8"成语"));
}

TEST_F(IdiomDlgTest, EveryWayOutAsksAndNoKeepsTheDialog) {
    WriteDictionary(4);
    const std::string typed = Gbk(u8"未完");
    std::vector<std::string> questions, captions;
    auto answer = [&](int button) {
        return [&, button] {
            HWND box = uitest::FindThreadWindow();
            questions.push_back(GetItemTextGbk(box, 0xFFFF));
            captions.push_back(uitest::GetTextGbk(box));
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        };
    };
    std::string kept;
    const INT_PTR result = Run({
        [&] {
            uitest::SetItemTextGbk(Main(), IDC_IDIOM, typed);
            uitest::PressKey(::GetFocus(), VK_ESCAPE);
        },
        answer(IDNO),
        [&] { uitest::Click(Main(), IDCANCEL); },
        answer(IDNO),
        [&] { ::PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0); },  // the close box
        answer(IDNO),
        [&] {
            kept = GetItemTextGbk(Main(), IDC_IDIOM);
            uitest::Click(Main(), IDCANCEL);
        },
        answer(IDYES),
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(kept, typed);
    ASSERT_EQ(questions.size(), 4u);
    for (std::size_t i = 0; i < questions.size(); ++i) {
        EXPECT_EQ(questions[i], Gbk(u8"是否退出?")) << i;
        EXPECT_EQ(captions[i], Gbk(u8"确定")) << i;
    }
}

TEST_F(IdiomDlgTest, AboutComesFromTheSystemMenuAndLeavesTheEntryAlone) {
    WriteDictionary(4);
    const std::string typed = Gbk(u8"笔记");
    HMENU menu = nullptr;
    int items = 0;
    std::wstring lastText;
    UINT lastId = 0, separatorType = 0, aboutEntries = 0;
    std::string aboutCaption;
    bool mainEnabledDuringAbout = true;
    std::string keptAfterAbout;
    Run({[&] {
             uitest::SetItemTextGbk(Main(), IDC_IDIOM, typed);
             menu = ::GetSystemMenu(Main(), FALSE);
             items = ::GetMenuItemCount(menu);
             for (int i = 0; i < items; ++i) {
                 aboutEntries += ::GetMenuItemID(menu, i) == IDM_ABOUTBOX;
             }
             // About, then Find right below it, end the menu.
             lastId = ::GetMenuItemID(menu, items - 2);
             wchar_t text[128] = {};
             ::GetMenuStringW(menu, items - 2, text, 128, MF_BYPOSITION);
             lastText = text;
             MENUITEMINFOW info = {};
             info.cbSize = sizeof(info);
             info.fMask = MIIM_FTYPE;
             ::GetMenuItemInfoW(menu, items - 3, TRUE, &info);
             separatorType = info.fType;
             // The low four bits are the system's own: they must not matter.
             ::PostMessageW(Main(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
         },
         [&] {
             HWND about = uitest::FindThreadWindow();
             aboutCaption = uitest::GetTextGbk(about);
             mainEnabledDuringAbout = ::IsWindowEnabled(::GetWindow(about, GW_OWNER)) != FALSE;
             uitest::PressKey(::GetFocus(), VK_ESCAPE);
         },
         [&] {
             keptAfterAbout = GetItemTextGbk(Main(), IDC_IDIOM);
             ::EndDialog(Main(), IDOK);
         }});
    EXPECT_EQ(aboutEntries, 1u);
    EXPECT_EQ(lastId, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(lastText, L"关于 Quendril成语学习软件(&A)...");
    EXPECT_TRUE(separatorType & MFT_SEPARATOR);
    EXPECT_EQ(aboutCaption, Gbk(u8"关于 Quendril成语学习软件"));
    EXPECT_FALSE(mainEnabledDuringAbout);
    EXPECT_EQ(keptAfterAbout, typed);
}

TEST_F(IdiomDlgTest, MissingDictionaryShowsEmptyFieldsAndButtonsDoNothing) {
    std::string texts;
    Run({[&] { uitest::Click(Main(), IDC_NEXT); }, [&] { uitest::Click(Main(), IDC_PREV); },
         [&] {
             texts = GetItemTextGbk(Main(), IDC_IDIOM) + GetItemTextGbk(Main(), IDC_PINYIN) +
                     GetItemTextGbk(Main(), IDC_EXPLAIN);
             ::EndDialog(Main(), IDOK);
         }});
    EXPECT_EQ(texts, "");
}

TEST_F(IdiomDlgTest, DisplayFontIsTheOne25PointFontOnTheThreeFields) {
    WriteDictionary(1);
    HFONT idiom = nullptr, pinyin = nullptr, explain = nullptr, button = nullptr;
    auto fontOf = [](int id) {
        return reinterpret_cast<HFONT>(::SendDlgItemMessageW(Main(), id, WM_GETFONT, 0, 0));
    };
    for (int run = 0; run < 2; ++run) {  // a second dialog shares the same font
        HFONT previous = idiom;
        Run({[&] {
            idiom = fontOf(IDC_IDIOM);
            pinyin = fontOf(IDC_PINYIN);
            explain = fontOf(IDC_EXPLAIN);
            button = fontOf(IDOK);
            ::EndDialog(Main(), IDOK);
        }});
        if (run == 1) {
            EXPECT_EQ(idiom, previous);
        }
    }
    EXPECT_EQ(idiom, pinyin);
    EXPECT_EQ(idiom, explain);
    EXPECT_NE(idiom, button);
    LOGFONTW font = {};
    ASSERT_TRUE(::GetObjectW(idiom, sizeof(font), &font));
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(font.lfHeight, -::MulDiv(dpi, 250, 720));
    EXPECT_STREQ(font.lfFaceName, L"宋体");
}

}  // namespace
