// In-process kernels of a run, timed with Google Benchmark: splitting a print
// file into lines, writing text lines into a document, converting CP858 text
// to UTF-8, and rewriting the progress text on the in-memory console.
//
// The print file is the one named by ZALPRINT_BENCH_FILE (bench/run.sh passes
// the generated 2,000-page file); without it a small built-in ledger page,
// repeated, stands in for it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "config/run.h"
#include "config/session.h"
#include "console/console.h"
#include "console/status_box.h"
#include "fsutil/line_reader.h"
#include "hta/charset.h"
#include "hta/document.h"
#include "platform/platform.h"
#include "printfile/interpreter.h"

namespace {

// One text line of the print file, split into its fields.
struct TextLine {
    std::int16_t column = 0;
    std::string text;
    std::int16_t feed_count = 0;
};

// The print file of the kernels and its text lines.
struct Corpus {
    std::string path;
    std::int64_t bytes = 0;
    std::vector<TextLine> text_lines;
};

// Lines of one page of a ledger, in CP858 ("\x82" is e acute, "\xD5" the euro sign).
const char* const sample_page[] = {
    "PAGE 1",
    "*E",
    "1,EMPRESA EXEMPLE DEL VALL\xD4S, S.L.,0",
    "62,P\x85gina     1,1",
    "1,Data        N\xA3mero     Client                           Import,1",
    "1,==========================================================================,1",
    "*N",
    "1,17/01/2023  A-005335   Cooperativa Agr\xA1\x63ola de Lleida       4.544,97 \xD5,1",
    "1,15/01/2023  A-005336   Electrodom\x8Astics Vidal               1.455,43 \xD5,1",
    "1,16/01/2023,0",
    "13,A-005338,0",
    "JUS N 55 \\.\\",
    "24,Forn de Pa Sant Jordi,0",
    "58,      2.605,86 \xD5,1",
    "1,25/01/2023  A-005344   \xE0ptica N\xA3\xA4\x65z                         4.597,06 \xD5,1",
};

// Writes the built-in sample, repeated, to a temporary file; its path.
std::string write_sample_file() {
    std::string data;
    for (int page = 0; page < 2000; ++page)
        for (const char* line : sample_page) data.append(line).append("\r\n");
    std::string path = (std::filesystem::temp_directory_path() / "zalprint_kernels.tmp").string();
    platform::FileHandle file = platform::create_shared_write(path);
    platform::write_file(file, data.data(), data.size());
    platform::close_file(file);
    return path;
}

// Loads the corpus once: the file's size and its text lines.
const Corpus& corpus() {
    static const Corpus loaded = [] {
        Corpus c;
        const char* named = std::getenv("ZALPRINT_BENCH_FILE");
        c.path = named && *named ? named : write_sample_file();
        fsutil::LineReader reader;
        fsutil::open_line_reader(reader, c.path);
        std::string line;
        std::int16_t last_column = 0;
        while (fsutil::read_line(reader, line)) {
            c.bytes += static_cast<std::int64_t>(line.size()) + 2;
            if (printfile::classify_line(line) != printfile::LineKind::text) continue;
            TextLine t;
            printfile::parse_text_line(line, last_column, t.text, t.feed_count);
            t.column = last_column;
            c.text_lines.push_back(t);
        }
        fsutil::close_line_reader(reader);
        return c;
    }();
    return loaded;
}

// Total bytes of the text fields of the corpus.
std::int64_t text_bytes(const Corpus& c) {
    std::int64_t total = 0;
    for (const TextLine& t : c.text_lines) total += static_cast<std::int64_t>(t.text.size());
    return total;
}

// Reads the whole print file line by line.
void read_lines(benchmark::State& state) {
    const Corpus& c = corpus();
    std::int64_t lines = 0;
    for (auto _ : state) {
        fsutil::LineReader reader;
        fsutil::open_line_reader(reader, c.path);
        std::string line;
        while (fsutil::read_line(reader, line)) {
            benchmark::DoNotOptimize(line.data());
            ++lines;
        }
        fsutil::close_line_reader(reader);
    }
    state.SetBytesProcessed(c.bytes * state.iterations());
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(read_lines)->Unit(benchmark::kMillisecond);

// Writes every text line of the print file into a new document, header and
// footer included, in the temporary folder.
void write_text_lines(benchmark::State& state) {
    const Corpus& c = corpus();
    config::SessionContext session;
    config::RunOptions options;
    options.show_document = false;
    const std::string path =
        (std::filesystem::temp_directory_path() / "zalprint_kernels.hta").string();
    std::string text;
    for (auto _ : state) {
        hta::HtaDocument document;
        hta::TextStack stack;
        document.path = path;
        hta::open_document(document, session, options, "P");
        if (document.file == platform::no_file) {
            state.SkipWithError("the document cannot be created");
            break;
        }
        for (const TextLine& t : c.text_lines) {
            text = t.text;
            hta::write_text_line(document, stack, t.column, text, t.feed_count);
        }
        hta::close_document(document, options);
        hta::document_close_file(document);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(text_bytes(c) * state.iterations());
    state.counters["lines"] = benchmark::Counter(
        static_cast<double>(c.text_lines.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(write_text_lines)->Unit(benchmark::kMillisecond);

// Converts every text field of the print file, one line at a time.
void convert_charset_lines(benchmark::State& state) {
    const Corpus& c = corpus();
    for (auto _ : state)
        for (const TextLine& t : c.text_lines)
            benchmark::DoNotOptimize(hta::convert_charset(t.text));
    state.SetBytesProcessed(text_bytes(c) * state.iterations());
}
BENCHMARK(convert_charset_lines)->Unit(benchmark::kMillisecond);

// Converts 64 KiB of the text fields in one call.
void convert_charset_block(benchmark::State& state) {
    const Corpus& c = corpus();
    std::string block;
    for (std::size_t i = 0; block.size() < 65536; ++i)
        block += c.text_lines[i % c.text_lines.size()].text;
    block.resize(65536);
    for (auto _ : state) benchmark::DoNotOptimize(hta::convert_charset(block));
    state.SetBytesProcessed(static_cast<std::int64_t>(block.size()) * state.iterations());
}
BENCHMARK(convert_charset_block);

// Rewrites the progress text of an open status box on the in-memory console.
void show_progress(benchmark::State& state) {
    platform::memory_console_reset(25, 80);
    config::SessionContext session;
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "zalprint_kernels";
    std::filesystem::create_directories(folder);
    session.temp_dir = (folder / "").string();
    session.colours = config::parse_colour_text(config::default_colour_text);
    console::Console screen;
    console::console_open(screen);
    console::open_status_box(screen, session);
    std::int16_t lines = 0;
    for (auto _ : state) {
        console::show_progress(screen, 12, lines);
        lines = static_cast<std::int16_t>((lines + 1) % 60);
    }
    console::close_status_box(screen, session);
    console::console_flush(screen);
}
BENCHMARK(show_progress);

}  // namespace

BENCHMARK_MAIN();
