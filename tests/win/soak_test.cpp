// A long browsing session on a large dictionary: the dialog must keep showing
// the right entry, and hold its handles and memory steady, also where long
// pronunciations make it change the fields' fonts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "display_font.h"
#include "idiom_dlg.h"
// After windows.h, which it needs.
#include <psapi.h>
#include "gbk_literal.h"
#include "resource.h"
#include "scratch_dir.h"
#include "ui_script.h"

namespace {

constexpr int kEntries = 30000;
// QUENDRIL_SOAK_CLICKS overrides the number of clicks, for a longer run by hand.
int Clicks() {
    const char* text = std::getenv("QUENDRIL_SOAK_CLICKS");
    return text != nullptr ? std::atoi(text) : 100000;
}

std::string IdiomAt(int i) { return Gbk(u8"条") + std::to_string(i); }

// Every seventh pronunciation is too long for 25 points, by a length that
// runs through every smaller size and past the smallest.
std::string PinyinAt(int i) {
    const std::string pinyin = " [t" + std::to_string(i);
    if (i % 7 != 0) return pinyin + "]";
    return pinyin + std::string(20 + i / 7 % 60, 'a') + "]";
}

struct Usage {
    DWORD gdi, user;  // as the system counts them (Windows; Wine reports 0)
    SIZE_T privateBytes;
    SIZE_T heapBytes;  // bytes in use in all of the process's heaps
    int windows;       // top-level and child windows of this thread
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    ::EnumChildWindows(window, &CountWindow, count);
    return TRUE;
}

SIZE_T HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = ::GetProcessHeaps(64, heaps);
    SIZE_T busy = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        ::HeapLock(heaps[i]);
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return busy;
}

Usage Measure() {
    Usage usage{};
    HANDLE self = ::GetCurrentProcess();
    usage.gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    usage.user = ::GetGuiResources(self, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters));
    // Wine leaves PrivateUsage at 0; the committed page-file bytes are the
    // same figure on Windows and filled in by Wine.
    usage.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    usage.heapBytes = HeapBytesInUse();
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindow,
                        reinterpret_cast<LPARAM>(&usage.windows));
    return usage;
}

void Print(const char* when, const Usage& u) {
    std::printf("%s: GDI %lu, USER %lu, private bytes %lu, heap bytes in use %lu, windows %d\n",
                when, u.gdi, u.user, static_cast<unsigned long>(u.privateBytes),
                static_cast<unsigned long>(u.heapBytes), u.windows);
}

TEST(Soak, HundredThousandClicksKeepFieldsRightAndResourcesSteady) {
    WorkingDir dir;
    std::string file;
    for (int i = 0; i < kEntries; ++i) {
        file += IdiomAt(i) + PinyinAt(i) + Gbk(u8"释义出处：某书示例：无") + "\r\n";
    }
    dir.Write(u8"成语.txt", file);

    Usage before{}, after{};
    int clicksDone = 0;
    int mismatches = 0, stopsChecked = 0;
    std::set<HFONT> fieldFonts;  // every font the one-line fields were given
    CIdiomDlg dlg;
    uitest::RunWithSteps(
        {[&] {
            HWND main = uitest::FindThreadWindow();
            // Hidden, the controls skip their repainting: Wine draws a static
            // control's text at once on every change, which would make the
            // session take many minutes. The visible dialog is the subject of
            // the other tests.
            ::ShowWindow(main, SW_HIDE);
            int position = std::stoi(uitest::GetItemTextGbk(main, IDC_IDIOM).substr(2));
            auto click = [&](bool forward) {
                const int id = forward ? IDC_NEXT : IDC_PREV;
                ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(main, id)));
                if (forward && position < kEntries - 1) ++position;
                if (!forward && position > 1) --position;
            };
            // Runs as long as the list, alternately towards each stop: every
            // full run reaches its stop, wherever it began, and clicks on it.
            const int kClicks = Clicks();
            int clicks = 0;
            const DWORD started = ::GetTickCount();
            bool forward = true;
            while (clicks < kClicks) {
                const int length = kEntries;
                for (int i = 0; i < length && clicks < kClicks; ++i, ++clicks) {
                    click(forward);
                    if (uitest::GetItemTextGbk(main, IDC_IDIOM) != IdiomAt(position)) ++mismatches;
                    for (int id : {IDC_PINYIN, IDC_IDIOM}) {
                        fieldFonts.insert(reinterpret_cast<HFONT>(
                            ::SendDlgItemMessageW(main, id, WM_GETFONT, 0, 0)));
                    }
                    if (clicks == 2000) before = Measure();  // after warming up
                }
                if (uitest::GetItemTextGbk(main, IDC_PINYIN) != PinyinAt(position) ||
                    uitest::GetItemTextGbk(main, IDC_EXPLAIN) != Gbk(u8"释义\r\n\r\n出处：某书")) {
                    ++mismatches;
                }
                stopsChecked += position == 1 || position == kEntries - 1;
                forward = !forward;
            }
            after = Measure();
            std::printf("%d clicks in %lu ms\n", clicks, ::GetTickCount() - started);
            clicksDone = clicks;
            ::EndDialog(main, IDOK);
        }},
        [&] { dlg.DoModal(); });

    Print("after 2,000 clicks", before);
    Print("after the last click", after);
    EXPECT_EQ(mismatches, 0);
    // The fonts are the kept ones, one a size, and all still alive: none was
    // made per entry, none destroyed while in use.
    EXPECT_GT(fieldFonts.size(), 1u) << "no entry was given a smaller font";
    EXPECT_LE(fieldFonts.size(),
              static_cast<std::size_t>(kDisplayFontPoints - kSmallestFontPoints + 1));
    for (HFONT font : fieldFonts) EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    if (clicksDone >= 2 * kEntries) {
        EXPECT_GE(stopsChecked, 2);
    }
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_LE(after.user, before.user);
    EXPECT_EQ(after.windows, before.windows);
    // Nothing may pile up per click: a leak of even a few bytes a click
    // would show as hundreds of kilobytes here.
    EXPECT_LE(after.heapBytes, before.heapBytes + 64 * 1024);
    EXPECT_LE(after.privateBytes, before.privateBytes + 1024 * 1024);
}

}  // namespace
