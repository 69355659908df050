// Reads the comma-separated fields of a description text held in memory.
//
// A field ends at a comma or at the end of a line (CR LF, or a lone LF or CR),
// and the delimiter is consumed with it. Keyword and text fields skip leading
// blanks and drop trailing ones; number fields also end at a blank, and the
// blanks after a number together with one comma or one line end form a single
// delimiter, so that "11   29   30 " is three numbers and "5 , 6" two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/diagnostic_sink.h"
#include "model/row_reading.h"

namespace reader {

// The blanks a field may have around it, and the bytes that end a line.
constexpr bool is_blank(char c) {
  return c == ' ' || c == '\t';
}
constexpr bool is_line_end(char c) {
  return c == '\r' || c == '\n';
}

// Where a field that begins at `begin` ends: at a comma, at a line end or,
// for a number field, at a blank. Its delimiter is not part of it.
constexpr std::size_t field_end(std::string_view text, std::size_t begin, bool number) {
  std::size_t end = begin;
  while (end < text.size() && text[end] != ',' && !is_line_end(text[end]) &&
         !(number && is_blank(text[end]))) {
    ++end;
  }
  return end;
}

// The field that begins at `begin`, without the blanks that end it.
constexpr std::string_view field_at(std::string_view text, std::size_t begin, bool number) {
  if (begin >= text.size()) return {};
  std::string_view field = text.substr(begin, field_end(text, begin, number) - begin);
  while (!field.empty() && is_blank(field.back())) field.remove_suffix(1);
  return field;
}

// The value of a number field's text: an optional sign and at least one
// digit; nothing for anything else. The magnitude stops growing once it
// passes the 32-bit range, so any length is read without overflow.
constexpr std::optional<std::int64_t> whole_number(std::string_view token) {
  std::size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
  if (i == token.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  constexpr std::int64_t past_range = std::int64_t{1} << 32;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') return std::nullopt;
    if (magnitude < past_range) magnitude = magnitude * 10 + (c - '0');
  }
  return token[0] == '-' ? -magnitude : magnitude;
}

// A text that cannot be read as its rows require: a field past the end of the
// text, or a value that is not a 32-bit whole number. The reader records it as
// error 25.
class read_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class field_reader {
 public:
  // `diagnostics`, when not null, is told where each field begins.
  explicit field_reader(std::string_view text, model::diagnostic_sink* diagnostics = nullptr)
      : text_(text), diagnostics_(diagnostics) {}

  // True when every byte has been consumed.
  bool at_end() const { return pos_ >= text_.size(); }

  // A keyword or text field. Throws read_error at the end of the text.
  std::string read_text();

  // A whole number, signed 32-bit; an empty field reads 0. Throws read_error at
  // the end of the text, for anything but an optional sign and digits, and for
  // a number outside the 32-bit range.
  std::int32_t read_number();

  // The line (counted from 1) of the next byte to read, for diagnostics.
  std::size_t line() const;

  // Every field read from now on is added to `row`'s values (null: none is).
  void record_into(model::row_reading* row) { row_ = row; }
  // The field read last: where it stands and what it held.
  const model::read_value& last_field() const { return last_; }

 private:
  void require_field() const;
  void skip_blanks();
  // Consumes one comma or one line end at the current position, if any.
  void consume_delimiter();

  void field_begins() {
    if (diagnostics_ != nullptr) diagnostics_->field_started(pos_);
  }

  // Keeps the field just read as the last one and, when a row is followed, as its next value.
  void field_read(model::read_value value);

  std::string_view text_;
  model::diagnostic_sink* diagnostics_;
  std::size_t pos_ = 0;
  model::row_reading* row_ = nullptr;
  model::read_value last_;
};

}  // namespace reader
