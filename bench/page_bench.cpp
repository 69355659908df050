// The line page of draw --html: how long the tool takes to make it and how
// large it is, for the shipped scenario and for the longest line the reader
// accepts. `page_bench --write-pages DIR` writes both pages into DIR for
// bench/page_ready.mjs, which times them in Chromium up to the first frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "bench_scenario.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/draw/draw_sources.h"
#include "scenario_tool/draw/html_page.h"
#include "scenario_tool/draw/page_data.h"

namespace {

struct texts {
  std::filesystem::path line;
  std::filesystem::path train;
};

texts write_texts(const std::filesystem::path& folder, bench::scenario_case which) {
  std::filesystem::create_directories(folder);
  texts t{folder / "Brisena_Tarvo_linea.txt", folder / "Brisena_Tarvo_47306-.txt"};
  if (which == bench::scenario_case::shipped) {
    platform::replace_file(t.line, scenari::render_lines(scenari::linea_lines()));
    platform::replace_file(t.train, scenari::render_lines(scenari::treno_lines()));
  } else {
    platform::replace_file(t.line, bench::longest_line_text());
    platform::replace_file(t.train, bench::longest_train_text());
  }
  return t;
}

std::string page_of(const texts& t) {
  scenario_tool::drawn_texts drawn = scenario_tool::picture_from_texts(t.line, t.train);
  return scenario_tool::html_page(
      scenario_tool::page_json(drawn.picture, drawn.rows, drawn.diagnostics), "bench", false);
}

std::filesystem::path scratch(const char* name) {
  return std::filesystem::temp_directory_path() / ("page_bench_" + std::string(name));
}

void make_page(benchmark::State& state, bench::scenario_case which, const char* name) {
  const texts t = write_texts(scratch(name), which);
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string page = page_of(t);
    size = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(size);
  std::filesystem::remove_all(scratch(name));
}

void BM_PageShipped(benchmark::State& state) {
  make_page(state, bench::scenario_case::shipped, "shipped");
}
void BM_PageLongest(benchmark::State& state) {
  make_page(state, bench::scenario_case::longest, "longest");
}
BENCHMARK(BM_PageShipped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageLongest)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-pages") == 0) {
    const std::filesystem::path out = argv[2];
    for (const auto& [which, name] :
         {std::pair{bench::scenario_case::shipped, "shipped"},
          std::pair{bench::scenario_case::longest, "longest"}}) {
      const texts t = write_texts(out / name, which);
      platform::replace_file(out / (std::string(name) + ".html"), page_of(t));
      std::cout << (out / (std::string(name) + ".html")).string() << '\n';
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
