// libFuzzer target: the authors' tool's whole compile with diagnostics, in
// memory, on arbitrary texts: the reader, the stores, the walk, the header
// checks and stamps, the diagnostics and warnings, both renderings, and the
// bytes of the compiled files. Every input must end in diagnostics and a
// defined model, never a crash, a hang or an access outside a table.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "assembly/compiled_files.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/compile/diagnostic_report.h"

namespace {

// Plans longer than this are built but not turned into bytes: writing the
// shipped plan (2 MB) or the longest (20 MB) on every input would slow the
// search to a crawl; the writer is the same for every length.
constexpr std::int32_t plan_bytes_limit = 20000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const std::string shipped_line = scenari::render_lines(scenari::linea_lines());
  static const std::string shipped_train = scenari::render_lines(scenari::treno_lines());

  // First byte: bit 0 builds the plan; bits 1 and 2 choose what the rest is:
  // the line text (the shipped train text beside it), the train text (the
  // shipped line text beside it), or both, split at the first zero byte.
  const bool plan = (data[0] & 1) != 0;
  const int mode = (data[0] >> 1) & 3;
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string line = shipped_line;
  std::string train = shipped_train;
  if (mode == 0) {
    line = std::string(input);
  } else if (mode == 1) {
    train = std::string(input);
  } else {
    const std::size_t split = input.find('\0');
    line = std::string(input.substr(0, split));
    train = split == std::string_view::npos ? std::string() : std::string(input.substr(split + 1));
  }

  scenario_tool::compile_request request;
  request.line = scenario_tool::source_text("line.txt", std::move(line));
  request.train = scenario_tool::source_text("train.txt", std::move(train));
  request.route_id = "Fuzz";
  request.train_number = "1";
  request.plan = plan;
  scenario_tool::compile_result result = scenario_tool::compile_texts(request);

  const int status = result.stopped ? 1 : 0;
  const std::string text = scenario_tool::render_text(result.diagnostics);
  const std::string json = scenario_tool::render_json(result.diagnostics, status, {})
                               .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  if (text.empty() != result.diagnostics.empty() || json.empty()) __builtin_trap();

  if (!result.stopped) {
    // A compile that goes on has cells, and every record has its fixed size.
    const model::scenario_model& model = *result.model;
    const std::size_t cells = assembly::cell_file_bytes(model.track_cells).size();
    if (cells != assembly::cell_record_size * (static_cast<std::size_t>(model.cell_count) + 1)) {
      __builtin_trap();
    }
    std::size_t names = 0;
    for (const auto& entry : model.station_table) names += entry.name.size();
    if (assembly::station_file_bytes(model.station_table).size() !=
        assembly::station_record_fixed_size * model.station_table.size() + names) {
      __builtin_trap();
    }
    if (model.plan_flag != 0 && model.plan.exists() &&
        model.plan.last_metre() <= plan_bytes_limit) {
      std::size_t plan_bytes = 0;
      assembly::write_plan_bytes(
          model.plan, [&plan_bytes](std::string_view piece) { plan_bytes += piece.size(); });
      if (plan_bytes == 0) __builtin_trap();
    }
  }
  return 0;
}
