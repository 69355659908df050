#include "scenario_tool/lsp/code_actions.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "model/conversions.h"
#include "reader/field_reader.h"
#include "reader/keyword.h"
#include "scenario_tool/compile/warnings.h"
#include "scenario_tool/lsp/completion.h"
#include "scenario_tool/lsp/row_mends.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {
namespace {

using json = nlohmann::json;

text_point point_of(const json& position) {
  return {position.at("line").get<std::size_t>(), position.at("character").get<std::size_t>()};
}

// The keyword the author meant by `field`, or "" when it is not known.
std::string meant_keyword(const std::string& field, model::description_text which, bool header) {
  std::string lower = field;
  for (char& c : lower) c = reader::ascii_lower(c);
  if (lower != field && !keywords_matching(lower, which, header, true).empty()) return lower;
  return nearest_keyword(field, which, header);
}

// Whether some field of the text holds "[generale]", in any letter case, as
// the reader looks for it.
bool holds_generale(const std::string& bytes) {
  return reader::contains_nocase(bytes, "[generale]");
}

// The line end the text already uses (CR LF when it has none).
std::string line_end_of(const std::string& bytes) {
  const std::size_t end = bytes.find_first_of("\r\n");
  if (end == std::string::npos) return "\r\n";
  if (bytes[end] == '\n') return "\n";
  return end + 1 < bytes.size() && bytes[end + 1] == '\n' ? "\r\n" : "\r";
}

// `text` is UTF-8, as the editor takes it.
json action(const std::string& title, const json& diagnostic, const std::string& uri, json range,
            const std::string& text) {
  json edit = {{"range", std::move(range)}, {"newText", text}};
  return {{"title", utf8_from_windows_1252(title)},
          {"kind", "quickfix"},
          {"diagnostics", json::array({diagnostic})},
          {"isPreferred", true},
          {"edit", {{"changes", {{uri, json::array({std::move(edit)})}}}}}};
}

// The missing "[generale]": a field within two letters of it becomes it (the
// diagnostic stands on that field), else it is written as the text's first line.
std::optional<json> generale_fix(const text_document& document, model::description_text which,
                                 const std::string& uri, const json& d) {
  const bool train_text = which == model::description_text::train;
  const json code = d.value("code", json());
  if (!(train_text ? code == "nothing-read" : code == 102)) return std::nullopt;
  if (holds_generale(document.bytes())) return std::nullopt;
  const text_point from = point_of(d.at("range").at("start"));
  const text_point to = point_of(d.at("range").at("end"));
  if (train_text && document.offset(to) > document.offset(from)) {
    return action("Write '[generale]'", d, uri, d.at("range"), "[generale]");
  }
  const json start = {{"line", 0}, {"character", 0}};
  return action("Begin the text with '[generale]'", d, uri, {{"start", start}, {"end", start}},
                "[generale]" + line_end_of(document.bytes()));
}

// A speed off its step snapped to the nearest multiple of it, halves to even
// (the speed the compile keeps for a line speed). The step is the value's own,
// from the reader's table: the row's keyword and the commas before the field
// tell which value it is.
std::optional<json> step_fix(const text_document& document, model::description_text which,
                             const std::string& uri, const json& d) {
  if (d.value("code", json()) != "value-off-step") return std::nullopt;
  const text_point from = point_of(d.at("range").at("start"));
  const text_point to = point_of(d.at("range").at("end"));
  const std::size_t begin = document.offset(from);
  const std::size_t end = document.offset(to);
  if (end <= begin || from.line >= document.line_count()) return std::nullopt;
  const std::string_view line = document.line(from.line);
  const std::string_view before = line.substr(0, std::min(from.character, line.size()));
  const std::size_t comma = before.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  std::string_view keyword = before.substr(0, comma);
  while (!keyword.empty() && reader::is_blank(keyword.front())) keyword.remove_prefix(1);
  while (!keyword.empty() && reader::is_blank(keyword.back())) keyword.remove_suffix(1);
  const bool header = which == model::description_text::line && in_line_header(document, from);
  const std::vector<keyword_rule> rules = keywords_matching(keyword, which, header, true);
  if (rules.size() != 1) return std::nullopt;
  const auto field = static_cast<std::size_t>(std::count(before.begin(), before.end(), ','));
  if (field == 0 || field > rules[0].entry->values.size()) return std::nullopt;
  const std::int64_t step = rules[0].entry->values[field - 1].step;
  const std::string number = document.bytes().substr(begin, end - begin);
  std::int64_t value = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (step <= 1 || ec != std::errc() || ptr != number.data() + number.size()) return std::nullopt;
  const auto snapped = static_cast<std::int64_t>(model::round_half_even(
                           static_cast<double>(value) / static_cast<double>(step))) *
                       step;
  return action("Write " + std::to_string(snapped), d, uri, d.at("range"), std::to_string(snapped));
}

// The mend of a row's separators or surplus fields, where the diagnostic is
// one that knows it.
std::optional<json> row_fix(const text_document& document, const std::string& uri, const json& d) {
  const json code = d.value("code", json());
  const std::size_t from = document.offset(point_of(d.at("range").at("start")));
  std::optional<row_mend> mend;
  if (code == 25) {
    mend =
        commas_for_semicolons(document, from, document.offset(point_of(d.at("range").at("end"))));
  } else if (code == "stray-number") {
    mend = surplus_fields_removed(document, from);
  }
  if (!mend) return std::nullopt;
  const text_point a = document.point(mend->from);
  const text_point b = document.point(mend->to);
  return action(mend->title, d, uri,
                {{"start", {{"line", a.line}, {"character", a.character}}},
                 {"end", {{"line", b.line}, {"character", b.character}}}},
                utf8_from_windows_1252(mend->text));
}

// A field the compile reads as another value (a chainage rounded to its
// cell, a slowdown's length): the diagnostic carries that value, written in
// the field's place.
std::optional<json> mend_fix(const std::string& uri, const json& d) {
  const json data = d.value("data", json());
  if (!data.is_object() || !data.contains("mend") || !data["mend"].is_string()) {
    return std::nullopt;
  }
  const std::string mend = data["mend"].get<std::string>();
  return action("Write " + mend, d, uri, d.at("range"), mend);
}

}  // namespace

json quick_fixes(const text_document& document, model::description_text which,
                 const std::string& uri, const json& diagnostics) {
  json actions = json::array();
  if (!diagnostics.is_array()) return actions;
  for (const json& d : diagnostics) {
    if (!d.is_object()) continue;
    if (std::optional<json> fix = generale_fix(document, which, uri, d)) {
      actions.push_back(std::move(*fix));
      continue;
    }
    if (std::optional<json> fix = step_fix(document, which, uri, d)) {
      actions.push_back(std::move(*fix));
      continue;
    }
    if (std::optional<json> fix = row_fix(document, uri, d)) {
      actions.push_back(std::move(*fix));
      continue;
    }
    if (std::optional<json> fix = mend_fix(uri, d)) {
      actions.push_back(std::move(*fix));
      continue;
    }
    if (d.value("code", json()) != "keyword-typo") continue;
    const text_point from = point_of(d.at("range").at("start"));
    const text_point to = point_of(d.at("range").at("end"));
    const std::size_t begin = document.offset(from);
    const std::size_t end = document.offset(to);
    if (end <= begin) continue;
    const std::string field = document.bytes().substr(begin, end - begin);
    const bool header = which == model::description_text::line && in_line_header(document, from);
    const std::string meant = meant_keyword(field, which, header);
    if (meant.empty() || meant == field) continue;
    actions.push_back(
        action("Write '" + meant + "'", d, uri, d.at("range"), utf8_from_windows_1252(meant)));
  }
  return actions;
}

}  // namespace scenario_tool::lsp
