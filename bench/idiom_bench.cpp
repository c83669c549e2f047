// How fast the idiom file loads, measured against merely reading its bytes,
// against reading them into a fresh buffer of the file's size and against the
// plain way of loading it line by line; how much memory a loaded
// million-entry dictionary takes; and what cutting an entry into its display
// fields costs.
//
//   idiom_bench [--data_dir=DIR] [Google Benchmark flags]
//
// The last three lines printed are "load-ratio-30000: R" (the load of the
// 30,000-entry file over its raw read), "fgets-ratio-30000: R" (the plain way
// over the load) and "load-ratio-fresh: R" (the load of the million-entry
// file over its read into a fresh buffer), each from rounds that time the two
// ways back to back (PairedRatio).

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary_gen.h"
#include "entry_fields.h"
#include "gbk_text.h"
#include "idiom_list.h"

#ifndef QUENDRIL_BENCH_DATA_DIR
#define QUENDRIL_BENCH_DATA_DIR "bench-data"
#endif

namespace {

constexpr std::size_t kSmallEntries = 30'000;
constexpr std::size_t kLargeEntries = 1'000'000;
constexpr std::size_t kReadBlock = std::size_t{1} << 20;
// Rounds of the paired ratios (PairedRatio): a round of the large file takes
// seconds.
constexpr int kSmallRounds = 101;
constexpr int kLargeRounds = 5;

// The LF bytes in [at, end), found with the same memchr scan the loader uses
// to find line ends.
std::size_t CountLf(const char* at, const char* end) {
    std::size_t lines = 0;
    while (const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
        ++lines;
        at = static_cast<const char*>(lf) + 1;
    }
    return lines;
}

// Reads the file the way the raw baseline does and counts its LF bytes.
std::size_t CountLines(const std::filesystem::path& path, std::vector<char>& buffer) {
    std::ifstream in(path, std::ios::binary);
    std::size_t lines = 0;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        lines += CountLf(buffer.data(), buffer.data() + in.gcount());
    }
    return lines;
}

// The ways of reading a dictionary that are timed. Each returns what it keeps,
// which is freed outside the time measured, and Lines() tells how many lines
// it saw.

IdiomList Load(const GeneratedDictionary& dictionary) {
    IdiomList list;
    LoadIdiomList(list, dictionary.path);
    return list;
}
std::size_t Lines(const IdiomList& list) { return list.size(); }

// The floor for any loader: the same open and the same bytes through the same
// stream type, with nothing kept but a count.
class RawRead {
public:
    std::size_t operator()(const GeneratedDictionary& dictionary) {
        return CountLines(dictionary.path, m_buffer);
    }

private:
    std::vector<char> m_buffer = std::vector<char>(kReadBlock);
};
std::size_t Lines(std::size_t lines) { return lines; }

// Reading the whole file into a buffer allocated for it with new[]: the floor
// for any loader that keeps the file's bytes, since the system must clear
// every fresh page it hands out. Where the allocator cannot hand back freed
// pages, as for a buffer of hundreds of MB, that clearing costs more than the
// reading itself.
struct WholeFile {
    std::unique_ptr<char[]> bytes;
    std::size_t lines = 0;
};
WholeFile ReadWhole(const GeneratedDictionary& dictionary) {
    const auto size = static_cast<std::size_t>(dictionary.bytes);
    std::ifstream in(dictionary.path, std::ios::binary);
    WholeFile whole{std::unique_ptr<char[]>(new char[size])};
    in.read(whole.bytes.get(), static_cast<std::streamsize>(size));
    whole.lines = CountLf(whole.bytes.get(), whole.bytes.get() + in.gcount());
    return whole;
}
std::size_t Lines(const WholeFile& whole) { return whole.lines; }

// The plain way to load the file: fgets into a 2000-byte buffer, one heap
// string per line up to its first NUL, trimmed as the loader trims.
std::vector<std::string> FgetsLines(const GeneratedDictionary& dictionary) {
    std::vector<std::string> entries;
    std::FILE* file = std::fopen(dictionary.path.string().c_str(), "rb");
    if (file == nullptr) {
        return entries;
    }
    char line[2000];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        std::string entry(line);
        gbk::TrimRight(entry);
        entries.push_back(std::move(entry));
    }
    std::fclose(file);
    return entries;
}
std::size_t Lines(const std::vector<std::string>& entries) { return entries.size(); }

template <class Way>
void MeasureWay(benchmark::State& state, const GeneratedDictionary& dictionary, Way way) {
    for (auto _ : state) {
        auto kept = way(dictionary);
        benchmark::DoNotOptimize(kept);
        // Checking and freeing what was read is not part of reading it.
        state.PauseTiming();
        if (Lines(kept) != dictionary.entries) {
            state.SkipWithError("not every line was seen");
        }
        kept = {};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(dictionary.bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(dictionary.entries));
}

// Seconds that one call of `way` takes, without the freeing of what it keeps.
template <class Way>
double SecondsOf(Way& way, const GeneratedDictionary& dictionary) {
    const auto start = std::chrono::steady_clock::now();
    auto kept = way(dictionary);
    const auto end = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(kept);
    return std::chrono::duration<double>(end - start).count();
}

// How much longer `over` takes than `under`. Other processes on the machine
// load it unevenly, so two benchmarks run one after the other can meet very
// different loads; here each round times the two ways back to back, over
// under under over, so that a load that rises or falls during the round
// weighs on both, and the median of the rounds' ratios is kept.
template <class Over, class Under>
double PairedRatio(const GeneratedDictionary& dictionary, Over over, Under under, int rounds) {
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        double top = SecondsOf(over, dictionary);
        const double bottom = SecondsOf(under, dictionary) + SecondsOf(under, dictionary);
        top += SecondsOf(over, dictionary);
        ratios.push_back(top / bottom);
    }
    std::nth_element(ratios.begin(), ratios.begin() + rounds / 2, ratios.end());
    return ratios[static_cast<std::size_t>(rounds / 2)];
}

// What showing an entry costs: SplitEntry, which lays out the explanation
// with FormatExplanation, over every entry of the dictionary.
void BM_SplitEntry(benchmark::State& state, const IdiomList& list) {
    for (auto _ : state) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            EntryFields fields = SplitEntry(list[i]);
            benchmark::DoNotOptimize(fields.explanation.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(list.size()));
}

// FormatExplanation alone, on the text after the pronunciation.
void BM_FormatExplanation(benchmark::State& state, const std::vector<std::string_view>& texts) {
    for (auto _ : state) {
        for (std::string_view text : texts) {
            std::string laidOut = FormatExplanation(text);
            benchmark::DoNotOptimize(laidOut.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(texts.size()));
}

// Keeps the median of each benchmark's repetitions (or its only run) while
// the console reporter prints as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    // Colour only on a terminal, so that a saved log stays readable.
    RecordingReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                m_failed.push_back(run.benchmark_name());
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const std::string& name = run.run_name.function_name;
            if (median || (run.run_type == Run::RT_Iteration && !m_seconds.count(name))) {
                m_seconds[name] = run.GetAdjustedRealTime() * Multiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> Seconds(const std::string& name) const {
        const auto found = m_seconds.find(name);
        if (found == m_seconds.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    const std::vector<std::string>& Failed() const { return m_failed; }

private:
    static double Multiplier(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-9;
            case benchmark::kMicrosecond:
                return 1e-6;
            case benchmark::kMillisecond:
                return 1e-3;
            default:
                return 1.0;
        }
    }

    std::map<std::string, double> m_seconds;  // per iteration
    std::vector<std::string> m_failed;
};

// Resident pages of this process, from /proc/self/statm.
std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t total = 0;
    std::size_t resident = 0;
    statm >> total >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Peak resident size (VmHWM) from /proc/self/status.
std::size_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stoull(line.substr(6)) * 1024;  // given in kB
        }
    }
    return 0;
}

struct MemoryUse {
    std::size_t growth = 0;      // resident after the load minus before
    std::size_t peakGrowth = 0;  // highest resident during the load minus before
    std::size_t entries = 0;
};

// Loads the dictionary in a child process, so that the memory the benchmarks
// allocate and free cannot hide or inflate the load's own footprint, and
// keeps the list alive while measuring.
std::optional<MemoryUse> MeasureLoadMemory(const GeneratedDictionary& dictionary) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return std::nullopt;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(fds[0]);
        MemoryUse use;
        const std::size_t before = ResidentBytes();
        const std::size_t peakBefore = PeakResidentBytes();
        IdiomList list;
        if (LoadIdiomList(list, dictionary.path)) {
            const std::size_t after = ResidentBytes();
            const std::size_t peakAfter = PeakResidentBytes();
            use.entries = list.size();
            use.growth = after > before ? after - before : 0;
            use.peakGrowth = peakAfter > peakBefore ? peakAfter - peakBefore : 0;
        }
        benchmark::DoNotOptimize(list.size());
        const bool written = ::write(fds[1], &use, sizeof use) == sizeof use;
        ::_exit(written ? 0 : 1);
    }
    ::close(fds[1]);
    MemoryUse use;
    const bool read = ::read(fds[0], &use, sizeof use) == sizeof use;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || use.entries == 0) {
        return std::nullopt;
    }
    return use;
}

double Megabytes(double bytes) { return bytes / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path dataDir = QUENDRIL_BENCH_DATA_DIR;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        constexpr std::string_view kFlag = "--data_dir=";
        if (i > 0 && std::string_view(argv[i]).rfind(kFlag, 0) == 0) {
            dataDir = std::string(argv[i] + kFlag.size());
        } else {
            args.push_back(argv[i]);
        }
    }
    int benchArgc = static_cast<int>(args.size());
    benchmark::Initialize(&benchArgc, args.data());
    if (benchmark::ReportUnrecognizedArguments(benchArgc, args.data())) {
        return 2;
    }

    std::printf("dictionaries in %s\n", dataDir.string().c_str());
    std::fflush(stdout);
    const GeneratedDictionary small = EnsureDictionary(dataDir, kSmallEntries);
    const GeneratedDictionary large = EnsureDictionary(dataDir, kLargeEntries);

    // Read both files once so that the loader and the raw read alike find
    // them in the page cache, and check that each holds the lines it should.
    {
        std::vector<char> buffer(kReadBlock);
        for (const GeneratedDictionary* dictionary : {&small, &large}) {
            const std::size_t lines = CountLines(dictionary->path, buffer);
            std::printf("%s: %zu entries, %.1f MB (%.0f bytes per line)\n",
                        dictionary->path.filename().string().c_str(), lines,
                        Megabytes(static_cast<double>(dictionary->bytes)),
                        static_cast<double>(dictionary->bytes) / static_cast<double>(lines));
            if (lines != dictionary->entries) {
                std::fprintf(stderr, "%s holds %zu lines, not %zu; delete it to regenerate\n",
                             dictionary->path.string().c_str(), lines, dictionary->entries);
                return 1;
            }
        }
    }

    const std::optional<MemoryUse> memory = MeasureLoadMemory(large);

    IdiomList smallList;
    LoadIdiomList(smallList, small.path);
    std::vector<std::string_view> explanations;
    for (std::size_t i = 0; i < smallList.size(); ++i) {
        const std::string_view entry = smallList[i];
        const std::size_t bracket = entry.find(']');
        explanations.push_back(bracket == std::string_view::npos ? entry
                                                                 : entry.substr(bracket + 1));
    }

    const std::string smallName = std::to_string(kSmallEntries);
    const std::string largeName = std::to_string(kLargeEntries);
    for (const auto& [name, dictionary] :
         {std::pair{smallName, &small}, std::pair{largeName, &large}}) {
        const double minTime = dictionary == &large ? 1.0 : 0.5;
        const auto add = [&, &name = name, dictionary = dictionary](const char* kind, auto way) {
            benchmark::RegisterBenchmark(
                (kind + ("/" + name)).c_str(),
                [dictionary, way](benchmark::State& state) { MeasureWay(state, *dictionary, way); })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(minTime)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true)
                ->UseRealTime();
        };
        add("load", Load);
        add("raw_read", RawRead());
        add("read_whole", ReadWhole);
        add("fgets_lines", FgetsLines);
    }
    benchmark::RegisterBenchmark(("split_entry/" + smallName).c_str(), BM_SplitEntry, smallList)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("format_explanation/" + smallName).c_str(), BM_FormatExplanation,
                                 explanations)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::fflush(stdout);

    std::printf("\n--- summary (median of 3 repetitions, real time) ---\n");
    std::printf("%9s %9s %11s %11s %11s %9s %11s\n", "entries", "MB", "load ms", "raw read ms",
                "fgets ms", "load/raw", "fgets/load");
    for (const auto& [name, dictionary] :
         {std::pair{smallName, &small}, std::pair{largeName, &large}}) {
        const auto load = reporter.Seconds("load/" + name);
        const auto raw = reporter.Seconds("raw_read/" + name);
        const auto fgets = reporter.Seconds("fgets_lines/" + name);
        const double megabytes = Megabytes(static_cast<double>(dictionary->bytes));
        if (!load || !raw) {
            std::printf("%9s not measured\n", name.c_str());
            continue;
        }
        std::printf("%9s %9.1f %11.2f %11.2f ", name.c_str(), megabytes, *load * 1e3, *raw * 1e3);
        if (fgets) {
            std::printf("%11.2f %9.2f %11.1f\n", *fgets * 1e3, *load / *raw, *fgets / *load);
        } else {
            std::printf("%11s %9.2f %11s\n", "-", *load / *raw, "-");
        }
    }
    for (const auto& [name, dictionary] :
         {std::pair{smallName, &small}, std::pair{largeName, &large}}) {
        const auto load = reporter.Seconds("load/" + name);
        const auto whole = reporter.Seconds("read_whole/" + name);
        if (load && whole) {
            const double bytes = static_cast<double>(dictionary->bytes);
            std::printf(
                "%s entries read into a fresh buffer of the file's size: %.2f ms = %.0f MB/s; "
                "load/that %.2f\n",
                name.c_str(), *whole * 1e3, Megabytes(bytes) / *whole, *load / *whole);
        }
    }
    if (const auto split = reporter.Seconds("split_entry/" + smallName)) {
        std::printf("SplitEntry (with FormatExplanation): %.0f ns per entry over %zu entries\n",
                    *split / static_cast<double>(smallList.size()) * 1e9, smallList.size());
    }
    if (const auto format = reporter.Seconds("format_explanation/" + smallName)) {
        std::printf("FormatExplanation alone: %.0f ns per entry\n",
                    *format / static_cast<double>(explanations.size()) * 1e9);
    }
    if (memory) {
        const double size = static_cast<double>(large.bytes);
        const double budget = 1.3 * size + 48.0 * static_cast<double>(large.entries);
        std::printf(
            "memory for %zu entries, file %.1f MB: resident growth %.1f MB (%.2f x file), "
            "peak growth %.1f MB; budget 1.3 x size + 48 x entries = %.1f MB, %s\n",
            memory->entries, Megabytes(size), Megabytes(static_cast<double>(memory->growth)),
            static_cast<double>(memory->growth) / size,
            Megabytes(static_cast<double>(memory->peakGrowth)), Megabytes(budget),
            static_cast<double>(memory->growth) <= budget ? "within" : "OVER");
    } else {
        std::printf("memory: could not be measured\n");
    }
    for (const std::string& name : reporter.Failed()) {
        std::printf("benchmark %s reported an error\n", name.c_str());
    }
    // The three figures last, where scripts look for them, each from its own
    // paired rounds (after the benchmarks, so that the table above is not
    // disturbed by them).
    std::fflush(stdout);
    const double figures[] = {
        PairedRatio(small, Load, RawRead(), kSmallRounds),
        PairedRatio(small, FgetsLines, Load, kSmallRounds),
        PairedRatio(large, Load, ReadWhole, kLargeRounds),
    };
    std::printf(
        "\n--- paired: median of the ratios of %d rounds (30,000) and %d rounds (1,000,000) ---\n",
        kSmallRounds, kLargeRounds);
    std::printf("load-ratio-%s: %.2f\n", smallName.c_str(), figures[0]);
    std::printf("fgets-ratio-%s: %.2f\n", smallName.c_str(), figures[1]);
    std::printf("load-ratio-fresh: %.2f\n", figures[2]);
    std::fflush(stdout);
    return reporter.Failed().empty() ? 0 : 1;
}
