#include "scenario_tool/lsp/framing.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace scenario_tool::lsp {
namespace {

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The length a header block announces; nothing when it names none, or one
// that is not a plain decimal number.
std::optional<std::size_t> content_length(std::string_view header, std::string& why) {
  std::optional<std::size_t> length;
  while (!header.empty()) {
    const std::size_t end = header.find("\r\n");
    const std::string_view line = header.substr(0, end);
    header.remove_prefix(end == std::string_view::npos ? header.size() : end + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    if (!same_name(trimmed(line.substr(0, colon)), "Content-Length")) continue;
    const std::string_view digits = trimmed(line.substr(colon + 1));
    if (digits.empty() || digits.size() > 12 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      why = "the Content-Length header is not a number";
      return std::nullopt;
    }
    std::size_t value = 0;
    for (const char c : digits) value = value * 10 + static_cast<std::size_t>(c - '0');
    if (length && *length != value) {
      // Which one the sender meant cannot be known: neither is taken.
      why = "two Content-Length headers disagree (" + std::to_string(*length) + " and " +
            std::to_string(value) + ")";
      return std::nullopt;
    }
    length = value;
  }
  if (!length) why = "the header names no Content-Length";
  return length;
}

}  // namespace

bool message_reader::more_waiting() {
  return in_.in_avail() > 0;
}

bool message_reader::find_next_header(std::string& header) {
  // The bytes after a refused header (a body of unknown length, or more of
  // the header) are passed over up to the next "Content-Length:".
  constexpr std::string_view field = "content-length:";
  std::string window;
  for (;;) {
    const auto c = in_.sbumpc();
    if (c == std::streambuf::traits_type::eof()) return false;
    window.push_back(lower(static_cast<char>(c)));
    if (window.size() > field.size()) window.erase(0, 1);
    if (window == field) {
      header = "Content-Length:";
      return true;
    }
  }
}

frame message_reader::next() {
  // The header block: up to and including the first blank line.
  std::string header;
  if (resync_) {
    resync_ = false;
    if (!find_next_header(header)) return {};
  }
  bool too_long = false;
  for (;;) {
    const auto c = in_.sbumpc();
    if (c == std::streambuf::traits_type::eof()) return {};
    header.push_back(static_cast<char>(c));
    if (header.size() >= 4 && header.compare(header.size() - 4, 4, "\r\n\r\n") == 0) break;
    if (header == "\r\n") header.clear();  // blank lines between messages
    if (header.size() > largest_header) {
      // Keep only the last bytes, to find the blank line that ends it.
      too_long = true;
      header.erase(0, header.size() - 3);
    }
  }
  if (too_long) {
    resync_ = true;
    return {frame::kind::broken, {}, "the header block is too long"};
  }

  frame result;
  std::string why;
  const std::optional<std::size_t> length = content_length(header, why);
  if (!length) {
    resync_ = true;
    return {frame::kind::broken, {}, why};
  }

  if (*length > largest_message) {
    std::array<char, 65536> sink;
    std::size_t left = *length;
    while (left > 0) {
      const std::streamsize got =
          in_.sgetn(sink.data(), static_cast<std::streamsize>(std::min(left, sink.size())));
      if (got <= 0) return {};
      left -= static_cast<std::size_t>(got);
    }
    return {frame::kind::broken, {}, "the message is larger than 64 MiB"};
  }
  result.body.resize(*length);
  std::size_t have = 0;
  while (have < *length) {
    const std::streamsize got =
        in_.sgetn(result.body.data() + have, static_cast<std::streamsize>(*length - have));
    if (got <= 0) return {};  // the stream ended inside the body
    have += static_cast<std::size_t>(got);
  }
  result.what = frame::kind::message;
  return result;
}

std::string framed(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

}  // namespace scenario_tool::lsp
