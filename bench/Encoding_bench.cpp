#include "encoding/GuessCharCode.h"
#include "encoding/PzConv.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// About 10 MB of Japanese text in Shift-JIS: kana, kanji of many rows and a few half-width katakana, set in
// table markup (a page: mostly ASCII) or in short paragraphs (prose: mostly two-byte characters).
std::string MixedSjis(bool page)
{
    const std::string open = page ? "<tr><td class=\"note\" style=\"color:#336699; background:#FFFFFF\"><a href=\"a.html#s\">"
                                   : "<p>";
    const std::string close = page ? "</a></td>\r\n<td><img src=\"images/photo.jpg\" width=\"120\" alt=\"\"></td></tr>\r\n"
                                   : "</p>\r\n";
    std::string euc;
    unsigned row = 16, cell = 1;
    while (euc.size() < 10u << 20) {
        euc += open;
        for (unsigned k = 0; k < 24; ++k) {
            euc += {static_cast<char>(0xA4), static_cast<char>(0xA1 + k)};  // hiragana
            euc += {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
            if (++cell > 94) {
                cell = 1;
                if (++row > 47) row = 16;
            }
        }
        euc += "\x8E\xB1\x8E\xB2" + close;
    }
    return pictor::PzConv().EucToSjis(euc);
}

const std::string& Text(const benchmark::State& state)
{
    static const std::string page = MixedSjis(true), prose = MixedSjis(false);
    return state.range(0) ? page : prose;
}

template <class F>
void Measure(benchmark::State& state, const std::string& text, F f)
{
    for (auto _ : state) benchmark::DoNotOptimize(f(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel(state.range(0) ? "page" : "prose");
}

void BM_GuessCharCode(benchmark::State& state)
{
    Measure(state, Text(state), [](const std::string& t) { return pictor::GuessCharCode(t); });
}

void BM_SjisToEuc(benchmark::State& state)
{
    Measure(state, Text(state), [](const std::string& t) { return pictor::PzConv().SjisToEuc(t); });
}

void BM_EucToSjis(benchmark::State& state)
{
    const std::string euc = pictor::PzConv().SjisToEuc(Text(state));
    Measure(state, euc, [](const std::string& t) { return pictor::PzConv().EucToSjis(t); });
}

void BM_SjisToJis(benchmark::State& state)
{
    Measure(state, Text(state), [](const std::string& t) { return pictor::PzConv().SjisToJis(t); });
}

BENCHMARK(BM_GuessCharCode)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToEuc)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EucToSjis)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToJis)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
