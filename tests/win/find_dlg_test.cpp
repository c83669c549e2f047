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
    u8"一言为定 [yī yán wéi dìng]说话算数。",
    u8"山高水长 [shān gāo shuǐ cháng]情谊深长。",
    u8"愚公移山 [yú gōng yí shān]不怕困难。出处：寓言。示例：要有愚公移山的精神。",
    u8"移山倒海 [yí shān dǎo hǎi]力量很大。",
    u8"绿草如茵 [lǜ cǎo rú yīn]草地柔软。",
    u8"死灰复燃 [sǐ huī fù rán]灰烬又烧起来。",
};

std::string IdiomOf(int i) {
    const std::string entry = Gbk(kEntries[i]);
    return entry.substr(0, entry.find(' '));
}

class FindDlgTest : public ::testing::Test {
protected:
    void WriteDictionary(std::string extra = {}) {
        std::string file;
        for (const char8_t* entry : kEntries) file += Gbk(entry) + "\r\n";
        m_dir.Write(u8"成语.txt", file + extra);
    }

    // Runs the main dialog while `steps` drive it; the first step finds it.
    void Run(std::vector<uitest::Step> steps) {
        steps.insert(steps.begin(), [this] { m_main = uitest::FindThreadWindow(); });
        CIdiomDlg dlg;
        EXPECT_TRUE(uitest::RunWithSteps(steps, [&] { dlg.DoModal(); }))
            << "the dialog closed before every step ran";
    }

    // The Find dialog, over the main one.
    HWND Find() const {
        HWND newest = uitest::FindThreadWindow();
        return newest != m_main ? newest : nullptr;
    }
    HWND FindText() const { return ::GetDlgItem(Find(), IDC_FIND_TEXT); }
    HWND FindList() const { return ::GetDlgItem(Find(), IDC_FIND_LIST); }

    void OpenFromMenu() const { ::PostMessageW(m_main, WM_SYSCOMMAND, IDM_FINDIDIOM, 0); }

    // Ctrl+F as the keyboard sends it to the focused control.
    void PressCtrlF() const {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        // Posted, so that it passes through the dialog's modal loop.
        HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, 'F', 1);
        ::PostMessageW(focus, WM_KEYUP, 'F', 1 | (1u << 30) | (1u << 31));
    }
    static void ReleaseCtrl() {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
    }

    // Types `text` into the find box, one character message a key.
    void Type(std::wstring_view text) const {
        for (wchar_t c : text) ::PostMessageW(FindText(), WM_CHAR, c, 1);
    }

    std::string Listed(int i) const {
        const LRESULT length = ::SendMessageW(FindList(), LB_GETTEXTLEN, i, 0);
        if (length < 0) return "(none)";
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(FindList(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return afx::WideToGbk(text);
    }
    int Count() const { return static_cast<int>(::SendMessageW(FindList(), LB_GETCOUNT, 0, 0)); }
    int Selected() const {
        return static_cast<int>(::SendMessageW(FindList(), LB_GETCURSEL, 0, 0));
    }

    void DoubleClick(int item) const {
        RECT rect = {};
        ::SendMessageW(FindList(), LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        ::PostMessageW(FindList(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(FindList(), WM_LBUTTONUP, 0, at);
        ::PostMessageW(FindList(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageW(FindList(), WM_LBUTTONUP, 0, at);
    }

    std::string MainIdiom() const { return GetItemTextGbk(m_main, IDC_IDIOM); }
    void Close() const { ::EndDialog(m_main, IDOK); }

    WorkingDir m_dir;
    HWND m_main = nullptr;
};

TEST_F(FindDlgTest, SystemMenuEntrySitsBelowAboutAndFindsByCharacters) {
    WriteDictionary();
    int aboutAt = -1, findAt = -1, items = 0;
    std::wstring menuText;
    std::string count, first, second, caption, pinyin, explain;
    int listed = 0, selected = -1;
    std::vector<std::string> browsed;
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
         [&] {
             caption = uitest::GetTextGbk(Find());
             Type(L"山");
         },
         [&] {
             count = GetItemTextGbk(Find(), IDC_FIND_COUNT);
             listed = Count();
             selected = Selected();
             first = Listed(0);
             second = Listed(1);
             uitest::PressKey(FindText(), VK_RETURN);
         },
         [&] {
             browsed.push_back(MainIdiom());
             pinyin = GetItemTextGbk(m_main, IDC_PINYIN);
             explain = GetItemTextGbk(m_main, IDC_EXPLAIN);
             uitest::Click(m_main, IDC_NEXT);
         },
         [&] {
             browsed.push_back(MainIdiom());
             uitest::Click(m_main, IDC_PREV);
         },
         [&] {
             browsed.push_back(MainIdiom());
             uitest::Click(m_main, IDC_PREV);
         },
         [&] {
             browsed.push_back(MainIdiom());
             Close();
         }});
    EXPECT_EQ(findAt, items - 1);
    EXPECT_EQ(aboutAt, items - 2);
    EXPECT_EQ(menuText, L"查找成语…\tCtrl+F");
    EXPECT_EQ(caption, Gbk(u8"查找成语"));
    EXPECT_EQ(count, Gbk(u8"找到 3 个成语"));
    EXPECT_EQ(listed, 3);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(first, IdiomOf(1) + "\t" + Gbk(u8"[shān gāo shuǐ cháng]"));  // starts with 山
    EXPECT_EQ(second, IdiomOf(2) + "\t" + Gbk(u8"[yú gōng yí shān]"));
    // The main dialog shows the entry laid out, and browses on from it.
    EXPECT_EQ(browsed, (std::vector<std::string>{IdiomOf(1), IdiomOf(2), IdiomOf(1), IdiomOf(1)}));
    EXPECT_EQ(pinyin, Gbk(u8" [shān gāo shuǐ cháng]"));
    EXPECT_EQ(explain, Gbk(u8"情谊深长。"));
}

TEST_F(FindDlgTest, CtrlFThenPinyinAndArrowKeysWhileTypingGoOn) {
    WriteDictionary();
    std::string first, afterDown, afterUp;
    bool focusStayed = false;
    int selectedAfterDown = -1, initialsCount = 0, unsyllabled = -1;
    std::string initialsFirst, shown, next;
    Run({[&] {
             ::SetFocus(::GetDlgItem(m_main, IDC_EXPLAIN));
             PressCtrlF();
         },
         [&] {
             ReleaseCtrl();
             Type(L"yi shan");
         },
         [&] {
             first = Listed(Selected());
             uitest::PressKey(FindText(), VK_DOWN);
         },
         [&] {
             selectedAfterDown = Selected();
             afterDown = Listed(Selected());
             focusStayed = ::GetFocus() == FindText();
             uitest::PressKey(FindText(), VK_UP);
         },
         [&] {
             afterUp = Listed(Selected());
             ::SetWindowTextW(FindText(), L"");
             Type(L"SGSC");  // initials, in capitals
         },
         [&] {
             initialsCount = Count();
             initialsFirst = Listed(0);
             ::SetWindowTextW(FindText(), L"");
             Type(L"yigong");  // no syllable starts "yig": nothing by pinyin
         },
         [&] {
             unsyllabled = Count();
             ::SetWindowTextW(FindText(), L"lu cao");  // ü typed as u
         },
         [&] { uitest::PressKey(FindText(), VK_RETURN); },
         [&] {
             shown = MainIdiom();
             uitest::Click(m_main, IDC_NEXT);
         },
         [&] {
             next = MainIdiom();
             Close();
         }});
    EXPECT_EQ(first.substr(0, IdiomOf(2).size()), IdiomOf(2));  // yú gōng yí shān
    EXPECT_EQ(selectedAfterDown, 1);
    EXPECT_EQ(afterDown.substr(0, IdiomOf(3).size()), IdiomOf(3));  // yí shān dǎo hǎi
    EXPECT_TRUE(focusStayed);
    EXPECT_EQ(afterUp, first);
    EXPECT_EQ(initialsCount, 1);
    EXPECT_EQ(initialsFirst.substr(0, IdiomOf(1).size()), IdiomOf(1));
    EXPECT_EQ(unsyllabled, 0);
    EXPECT_EQ(shown, IdiomOf(4));
    EXPECT_EQ(next, IdiomOf(5));
}

TEST_F(FindDlgTest, DoubleClickPicksThatMatchAndEscChangesNothing) {
    WriteDictionary();
    const std::string note = Gbk(u8"我的笔记");
    std::string kept, picked;
    bool findClosedByEsc = false;
    Run({[&] {
             uitest::SetItemTextGbk(m_main, IDC_IDIOM, note);
             OpenFromMenu();
         },
         [&] { Type(L"shān"); }, [&] { uitest::PressKey(FindText(), VK_ESCAPE); },
         [&] {
             findClosedByEsc = Find() == nullptr;
             kept = MainIdiom();
             OpenFromMenu();
         },
         [&] { Type(L"shan"); }, [&] { DoubleClick(2); },
         [&] {
             picked = MainIdiom();
             Close();
         }});
    EXPECT_TRUE(findClosedByEsc);
    EXPECT_EQ(kept, note);
    EXPECT_EQ(picked, IdiomOf(3));  // the third of 山高水长, 愚公移山, 移山倒海
}

TEST_F(FindDlgTest, ManyMatchesAreCountedBeyondTheListAndLongPinyinScrolls) {
    std::string extra;
    for (int i = 0; i < 320; ++i) extra += Gbk(u8"成语") + std::to_string(i) + " [p]\r\n";
    std::string longPinyin = "[";
    for (int i = 0; i < 40; ++i) longPinyin += Gbk(u8"chuáng ");
    longPinyin += "]";
    extra += Gbk(u8"长音") + " " + longPinyin + Gbk(u8"很长。") + "\r\n";
    WriteDictionary(extra);
    std::string count, longItem;
    int listed = 0, extent = 0, needed = 0;
    RECT client = {};
    Run({[&] { OpenFromMenu(); }, [&] { Type(L"成语"); },
         [&] {
             count = GetItemTextGbk(Find(), IDC_FIND_COUNT);
             listed = Count();
             ::SetWindowTextW(FindText(), L"长音");
         },
         [&] {
             longItem = Listed(0);
             extent = static_cast<int>(::SendMessageW(FindList(), LB_GETHORIZONTALEXTENT, 0, 0));
             ::GetClientRect(FindList(), &client);
             HDC dc = ::GetDC(FindList());
             HGDIOBJ old = ::SelectObject(
                 dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(FindList(), WM_GETFONT, 0, 0)));
             SIZE size = {};
             const std::wstring pinyin = afx::GbkToWide(longPinyin);
             ::GetTextExtentPoint32W(dc, pinyin.c_str(), static_cast<int>(pinyin.size()), &size);
             ::SelectObject(dc, old);
             ::ReleaseDC(FindList(), dc);
             needed = size.cx;
             uitest::PressKey(FindText(), VK_ESCAPE);
         },
         [&] { Close(); }});
    EXPECT_EQ(count, Gbk(u8"找到 320 个成语，列出前 300 个"));
    EXPECT_EQ(listed, 300);
    EXPECT_EQ(longItem, Gbk(u8"长音") + "\t" + longPinyin);  // listed whole
    EXPECT_GT(extent, client.right);  // so the list scrolls sideways to its end
    EXPECT_GE(extent, needed);
}

TEST_F(FindDlgTest, WithoutADictionaryFindOpensAndFindsNothing) {
    std::string count, fields;
    int listed = -1;
    bool stillOpen = false;
    Run({[&] { OpenFromMenu(); }, [&] { Type(L"yu"); },
         [&] {
             count = GetItemTextGbk(Find(), IDC_FIND_COUNT);
             listed = Count();
             uitest::PressKey(FindText(), VK_RETURN);  // nothing to pick
         },
         [&] {
             stillOpen = Find() != nullptr;
             uitest::PressKey(FindText(), VK_ESCAPE);
         },
         [&] {
             fields = MainIdiom() + GetItemTextGbk(m_main, IDC_PINYIN) +
                      GetItemTextGbk(m_main, IDC_EXPLAIN);
             uitest::Click(m_main, IDC_NEXT);
         },
         [&] { Close(); }});
    EXPECT_EQ(count, Gbk(u8"找到 0 个成语"));
    EXPECT_EQ(listed, 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(fields, "");
}

}  // namespace
