// How long the compile takes from the two description texts to the three
// compiled files, for the shipped scenario and for a generated line of the
// greatest length, each next to its floor: the time to write the same number
// of bytes to the same folder as three whole-file replacements, flushed to the
// disk before and after their renames exactly as the compile's are. After the
// run it prints each compile as a multiple of its floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "bench_platform.h"
#include "bench_scenario.h"
#include "driver/Form1.h"
#include "platform/replace_file.h"

namespace {

using bench::scenario_case;

const char* case_name(scenario_case which) {
  return which == scenario_case::shipped ? "shipped" : "longest";
}

const std::string& line_text() {
  static const std::string text = bench::longest_line_text();
  return text;
}
const std::string& train_text() {
  static const std::string text = bench::longest_train_text();
  return text;
}

// One untimed compile per case, made the first time the case is run.
const bench::probe_result& probe(scenario_case which) {
  static std::map<scenario_case, bench::probe_result> results;
  auto found = results.find(which);
  if (found == results.end()) {
    found = results.emplace(which, bench::probe_compile(which, line_text(), train_text())).first;
  }
  return found->second;
}

// The compile and its floor write into the same folder, one per case.
const bench::scratch_folder& folder_of(scenario_case which) {
  static std::map<scenario_case, std::unique_ptr<bench::scratch_folder>> folders;
  auto& folder = folders[which];
  if (!folder) folder = std::make_unique<bench::scratch_folder>(case_name(which));
  return *folder;
}

std::uintmax_t total_bytes(const bench::probe_result& result) {
  return std::accumulate(result.file_sizes.begin(), result.file_sizes.end(), std::uintmax_t{0});
}

// Checks once, outside the timing, that the case compiles clean. The longest
// line is this benchmark's own text: if it does not compile clean, the numbers
// would not measure a compile, so the run stops. The shipped scenario's texts
// belong to the build; a failure there is reported on its rows.
bool ready(benchmark::State& state, scenario_case which) {
  const bench::probe_result& result = probe(which);
  if (result.ok) return true;
  const std::string message =
      std::string(case_name(which)) + " scenario does not compile clean: " + result.problem;
  if (which == scenario_case::longest) {
    std::fprintf(stderr, "compile_bench: %s\n", message.c_str());
    std::exit(EXIT_FAILURE);
  }
  state.SkipWithError(message.c_str());
  return false;
}

void compile_case(benchmark::State& state, scenario_case which) {
  if (!ready(state, which)) return;
  bench::bench_platform platform(folder_of(which).path());
  std::unique_ptr<Form1> form;
  for (auto _ : state) {
    state.PauseTiming();
    form.reset();  // the previous form's tables are released outside the timing
    form = std::make_unique<Form1>(platform);
    bench::write_description_texts(*form, which, line_text(), train_text());
    state.ResumeTiming();

    std::int32_t j = 1;
    try {
      form->memorizza_percorso(j);
    } catch (const std::exception& failure) {
      state.SkipWithError((std::string("the compile failed: ") + failure.what()).c_str());
      break;
    }
  }
  if (form && form->model.error_code != 0) {
    state.SkipWithError(
        ("the compile recorded error " + std::to_string(form->model.error_code)).c_str());
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * total_bytes(probe(which))));
}

void floor_case(benchmark::State& state, scenario_case which) {
  if (!ready(state, which)) return;
  const auto files = bench::compiled_files(folder_of(which).path());
  const auto& sizes = probe(which).file_sizes;
  std::vector<std::string> bytes;
  for (std::size_t k = 0; k < files.size(); ++k) bytes.emplace_back(sizes[k], '\x5A');
  for (auto _ : state) {
    for (std::size_t k = 0; k < files.size(); ++k) platform::replace_file(files[k], bytes[k]);
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * total_bytes(probe(which))));
}

// The console report, keeping each benchmark's time per iteration for the
// summary of ratios: the median over the repetitions, or the median aggregate
// when only aggregates are reported.
class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        repetitions_[name].push_back(seconds);
      } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians_[name] = seconds;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Nothing when the benchmark did not run.
  std::optional<double> seconds(const std::string& name) const {
    const auto found = repetitions_.find(name);
    if (found != repetitions_.end() && !found->second.empty()) {
      std::vector<double> times = found->second;
      std::sort(times.begin(), times.end());
      return times[times.size() / 2];
    }
    const auto median = medians_.find(name);
    if (median != medians_.end()) return median->second;
    return std::nullopt;
  }

 private:
  std::map<std::string, std::vector<double>> repetitions_;
  std::map<std::string, double> medians_;
};

void print_summary(const ratio_reporter& reporter) {
  std::printf("\nCompile time as a multiple of the floor (goal: at most 2):\n");
  for (scenario_case which : {scenario_case::shipped, scenario_case::longest}) {
    const std::string name = case_name(which);
    const auto compile_time = reporter.seconds("compile/" + name);
    const auto floor_time = reporter.seconds("floor/" + name);
    if (!compile_time || !floor_time) {
      std::printf("  %-8s not measured\n", name.c_str());
      continue;
    }
    const double ratio = *compile_time / *floor_time;
    std::printf("  %-8s compile %10.3f ms  floor %10.3f ms  (%llu bytes)  ratio %6.2f  %s\n",
                name.c_str(), *compile_time * 1e3, *floor_time * 1e3,
                static_cast<unsigned long long>(total_bytes(probe(which))), ratio,
                ratio <= 2.0 ? "within goal" : "OVER GOAL");
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (scenario_case which : {scenario_case::shipped, scenario_case::longest}) {
    const std::string name = case_name(which);
    benchmark::RegisterBenchmark(("compile/" + name).c_str(),
                                 [which](benchmark::State& state) { compile_case(state, which); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("floor/" + name).c_str(),
                                 [which](benchmark::State& state) { floor_case(state, which); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  print_summary(reporter);
  return 0;
}
