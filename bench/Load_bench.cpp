// Loading a large page and a large style sheet without pictures: reading, guessing the encoding,
// scanning, building the records and writing the working copies.
#include "base/WorkPool.h"
#include "document/DocumentText.h"
#include "document/HtmlStructure.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string MakePage(size_t size)
{
    // Shift-JIS prose ("日本語のテキスト") between tags carrying colours.
    const std::string prose = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67";
    std::string page = "<html><head><link rel=\"stylesheet\" href=\"big.css\"></head><body bgcolor=\"#FFFFFF\">\r\n";
    for (int i = 0; page.size() < size; ++i) {
        page += "<p class=\"c" + std::to_string(i % 97) + "\"><font color=\"#" + std::to_string(100000 + i % 800000) +
                "\">" + prose + prose + "</font> <span style=\"color: red; border: 1px solid rgb(1, 2, 3)\">" + prose +
                "</span></p>\r\n<!-- " + prose + " -->\r\n";
    }
    return page + "</body></html>\r\n";
}

std::string MakeSheet(size_t size)
{
    std::string sheet = "/* big */\r\n";
    for (int i = 0; sheet.size() < size; ++i)
        sheet += ".k" + std::to_string(i) + " a:hover { color: #A0B0C0; background-color: Navy; "
                 "border-top: 1px dotted rgb(10%, 20%, 30%); font-family: \"MS Gothic\", sans-serif; }\r\n";
    return sheet;
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

void BM_LoadPageAndSheet(benchmark::State& state)
{
    const fs::path dir = fs::temp_directory_path() / "pictor-load-bench";
    fs::create_directories(dir / "work");
    const std::string page = MakePage(10 << 20), sheet = MakeSheet(10 << 20);
    WriteFile(dir / "index.html", page);
    WriteFile(dir / "big.css", sheet);
    pictor::TWorkPool pool;
    pictor::TDocumentOptions options;
    options.Pool = &pool;
    for (auto _ : state) {
        pictor::THtmlStructure doc((dir / "work").string() + "/");
        doc.LoadFromFile((dir / "index.html").string(), options);
        benchmark::DoNotOptimize(doc.Page.Colors.size());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(page.size() + sheet.size()));
    fs::remove_all(dir);
}
BENCHMARK(BM_LoadPageAndSheet)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The walks alone, over texts in memory: what scanning costs without the files around it.
void BM_ScanPageAndSheet(benchmark::State& state)
{
    pictor::TElements page, sheet;
    page.Text = MakePage(10 << 20);
    sheet.Text = MakeSheet(10 << 20);
    pictor::TWorkPool pool;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pictor::ScanFile(page, true).Colors.size());
        benchmark::DoNotOptimize(pictor::ScanFile(sheet, false, &pool).Colors.size());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(page.Text.size() + sheet.Text.size()));
}
BENCHMARK(BM_ScanPageAndSheet)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
