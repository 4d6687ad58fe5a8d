// The address scan against a plain memchr pass that counts full stops over the same bytes.
// Each page is 16 MB of one shape and ends in an address.
#include "detect/PageText.h"
#include "detect/Scan.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

constexpr std::size_t kPageBytes = 16u << 20;

std::string Repeat(const std::string& unit) {
    std::string page;
    page.reserve(kPageBytes + 64);
    while (page.size() + unit.size() < kPageBytes)
        page += unit;
    page += " 203.0.113.77";
    return page;
}

const std::string& Page(int shape) {
    static const std::string pages[3] = {
        Repeat("1.2."),
        Repeat("Die Adresse steht am Ende. Bis dahin folgt viel Text, Satz um Satz, "
               "mit Kommas und Punkten. "),
        Repeat("<tr><td>Zeile</td><td>1.5</td><td>v2.0 build 7</td></tr>\n")};
    return pages[shape];
}

const char* kShapeNames[3] = {"dense", "prose", "html"};

void Report(benchmark::State& state, const std::string& page) {
    state.SetLabel(kShapeNames[state.range(0)]);
    state.SetBytesProcessed(state.iterations() * page.size());
}

void BM_MemchrDots(benchmark::State& state) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t dots = 0;
        const char* p = page.data();
        const char* end = p + page.size();
        while ((p = static_cast<const char*>(std::memchr(p, '.', end - p))) != nullptr) {
            ++dots;
            ++p;
        }
        benchmark::DoNotOptimize(dots);
    }
    Report(state, page);
}

void BM_Scan(benchmark::State& state) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    const std::wstring text = PageBytesToText(page, "", DecodeWindows1252);
    for (auto _ : state) {
        std::wstring address = ScanForIp(text);
        if (address != L"203.0.113.77") state.SkipWithError("wrong address");
        benchmark::DoNotOptimize(address);
    }
    Report(state, page);
}

void BM_DecodeAndScan(benchmark::State& state) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::wstring address = ScanForIp(PageBytesToText(page, "", DecodeWindows1252));
        benchmark::DoNotOptimize(address);
    }
    Report(state, page);
}

} // namespace

BENCHMARK(BM_MemchrDots)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAndScan)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
