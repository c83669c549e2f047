// How fast idiomtool import makes a dictionary of an open idiom list of
// 30,000 records: the whole command (read, parse, lay out, convert to GBK,
// write), as JSON and as CSV, and the JSON parse alone for comparison.
//
//   import_bench [--data_dir=DIR] [Google Benchmark flags]
//
// The lists are made from the load benchmark's synthetic entries. The last
// lines printed are "in-process-import-cpu-seconds-json-30000: C" and
// "in-process-import-seconds-json-30000: S", the mean processor and clock
// time of the whole JSON import.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "commands/commands.h"
#include "dictionary_gen.h"
#include "gbk_text.h"
#include "text/text_codec.h"

#ifndef QUENDRIL_BENCH_DATA_DIR
#define QUENDRIL_BENCH_DATA_DIR "bench-data"
#endif

namespace {

constexpr std::size_t kRecords = 30'000;
constexpr std::uint64_t kSeed = 0x494D504F5254ULL;

struct Lists {
    std::filesystem::path json, csv, out;
    std::uintmax_t jsonBytes = 0, csvBytes = 0;
};

std::string Utf8(std::string_view gbk) {
    std::string utf8;
    GbkToUtf8(gbk, utf8);
    return utf8;
}

// The generated entry's fields, as an open list gives them: the reverse of
// the line the import writes.
nlohmann::json RecordOf(const std::string& entry) {
    const std::string_view line = entry;
    const std::size_t open = gbk::Find(line, "[");
    const std::size_t close = gbk::Find(line, "]", open);
    const std::size_t source = gbk::Find(line, "\xB3\xF6\xB4\xA6", close);    // 出处
    const std::size_t example = gbk::Find(line, "\xCA\xBE\xC0\xFD", source);  // 示例
    std::string exampleText = Utf8(line.substr(example + 6));
    if (exampleText == "无") {
        exampleText.clear();
    }
    return {{"word", Utf8(line.substr(0, open - 1))},
            {"pinyin", Utf8(line.substr(open + 1, close - open - 1))},
            {"explanation", Utf8(line.substr(close + 1, source - close - 1))},
            {"derivation", Utf8(line.substr(source + 6, example - source - 6))},
            {"example", exampleText}};
}

std::string CsvField(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

Lists& MakeLists(const std::filesystem::path& directory) {
    static Lists lists;
    if (!lists.json.empty()) {
        return lists;
    }
    std::filesystem::create_directories(directory);
    lists.json = directory / "idiom-list-30000.json";
    lists.csv = directory / "idiom-list-30000.csv";
    lists.out = directory / "imported-30000.txt";
    std::ofstream json(lists.json, std::ios::binary);
    std::ofstream csv(lists.csv, std::ios::binary);
    csv << "word,pinyin,explanation,derivation,example\r\n";
    json << "[\n";
    for (std::size_t i = 0; i < kRecords; ++i) {
        const nlohmann::json record = RecordOf(MakeEntry(kSeed, i));
        json << "  " << record.dump() << (i + 1 < kRecords ? ",\n" : "\n");
        const char* keys[] = {"word", "pinyin", "explanation", "derivation", "example"};
        for (const char* key : keys) {
            csv << (key == keys[0] ? "" : ",") << CsvField(record[key].get<std::string>());
        }
        csv << "\r\n";
    }
    json << "]\n";
    json.close();
    csv.close();
    lists.jsonBytes = std::filesystem::file_size(lists.json);
    lists.csvBytes = std::filesystem::file_size(lists.csv);
    return lists;
}

std::filesystem::path& DataDir() {
    static std::filesystem::path dir = QUENDRIL_BENCH_DATA_DIR;
    return dir;
}

void RunImport(benchmark::State& state, const std::filesystem::path& in, std::uintmax_t bytes) {
    const Lists& lists = MakeLists(DataDir());
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        const int code = RunIdiomTool({"import", in.string(), lists.out.string()}, out, err);
        if (code != kExitOk) {
            state.SkipWithError(("import failed: " + err.str()).c_str());
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["records"] = kRecords;
}

void BM_ImportJson(benchmark::State& state) {
    const Lists& lists = MakeLists(DataDir());
    RunImport(state, lists.json, lists.jsonBytes);
}

void BM_ImportCsv(benchmark::State& state) {
    const Lists& lists = MakeLists(DataDir());
    RunImport(state, lists.csv, lists.csvBytes);
}

void BM_ParseJsonOnly(benchmark::State& state) {
    const Lists& lists = MakeLists(DataDir());
    std::ifstream in(lists.json, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        benchmark::DoNotOptimize(nlohmann::json::parse(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_ImportJson)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ParseJsonOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the mean real time of the whole JSON import for the summary line.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.benchmark_name().starts_with("BM_ImportJson") && !run.error_occurred) {
                m_jsonSeconds = run.GetAdjustedRealTime() / 1e3;  // reported in ms
                m_jsonCpuSeconds = run.GetAdjustedCPUTime() / 1e3;
            }
        }
    }
    double jsonSeconds() const { return m_jsonSeconds; }
    double jsonCpuSeconds() const { return m_jsonCpuSeconds; }

private:
    double m_jsonSeconds = -1;
    double m_jsonCpuSeconds = -1;
};

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--data_dir=")) {
            DataDir() = arg.substr(11);
        }
    }
    benchmark::Initialize(&argc, argv);
    const Lists& lists = MakeLists(DataDir());
    std::printf("lists: %zu records; JSON %.1f MB, CSV %.1f MB\n", kRecords, lists.jsonBytes / 1e6,
                lists.csvBytes / 1e6);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // On a machine shared with other work the processor time says more than
    // the time on the clock, which includes the waits for a processor.
    std::printf("in-process-import-cpu-seconds-json-30000: %.3f\n", reporter.jsonCpuSeconds());
    std::printf("in-process-import-seconds-json-30000: %.3f\n", reporter.jsonSeconds());
    return 0;
}
