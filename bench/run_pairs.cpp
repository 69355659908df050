// A whole run against its floor, pair by pair in one process. The floor is
// the least a safe installation must do: write the bytes of the files that
// stay to new temporaries, flush each once, rename each over its file, and
// flush the folder once. Each pair times one run and one floor in the same
// folder, in alternating order so that a slower disk for a moment weighs on
// both; the ratio of each pair is kept, and the median and the spread of the
// ratios are printed.
//
//   run_pairs [PAIRS]      (default 21)
//   run_pairs --texts DIR  writes the longest line's two description texts
//                          into DIR, for measuring the authors' tool on it
//
// Four comparisons:
//   process   the installer as a driver starts it, a whole process from its
//             start to its exit, against install_floor, a small C program
//             that writes, flushes and renames the same six files over the
//             existing set, then flushes the folder, also a whole process;
//   shipped   the installer's whole run (Form_Load: the two texts, the three
//             documents, the three compiled files) against the floor of its
//             six files;
//   longest   the line of 1 000 000 m: its two texts written as a run writes
//             them, then the compile, against the floor of its three
//             compiled files;
//   compile   the compile of the longest line alone, in a folder in memory
//             (/dev/shm, where a flush waits for nothing), against writing
//             and renaming its three files there.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench_platform.h"
#include "bench_scenario.h"
#include "driver/Form1.h"
#include "model/scenario_identity.h"
#include "platform/replace_file.h"

namespace {

using clock_type = std::chrono::steady_clock;
using named_bytes = std::vector<std::pair<std::string, std::string>>;

double seconds_of(const std::function<void()>& work) {
  const auto start = clock_type::now();
  work();
  return std::chrono::duration<double>(clock_type::now() - start).count();
}

void fail(const std::string& what) {
  std::fprintf(stderr, "run_pairs: %s\n", what.c_str());
  std::exit(EXIT_FAILURE);
}

// The floor: each file written to a new temporary, its data flushed once,
// renamed over the file; then the folder flushed once.
void write_floor(const std::filesystem::path& folder, const named_bytes& files, bool flush) {
  for (const auto& [name, bytes] : files) {
    const std::filesystem::path file = folder / name;
    const std::filesystem::path temporary = folder / (name + ".floor.tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) fail("cannot create " + temporary.string());
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n <= 0) fail("cannot write " + temporary.string());
      done += static_cast<std::size_t>(n);
    }
    if (flush && ::fdatasync(fd) != 0) fail("cannot flush " + temporary.string());
    ::close(fd);
    if (::rename(temporary.c_str(), file.c_str()) != 0) fail("cannot rename " + file.string());
  }
  if (flush) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) fail("cannot flush " + folder.string());
    ::close(fd);
  }
}

named_bytes read_files(const std::filesystem::path& folder, const std::vector<std::string>& names) {
  named_bytes files;
  for (const std::string& name : names) {
    files.emplace_back(name, platform::read_file(folder / name));
  }
  return files;
}

std::vector<std::string> lasting_names(bool with_documents) {
  const model::scenario_identity id = model::brisena_tarvo_47306();
  const std::string train = id.route_id + "_" + id.train_number;
  std::vector<std::string> names;
  if (with_documents) {
    names = {train + "_note.txt", train + "_rallentamenti.txt", train + "_scheda_treno.txt"};
  }
  for (const std::string& name : {id.route_id + "_linea.dat", train + ".sim", train + ".dat"}) {
    names.push_back(name);
  }
  return names;
}

const std::string& line_text() {
  static const std::string text = bench::longest_line_text();
  return text;
}
const std::string& train_text() {
  static const std::string text = bench::longest_train_text();
  return text;
}

// The width of each shipped run's burst, in microseconds.
std::vector<double> burst_widths;

// The installer's whole run in `folder`.
double shipped_run(const std::filesystem::path& folder) {
  bench::bench_platform platform(folder);
  Form1 form(platform);
  const double time = seconds_of([&] { form.Form_Load(); });
  if (form.model.error_code != 0 || !platform.last_failure.empty()) fail("the shipped run failed");
  burst_widths.push_back(platform::last_burst_microseconds());
  return time;
}

// The longest line's texts, written as a run writes them (read back and
// deleted, never flushed), then its compile; or, with `compile_only`, the
// compile alone.
double longest_run(const std::filesystem::path& folder, bool compile_only) {
  bench::bench_platform platform(folder);
  Form1 form(platform);
  const model::scenario_identity id = model::brisena_tarvo_47306();
  form.model.route_id = id.route_id;
  form.model.train_number = id.train_number;
  const auto write_texts = [&] {
    platform::replace_file(form.nome_file(id.route_id + "_linea.txt"), line_text(),
                           platform::durability::read_back);
    platform::replace_file(form.nome_file(id.route_id + "_" + id.train_number + "-.txt"),
                           train_text(), platform::durability::read_back);
  };
  if (compile_only) write_texts();
  const double time = seconds_of([&] {
    platform::folder_flush_batch renames;
    if (!compile_only) write_texts();
    std::int32_t j = 1;
    form.memorizza_percorso(j);
    renames.flush();
  });
  if (form.model.error_code != 0) fail("the longest line does not compile clean");
  return time;
}

// A whole process, from its start to its exit: `program` with `arguments`.
double process_seconds(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  std::string zeroth = program;
  argv.push_back(zeroth.data());
  std::vector<std::string> copies = arguments;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  // Its wait message goes nowhere, as from a driver's double click.
  posix_spawn_file_actions_t quiet;
  ::posix_spawn_file_actions_init(&quiet);
  ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  const double time = seconds_of([&] {
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv.data(), environ) != 0) {
      fail("cannot start " + program);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) fail(program + " failed");
  });
  ::posix_spawn_file_actions_destroy(&quiet);
  return time;
}

struct pair_times {
  double run;
  double floor;
};

double quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const std::size_t low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

void report(const char* label, const std::vector<pair_times>& pairs, double goal) {
  std::vector<double> runs, floors, ratios;
  for (const pair_times& p : pairs) {
    runs.push_back(p.run);
    floors.push_back(p.floor);
    ratios.push_back(p.run / p.floor);
  }
  const double median = quantile(ratios, 0.5);
  std::printf(
      "%-8s %2zu pairs  run %8.2f ms  floor %8.2f ms  ratio median %.3f  "
      "quartiles %.3f to %.3f  range %.3f to %.3f  goal %.1f: %s\n",
      label, pairs.size(), quantile(runs, 0.5) * 1e3, quantile(floors, 0.5) * 1e3, median,
      quantile(ratios, 0.25), quantile(ratios, 0.75), quantile(ratios, 0.0), quantile(ratios, 1.0),
      goal, median <= goal ? "within goal" : "OVER GOAL");
  std::fflush(stdout);
}

// One pair after another, the order within each pair alternating; one pair
// first, untimed, to warm the caches and the folder.
std::vector<pair_times> measure(int count, const std::function<double()>& run,
                                const std::function<double()>& floor) {
  run();
  floor();
  std::vector<pair_times> pairs;
  for (int i = 0; i < count; ++i) {
    pair_times p{};
    if (i % 2 == 0) {
      p.run = run();
      p.floor = floor();
    } else {
      p.floor = floor();
      p.run = run();
    }
    pairs.push_back(p);
  }
  return pairs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--texts") {
    const model::scenario_identity id = model::brisena_tarvo_47306();
    const std::filesystem::path folder = argv[2];
    platform::replace_file(folder / (id.route_id + "_linea.txt"), line_text());
    platform::replace_file(folder / (id.route_id + "_" + id.train_number + "-.txt"), train_text());
    return 0;
  }
  const int count = argc > 1 ? std::atoi(argv[1]) : 21;
  if (count < 1) fail("the number of pairs must be at least 1");
  try {
    {
      // As a driver has it: the installer alone in the folder, an earlier
      // installation beside it.
      bench::scratch_folder folder("pairs_process");
      const std::filesystem::path installer = folder.path() / "brisena_tarvo_47306";
      std::filesystem::copy_file(INSTALLER_PATH, installer);
      process_seconds(installer.string(), {});
      // The floor's sources: the same six files, kept beside the folder.
      bench::scratch_folder sources("pairs_sources");
      std::vector<std::string> floor_arguments = {folder.path().string()};
      for (const std::string& name : lasting_names(true)) {
        std::filesystem::copy_file(folder.path() / name, sources.path() / name);
        floor_arguments.push_back((sources.path() / name).string());
      }
      const auto pairs = measure(
          count, [&] { return process_seconds(installer.string(), {}); },
          [&] { return process_seconds(INSTALL_FLOOR_PATH, floor_arguments); });
      report("process", pairs, 1.3);
    }
    {
      bench::scratch_folder folder("pairs_shipped");
      shipped_run(folder.path());
      const named_bytes files = read_files(folder.path(), lasting_names(true));
      const auto pairs = measure(
          count, [&] { return shipped_run(folder.path()); },
          [&] { return seconds_of([&] { write_floor(folder.path(), files, true); }); });
      report("shipped", pairs, 1.2);
      std::printf(
          "burst    %zu shipped runs: the six renames took %.0f microseconds (median; "
          "range %.0f to %.0f)\n",
          burst_widths.size(), quantile(burst_widths, 0.5), quantile(burst_widths, 0.0),
          quantile(burst_widths, 1.0));
    }
    {
      bench::scratch_folder folder("pairs_longest");
      longest_run(folder.path(), false);
      const named_bytes files = read_files(folder.path(), lasting_names(false));
      const auto pairs = measure(
          count, [&] { return longest_run(folder.path(), false); },
          [&] { return seconds_of([&] { write_floor(folder.path(), files, true); }); });
      report("longest", pairs, 1.2);
    }
    const std::filesystem::path memory = "/dev/shm";
    if (std::filesystem::is_directory(memory)) {
      const std::filesystem::path folder =
          memory / ("scenario_bench_pairs_" + std::to_string(::getpid()));
      std::filesystem::create_directories(folder);
      longest_run(folder, true);
      const named_bytes files = read_files(folder, lasting_names(false));
      const auto pairs = measure(
          count, [&] { return longest_run(folder, true); },
          [&] { return seconds_of([&] { write_floor(folder, files, false); }); });
      std::filesystem::remove_all(folder);
      report("compile", pairs, 1.3);
    } else {
      std::printf("compile  not measured: no /dev/shm\n");
    }
  } catch (const std::exception& failure) {
    fail(failure.what());
  }
  return 0;
}
