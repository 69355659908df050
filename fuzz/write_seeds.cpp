// Writes the seed corpus of the reader fuzz target: the two shipped texts,
// each behind the selector byte that makes the target read it, with and
// without the track plan.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::string line = scenari::render_lines(scenari::linea_lines());
  const std::string train = scenari::render_lines(scenari::treno_lines());
  for (const char plan : {0, 2}) {
    platform::replace_file(folder / ("line_" + std::to_string(plan)), std::string(1, plan) + line);
    platform::replace_file(folder / ("train_" + std::to_string(plan)),
                           std::string(1, static_cast<char>(plan | 1)) + train);
  }
  return 0;
}
