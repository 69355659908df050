// Writes the seed corpora of the fuzz targets: the two shipped texts, each
// behind the selector byte that makes the target read it, with and without
// the track plan. "write_seeds DIR" seeds the reader target, "write_seeds DIR
// compile" the compile target (whose selector also offers both texts at once,
// split at a zero byte).
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"

int main(int argc, char** argv) {
  const bool compile = argc == 3 && std::string(argv[2]) == "compile";
  if (argc != 2 && !compile) {
    std::fprintf(stderr, "usage: %s <corpus folder> [compile]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::string line = scenari::render_lines(scenari::linea_lines());
  const std::string train = scenari::render_lines(scenari::treno_lines());
  if (compile) {
    // Bit 0 the plan; bits 1 and 2: 0 the line text, 1 the train text, 2 both.
    for (const char plan : {0, 1}) {
      const std::string p = std::to_string(plan);
      platform::replace_file(folder / ("line_" + p), std::string(1, plan) + line);
      platform::replace_file(folder / ("train_" + p),
                             std::string(1, static_cast<char>(plan | 2)) + train);
      platform::replace_file(folder / ("both_" + p),
                             std::string(1, static_cast<char>(plan | 4)) + line + '\0' + train);
    }
    return 0;
  }
  for (const char plan : {0, 2}) {
    platform::replace_file(folder / ("line_" + std::to_string(plan)), std::string(1, plan) + line);
    platform::replace_file(folder / ("train_" + std::to_string(plan)),
                           std::string(1, static_cast<char>(plan | 1)) + train);
  }
  return 0;
}
