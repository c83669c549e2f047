// Find, driven as a learner would: opened from the system menu and with
// Ctrl+F, a text typed key by key, a match picked with Enter or a double
// click, or Esc; the main dialog then shows the entry and browses on from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gbk_literal.h"
#include "idiom_dlg.h"
#include "resource.h"
#include "scratch_dir.h"
#include "ui_script.h"

namespace {

using uitest::GetItemTextGbk;

// Our own entries, in this order.
const char8_t* const kEntries[] = {
    u8"一言为定 [yī yán wéi dìng]说话算数。", u8"山高水长 [shān gāo shuǐ cháng]情谊深长。",
    u8"愚公移山 [yú gōng yí shān]不怕困难。", u8"移山倒海 [yí shān dǎo hǎi]力量很大。",
    u8"绿草如茵 [lǜ cǎo rú yīn]草地柔软。",   u8"死灰复燃 [sǐ huī fù rán]灰烬又烧起来。",
};

std::string IdiomOf(int i) {
    const std::string entry = Gbk(kEntries[i]);
    return entry.substr(0, entry.find(' '));
}

class FindDlgTest : public ::testing::Test {
protected:
    void WriteDictionary(std::string extra = {}) {
        for (const char8_t* entry : kEntries) extra = extra + Gbk(entry) + "\r\n";
        m_dir.Write(u8"成语.txt", extra);
    }

    // Runs the main dialog while `steps` drive it; the first step finds it.
    void Run(std::vector<uitest::Step> steps) {
        steps.insert(steps.begin(), [this] { m_main = uitest::FindThreadWindow(); });
        CIdiomDlg dlg;
        EXPECT_TRUE(uitest::RunWithSteps(steps, [&] { dlg.DoModal(); }));
    }

    HWND Find() const {  // over the main dialog
        HWND newest = uitest::FindThreadWindow();
        return newest != m_main ? newest : nullptr;
    }
    HWND Text() const { return ::GetDlgItem(Find(), IDC_FIND_TEXT); }
    HWND List() const { return ::GetDlgItem(Find(), IDC_FIND_LIST); }
    void OpenFromMenu() const { ::PostMessageW(m_main, WM_SYSCOMMAND, IDM_FINDIDIOM, 0); }

    // Ctrl+F to the focused control, posted so that it passes the modal loop.
    static void PressCtrlF(bool down) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
        if (down) uitest::PressKey(::GetFocus(), 'F');
    }

    // Replaces the text, then types `text` one character message a key.
    void Type(std::wstring_view text) const {
        ::SetWindowTextW(Text(), L"");
        for (wchar_t c : text) ::PostMessageW(Text(), WM_CHAR, c, 1);
    }

    // The idiom of list item `i` (the text before its tab), or "".
    std::string Listed(int i) const {
        wchar_t text[256] = {};
        if (::SendMessageW(List(), LB_GETTEXTLEN, i, 0) >= 256) return "(long)";
        ::SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        return afx::WideToGbk(text);
    }
    std::string ListedIdiom(int i) const { return Listed(i).substr(0, Listed(i).find('\t')); }
    int Count() const { return static_cast<int>(::SendMessageW(List(), LB_GETCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(::SendMessageW(List(), LB_GETCURSEL, 0, 0)); }

    void DoubleClick(int item) const {
        RECT r = {};
        ::SendMessageW(List(), LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            ::PostMessageW(List(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        }
    }

    std::string MainIdiom() const { return GetItemTextGbk(m_main, IDC_IDIOM); }
    std::string Counted() const { return GetItemTextGbk(Find(), IDC_FIND_COUNT); }

    WorkingDir m_dir;
    HWND m_main = nullptr;
};

TEST_F(FindDlgTest, FromTheSystemMenuByCharactersThenBrowsingGoesOn) {
    WriteDictionary();
    int aboutAt = -1, findAt = -1, items = 0, listed = 0, selected = -1;
    std::wstring menuText;
    std::string count, first, pinyin;
    std::vector<std::string> browsed;
    auto browse = [&](int button) {
        return [&, button] {
            browsed.push_back(MainIdiom());
            if (button != 0) uitest::Click(m_main, button);
        };
    };
    Run({[&] {
             HMENU menu = ::GetSystemMenu(m_main, FALSE);
             items = ::GetMenuItemCount(menu);
             for (int i = 0; i < items; ++i) {
                 if (::GetMenuItemID(menu, i) == IDM_ABOUTBOX) aboutAt = i;
                 if (::GetMenuItemID(menu, i) == IDM_FINDIDIOM) findAt = i;
             }
             wchar_t text[64] = {};
             ::GetMenuStringW(menu, IDM_FINDIDIOM, text, 64, MF_BYCOMMAND);
             menuText = text;
             // The low four bits are the system's own: they must not matter.
             ::PostMessageW(m_main, WM_SYSCOMMAND, IDM_FINDIDIOM | 0x2, 0);
         },
         [&] { Type(L"山"); },
         [&] {
             count = Counted();
             listed = Count();
             selected = Selected();
             first = Listed(0);
             uitest::PressKey(Text(), VK_RETURN);
         },
         [&] {
             pinyin = GetItemTextGbk(m_main, IDC_PINYIN);
             browse(IDC_NEXT)();
         },
         browse(IDC_PREV), browse(IDC_PREV), browse(IDOK), [&] { ::EndDialog(m_main, IDOK); }});
    EXPECT_EQ(findAt, items - 1);
    EXPECT_EQ(aboutAt, items - 2);
    EXPECT_EQ(menuText, L"查找成语…\tCtrl+F");
    EXPECT_EQ(count, Gbk(u8"找到 3 个成语"));
    EXPECT_EQ(listed, 3);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(first, IdiomOf(1) + "\t" + Gbk(u8"[shān gāo shuǐ cháng]"));  // starts with 山
    EXPECT_EQ(pinyin, Gbk(u8" [shān gāo shuǐ cháng]"));
    // Previous stops at index 1, as from any other position.
    EXPECT_EQ(browsed, (std::vector<std::string>{IdiomOf(1), IdiomOf(2), IdiomOf(1), IdiomOf(1)}));
}

TEST_F(FindDlgTest, CtrlFThenPinyinInitialsAndArrowsWhileTyping) {
    WriteDictionary();
    std::vector<std::string> seen;
    bool focusStayed = false;
    int initials = 0, unsyllabled = -1;
    std::string shown, next;
    Run({[&] {
             ::SetFocus(::GetDlgItem(m_main, IDC_EXPLAIN));
             PressCtrlF(true);
         },
         [&] {
             PressCtrlF(false);
             Type(L"yi shan");
         },
         [&] {
             seen.push_back(ListedIdiom(Selected()));
             uitest::PressKey(Text(), VK_DOWN);
         },
         [&] {
             seen.push_back(ListedIdiom(Selected()));
             focusStayed = ::GetFocus() == Text();
             uitest::PressKey(Text(), VK_UP);
         },
         [&] {
             seen.push_back(ListedIdiom(Selected()));
             Type(L"SGSC");  // initials, in capitals
         },
         [&] {
             initials = Count();
             seen.push_back(ListedIdiom(0));
             Type(L"yigong");  // runs across syllables: no match
         },
         [&] {
             unsyllabled = Count();
             Type(L"lu cao");  // ü typed as u
         },
         [&] { uitest::PressKey(Text(), VK_RETURN); },
         [&] {
             shown = MainIdiom();
             uitest::Click(m_main, IDC_NEXT);
         },
         [&] {
             next = MainIdiom();
             ::EndDialog(m_main, IDOK);
         }});
    EXPECT_EQ(seen, (std::vector<std::string>{IdiomOf(2), IdiomOf(3), IdiomOf(2), IdiomOf(1)}));
    EXPECT_TRUE(focusStayed);
    EXPECT_EQ(initials, 1);
    EXPECT_EQ(unsyllabled, 0);
    EXPECT_EQ(shown, IdiomOf(4));
    EXPECT_EQ(next, IdiomOf(5));
}

TEST_F(FindDlgTest, EscChangesNothingADoubleClickPicksAndTheCountGoesBeyondTheList) {
    std::string many;
    for (int i = 0; i < 320; ++i) many += Gbk(u8"成语") + std::to_string(i) + " [p]\r\n";
    WriteDictionary(many);
    const std::string note = Gbk(u8"我的笔记");
    std::string kept, picked, count;
    bool closedByEsc = false;
    int listed = 0;
    Run({[&] {
             uitest::SetItemTextGbk(m_main, IDC_IDIOM, note);
             OpenFromMenu();
         },
         [&] { Type(L"shān"); }, [&] { uitest::PressKey(Text(), VK_ESCAPE); },
         [&] {
             closedByEsc = Find() == nullptr;
             kept = MainIdiom();
             OpenFromMenu();
         },
         [&] { Type(L"成语"); },
         [&] {
             count = Counted();
             listed = Count();
             Type(L"shan");
         },
         [&] { DoubleClick(2); },
         [&] {
             picked = MainIdiom();
             ::EndDialog(m_main, IDOK);
         }});
    EXPECT_TRUE(closedByEsc);
    EXPECT_EQ(kept, note);
    EXPECT_EQ(count, Gbk(u8"找到 320 个成语，列出前 300 个"));
    EXPECT_EQ(listed, 300);
    EXPECT_EQ(picked, IdiomOf(3));  // the third of 山高水长, 愚公移山, 移山倒海
}

TEST_F(FindDlgTest, WithoutADictionaryFindOpensAndFindsNothing) {
    std::string count, fields;
    bool stillOpen = false;
    Run({[&] { OpenFromMenu(); }, [&] { Type(L"yu"); },
         [&] {
             count = Counted();
             uitest::PressKey(Text(), VK_RETURN);  // nothing to pick
         },
         [&] {
             stillOpen = Find() != nullptr;
             uitest::PressKey(Text(), VK_ESCAPE);
         },
         [&] {
             fields = MainIdiom() + GetItemTextGbk(m_main, IDC_PINYIN);
             ::EndDialog(m_main, IDOK);
         }});
    EXPECT_EQ(count, Gbk(u8"找到 0 个成语"));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(fields, "");
}

}  // namespace
