// Looking idioms up in a 30,000-entry dictionary: the preparation on the first
// Find, and one query of each kind a learner types (Google Benchmark). Typing
// must not lag, so a query should answer well within 5 ms.
//
//   find_bench [--benchmark_...]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dictionary_gen.h"
#include "entry_fields.h"
#include "idiom_finder.h"
#include "idiom_list.h"

namespace {

constexpr std::size_t kEntries = 30000;
constexpr std::size_t kShown = 300;  // what the find dialog lists at most

const IdiomList& Dictionary() {
    static const IdiomList list = [] {
        IdiomList loaded;
        const GeneratedDictionary file = EnsureDictionary(QUENDRIL_BENCH_DATA_DIR, kEntries);
        if (!LoadIdiomList(loaded, file.path) || loaded.size() != kEntries) {
            std::fprintf(stderr, "find_bench: cannot load %s\n", file.path.c_str());
            std::exit(1);
        }
        return loaded;
    }();
    return list;
}

const IdiomFinder& Finder() {
    static const IdiomFinder finder(Dictionary());
    return finder;
}

// The texts a learner would type for the entry in the middle of the list.
struct Queries {
    std::string idiom, firstTwo, pinyin, toneless, initials;
};

const Queries& TypedFor() {
    static const Queries queries = [] {
        const EntryFields fields = SplitEntry(Dictionary()[kEntries / 2]);
        Queries q;
        q.idiom = fields.idiom;
        q.firstTwo = fields.idiom.substr(0, 4);
        q.pinyin = fields.pronunciation.substr(2, fields.pronunciation.size() - 3);  // " [" "]"
        bool syllableStart = true;
        for (std::size_t pos = 0; pos < q.pinyin.size();) {
            const PinyinLetter letter = ReadPinyinLetter(q.pinyin, pos);
            if (letter.length == 0) {
                q.toneless += ' ';
                syllableStart = true;
                ++pos;
                continue;
            }
            q.toneless += letter.base;
            if (syllableStart) q.initials += letter.base;
            syllableStart = false;
            pos += letter.length;
        }
        return q;
    }();
    return queries;
}

void BM_PrepareOnFirstFind(benchmark::State& state) {
    const IdiomList& list = Dictionary();
    for (auto _ : state) {
        IdiomFinder finder(list);
        benchmark::DoNotOptimize(finder);
    }
}
BENCHMARK(BM_PrepareOnFirstFind)->Unit(benchmark::kMillisecond);

void RunQuery(benchmark::State& state, const std::string& text) {
    const IdiomFinder& finder = Finder();
    std::size_t total = 0;
    for (auto _ : state) {
        FindResult result = finder.Find(text, kShown);
        total = result.total;
        benchmark::DoNotOptimize(result);
    }
    state.counters["matches"] = static_cast<double>(total);
}

void BM_Query_Idiom(benchmark::State& s) { RunQuery(s, TypedFor().idiom); }
void BM_Query_TwoCharacters(benchmark::State& s) { RunQuery(s, TypedFor().firstTwo); }
void BM_Query_PinyinWithTones(benchmark::State& s) { RunQuery(s, TypedFor().pinyin); }
void BM_Query_PinyinToneless(benchmark::State& s) { RunQuery(s, TypedFor().toneless); }
void BM_Query_Initials(benchmark::State& s) { RunQuery(s, TypedFor().initials); }
void BM_Query_OneLetter(benchmark::State& s) { RunQuery(s, "s"); }  // the most matches
void BM_Query_NoMatch(benchmark::State& s) { RunQuery(s, "qqqq"); }
BENCHMARK(BM_Query_Idiom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query_TwoCharacters)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query_PinyinWithTones)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query_PinyinToneless)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query_Initials)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query_OneLetter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query_NoMatch)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
