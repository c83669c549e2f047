// Hostile dictionaries against the real program: for each damaged, huge or
// unreadable "成语.txt" the program is started in that file's folder, and must
// show what the loading rules make of the file, browse to both stops, and
// leave through Esc and Yes, quickly, without crashing and within 2 GB.
//
// What the program should show is worked out here from the file itself, by
// the reference model of the loading and layout rules (tests/support/
// reference), written apart from the program's own code; only the final
// GBK-to-UTF-16 step is the system's, as it is for the program.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "program_driver.h"
#include "reference/dictionary_lines.h"
#include "reference/entry_layout.h"
#include "resource.h"

#include <psapi.h>

namespace {

using Clock = std::chrono::steady_clock;

// The corpus folder, the test program's argument after the program's path,
// as a Windows path.
const std::wstring& Corpus() {
    static const std::wstring folder = [] {
        const auto& arguments = e2e::TestArguments();
        std::wstring path = arguments.empty() ? L"" : e2e::HostPath(arguments[0]);
        while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
        return path;
    }();
    return folder;
}

constexpr DWORD kStartLimitMs = 10000;   // until the dictionary is on show
constexpr DWORD kExitLimitMs = 10000;    // from Esc until the process has ended
constexpr DWORD kAnswerLimitMs = 10000;  // for a click, or a control's text
constexpr SIZE_T kMemoryLimit = SIZE_T{2} << 30;
// Clicks in one direction at most: enough to reach both stops in the cases of
// up to a couple of hundred entries, few enough to keep the run short. (Under
// Wine a click costs up to about 25 ms; the stops of the very long lists stay
// out of reach, and the report says so.)
constexpr int kMaxClicks = 250;
// The display is read after every click, except while the program could be at
// so many places that reading it tells little: then after every so many.
constexpr std::size_t kFewPlaces = 1000;
constexpr int kClicksBetweenChecks = 50;

// ---------------------------------------------------------------------------
// The loading and layout rules, read independently of the program.

struct Dictionary {
    Dictionary() = default;
    Dictionary(const Dictionary&) = delete;  // the entries point into `bytes`
    Dictionary& operator=(const Dictionary&) = delete;

    std::string bytes;  // the whole file
    std::vector<std::string_view> entries;

    std::size_t size() const { return entries.size(); }
    std::string_view operator[](std::size_t i) const { return entries[i]; }
};

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool ok = ::GetFileSizeEx(file, &size) != 0;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD got = 0;
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 24));
            ok = ::ReadFile(file, bytes.data() + done, want, &got, nullptr) && got > 0;
            done += got;
        }
    }
    ::CloseHandle(file);
    return ok;
}

std::wstring Wide(std::string_view gbk) {
    if (gbk.empty()) return {};
    const int n =
        ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), w.data(), n);
    return w;
}

struct Fields {
    std::wstring idiom, pinyin, explain;
    bool operator==(const Fields&) const = default;
};

// The program shows no field longer than 8 KiB: a longer one is cut after
// its last whole character that fits.
constexpr std::size_t kShownFieldLimit = 8 * 1024;

Fields ExpectedFields(std::string_view entry) {
    const reference::Fields shown = reference::SplitEntry(entry, kShownFieldLimit);
    return {Wide(shown.idiom), Wide(shown.pronunciation), Wide(shown.explanation)};
}

// ---------------------------------------------------------------------------
// Reading the program from outside.

struct Shown {
    bool ok = true;  // every control answered in time
    Fields fields;
};

bool ReadControl(HWND dialog, int id, std::wstring& text) {
    HWND control = ::GetDlgItem(dialog, id);
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerLimitMs,
                               &length)) {
        return false;
    }
    text.assign(length + 1, L'\0');
    DWORD_PTR got = 0;
    if (!::SendMessageTimeoutW(control, WM_GETTEXT, length + 1,
                               reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, kAnswerLimitMs,
                               &got)) {
        return false;
    }
    text.resize(std::min<std::size_t>(got, length));
    return true;
}

Shown ReadShown(HWND dialog) {
    Shown s;
    s.ok = ReadControl(dialog, IDC_IDIOM, s.fields.idiom) &&
           ReadControl(dialog, IDC_PINYIN, s.fields.pinyin) &&
           ReadControl(dialog, IDC_EXPLAIN, s.fields.explain);
    return s;
}

bool AnswersWithin(HWND window, DWORD ms) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored) != 0;
}

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr,
                                        0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                          nullptr);
    return s;
}

// A short account of how two texts differ, for texts of any size.
std::string Difference(const std::wstring& shown, const std::wstring& expected) {
    std::size_t at = 0;
    while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
    char head[160];
    std::snprintf(head, sizeof head,
                  "length %zu, expected %zu, first difference at %zu:", shown.size(),
                  expected.size(), at);
    std::string out = head;
    for (const auto* text : {&shown, &expected}) {
        out += text == &shown ? "\n    shown   " : "\n    expected";
        for (std::size_t i = at; i < text->size() && i < at + 12; ++i) {
            char code[12];
            std::snprintf(code, sizeof code, " %04X", static_cast<unsigned>((*text)[i]));
            out += code;
        }
        if (at >= text->size()) out += " (end)";
    }
    return out;
}

std::string Difference(const Fields& shown, const Fields& expected) {
    std::string out;
    if (shown.idiom != expected.idiom)
        out += "\n  idiom: " + Difference(shown.idiom, expected.idiom);
    if (shown.pinyin != expected.pinyin) {
        out += "\n  pronunciation: " + Difference(shown.pinyin, expected.pinyin);
    }
    if (shown.explain != expected.explain) {
        out += "\n  explanation: " + Difference(shown.explain, expected.explain);
    }
    return out;
}

// Visible top-level windows: a crash report, an error box or any other window
// that the program or Wine puts up shows among them.
BOOL CALLBACK AddVisible(HWND w, LPARAM windows) {
    if (::IsWindowVisible(w)) reinterpret_cast<std::set<HWND>*>(windows)->insert(w);
    return TRUE;
}

std::set<HWND> VisibleWindows() {
    std::set<HWND> windows;
    ::EnumWindows(&AddVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Describe(HWND w) {
    wchar_t cls[64] = {}, caption[128] = {};
    ::GetClassNameW(w, cls, 64);
    ::GetWindowTextW(w, caption, 128);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    return "window of process " + std::to_string(pid) + " class \"" + Utf8(cls) + "\" caption \"" +
           Utf8(caption) + "\"";
}

std::vector<HWND> StrayWindows(const std::set<HWND>& before, const std::set<HWND>& allowed) {
    std::vector<HWND> stray;
    for (HWND w : VisibleWindows()) {
        if (!before.count(w) && !allowed.count(w)) stray.push_back(w);
    }
    return stray;
}

// Samples the program's memory while it runs: under Wine the "peak" commit is
// only the current one, so the highest value seen is kept as well.
class MemoryWatch {
public:
    explicit MemoryWatch(HANDLE process) : m_process(process), m_thread([this] { Run(); }) {}
    ~MemoryWatch() { Stop(); }
    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    SIZE_T PeakCommit() const { return m_peakCommit; }
    SIZE_T PeakWorkingSet() const { return m_peakWorkingSet; }

private:
    void Run() {
        while (!m_stop) {
            Sample();
            ::Sleep(20);
        }
    }
    void Sample() {
        PROCESS_MEMORY_COUNTERS_EX c = {};
        c.cb = sizeof c;
        if (!::GetProcessMemoryInfo(m_process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c),
                                    sizeof c)) {
            return;
        }
        m_peakCommit =
            std::max({m_peakCommit.load(), c.PeakPagefileUsage, c.PagefileUsage, c.PrivateUsage});
        m_peakWorkingSet =
            std::max({m_peakWorkingSet.load(), c.PeakWorkingSetSize, c.WorkingSetSize});
    }

    HANDLE m_process;
    std::atomic<bool> m_stop{false};
    std::atomic<SIZE_T> m_peakCommit{0};
    std::atomic<SIZE_T> m_peakWorkingSet{0};
    std::thread m_thread;
};

// ---------------------------------------------------------------------------
// Where the program may be: the set of entry indices consistent with what it
// has shown so far, moved by every click as the browsing rules say.

class Position {
public:
    explicit Position(const Dictionary& dict) : m_dict(dict) {}

    // Every index, narrowed to those whose fields are on show.
    void Start(const Fields& shown) {
        m_at.clear();
        for (std::size_t i = 0; i < m_dict.size(); ++i) m_at.push_back(i);
        Narrow(shown);
    }
    void Previous(int clicks) {
        const std::size_t n = static_cast<std::size_t>(clicks);
        for (auto& p : m_at) {
            if (p > 1) p = p > n + 1 ? p - n : 1;
        }
        Tidy();
    }
    void Next(int clicks) {
        for (auto& p : m_at) p = std::min(p + static_cast<std::size_t>(clicks), m_dict.size() - 1);
        Tidy();
    }
    // Keeps the indices whose expected fields are those shown; entries with
    // the same bytes are worked out once.
    void Narrow(const Fields& shown) {
        std::unordered_map<std::string_view, bool> same;
        std::vector<std::size_t> kept;
        m_lastMismatch.clear();
        for (std::size_t p : m_at) {
            const std::string_view entry = m_dict[p];
            auto found = same.find(entry);
            if (found == same.end()) {
                const Fields expected = ExpectedFields(entry);
                found = same.emplace(entry, expected == shown).first;
                if (!found->second && m_lastMismatch.empty()) {
                    m_lastMismatch = "entry " + std::to_string(p) + Difference(shown, expected);
                }
            }
            if (found->second) kept.push_back(p);
        }
        m_at = std::move(kept);
    }
    bool Known() const { return !m_at.empty(); }
    std::size_t Lowest() const { return m_at.front(); }
    std::size_t Highest() const { return m_at.back(); }
    std::size_t Count() const { return m_at.size(); }
    const std::string& WhyNot() const { return m_lastMismatch; }

private:
    void Tidy() {
        std::sort(m_at.begin(), m_at.end());
        m_at.erase(std::unique(m_at.begin(), m_at.end()), m_at.end());
    }

    const Dictionary& m_dict;
    std::vector<std::size_t> m_at;  // sorted
    std::string m_lastMismatch;
};

// ---------------------------------------------------------------------------
// The cases.

enum class Access {
    Normal,     // the program reads the file as it is
    NoSharing,  // another process holds the file open with no sharing at all
    ReadError,  // the file opens, but every read of it fails
    Missing,    // there is no file to read (a directory has the name)
};

struct Case {
    const char* name;
    Access access;
};

const Case kCases[] = {
    {"empty", Access::Normal},
    {"only-lf", Access::Normal},
    {"only-cr", Access::Normal},
    {"huge-line", Access::Normal},
    {"nul-10mb", Access::Normal},
    {"nul-inside", Access::Normal},
    {"random-bytes", Access::Normal},
    {"lead-byte-ends", Access::Normal},
    {"trail-byte-starts", Access::Normal},
    {"utf8-bom", Access::Normal},
    {"utf16le-bom", Access::Normal},
    {"million-empty-lines", Access::Normal},
    {"many-lines", Access::Normal},
    {"brackets", Access::Normal},
    {"source-run", Access::Normal},
    {"no-example-run", Access::Normal},
    {"directory", Access::Missing},
    {"locked-no-sharing", Access::NoSharing},
    {"read-error", Access::ReadError},
    {"cr-line-ends", Access::Normal},
    {"mixed-eol", Access::Normal},
    {"whitespace", Access::Normal},
    {"edit-limits", Access::Normal},
    {"long-idiom", Access::Normal},
    {"odd-bytes", Access::Normal},
};

std::wstring CaseFolder(const Case& c) {
    return Corpus() + L"\\" + std::wstring(c.name, c.name + std::strlen(c.name));
}

std::wstring CaseFile(const Case& c) { return CaseFolder(c) + L"\\成语.txt"; }

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Keeps the dictionary open with no sharing at all for the life of the case.
// The hold is taken here in the test process, which is "another process" to
// the program: Windows (and Wine's server) check sharing between handles.
// (A byte-range lock would not do under Wine, whose reads ignore such locks;
// nor would file permissions, which root, as CI runs, reads through.)
class Hold {
public:
    Hold(const std::wstring& path, Access access) {
        if (access == Access::NoSharing) {
            m_file = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        }
    }
    ~Hold() {
        if (m_file != INVALID_HANDLE_VALUE) ::CloseHandle(m_file);
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    bool Held() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

// What a C program gets from the file the way the program opens it: whether
// it opens, and how many bytes one read brings.
struct Attempt {
    bool opened = false;
    std::size_t bytesRead = 0;
};

Attempt TryReading(const std::wstring& path) {
    Attempt a;
    if (std::FILE* f = ::_wfopen(path.c_str(), L"rb")) {
        a.opened = true;
        char buffer[4096];
        a.bytesRead = std::fread(buffer, 1, sizeof buffer, f);
        std::fclose(f);
    }
    return a;
}

// One line per case, printed however the case ends: what was seen, and how
// long and how much memory it took.
struct CaseReport {
    const char* name = "";
    Clock::time_point begun = Clock::now();
    std::size_t entries = 0;
    std::size_t startMatches = 0;
    int clicks = 0;
    const char* lowStop = "-";
    const char* highStop = "-";
    double shown = -1, question = -1, exit = -1;
    SIZE_T peakCommit = 0, peakWorkingSet = 0;

    ~CaseReport() {
        std::printf(
            "[ %-19s] entries %zu, start matches %zu, clicks %d, stops %s/%s, shown after "
            "%.2fs, question %.2fs, exit %.2fs, all %.2fs, peak commit %.0f MB, peak working set "
            "%.0f MB\n",
            name, entries, startMatches, clicks, lowStop, highStop, shown, question, exit,
            Seconds(begun), peakCommit / 1048576.0, peakWorkingSet / 1048576.0);
        std::fflush(stdout);
    }
};

// Fails the case when a window came up that has no business there, such as
// Wine's crash report or a runtime error box. Runs on every way out of the
// case, before the program is ended, while such a window is still up. The
// window is then closed: Wine's crash report would otherwise stay up for
// good, and its debugger with it, holding the test's output open.
class StrayWindowCheck {
public:
    explicit StrayWindowCheck(const std::set<HWND>& before) : m_before(before) {}
    ~StrayWindowCheck() { Check(); }
    void Allow(HWND window) { m_allowed.insert(window); }
    void Check() {
        const std::vector<HWND> strays = StrayWindows(m_before, m_allowed);
        for (HWND stray : strays) {
            ADD_FAILURE() << "unexpected " << Describe(stray);
            ::PostMessageW(stray, WM_CLOSE, 0, 0);
        }
        for (HWND stray : strays) {
            for (int i = 0; i < 150 && ::IsWindowVisible(stray); ++i) ::Sleep(20);
        }
    }

private:
    std::set<HWND> m_before;
    std::set<HWND> m_allowed;
};

void ReadMemory(HANDLE process, const MemoryWatch& watch, CaseReport& report) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    report.peakCommit = std::max(watch.PeakCommit(), counters.PeakPagefileUsage);
    report.peakWorkingSet = std::max(watch.PeakWorkingSet(), counters.PeakWorkingSetSize);
}

class HostileDictionary : public ::testing::TestWithParam<Case> {};

TEST_P(HostileDictionary, ShowsBrowsesAndLeaves) {
    const Case& c = GetParam();
    CaseReport report;
    report.name = c.name;

    // What the program should show. An unreadable file leaves the list empty:
    // three empty fields, and browsing does nothing.
    Dictionary dict;
    if (c.access == Access::Missing) {
        const DWORD attributes = ::GetFileAttributesW(CaseFile(c).c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "corpus case missing";
        ASSERT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    } else if (c.access == Access::Normal) {
        ASSERT_TRUE(ReadWholeFile(CaseFile(c), dict.bytes)) << "corpus case missing";
        dict.entries = reference::DictionaryEntries(dict.bytes);
    } else if (c.access == Access::NoSharing) {
        Dictionary readable;
        ASSERT_TRUE(ReadWholeFile(CaseFile(c), readable.bytes)) << "corpus case missing";
        readable.entries = reference::DictionaryEntries(readable.bytes);
        // Were the program to read it after all, it would show an entry.
        ASSERT_GT(readable.size(), 1u);
        ASSERT_FALSE(ExpectedFields(readable[1]).idiom.empty());
    }
    report.entries = dict.size();

    // The denial is real: opened as the program opens it, the file gives
    // nothing.
    Hold hold(CaseFile(c), c.access);
    if (c.access == Access::NoSharing) {
        ASSERT_TRUE(hold.Held()) << "could not take hold of the file";
        EXPECT_FALSE(TryReading(CaseFile(c)).opened) << "the file is not really locked";
    } else if (c.access == Access::ReadError) {
        const Attempt attempt = TryReading(CaseFile(c));
        EXPECT_TRUE(attempt.opened) << "corpus case missing, or it does not open";
        EXPECT_EQ(attempt.bytesRead, 0u) << "the file can be read after all";
    }

    const std::set<HWND> before = VisibleWindows();
    const auto launch = Clock::now();
    e2e::ProgramDriver program(CaseFolder(c));
    ASSERT_NE(program.Process(), nullptr) << "the program did not start";
    MemoryWatch memory(program.Process());
    StrayWindowCheck strays(before);  // checked before the driver ends the program
    struct MemoryOnExit {
        HANDLE process;
        MemoryWatch& watch;
        CaseReport& report;
        ~MemoryOnExit() {
            watch.Stop();
            if (report.peakCommit == 0) ReadMemory(process, watch, report);
        }
    } memoryOnExit{program.Process(), memory, report};

    const bool started = program.WaitForMainWindow(false, kStartLimitMs);
    const long stillRunning = -1;
    ASSERT_TRUE(started) << "no main dialog within " << kStartLimitMs << " ms; "
                         << (program.WaitForExit(0) == stillRunning
                                 ? "the program still runs"
                                 : "the program ended with code " +
                                       std::to_string(program.WaitForExit(0)));
    const HWND main = program.Main();
    strays.Allow(main);
    ASSERT_TRUE(AnswersWithin(main, kStartLimitMs)) << "the program does not answer";
    report.shown = Seconds(launch);
    EXPECT_LE(report.shown * 1000, kStartLimitMs);

    Position position(dict);
    auto observe = [&](const char* when, bool first = false) {
        const Shown shown = ReadShown(main);
        if (!shown.ok) {
            ADD_FAILURE() << when << ": a control did not answer";
            return;
        }
        if (dict.size() == 0) {
            EXPECT_EQ(shown.fields, Fields{})
                << when << ": nothing to show, but" << Difference(shown.fields, {});
            return;
        }
        first ? position.Start(shown.fields) : position.Narrow(shown.fields);
        EXPECT_TRUE(position.Known())
            << when << ": shows no entry it could be showing; for instance " << position.WhyNot();
    };
    observe("at the start", true);
    ASSERT_FALSE(HasFailure());
    report.startMatches = position.Known() ? position.Count() : 0;

    // A button tells its dialog of a click by sending it WM_COMMAND, so the
    // click is sent here too: it returns once the program has handled it.
    // (A posted click would not do: a message sent afterwards to check on the
    // program is handled before the posted ones still waiting.)
    HWND const buttons[2] = {::GetDlgItem(main, IDC_PREV), ::GetDlgItem(main, IDC_NEXT)};
    auto click = [&](int id, int count) {
        const LPARAM button = reinterpret_cast<LPARAM>(buttons[id == IDC_NEXT]);
        for (int i = 0; i < count; ++i) {
            DWORD_PTR ignored = 0;
            if (!::SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), button,
                                       SMTO_NORMAL, kAnswerLimitMs, &ignored)) {
                return false;
            }
            ++report.clicks;
        }
        return true;
    };
    // Steps towards a stop, checking the display as it goes; at the stop
    // (when it is in reach) two clicks more must leave it there.
    auto browse = [&](int id, const char* name) {
        const bool back = id == IDC_PREV;
        int clicks = 0;
        for (;;) {
            std::size_t left = 0;
            if (position.Known()) {
                left = back ? (position.Highest() > 1 ? position.Highest() - 1 : 0)
                            : dict.size() - 1 - position.Lowest();
            }
            const std::size_t every =
                position.Count() <= kFewPlaces ? 1 : static_cast<std::size_t>(kClicksBetweenChecks);
            const int step = static_cast<int>(std::min<std::size_t>(
                {left, every, static_cast<std::size_t>(kMaxClicks - clicks)}));
            if (step == 0) break;
            if (!click(id, step)) return false;
            clicks += step;
            back ? position.Previous(step) : position.Next(step);
            observe(name);
            if (HasFailure()) return true;
        }
        for (int extra = 0; extra < 2; ++extra) {
            if (!click(id, 1)) return false;
            if (position.Known()) back ? position.Previous(1) : position.Next(1);
            observe(name);
        }
        return true;
    };
    ASSERT_TRUE(browse(IDC_PREV, "going back"))
        << "no answer within " << kAnswerLimitMs << " ms to a click on Previous";
    ASSERT_FALSE(HasFailure());
    report.lowStop = dict.size() == 0 || (position.Known() && position.Highest() <= 1)
                         ? "reached"
                         : "out of reach";
    ASSERT_TRUE(browse(IDC_NEXT, "going forward"))
        << "no answer within " << kAnswerLimitMs << " ms to a click on Next";
    ASSERT_FALSE(HasFailure());
    report.highStop = dict.size() == 0 || (position.Known() && position.Lowest() == dict.size() - 1)
                          ? "reached"
                          : "out of reach";
    strays.Check();

    // Memory before leaving, while the process still has its counters.
    memory.Stop();
    ReadMemory(program.Process(), memory, report);
    EXPECT_LT(report.peakCommit, kMemoryLimit);
    EXPECT_LT(report.peakWorkingSet, kMemoryLimit);

    const auto leaving = Clock::now();
    program.PressKey(VK_ESCAPE);
    HWND box = program.WaitForWindow(L"确定", kExitLimitMs);
    ASSERT_NE(box, nullptr) << "Esc brought no exit question";
    report.question = Seconds(leaving);
    strays.Allow(box);
    strays.Check();
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_EQ(program.WaitForExit(kExitLimitMs), 0) << "-1: it did not end in time";
    report.exit = Seconds(leaving);
    ::Sleep(200);  // a crash report on the way out would be up by now
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileDictionary, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// The generator and this list describe the same cases.
TEST(HostileCorpus, HoldsExactlyTheListedCases) {
    std::set<std::string> listed, found;
    for (const Case& c : kCases) listed.insert(c.name);
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW((Corpus() + L"\\*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no corpus";
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != L'.') {
            found.insert(Utf8(data.cFileName));
        }
    } while (::FindNextFileW(search, &data));
    ::FindClose(search);
    EXPECT_EQ(found, listed);
    EXPECT_GE(listed.size(), 20u);
}

}  // namespace
