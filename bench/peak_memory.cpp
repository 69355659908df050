// The peak resident memory of a process that compiles the generated line of
// the greatest length once, plan on: writes the two description texts into a
// scratch folder, compiles them, and prints the peak in MiB.
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "bench_platform.h"
#include "bench_scenario.h"
#include "driver/Form1.h"

namespace {

constexpr double goal_mib = 64.0;

// ru_maxrss is in KiB on Linux.
double peak_mib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main() {
  bench::scratch_folder folder("peak");
  bench::bench_platform platform(folder.path());
  Form1 form(platform);
  try {
    bench::write_description_texts(form, bench::scenario_case::longest, bench::longest_line_text(),
                                   bench::longest_train_text());
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "peak_memory: cannot write the description texts: %s\n", failure.what());
    return 1;
  }
  const double before = peak_mib();

  std::int32_t j = 1;
  try {
    form.memorizza_percorso(j);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "peak_memory: the compile failed: %s\n", failure.what());
    return 1;
  }
  if (form.model.error_code != 0) {
    std::fprintf(stderr, "peak_memory: the compile recorded error %d at metre %d\n",
                 static_cast<int>(form.model.error_code),
                 static_cast<int>(form.model.error_position));
    return 1;
  }

  const double peak = peak_mib();
  std::printf(
      "line of %d m, plan on: peak resident memory %.1f MiB (%.1f MiB before the compile)"
      ", goal below %.0f MiB: %s\n",
      static_cast<int>(bench::longest_line_metres), peak, before, goal_mib,
      peak < goal_mib ? "within goal" : "OVER GOAL");
  return 0;
}
