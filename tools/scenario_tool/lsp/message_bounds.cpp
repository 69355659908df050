#include "scenario_tool/lsp/message_bounds.h"

#include <nlohmann/json.hpp>

namespace scenario_tool::lsp {
namespace {

using json = nlohmann::json;

// Reads the events of a parse without building anything, and stops it at the
// first array or object nested too deep.
class depth_check : public nlohmann::json_sax<json> {
 public:
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return deeper(); }
  bool key(string_t&) override { return true; }
  bool end_object() override { return shallower(); }
  bool start_array(std::size_t) override { return deeper(); }
  bool end_array() override { return shallower(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    not_json = true;
    return false;
  }

  bool too_deep = false;
  bool not_json = false;

 private:
  bool deeper() {
    if (++depth_ > deepest_message) too_deep = true;
    return !too_deep;
  }
  bool shallower() {
    --depth_;
    return true;
  }
  std::size_t depth_ = 0;
};

}  // namespace

std::optional<std::string> message_fault(std::string_view body) {
  depth_check check;
  json::sax_parse(body, &check);
  if (check.too_deep) {
    return "the message nests arrays and objects deeper than " + std::to_string(deepest_message);
  }
  if (check.not_json) return "the message is not JSON";
  return std::nullopt;
}

}  // namespace scenario_tool::lsp
