// view's request parser: a browser's GET gives its path; anything else is
// incomplete, malformed or too large, never a request.
#include "scenario_tool/view/http_request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using scenario_tool::view::head_state;
using scenario_tool::view::head_status;
using scenario_tool::view::largest_request_head;
using scenario_tool::view::parse_request;

TEST(HttpRequest, ABrowsersGetGivesItsPathWithoutTheQuery) {
  const struct {
    std::string head;
    std::string method;
    std::string path;
  } cases[] = {
      {"GET / HTTP/1.1\r\nHost: 127.0.0.1:8517\r\n\r\n", "GET", "/"},
      {"GET /data.json?t=12 HTTP/1.1\r\n\r\n", "GET", "/data.json"},
      {"HEAD /events HTTP/1.0\n\n", "HEAD", "/events"},
      {"POST / HTTP/1.1\r\n\r\n", "POST", "/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(head_status(c.head), head_state::complete) << c.head;
    const auto r = parse_request(c.head);
    ASSERT_TRUE(r) << c.head;
    EXPECT_EQ(r->method, c.method);
    EXPECT_EQ(r->path, c.path);
  }
}

TEST(HttpRequest, AnythingElseIsNoRequest) {
  const struct {
    std::string bytes;
    head_state state;
  } cases[] = {
      {"GET / HTTP/1.1\r\nHost: x\r\n", head_state::incomplete},
      {"", head_state::incomplete},
      {"GET  / HTTP/1.1\r\n\r\n", head_state::malformed},
      {"GET / HTTP/2\r\n\r\n", head_state::malformed},
      {"GET http://example.org/ HTTP/1.1\r\n\r\n", head_state::malformed},
      {"get / HTTP/1.1\r\n\r\n", head_state::malformed},
      {"GET /a\tb HTTP/1.1\r\n\r\n", head_state::malformed},
      {std::string("GET /\0 HTTP/1.1\r\n\r\n", 19), head_state::malformed},
      {"\r\n\r\n", head_state::malformed},
      {"GET /" + std::string(largest_request_head, 'a') + " HTTP/1.1\r\n\r\n",
       head_state::too_large},
      {"GET /" + std::string(largest_request_head, 'a'), head_state::too_large},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(head_status(c.bytes), c.state) << c.bytes.substr(0, 60);
    if (c.state == head_state::malformed) {
      EXPECT_FALSE(parse_request(c.bytes).has_value());
    }
  }
}

}  // namespace
