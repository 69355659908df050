#include "scenario_tool/draw/page_data.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>

#include "assembly/record_layouts.h"
#include "scenario_tool/compile/diagnostic_report.h"
#include "scenario_tool/draw/label_rules.h"
#include "scenario_tool/draw/mark_looks.h"
#include "scenario_tool/draw/plan_turn.h"
#include "scenario_tool/draw/svg_page.h"
#include "scenario_tool/draw/track_curves.h"
#include "scenario_tool/inspect/author_units.h"
#include "scenario_tool/shared/record_fields.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool {

using json = nlohmann::ordered_json;

namespace {

// Centimetres: the page needs no finer plan, and whole numbers keep it small.
std::int64_t centimetres(double metres) {
  return static_cast<std::int64_t>(std::llround(metres * 100));
}

// An address an editor opens at the row: vscode://file/ABSOLUTE:LINE:COLUMN.
std::string editor_link(const std::string& file, std::size_t line, std::size_t column) {
  if (file.empty() || line == 0) return {};
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(file, ec);
  if (ec) return {};
  std::string path = full.lexically_normal().generic_string();
  if (!path.empty() && path.front() != '/') path.insert(path.begin(), '/');
  return "vscode://file" + path + ":" + std::to_string(line) + ":" +
         std::to_string(std::max<std::size_t>(column, 1));
}

json cell_columns(const std::vector<model::track_cell>& cells) {
  json columns = json::object();
  if (cells.empty()) return columns;
  const auto names = assembly::field_values(cells.front());
  std::vector<std::vector<std::int64_t>> values(names.size());
  for (auto& v : values) v.reserve(cells.size());
  for (const model::track_cell& cell : cells) {
    const auto fields = assembly::field_values(cell);
    for (std::size_t f = 0; f < fields.size(); ++f) values[f].push_back(fields[f].number);
  }
  for (std::size_t f = 0; f < names.size(); ++f) {
    columns[std::string(names[f].name)] = std::move(values[f]);
  }
  return columns;
}

json station_list(const std::vector<model::station_entry>& stations) {
  json list = json::array();
  for (std::size_t i = 1; i < stations.size() && i <= model::entry::reference_uno; ++i) {
    const model::station_entry& e = stations[i];
    const model::station_role role = station_role_of(static_cast<int>(i), e);
    if (role == model::station_role::empty || role == model::station_role::unused) continue;
    json s = {{"index", i},
              {"role", model::station_role_name(role)},
              {"name", utf8_from_windows_1252(e.name)}};
    json fields = json::object();
    for (const assembly::field_value& f : assembly::field_values(e)) {
      if (f.text == nullptr) fields[std::string(f.name)] = f.number;
    }
    s["fields"] = std::move(fields);
    if (role == model::station_role::station && e.time != 0) s["time_text"] = clock_text(e.time);
    const std::string_view meaning = station_role_fields(static_cast<int>(i));
    if (!meaning.empty()) s["meaning"] = meaning;
    list.push_back(std::move(s));
  }
  return list;
}

json plan_points(const line_picture& p) {
  json plan = {{"metre", json::array()}, {"x_cm", json::array()}, {"y_cm", json::array()}};
  const std::int32_t last = p.plan.last_metre();
  if (last < 1) return plan;
  double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
  for (std::int32_t m = 0; m <= last; ++m) {
    if (!drawing::finite_point(p.plan, m)) continue;
    min_x = std::min(min_x, p.plan.number(m, 0));
    max_x = std::max(max_x, p.plan.number(m, 0));
    min_y = std::min(min_y, p.plan.number(m, 1));
    max_y = std::max(max_y, p.plan.number(m, 1));
  }
  if (!(min_x <= max_x)) return plan;
  const double extent = std::max({max_x - min_x, max_y - min_y, 1.0});
  for (const std::int32_t m : thinned_plan(p.plan, last, extent * plan_tolerance_share)) {
    plan["metre"].push_back(m);
    plan["x_cm"].push_back(centimetres(p.plan.number(m, 0)));
    plan["y_cm"].push_back(centimetres(p.plan.number(m, 1)));
  }
  plan["full_points"] = last + 1;
  // The turn and the extent the SVG fits to its box, which the page fits to
  // its own: turned metres, to the centimetre.
  const drawing::plan_frame frame = drawing::frame_of(p.plan, p.line_length, p.stations);
  plan["turn"] = {frame.turn.cos, frame.turn.sin};
  if (frame.found) {
    const auto cm = [](double metres) { return static_cast<double>(centimetres(metres)) / 100; };
    plan["extent"] = {{"min_u", cm(frame.min_u)},
                      {"max_u", cm(frame.max_u)},
                      {"min_v", cm(frame.min_v)},
                      {"max_v", cm(frame.max_v)}};
  }
  return plan;
}

// What the marks look like, as the SVG draws them: the page reads these
// rather than deciding for itself.
json looks() {
  using namespace drawing;
  json shapes = json::array();
  for (const glyph g : signal_shapes) shapes.push_back(glyph_name(g));
  json fills = json::array();
  for (const std::string_view f : signal_fills) fills.push_back(f);
  json ranks = json::array();
  for (const std::string_view r : rank_strokes) ranks.push_back(r);
  // Every side code a cell can hold (its last digit), those without a colour
  // of their own included.
  json mountain = json::object();
  for (int code = 1; code <= 9; ++code) mountain[std::to_string(code)] = mountain_fill(code);
  json slowdowns = json::object();
  for (int kind = 0; kind <= model::cell_kind::sign; ++kind) {
    const std::string_view fill = slowdown_fill(static_cast<std::uint8_t>(kind));
    if (!fill.empty()) slowdowns[std::to_string(kind)] = fill;
  }
  json doc = {{"signal_shapes", std::move(shapes)},
              {"signal_fills", std::move(fills)},
              {"rank_strokes", std::move(ranks)},
              {"mountain_fills", std::move(mountain)},
              {"slowdown_fills", std::move(slowdowns)}};
  for (const named_look& look : page_looks) doc[std::string(look.name)] = look.value;
  // Where the labels go: the SVG's rules, every one, grouped as the table
  // groups them.
  json labels = json::object();
  for (const label_rules::rule& r : label_rules::rules) {
    json& group = r.group.empty() ? labels : labels[std::string(r.group)];
    group[std::string(r.name)] = r.value;
  }
  doc["labels"] = std::move(labels);
  return doc;
}

}  // namespace

std::vector<std::int32_t> thinned_plan(const model::track_plan& plan, std::int32_t last,
                                       double tolerance) {
  std::vector<std::int32_t> drawable;
  for (std::int32_t m = 0; m <= last; ++m) {
    if (drawing::finite_point(plan, m)) drawable.push_back(m);
  }
  if (drawable.size() < 3) return drawable;
  // Douglas and Peucker's thinning, with a stack in place of recursion.
  std::vector<bool> keep(drawable.size(), false);
  keep.front() = keep.back() = true;
  std::vector<std::pair<std::size_t, std::size_t>> spans{{0, drawable.size() - 1}};
  const auto point = [&](std::size_t i) {
    return std::pair{plan.number(drawable[i], 0), plan.number(drawable[i], 1)};
  };
  while (!spans.empty()) {
    const auto [a, b] = spans.back();
    spans.pop_back();
    if (b <= a + 1) continue;
    const auto [ax, ay] = point(a);
    const auto [bx, by] = point(b);
    const double dx = bx - ax, dy = by - ay;
    const double length = std::hypot(dx, dy);
    double furthest = -1;
    std::size_t at = a;
    for (std::size_t i = a + 1; i < b; ++i) {
      const auto [x, y] = point(i);
      const double d = length > 0 ? std::fabs((x - ax) * dy - (y - ay) * dx) / length
                                  : std::hypot(x - ax, y - ay);
      if (d > furthest) {
        furthest = d;
        at = i;
      }
    }
    if (furthest > tolerance) {
      keep[at] = true;
      spans.emplace_back(a, at);
      spans.emplace_back(at, b);
    }
  }
  std::vector<std::int32_t> kept;
  for (std::size_t i = 0; i < drawable.size(); ++i) {
    if (keep[i]) kept.push_back(drawable[i]);
  }
  return kept;
}

std::string page_json(const line_picture& p, const std::vector<source_row>& rows,
                      const std::vector<diagnostic>& diagnostics) {
  json doc;
  doc["route"] = utf8_from_windows_1252(p.route_id);
  doc["train"] = utf8_from_windows_1252(p.train_number);
  doc["source"] = p.source;
  doc["line_length"] = p.line_length;
  doc["cell_count"] = p.cells.size();
  doc["from_texts"] = p.cells_before_walk.has_value();
  doc["notes"] = p.notes;
  doc["cells"] = cell_columns(p.cells);
  json kind_names = json::object();
  for (int kind = 0; kind <= model::cell_kind::sign; ++kind) {
    kind_names[std::to_string(kind)] = cell_kind_name(static_cast<std::uint8_t>(kind));
  }
  doc["kind_names"] = std::move(kind_names);
  doc["looks"] = looks();

  // Which row put each object, and which speed points the walk added.
  std::map<std::int64_t, std::size_t> row_of_cell;
  std::map<std::int64_t, std::size_t> trigger_row_of_cell;
  json row_list = json::array();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const source_row& row = rows[r];
    for (const std::int64_t cell : row.cells) row_of_cell.emplace(cell, r);
    for (const std::int64_t cell : row.walk_cells) trigger_row_of_cell.emplace(cell, r);
    row_list.push_back({{"file", row.file},
                        {"file_name", std::filesystem::path(row.file).filename().string()},
                        {"line", row.line},
                        {"text", row.text},
                        {"link", editor_link(row.file, row.line, 1)}});
  }
  json objects = json::array();
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    const model::track_cell& c = p.cells[i];
    if (c.kind == model::cell_kind::empty || c.kind == model::cell_kind::mountain_filler) continue;
    json o = {{"cell", i}, {"kind", c.kind}, {"text", cell_text(i, c)}};
    const auto row = written_chainage(i, c.kind);
    o["row_chainage"] = row ? json(*row) : json(nullptr);
    if (const auto r = row_of_cell.find(static_cast<std::int64_t>(i)); r != row_of_cell.end()) {
      o["row"] = r->second;
    } else if (const auto t = trigger_row_of_cell.find(static_cast<std::int64_t>(i));
               t != trigger_row_of_cell.end()) {
      o["trigger_row"] = t->second;
    }
    if (c.kind == model::cell_kind::speed_point ||
        c.kind == model::cell_kind::speed_point_without_speed) {
      if (p.cells_before_walk) {
        const bool from_texts =
            i < p.cells_before_walk->size() && (*p.cells_before_walk)[i].kind == c.kind;
        o["by_walk"] = !from_texts;
      } else {
        o["by_walk"] = nullptr;  // a compiled folder cannot tell
      }
    }
    if (c.kind == model::cell_kind::signal) {
      const drawing::signal_look look = drawing::look_of_signal(c.value4);
      o["signal"] = {
          {"left_kind", look.left_kind}, {"right_kind", look.right_kind}, {"rapp", look.rapp}};
    }
    if (c.kind == model::cell_kind::speed_indicator) o["speeds"] = drawing::indicator_speeds(c);
    if (c.kind == model::cell_kind::sign && c.value > 0 &&
        static_cast<std::size_t>(c.value) < p.stations.size()) {
      o["lettering"] = utf8_from_windows_1252(p.stations[static_cast<std::size_t>(c.value)].name);
    }
    objects.push_back(std::move(o));
  }
  doc["objects"] = std::move(objects);
  doc["rows"] = std::move(row_list);
  doc["stations"] = station_list(p.stations);
  doc["plan"] = plan_points(p);

  json curves = json::array();
  if (p.plan.exists()) {
    const std::int32_t last = p.plan.last_metre() - 2;
    for (const drawing::curve_stretch& c : drawing::curves_of(p.plan, last)) {
      curves.push_back(
          {{"first", c.first},
           {"last", c.last},
           {"side", c.curvature > 0 ? "right" : "left"},
           {"radius", std::llround(1 / std::fabs(c.curvature))},
           {"depth", std::round(drawing::curve_depth(1 / std::fabs(c.curvature)) * 1000) / 1000}});
    }
  }
  doc["curves"] = std::move(curves);

  json listed = json::array();
  for (const diagnostic& d : diagnostics) {
    json j = {{"level", level_name(d.level)},
              {"file", d.file},
              {"file_name", std::filesystem::path(d.file).filename().string()},
              {"line", d.line},
              {"column", d.column},
              {"message", utf8_from_windows_1252(d.message())},
              {"name", d.name},
              {"row", utf8_from_windows_1252(d.row)},
              {"link", editor_link(d.file, d.line, d.column)}};
    j["position"] = d.position ? json(*d.position) : json(nullptr);
    listed.push_back(std::move(j));
  }
  doc["diagnostics"] = std::move(listed);
  return doc.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace scenario_tool
