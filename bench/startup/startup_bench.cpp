// How long a learner waits, from starting the program until its first entry
// is on screen, for dictionaries of several sizes, next to the floor: a bare
// dialog program started and watched the same way.
//
//   startup_bench --floor EXE --program EXE --data FOLDER [--runs N]
//
// FOLDER\starter holds the starter dictionary; the generated ones are written
// to FOLDER\30000 and FOLDER\1000000. Paths may be Windows paths or Unix
// paths (read through Wine's Z: drive). The last line printed is
// "startup-ratio: R", the 30,000-entry median over the floor's median.

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "program_driver.h"
#include "resource.h"

namespace {

constexpr DWORD kPollSleepMs = 2;         // between two looks at the idiom box
constexpr DWORD kSendTimeoutMs = 1000;    // a look may not hang on a busy program
constexpr DWORD kStartTimeoutMs = 60000;  // a start that takes longer has failed
constexpr DWORD kSettleMs = 100;          // lets the ended program's teardown finish
constexpr wchar_t kCaption[] = L"Quendril\u6210\u8bed\u5b66\u4e60\u8f6f\u4ef6";
constexpr wchar_t kDictionaryName[] = L"\u6210\u8bed.txt";

// --- Timing -----------------------------------------------------------------

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / ticksPerMs;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

// --- Watching the started program ----------------------------------------------

// The program's main dialog once it is visible, else nullptr.
HWND FindVisibleMain(DWORD processId) { return e2e::FindProcessWindow(processId, kCaption); }

// Starts `exe` in `folder` and returns the milliseconds until its main dialog
// is visible with text in the idiom box; a negative value when it ended or
// never got there. The program is ended before returning.
double TimeOneStart(const std::string& exe, const std::wstring& folder) {
    e2e::SetProgramPath(exe);
    const LARGE_INTEGER start = Now();
    // CreateProcessW; the driver's destructor ends the program and waits.
    e2e::ProgramDriver program(folder);
    if (program.Process() == nullptr) {
        return -1;
    }
    const DWORD processId = ::GetProcessId(program.Process());
    HWND main = nullptr;
    for (;;) {
        if (main == nullptr) {
            main = FindVisibleMain(processId);
        }
        if (main != nullptr) {
            DWORD_PTR length = 0;
            if (::SendMessageTimeoutW(::GetDlgItem(main, IDC_IDIOM), WM_GETTEXTLENGTH, 0, 0,
                                      SMTO_NORMAL, kSendTimeoutMs, &length) != 0 &&
                length > 0) {
                return Milliseconds(start, Now());
            }
        }
        if (::WaitForSingleObject(program.Process(), 0) != WAIT_TIMEOUT) {
            return -1;  // it ended by itself
        }
        if (Milliseconds(start, Now()) > kStartTimeoutMs) {
            return -1;
        }
        ::Sleep(kPollSleepMs);
    }
}

// --- Dictionaries ------------------------------------------------------------------

// A small fixed-seed generator, so every run writes the same files.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {  // splitmix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number in [low, high].
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t m_state;
};

// GBK punctuation and markers of a dictionary line.
constexpr char kComma[] = "\xA3\xAC";                          // ，
constexpr char kStop[] = "\xA1\xA3";                           // 。
constexpr char kColon[] = "\xA3\xBA";                          // ：
constexpr char kOpenQuote[] = "\xA1\xB0";                      // “
constexpr char kCloseQuote[] = "\xA1\xB1";                     // ”
constexpr char kOpenTitle[] = "\xA1\xB6";                      // 《
constexpr char kCloseTitle[] = "\xA1\xB7";                     // 》
constexpr char kMiddleDot[] = "\xA1\xA4";                      // ·
constexpr char kSourceMarker[] = "\xB3\xF6\xB4\xA6\xA3\xBA";   // 出处：
constexpr char kExampleMarker[] = "\xCA\xBE\xC0\xFD\xA3\xBA";  // 示例：
constexpr char kNone[] = "\xCE\xDE";                           // 无

// Pinyin syllables as consonant + toned vowel + rest; the toned vowel is
// written with GBK's pinyin letters (A8A1 ā … A8B4 ù, four tones a vowel).
struct Syllable {
    const char* onset;
    char vowel;  // a e i o u
    const char* coda;
};
constexpr Syllable kSyllables[] = {
    {"y", 'i', ""},   {"f", 'a', "n"},  {"f", 'e', "ng"}, {"sh", 'u', "n"},  {"m", 'i', "ng"},
    {"j", 'i', "ng"}, {"r", 'e', "n"},  {"qi", 'a', "n"}, {"l", 'i', ""},    {"zh", 'a', "ng"},
    {"m", 'u', ""},   {"sh", 'a', "n"}, {"x", 'i', "n"},  {"gu", 'o', ""},   {"h", 'a', "o"},
    {"d", 'a', ""},   {"b", 'u', ""},   {"ti", 'a', "n"}, {"ch", 'e', "ng"}, {"w", 'o', ""},
    {"xu", 'e', ""},  {"k", 'a', "i"},  {"s", 'o', "ng"}, {"l", 'o', "u"},   {"zh", 'o', "ng"},
};

void AppendHanzi(std::string& out, Random& random, int count) {
    for (int i = 0; i < count; ++i) {
        // Level-1 hanzi of GB2312: rows B0-D6, cells A1-FE, every code a
        // character (row D7 ends early, at F9, so it is left out).
        out += static_cast<char>(random.Between(0xB0, 0xD6));
        out += static_cast<char>(random.Between(0xA1, 0xFE));
    }
}

void AppendPinyin(std::string& out, Random& random, int syllables) {
    static constexpr char kVowels[] = "aeiou";
    for (int i = 0; i < syllables; ++i) {
        if (i > 0) {
            out += ' ';
        }
        const Syllable& s = kSyllables[random.Next() % std::size(kSyllables)];
        out += s.onset;
        const int vowel = static_cast<int>(std::strchr(kVowels, s.vowel) - kVowels);
        out += '\xA8';
        out += static_cast<char>(0xA1 + vowel * 4 + random.Between(0, 3));
        out += s.coda;
    }
}

// One line shaped like the starter dictionary's:
// 成语 [pīn yīn]释义，释义。出处：朝代·作者《书名》：“原文。”示例：例句。
void AppendEntry(std::string& out, Random& random) {
    AppendHanzi(out, random, 4);
    out += " [";
    AppendPinyin(out, random, 4);
    out += ']';
    // About 150 to 300 bytes a line: an entry without an example explains more.
    const bool noExample = random.Between(0, 9) == 0;
    const int explanation = random.Between(noExample ? 36 : 24, 44);
    const int comma = random.Between(6, explanation - 6);
    AppendHanzi(out, random, comma);
    out += kComma;
    AppendHanzi(out, random, explanation - comma);
    out += kStop;
    out += kSourceMarker;
    if (random.Between(0, 2) != 0) {
        AppendHanzi(out, random, 1);
        out += kMiddleDot;
        AppendHanzi(out, random, random.Between(2, 3));
    }
    out += kOpenTitle;
    AppendHanzi(out, random, random.Between(2, 5));
    out += kCloseTitle;
    out += kColon;
    out += kOpenQuote;
    AppendHanzi(out, random, random.Between(10, 26));
    out += kStop;
    out += kCloseQuote;
    out += kExampleMarker;
    if (noExample) {
        out += kNone;  // as real dictionaries have
    } else {
        AppendHanzi(out, random, random.Between(12, 34));
        out += kStop;
    }
    out += "\r\n";
}

struct Dictionary {
    std::size_t entries = 0;
    std::uint64_t bytes = 0;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Writes `entries` generated lines to FOLDER\成语.txt.
bool Generate(const std::wstring& folder, std::size_t entries, Dictionary& made) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + kDictionaryName;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    Random random(0x5155454E4452494Cull + entries);
    std::string block;
    constexpr std::size_t kBlock = std::size_t{4} << 20;
    block.reserve(kBlock + 1024);
    bool ok = true;
    made = {};
    for (std::size_t i = 0; i < entries && ok; ++i) {
        AppendEntry(block, random);
        if (block.size() >= kBlock || i + 1 == entries) {
            made.bytes += block.size();
            ok = WriteAll(file, block);
            block.clear();
        }
    }
    made.entries = entries;
    ::CloseHandle(file);
    return ok;
}

// Lines and bytes of FOLDER\成语.txt.
bool Measure(const std::wstring& folder, Dictionary& found) {
    const std::wstring path = folder + L"\\" + kDictionaryName;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    found = {};
    std::vector<char> buffer(1 << 16);
    char last = '\n';
    DWORD got = 0;
    while (::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0) {
        found.bytes += got;
        found.entries +=
            static_cast<std::size_t>(std::count(buffer.begin(), buffer.begin() + got, '\n'));
        last = buffer[got - 1];
    }
    if (last != '\n') {
        ++found.entries;  // a last line without LF
    }
    ::CloseHandle(file);
    return true;
}

// --- Cases and results ----------------------------------------------------------

struct Case {
    const char* label;
    std::string exe;
    std::wstring folder;
    Dictionary dictionary;
    bool hasDictionary = false;
    std::vector<double> times;
    int failures = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::uint64_t FileSize(const std::string& exe) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(e2e::HostPath(exe).c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int Usage(const char* self) {
    std::fprintf(stderr, "usage: %s --floor EXE --program EXE --data FOLDER [--runs N]\n", self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF line ends, so the last line reads exactly "startup-ratio: R"
    // to a Unix shell.
    _setmode(_fileno(stdout), _O_BINARY);
    std::string floorExe, programExe, dataFolder;
    int runs = 15;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            return Usage(argv[0]);
        }
        const std::string value = argv[++i];
        if (option == "--floor") {
            floorExe = value;
        } else if (option == "--program") {
            programExe = value;
        } else if (option == "--data") {
            dataFolder = value;
        } else if (option == "--runs") {
            runs = std::atoi(value.c_str());
        } else {
            return Usage(argv[0]);
        }
    }
    if (floorExe.empty() || programExe.empty() || dataFolder.empty() || runs < 1) {
        return Usage(argv[0]);
    }
    const std::wstring data = e2e::HostPath(dataFolder);

    std::vector<Case> cases(4);
    cases[0].label = "(a) floor: bare dialog";
    cases[0].exe = floorExe;
    cases[0].folder = data + L"\\starter";
    cases[1].label = "(b) starter dictionary";
    cases[2].label = "(c) generated 30,000";
    cases[3].label = "(d) generated 1,000,000";
    for (std::size_t i = 1; i < cases.size(); ++i) {
        cases[i].exe = programExe;
        cases[i].hasDictionary = true;
    }
    cases[1].folder = data + L"\\starter";
    cases[2].folder = data + L"\\30000";
    cases[3].folder = data + L"\\1000000";

    if (!Measure(cases[1].folder, cases[1].dictionary)) {
        std::fprintf(stderr, "startup_bench: no starter dictionary in %s\\starter\n",
                     dataFolder.c_str());
        return 1;
    }
    const std::size_t generated[] = {30000, 1000000};
    for (std::size_t i = 0; i < 2; ++i) {
        Case& c = cases[2 + i];
        const LARGE_INTEGER start = Now();
        if (!Generate(c.folder, generated[i], c.dictionary)) {
            std::fprintf(stderr, "startup_bench: cannot write the %zu-entry dictionary\n",
                         generated[i]);
            return 1;
        }
        std::printf(
            "generated %zu entries, %llu bytes (%.0f bytes an entry) in %.0f ms\n",
            c.dictionary.entries, static_cast<unsigned long long>(c.dictionary.bytes),
            static_cast<double>(c.dictionary.bytes) / static_cast<double>(c.dictionary.entries),
            Milliseconds(start, Now()));
    }
    std::fflush(stdout);

    // Warm-up: the first start of each program pays for loading files into
    // the page cache and Wine's own first-use work; it is not counted.
    for (Case& c : cases) {
        if (TimeOneStart(c.exe, c.folder) < 0) {
            std::fprintf(stderr, "startup_bench: %s never showed an entry\n", c.label);
            return 1;
        }
        ::Sleep(kSettleMs);
    }
    // Cases take turns, so a slow spell of the machine (other Wine sessions
    // run beside this one) falls on all of them alike.
    for (int run = 0; run < runs; ++run) {
        for (Case& c : cases) {
            const double ms = TimeOneStart(c.exe, c.folder);
            if (ms < 0) {
                ++c.failures;
            } else {
                c.times.push_back(ms);
            }
            ::Sleep(kSettleMs);
        }
    }

    std::printf("\nstart-up until the first entry shows, %d runs a case (ms)\n", runs);
    std::printf("%-26s %9s %11s %9s %9s %9s\n", "case", "entries", "bytes", "median", "min", "max");
    for (const Case& c : cases) {
        char entries[32] = "-", bytes[32] = "-";
        if (c.hasDictionary) {
            std::snprintf(entries, sizeof entries, "%zu", c.dictionary.entries);
            std::snprintf(bytes, sizeof bytes, "%llu",
                          static_cast<unsigned long long>(c.dictionary.bytes));
        }
        if (c.times.empty()) {
            std::printf("%-26s %9s %11s %9s %9s %9s\n", c.label, entries, bytes, "-", "-", "-");
        } else {
            const auto [low, high] = std::minmax_element(c.times.begin(), c.times.end());
            std::printf("%-26s %9s %11s %9.1f %9.1f %9.1f\n", c.label, entries, bytes,
                        Median(c.times), *low, *high);
        }
        if (c.failures > 0) {
            std::printf("  %d of %d runs never showed an entry\n", c.failures, runs);
        }
    }
    const std::uint64_t size = FileSize(programExe);
    std::printf("\nquendril.exe: %llu bytes (%.1f KiB)\n", static_cast<unsigned long long>(size),
                static_cast<double>(size) / 1024.0);
    if (cases[0].times.empty() || cases[2].times.empty()) {
        std::printf("startup-ratio: n/a\n");
        return 1;
    }
    std::printf("startup-ratio: %.2f\n", Median(cases[2].times) / Median(cases[0].times));
    return 0;
}
