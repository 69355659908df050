#include "scenario_tool/view/line_source.h"

#include <stdexcept>
#include <system_error>

#include "assembly/compiled_decoder.h"
#include "scenario_tool/compile/diagnostic_report.h"
#include "scenario_tool/draw/draw_sources.h"
#include "scenario_tool/draw/page_data.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::view {

namespace {

made_page from_picture(const line_picture& picture, const std::vector<source_row>& rows,
                       const std::vector<diagnostic>& diagnostics) {
  made_page page;
  page.title =
      utf8_from_windows_1252("Line " + picture.route_id + ", train " + picture.train_number);
  if (!picture.cells.empty()) page.data_json = page_json(picture, rows, diagnostics);
  return page;
}

made_page from_texts(const std::filesystem::path& line, const std::filesystem::path& train,
                     const model::scenario_identity* named) {
  drawn_texts drawn = picture_from_texts(line, train, named);
  made_page page = from_picture(drawn.picture, drawn.rows, drawn.diagnostics);
  page.diagnostics = render_text(drawn.diagnostics);
  page.watched = {line, train};
  return page;
}

}  // namespace

made_page make_page(const line_source& source) {
  const std::vector<std::string>& in = source.inputs;
  if (in.size() == 2) return from_texts(in[0], in[1], nullptr);
  const std::filesystem::path folder =
      in.empty() ? std::filesystem::path(".") : std::filesystem::path(in[0]);
  if (is_scenario_folder(folder)) {
    const scenario_manifest manifest = read_manifest(folder);
    made_page page =
        from_texts(folder / manifest.line_text, folder / manifest.train_text, &manifest.identity);
    page.watched.push_back(folder / "scenario.toml");
    return page;
  }
  if (!std::filesystem::is_directory(folder)) {
    throw std::runtime_error(folder.string() +
                             " is not a folder: give a folder of compiled files, or the line "
                             "and train description texts");
  }
  const line_picture picture = picture_from_folder(folder, source.train);
  made_page page = from_picture(picture, {}, {});
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    // The compiled files of any route and train there: a new compile redraws.
    if (assembly::kind_from_name(entry.path())) page.watched.push_back(entry.path());
  }
  return page;
}

}  // namespace scenario_tool::view
