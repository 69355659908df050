#include "scenario_tool/fmt/row_alignment.h"

#include <algorithm>
#include <cstdint>

#include "reader/description_texts.h"
#include "reader/field_reader.h"
#include "reader/row_keywords.h"

namespace scenario_tool {
namespace {

// One comma-separated piece of a line: its field without the blanks around it.
struct piece {
  std::string_view field;
  bool number = false;  // an optional sign and digits: right-aligned
};

std::string_view without_blanks(std::string_view s) {
  while (!s.empty() && reader::is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && reader::is_blank(s.back())) s.remove_suffix(1);
  return s;
}

bool plain_number(std::string_view s) {
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<piece> pieces_of(std::string_view content) {
  std::vector<piece> out;
  for (;;) {
    const std::size_t comma = content.find(',');
    const std::string_view field = without_blanks(content.substr(0, comma));
    out.push_back({field, plain_number(field)});
    if (comma == std::string_view::npos) break;
    content.remove_prefix(comma + 1);
  }
  return out;
}

// The table entry a line's first field names, as the index of its first
// match; none for a comment (a field with a dash), a section header, or a
// field that names no keyword.
std::optional<std::size_t> row_keyword_of(std::string_view field) {
  if (field.empty() || field.find('-') != std::string_view::npos ||
      field.find('[') != std::string_view::npos) {
    return std::nullopt;
  }
  const auto& table = reader::row_keywords;
  for (std::size_t i = 0; i < std::size(table); ++i) {
    if (reader::matches(table[i], field, true)) return i;
  }
  return std::nullopt;
}

struct aligned_row {
  std::size_t line;
  std::vector<piece> pieces;
};

// The width of each column of a run of rows of one keyword.
std::vector<std::size_t> column_widths(const std::vector<aligned_row>& run) {
  std::vector<std::size_t> widths;
  for (const aligned_row& row : run) {
    if (widths.size() < row.pieces.size()) widths.resize(row.pieces.size(), 0);
    for (std::size_t i = 0; i < row.pieces.size(); ++i) {
      widths[i] = std::max(widths[i], row.pieces[i].field.size());
    }
  }
  return widths;
}

// Appends one row laid out in its run's columns; with `out` null, only counts.
std::size_t lay_out(const aligned_row& row, const std::vector<std::size_t>& widths,
                    std::string* out) {
  std::size_t size = 0;
  const auto put = [&](std::string_view s) {
    size += s.size();
    if (out != nullptr) out->append(s);
  };
  const auto pad = [&](std::size_t n) {
    size += n;
    if (out != nullptr) out->append(n, ' ');
  };
  const std::size_t last = row.pieces.size() - 1;
  for (std::size_t i = 0; i <= last; ++i) {
    const piece& p = row.pieces[i];
    if (i > 0) {
      put(",");
      // An empty last field (a comma that ends the line) gets no blanks after it.
      if (i == last && p.field.empty()) break;
      put(" ");
    }
    const std::size_t gap = widths[i] - p.field.size();
    if (i == 0) {
      put(p.field);
      // The first value starts in one column for every row of the run.
      if (last > 0) pad(gap);
    } else if (p.number) {
      pad(gap);
      put(p.field);
    } else {
      put(p.field);
      if (i != last) pad(gap);
    }
  }
  return size;
}

}  // namespace

std::vector<text_line> text_lines(std::string_view text) {
  std::vector<text_line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = begin;
    while (end < text.size() && !reader::is_line_end(text[end])) ++end;
    std::size_t after = end;
    if (after < text.size()) {
      after += text[after] == '\r' && after + 1 < text.size() && text[after + 1] == '\n' ? 2 : 1;
    }
    lines.push_back({begin, text.substr(begin, end - begin), text.substr(end, after - end)});
    begin = after;
  }
  return lines;
}

std::optional<std::vector<std::string>> aligned_lines(std::string_view text) {
  const std::vector<text_line> lines = text_lines(text);
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const text_line& line : lines) out.emplace_back(line.content);

  // Runs of consecutive rows of one keyword.
  std::vector<std::vector<aligned_row>> runs;
  constexpr std::size_t no_run = SIZE_MAX;
  std::size_t run_keyword = no_run;  // the keyword of the run the last line belongs to
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::vector<piece> pieces = pieces_of(lines[n].content);
    const std::optional<std::size_t> keyword = row_keyword_of(pieces.front().field);
    // A last line without a line end that ends in an empty field keeps its
    // blanks: there they are the field the reader takes, not space around one.
    const bool keep = lines[n].end.empty() && pieces.size() > 1 && pieces.back().field.empty();
    if (!keyword || keep) {
      run_keyword = no_run;
      continue;
    }
    if (run_keyword != *keyword) runs.emplace_back();
    run_keyword = *keyword;
    runs.back().push_back({n, std::move(pieces)});
  }

  std::uint64_t size = text.size();
  std::vector<std::vector<std::size_t>> widths;
  for (const auto& run : runs) {
    widths.push_back(column_widths(run));
    for (const aligned_row& row : run) {
      size = size - lines[row.line].content.size() + lay_out(row, widths.back(), nullptr);
      if (size > reader::largest_text_size) return std::nullopt;
    }
  }
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (const aligned_row& row : runs[r]) {
      std::string& line = out[row.line];
      line.clear();
      lay_out(row, widths[r], &line);
    }
  }
  return out;
}

std::optional<std::string> aligned_text(std::string_view text) {
  const std::optional<std::vector<std::string>> lines = aligned_lines(text);
  if (!lines) return std::nullopt;
  const std::vector<text_line> ends = text_lines(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t n = 0; n < ends.size(); ++n) {
    out += (*lines)[n];
    out += ends[n].end;
  }
  return out;
}

}  // namespace scenario_tool
