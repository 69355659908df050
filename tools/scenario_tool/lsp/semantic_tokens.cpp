#include "scenario_tool/lsp/semantic_tokens.h"

#include <string_view>

#include "reader/field_reader.h"
#include "reader/keyword.h"
#include "scenario_tool/compile/warnings.h"

namespace scenario_tool::lsp {
namespace {

// Indices into the legend's token types.
enum token_type : int {
  section_header,  // "namespace"
  keyword,         // "keyword"
  number,          // "number"
  unit_value,      // "parameter": a number with a unit (metres, km/h, ...)
  name_text,       // "string"
  comment,         // "comment"
};
// The legend's one modifier: a field the reader skips (a comment type).
constexpr int skipped = 1;

struct token {
  std::size_t line;
  std::size_t start;
  std::size_t length;
  int type;
  int modifiers;
};

}  // namespace

nlohmann::json semantic_token_legend() {
  return {{"tokenTypes", {"namespace", "keyword", "number", "parameter", "string", "comment"}},
          {"tokenModifiers", {"deprecated"}}};
}

nlohmann::json semantic_tokens(const text_document& document, model::description_text which) {
  std::vector<token> tokens;
  bool general = false;  // "[generale]" seen: what follows is the line text's header
  bool header_ended = false;
  for (std::size_t l = 0; l < document.line_count(); ++l) {
    const std::string_view line = document.line(l);
    const bool header = which == model::description_text::line && !header_ended;
    // The line's fields, read from its start as a row.
    const keyword_rule* row = nullptr;
    std::vector<keyword_rule> found;
    std::size_t value = 0;
    std::size_t at = 0;
    while (at <= line.size()) {
      const std::size_t comma = std::min(line.find(',', at), line.size());
      std::size_t from = at;
      std::size_t to = comma;
      while (from < to && reader::is_blank(line[from])) ++from;
      while (to > from && reader::is_blank(line[to - 1])) --to;
      const std::string_view field = line.substr(from, to - from);
      if (row != nullptr && value < row->values) {
        const reader::row_value& v = row->entry->values[value++];
        if (!field.empty()) {
          tokens.push_back({l, from, field.size(),
                            v.text            ? name_text
                            : !v.unit.empty() ? unit_value
                                              : number,
                            0});
        }
      } else if (!field.empty()) {
        row = nullptr;
        if (field.find('-') != std::string_view::npos) {
          tokens.push_back({l, from, field.size(), comment, 0});
        } else if (reader::ends_header(field)) {
          tokens.push_back({l, from, field.size(), section_header, 0});
        } else if (found = keywords_matching(field, which, header, true); !found.empty()) {
          row = &found.front();
          value = 0;
          tokens.push_back({l, from, field.size(), keyword, 0});
        } else {
          tokens.push_back({l, from, field.size(), comment, skipped});
        }
      }
      at = comma + 1;
    }
    if (!general) {
      general = reader::contains(line, "[generale]");
    } else if (reader::ends_header(line)) {
      header_ended = true;
    }
  }

  nlohmann::json data = nlohmann::json::array();
  std::size_t line = 0;
  std::size_t start = 0;
  for (const token& t : tokens) {
    data.push_back(t.line - line);
    data.push_back(t.line == line ? t.start - start : t.start);
    data.push_back(t.length);
    data.push_back(t.type);
    data.push_back(t.modifiers);
    line = t.line;
    start = t.start;
  }
  return {{"data", std::move(data)}};
}

}  // namespace scenario_tool::lsp
