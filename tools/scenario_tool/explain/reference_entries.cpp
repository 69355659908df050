#include "scenario_tool/explain/reference_entries.h"

#include "scenario_tool/shared/nearest_word.h"

namespace scenario_tool {
namespace {

constexpr std::string_view marker_begin = "<!-- explain:";
constexpr std::string_view comment_begin = "<!--";
constexpr std::string_view comment_end = "-->";

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::string trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  const auto last = s.find_last_not_of(" \t");
  return std::string(s.substr(first, last - first + 1));
}

// Lower case, blanks at the ends dropped, runs of blanks as one.
std::string normal_form(std::string_view s) {
  std::string out;
  bool blank = false;
  for (const char c : trimmed(s)) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

std::vector<std::string> marker_names(std::string_view line) {
  std::string_view body = line.substr(marker_begin.size());
  const auto end = body.rfind(comment_end);
  if (end != std::string_view::npos) body = body.substr(0, end);
  std::vector<std::string> names;
  while (true) {
    const auto bar = body.find('|');
    const std::string name = trimmed(body.substr(0, bar));
    if (!name.empty()) names.push_back(name);
    if (bar == std::string_view::npos) break;
    body = body.substr(bar + 1);
  }
  return names;
}

std::string heading_title(std::string_view line) {
  std::string title;
  for (const char c : trimmed(line.substr(line.find_first_not_of('#')))) {
    if (c != '`') title += c;
  }
  return title;
}

// A line as a terminal shows it: each link `[words](#anchor)` becomes its
// words (the words still say where to look), a link to a page outside the
// reference keeps its address in brackets. Brackets that open no link, such as
// a section header `[generale]`, stay as written.
std::string without_links(std::string_view line) {
  std::string out;
  std::size_t at = 0;
  while (at < line.size()) {
    if (line[at] != '[') {
      out += line[at++];
      continue;
    }
    // The ']' that closes this '[', nested brackets counted.
    std::size_t close = at + 1;
    for (int depth = 1; close < line.size(); ++close) {
      if (line[close] == '[') ++depth;
      if (line[close] == ']' && --depth == 0) break;
    }
    const std::size_t target_end = close + 1 < line.size() && line[close + 1] == '('
                                       ? line.find(')', close + 2)
                                       : std::string_view::npos;
    if (close >= line.size() || target_end == std::string_view::npos) {
      out += line[at++];
      continue;
    }
    const std::string_view words = line.substr(at + 1, close - at - 1);
    const std::string_view target = line.substr(close + 2, target_end - close - 2);
    out += without_links(words);
    if (!target.empty() && target.front() != '#') out.append(" (").append(target).append(")");
    at = target_end + 1;
  }
  return out;
}

void finish(std::vector<reference_entry>& entries) {
  if (entries.empty()) return;
  std::string& text = entries.back().text;
  while (text.size() >= 2 && text.ends_with("\n\n")) text.pop_back();
}

}  // namespace

std::vector<reference_entry> reference_entries(std::string_view page) {
  std::vector<reference_entry> entries;
  bool open = false;     // lines go to the last entry
  bool heading = false;  // the open entry has its heading
  bool fenced = false;   // inside a ``` block
  while (!page.empty()) {
    const auto end = page.find('\n');
    std::string_view line = page.substr(0, end);
    page = end == std::string_view::npos ? std::string_view() : page.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);

    if (!fenced && starts_with(line, marker_begin)) {
      finish(entries);
      entries.push_back({marker_names(line), "", ""});
      open = true;
      heading = false;
      continue;
    }
    if (!fenced && starts_with(line, "#")) {
      if (open && heading) {
        finish(entries);
        open = false;
      } else if (open) {
        entries.back().title = heading_title(line);
        heading = true;
      }
    }
    if (starts_with(line, "```")) fenced = !fenced;
    if (!open) continue;
    // Comment lines mark things for programs; the reader of the page does not see them.
    if (!fenced && starts_with(line, comment_begin) && line.ends_with(comment_end)) continue;
    if (fenced || starts_with(line, "```")) {
      entries.back().text.append(line).append("\n");
    } else {
      entries.back().text.append(without_links(line)).append("\n");
    }
  }
  finish(entries);
  return entries;
}

const reference_entry* find_entry(const std::vector<reference_entry>& entries,
                                  std::string_view topic) {
  const std::string wanted = normal_form(topic);
  for (const reference_entry& entry : entries) {
    for (const std::string& name : entry.names) {
      if (normal_form(name) == wanted) return &entry;
    }
  }
  return nullptr;
}

std::string nearest_entry_name(const std::vector<reference_entry>& entries,
                               std::string_view topic) {
  std::vector<std::string> names;
  for (const reference_entry& entry : entries) {
    for (const std::string& name : entry.names) names.push_back(name);
  }
  return nearest_word(normal_form(topic), names);
}

}  // namespace scenario_tool
