#include "scenario_tool/compile/value_ranges.h"

#include <cmath>
#include <set>

#include "model/conversions.h"
#include "model/windows_1252.h"
#include "scenario_tool/shared/value_words.h"

namespace scenario_tool {
namespace {

using reader::row_kind;
using reader::row_value;

// A value that goes into a byte or 16-bit field of the model.
struct narrow_value {
  std::size_t field;   // its row field (1 for the first value)
  std::int64_t value;  // what goes into the field
  bool byte;           // else a short
  // What is added to the author's value before it is stored (a gradient's
  // 100); the value the simulator sees is the kept bits less this.
  std::int64_t added = 0;
  // The field holds the value combined with others (a signal's aspects).
  bool packed = false;
};

// The values of a row that the model keeps in a byte or a short.
std::vector<narrow_value> narrow_values(row_kind kind, const std::vector<std::int64_t>& v) {
  std::vector<narrow_value> out;
  const auto byte = [&](std::size_t f, std::int64_t value) { out.push_back({f, value, true}); };
  const auto shrt = [&](std::size_t f, std::int64_t value) { out.push_back({f, value, false}); };
  const auto packed = [&](std::size_t f, std::int64_t value, bool is_byte) {
    out.push_back({f, value, is_byte, 0, true});
  };
  if (kind == row_kind::gradient) out.push_back({2, v[2] + 100, true, 100});
  if (kind == row_kind::mountain) byte(3, v[3] > 10 ? v[3] - 10 : v[3]);
  if (kind == row_kind::speed_indicators) packed(9, v[5] * 10 + v[9], false);
  if (kind == row_kind::adhesion) byte(2, v[2]);
  if (kind == row_kind::clock) {
    for (std::size_t f = 1; f <= 3; ++f) shrt(f, v[f]);
  }
  if (kind == row_kind::sand) shrt(1, v[1]);
  if (kind == row_kind::signal) {
    packed(6, v[6] * 10 + v[2] * 3 + v[7], false);
    packed(3, v[3] * 10 + v[8], false);
    packed(4, v[4] * 10 + v[9], false);
    packed(5, v[5] * 10 + v[10], false);
    if (v[2] == 2) byte(11, v[11] >= 1 && v[11] <= 100 ? 101 : v[11]);
    packed(2, (v[2] * 3 + v[7]) * 10 + 4, true);
  }
  if (kind == row_kind::slowdown) {
    shrt(2, v[2]);
    shrt(4, v[4]);
    shrt(6, v[6]);
  }
  if (kind == row_kind::speed_point) shrt(2, v[2]);
  if (kind == row_kind::station) {
    for (const std::size_t f : {2, 4, 5, 6, 9, 13}) byte(f, v[f]);
    for (const std::size_t f : {7, 8, 10, 11, 12}) shrt(f, v[f]);
  }
  return out;
}

bool fits(const narrow_value& n) {
  return n.byte ? (n.value >= 0 && n.value <= 255) : (n.value >= -32768 && n.value <= 32767);
}

std::int64_t kept(const narrow_value& n) {
  return n.byte ? model::low8(n.value) : model::low16(n.value);
}

// What a wrapped value turns into, where that changes what it is.
std::string turned_into(const row_value& value, std::int64_t written, std::int64_t seen) {
  if (value.unit == "‰") {
    if (written >= 0 && seen < 0) return ": a descent";
    if (written <= 0 && seen > 0) return ": a climb";
  }
  if (value.unit == "km/h" && seen < 0) return ": a negative speed";
  if (written >= 0 && seen < 0) return ": a negative number";
  return "";
}

std::string too_wide(const row_value& value, const narrow_value& n, std::int64_t written) {
  const std::string width = n.byte ? "byte" : "16-bit field";
  if (n.packed) {
    return in_unit(value, written) + " is stored as " + std::to_string(n.value) +
           " (combined with the row's other values), which does not fit its " + width +
           ": only the low bits are kept, " + std::to_string(kept(n));
  }
  const std::int64_t seen = kept(n) - n.added;
  const std::string range = range_text(value);
  return in_unit(value, written) + " is stored as " + in_unit(value, seen) +
         turned_into(value, written, seen) + " (" +
         (range.empty() ? "its " + width + " keeps only the low bits" : "the range is " + range) +
         ")";
}

// The speeds of an indicator's pair (left field `left`, right field left + 4)
// as the cell keeps them: left x 20 + right / 5, rounded.
std::int64_t indicator_pair(const std::vector<std::int64_t>& v, std::size_t left) {
  const double packed =
      static_cast<double>(v[left + 4]) / 5.0 + static_cast<double>(v[left]) * 20.0;
  return static_cast<std::int64_t>(model::round_half_even(packed));
}

std::string off_step(row_kind kind, const row_value& value, const std::vector<std::int64_t>& v,
                     std::size_t f) {
  const std::string head = std::string(value.name) + " " + in_unit(value, v[f]) +
                           " is not a multiple of " + std::to_string(value.step);
  if (kind == row_kind::speed_indicators) {
    const std::size_t left = f < 5 ? f : f - 4;
    const std::int64_t packed = indicator_pair(v, left);
    const std::int64_t on_left = packed / 100 * 5;
    const std::int64_t on_right = packed % 100 * 5;
    return head + ": the sign's cell keeps " + std::to_string(packed) +
           " (left x 20 + right / 5), as a sign of " + std::to_string(on_left) +
           " km/h on the left and " + std::to_string(on_right) + " km/h on the right would";
  }
  // A line speed: the cells keep it in fifths, halves to even.
  const auto fifths = static_cast<std::int64_t>(
      model::round_half_even(static_cast<double>(v[f]) / static_cast<double>(value.step)));
  return head + ": the cells keep it in steps of " + std::to_string(value.step) + ", as " +
         in_unit(value, fifths * value.step);
}

// Whether the reader itself refuses the value (a line too long; a line
// speed whose fifth does not fit a byte): its error says so.
bool reader_refuses(row_kind kind, std::size_t f, std::int64_t n) {
  if (kind == row_kind::line_length) return n > reader::row_values::longest_line;
  if (kind == row_kind::line_speed && f == 2) return n < -2 || n > 1277;
  // A station before the line's start: the reader's error 24 says where its
  // stop point falls.
  if (kind == row_kind::station && f == 1) return n < 0;
  return false;
}

}  // namespace

std::vector<value_fault> value_faults(const reader::row_keyword& row,
                                      const std::vector<std::int64_t>& v) {
  std::vector<value_fault> out;
  if (v.size() <= row.values.size()) return out;
  std::set<std::size_t> wrapped;
  for (const narrow_value& n : narrow_values(row.kind, v)) {
    if (fits(n)) continue;
    const row_value& value = row.values[n.field - 1];
    wrapped.insert(n.field);
    if (value.overflow == reader::value_overflow::opaque) {
      // Nothing is known of what the number does: say what is kept of it.
      std::string words = std::string(value.name) + " " + in_unit(value, v[n.field]);
      if (n.value != v[n.field]) words += " is stored as " + std::to_string(n.value) + ", which";
      words += n.byte ? " does not fit a byte: only its low 8 bits are kept ("
                      : " does not fit a 16-bit field: only its low 16 bits are kept (";
      out.push_back({"value-truncated", n.field, words + std::to_string(kept(n)) + ")"});
      continue;
    }
    out.push_back(
        {"value-wraps", n.field, std::string(value.name) + " " + too_wide(value, n, v[n.field])});
  }
  for (std::size_t f = 1; f <= row.values.size(); ++f) {
    const row_value& value = row.values[f - 1];
    const std::int64_t n = v[f];
    if (value.text || wrapped.count(f) != 0 || reader_refuses(row.kind, f, n)) continue;
    if (!reader::within(value, n)) {
      const std::string range = range_text(value);
      out.push_back({"value-out-of-range", f,
                     std::string(value.name) + " " + in_unit(value, n) +
                         (value.only.empty() ? " is outside its range, " + range
                                             : " is not one of " + range) +
                         ": the compile stores it as written (" + std::string(value.stored) + ")"});
      continue;
    }
    // Chainages, lengths and offsets off their step have diagnostics of their
    // own (chainage-rounded, the reader's errors 2, 8 and 9); speeds do not.
    if (value.unit == "km/h" && !reader::on_step(value, n)) {
      out.push_back({"value-off-step", f, off_step(row.kind, value, v, f)});
    }
  }
  if (row.kind == row_kind::mountain && v[2] <= v[1]) {
    out.push_back(
        {"stretch-inverted", 2,
         "stretch end " + std::to_string(v[2]) + " m is " +
             (v[2] == v[1] ? "its start" : "before its start, " + std::to_string(v[1]) + " m") +
             ": the stretch marks no cell"});
  }
  // A diagnostic's words are Windows-1252, as the rows they quote; the
  // table's units are UTF-8 ("‰").
  for (value_fault& fault : out) {
    fault.words = model::windows_1252_from_utf8(fault.words).value_or(fault.words);
  }
  return out;
}

}  // namespace scenario_tool
