#include "scenario_tool/draw/html_page.h"

#include <string>

namespace scenario_tool {

// The page's parts, carried by the tool as they are in draw/page/.
std::string_view page_template();
std::string_view page_style();
std::string_view page_labels();  // where the labels go, which the script uses
std::string_view page_script();

namespace {

// Text inside <script> ends at the first "</": JSON keeps its meaning with
// "<\/" and with "<" written as its escape.
std::string script_safe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '<') {
      out += "\\u003c";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string html_escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

void replace_all(std::string& page, std::string_view mark, std::string_view with) {
  for (std::size_t at = page.find(mark); at != std::string::npos;
       at = page.find(mark, at + with.size())) {
    page.replace(at, mark.size(), with);
  }
}

}  // namespace

std::string html_page(std::string_view data_json, std::string_view title, bool live) {
  std::string page(page_template());
  replace_all(page, "@TITLE@", html_escaped(title));
  replace_all(page, "@STYLE@", page_style());
  replace_all(page, "@LIVE@", live ? "true" : "false");
  // The data goes in last: nothing in it is taken for a mark.
  const std::size_t script_at = page.find("@SCRIPT@");
  const std::size_t data_at = page.find("@DATA@");
  if (script_at == std::string::npos || data_at == std::string::npos || data_at < script_at) {
    return page;
  }
  std::string out = page.substr(0, script_at);
  out += page_labels();
  out += '\n';
  out += page_script();
  out += page.substr(script_at + 8, data_at - script_at - 8);
  out += script_safe(data_json);
  out += page.substr(data_at + 6);
  return out;
}

}  // namespace scenario_tool
