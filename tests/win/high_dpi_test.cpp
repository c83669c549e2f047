// The main dialog at 150 % (144 dpi) against 100 % (96 dpi): the dialog and
// its controls grow together, the display font keeps its 25 points, and every
// control's text still fits; every entry's pronunciation and idiom are shown
// whole, and the About box's and Find's texts too, with Find's list
// scrolling sideways to the end of a long pronunciation. Runs in a Wine prefix of its own,
// whose DPI it sets for each run of the probe beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "afx_win.h"
#include "resource.h"
#include "scratch_dir.h"
#include "ui_script.h"

namespace {

using Measures = std::map<std::string, std::vector<int>>;

// The screen's DPI for programs started from now on.
void SetScreenDpi(DWORD dpi) {
    HKEY desktop = nullptr;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &desktop),
        ERROR_SUCCESS);
    ::RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof(dpi));
    ::RegCloseKey(desktop);
}

// Runs the probe at this DPI and reads what it measured.
Measures MeasureAt(DWORD dpi) {
    SetScreenDpi(dpi);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring probe = self;
    probe = probe.substr(0, probe.find_last_of(L"\\/") + 1) + L"dpi_probe.exe";
    ScratchDir dir;
    const std::wstring report = (dir.Path() / L"measures.txt").wstring();
    std::wstring commandLine = L"\"" + probe + L"\" \"" + report + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        ADD_FAILURE() << "the probe did not start";
        return {};
    }
    ::WaitForSingleObject(process.hProcess, 60000);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);

    Measures measures;
    std::ifstream in(report.c_str());
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        for (int value; fields >> value;) measures[key].push_back(value);
    }
    return measures;
}

constexpr int kControls[] = {IDOK,        IDCANCEL, IDC_PINYIN, IDC_IDIOM,
                             IDC_EXPLAIN, IDC_PREV, IDC_NEXT};

// Every control's text whose key starts with `prefix` fits its room.
void ExpectTextsFit(const Measures& at, const std::string& prefix, int dpi) {
    int texts = 0;
    for (const auto& [key, text] : at) {
        if (!key.starts_with(prefix)) continue;
        ++texts;
        ASSERT_EQ(text.size(), 4u) << key;
        EXPECT_LE(text[0], text[2]) << key << " cut at " << dpi << " dpi";
        EXPECT_LE(text[1], text[3]) << key << " cut at " << dpi << " dpi";
    }
    EXPECT_GE(texts, 5) << prefix << " at " << dpi << " dpi";
}

// The pronunciation and the idiom of every entry are drawn whole: in 25
// points where the text fits there, else in the largest size that holds it,
// never below 9.
void ExpectEntriesFit(Measures& at, int dpi) {
    int smaller = 0;
    for (int id : {IDC_PINYIN, IDC_IDIOM}) {
        const std::vector<int>& fits = at["fit" + std::to_string(id)];
        ASSERT_GT(fits.size(), 390u * 6) << "the starter dictionary was not shown";
        for (std::size_t i = 0; i + 5 < fits.size(); i += 6) {
            const int entry = fits[i], points = fits[i + 1], need = fits[i + 2], room = fits[i + 3],
                      needAt25 = fits[i + 4], needOneUp = fits[i + 5];
            SCOPED_TRACE(std::to_string(dpi) + " dpi, control " + std::to_string(id) + ", entry " +
                         std::to_string(entry) + ", " + std::to_string(points) + " points");
            EXPECT_LE(need, room) << "cut";
            if (needAt25 <= room) {
                EXPECT_EQ(points, 25);
                continue;
            }
            ++smaller;
            std::printf("%d dpi, control %d, entry %d: %d px in 25 points, %d px in %d, room %d\n",
                        dpi, id, entry, needAt25, need, points, room);
            EXPECT_GE(points, 9);
            EXPECT_GT(needOneUp, room) << "a larger size fits";
        }
    }
    EXPECT_GE(smaller, 2) << "the longest entry's two fields are too wide for 25 points";
}

TEST(HighDpi, DialogControlsAndFontScaleTogetherAndNoTextIsCut) {
    Measures normal = MeasureAt(96);
    Measures high = MeasureAt(144);
    SetScreenDpi(96);
    ASSERT_EQ(normal["dpi"], std::vector<int>{96});
    ASSERT_EQ(high["dpi"], std::vector<int>{144}) << "the prefix's DPI did not reach the probe";

    // The point size holds: 25 points are 33 pixels at 96 dpi, 50 at 144.
    EXPECT_EQ(normal["font"], std::vector<int>{-::MulDiv(96, 250, 720)});
    EXPECT_EQ(high["font"], std::vector<int>{-::MulDiv(144, 250, 720)});

    // The dialog grows by 1.5, give or take the dialog font's height, which
    // is a whole number of pixels at each DPI (13 and 19, not 19.5).
    ASSERT_EQ(normal["dialog"].size(), 2u);
    ASSERT_EQ(high["dialog"].size(), 2u);
    const double sx = double(high["dialog"][0]) / normal["dialog"][0];
    const double sy = double(high["dialog"][1]) / normal["dialog"][1];
    EXPECT_NEAR(sx, 1.5, 0.075);
    EXPECT_NEAR(sy, 1.5, 0.075);
    // Every control with it: place and size, to a pixel or two of rounding.
    for (int id : kControls) {
        const std::string key = "control" + std::to_string(id);
        const std::vector<int>& before = normal[key];
        const std::vector<int>& after = high[key];
        ASSERT_EQ(before.size(), 4u) << id;
        ASSERT_EQ(after.size(), 4u) << id;
        for (int i = 0; i < 4; ++i) {
            const double scale = i % 2 == 0 ? sx : sy;
            EXPECT_NEAR(after[i], before[i] * scale, 2.0) << "control " << id << " value " << i;
        }
    }
    for (auto [at, dpi] : {std::pair{&normal, 96}, std::pair{&high, 144}}) {
        ExpectTextsFit(*at, "text", dpi);
        ExpectTextsFit(*at, "about", dpi);
        ExpectEntriesFit(*at, dpi);
        // Find lists the longest pronunciation whole: the list scrolls
        // sideways as far as both parts of the item reach.
        ExpectTextsFit(*at, "findtext", dpi);
        const std::vector<int>& list = (*at)["findlist"];
        ASSERT_EQ(list.size(), 4u) << dpi << " dpi";
        const int extent = list[0], room = list[1], idiom = list[2], pinyin = list[3];
        EXPECT_GT(pinyin, room / 2) << dpi << " dpi: not the long pronunciation";
        EXPECT_GE(extent, idiom + pinyin) << dpi << " dpi";
    }
}

}  // namespace
