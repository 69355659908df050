#include "reader/field_reader.h"

#include <limits>
#include <utility>

namespace reader {

void field_reader::require_field() const {
  if (at_end())
    throw read_error("a field is missing at the end of the text (line " + std::to_string(line()) +
                     ")");
}

void field_reader::skip_blanks() {
  while (!at_end() && is_blank(text_[pos_])) ++pos_;
}

void field_reader::consume_delimiter() {
  if (at_end()) return;
  if (text_[pos_] == ',') {
    ++pos_;
  } else if (text_[pos_] == '\r') {
    ++pos_;
    if (!at_end() && text_[pos_] == '\n') ++pos_;
  } else if (text_[pos_] == '\n') {
    ++pos_;
  }
}

void field_reader::field_read(model::read_value value) {
  if (diagnostics_ == nullptr) return;  // only an observer needs the fields kept
  if (row_ != nullptr) row_->values.push_back(value);
  last_ = std::move(value);
}

std::string field_reader::read_text() {
  require_field();
  skip_blanks();
  field_begins();
  const std::size_t begin = pos_;
  const std::string_view field = field_at(text_, begin, false);
  pos_ = field_end(text_, begin, false);
  consume_delimiter();
  field_read({begin, field.size(), std::nullopt, true, std::nullopt});
  return std::string(field);
}

std::int32_t field_reader::read_number() {
  require_field();
  skip_blanks();
  field_begins();
  const std::size_t begin = pos_;
  pos_ = field_end(text_, begin, true);
  const std::string_view token = text_.substr(begin, pos_ - begin);
  // Counted only when a message needs it: the line of the field.
  const auto failure = [&](const char* what) {
    const std::size_t here = pos_;
    pos_ = begin;
    const std::size_t field_line = line();
    pos_ = here;
    field_read({begin, token.size(), std::nullopt, false, std::nullopt});
    return read_error(std::string(what) + ": \"" + std::string(token) + "\" (line " +
                      std::to_string(field_line) + ")");
  };
  skip_blanks();
  consume_delimiter();

  if (token.empty()) {
    field_read({begin, 0, 0, false, std::nullopt});
    return 0;
  }
  const std::optional<std::int64_t> value = whole_number(token);
  if (!value) throw failure("not a number");
  if (*value < std::numeric_limits<std::int32_t>::min() ||
      *value > std::numeric_limits<std::int32_t>::max()) {
    throw failure("number out of range");
  }
  const auto number = static_cast<std::int32_t>(*value);
  field_read({begin, token.size(), number, false, std::nullopt});
  return number;
}

std::size_t field_reader::line() const {
  std::size_t line = 1;
  for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
    if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n'))) {
      ++line;
    }
  }
  return line;
}

}  // namespace reader
