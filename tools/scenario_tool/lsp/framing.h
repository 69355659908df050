// The language server's messages on a byte stream: each is a header block
// ("Content-Length: N", other fields allowed, lines ended by CR LF, a blank
// line) followed by N bytes of JSON.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <streambuf>
#include <string>

namespace scenario_tool::lsp {

// A message body larger than this is read past and answered with an error.
inline constexpr std::size_t largest_message = 64u << 20;
// A header block longer than this is not a header block.
inline constexpr std::size_t largest_header = 8192;

struct frame {
  enum class kind { message, broken, end };
  kind what = kind::end;
  std::string body;  // the message's JSON, for kind::message
  std::string why;   // what was wrong, for kind::broken
};

// Reads one message after another from a stream. A refused header (no
// length, one that is no number, two that disagree, a block too long) is
// answered as broken, and what follows it, up to the next "Content-Length:",
// is passed over: the next message is found again and none is waited for
// that will not come.
class message_reader {
 public:
  explicit message_reader(std::streambuf& in) : in_(in) {}
  frame next();
  // Bytes of a next message are already there to read: work that a next
  // message may make useless can wait.
  bool more_waiting();

 private:
  bool find_next_header(std::string& header);

  std::streambuf& in_;
  bool resync_ = false;
};

// The header block and the body, as one piece of bytes.
std::string framed(const std::string& body);

}  // namespace scenario_tool::lsp
