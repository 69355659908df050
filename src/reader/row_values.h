// The values of every row of the two description texts: for each value its
// one name for authors, the short letter the format reference gives it, its
// unit, the range and step it is meant to keep, what it means and where the
// compile stores it. Every place that names or checks a value (the authors'
// tool's warnings, hover, completion, signature help, the outline, dump and
// the reference) reads it here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace reader {

// What happens to a value the model keeps in a field narrower than the value.
enum class value_overflow {
  // Its effect is known (a gradient, a speed, a code, a time): a wrapped value
  // means something else to the simulator, so a wrap is a fault of the row.
  changes_meaning,
  // The number is carried for the simulator and its effect is not known: a
  // wrap changes the number, and nothing more is known of it.
  opaque,
};

// One value field of a row.
struct row_value {
  std::string_view name;             // the one name authors see, in every place
  std::string_view unit = "";        // "m", "km/h", "‰", ... ("" when it has none)
  bool text = false;                 // a text rather than a number
  std::string_view short_name = "";  // the reference's letter for it, where it has one
  // The range the value is meant to keep, inclusive, and its step (the value
  // is meant to be a multiple of it). A text has none.
  std::int64_t lowest = INT32_MIN;
  std::int64_t highest = INT32_MAX;
  std::int64_t step = 1;
  // The only values it may take, when they are a set rather than a range.
  std::span<const std::int64_t> only = {};
  std::string_view meaning = "";  // one sentence: what it does
  std::string_view stored = "";   // where the compile keeps it
  value_overflow overflow = value_overflow::changes_meaning;
  bool chainage = false;  // a position along the line, in metres
  // The station entry field that keeps it as written, for a station row's values.
  std::string_view entry_field = "";
};

// Whether a number is within the value's range (or its set).
constexpr bool within(const row_value& v, std::int64_t n) {
  if (!v.only.empty()) {
    for (const std::int64_t allowed : v.only) {
      if (n == allowed) return true;
    }
    return false;
  }
  return n >= v.lowest && n <= v.highest;
}

// Whether a number is a multiple of the value's step.
constexpr bool on_step(const row_value& v, std::int64_t n) {
  return v.step <= 1 || n % v.step == 0;
}

namespace row_values {

// The highest chainage a row can have: the longest line the reader accepts.
inline constexpr std::int64_t longest_line = 1000000;

// The chainage of a body row: where along the line it takes effect.
inline constexpr row_value chainage_at(std::string_view meaning, std::string_view stored,
                                       std::int64_t step = 50) {
  return {.name = "chainage",
          .unit = "m",
          .short_name = "P",
          .lowest = 0,
          .highest = longest_line,
          .step = step,
          .meaning = meaning,
          .stored = stored,
          .chainage = true};
}

inline constexpr row_value length[] = {
    {.name = "line length",
     .unit = "m",
     .short_name = "L",
     .lowest = 0,
     .highest = longest_line,
     .meaning = "the length of the line; the compile adds 7000 m of run-out after it and cuts "
                "both into cells of 50 m",
     .stored = "station entry 84 end; sizes the track cells and the track plan"}};

inline constexpr std::int64_t zero_or_one[] = {0, 1};
inline constexpr row_value reference[] = {
    {.name = "reference chainage",
     .unit = "m",
     .short_name = "C",
     .lowest = 0,
     .highest = longest_line,
     .step = 50,
     .meaning = "the line chainage from which this reference's kilometres apply",
     .stored = "start of station entry 81, 82 or 83 (the furthest reference in 81)",
     .chainage = true},
    {.name = "kilometre offset",
     .unit = "m",
     .short_name = "O",
     .lowest = -longest_line,
     .highest = longest_line,
     .step = 50,
     .meaning = "added to the line chainage to give the kilometres a driver sees from the "
                "reference chainage on",
     .stored = "end of the same entry"},
    {.name = "reference flag",
     .short_name = "F",
     .only = zero_or_one,
     .meaning = "1 adds 100 m to the kilometre offset; 0 leaves it",
     .stored = "position of the same entry"},
};

inline constexpr row_value background[] = {
    {.name = "background value",
     .short_name = "N",
     .meaning = "a value of the scenery carried to the simulator; its effect is not known "
                "(the shipped line: 0, 1 and 60000)",
     .stored = "station entry 85 start (uno), position (due) or end (tre)",
     .overflow = value_overflow::opaque}};

inline constexpr row_value repetition[] = {
    {.name = "repetition start",
     .unit = "m",
     .short_name = "A",
     .lowest = 0,
     .highest = longest_line,
     .step = 50,
     .meaning = "where the cab begins to repeat the signals' aspects",
     .stored = "station entry 86 start",
     .chainage = true},
    {.name = "repetition end",
     .unit = "m",
     .short_name = "B",
     .lowest = 0,
     .highest = longest_line,
     .step = 50,
     .meaning = "where the repetition ends; 0 means no repetition (a code count of 0)",
     .stored = "station entry 86 end",
     .chainage = true},
};

inline constexpr row_value gradient[] = {
    chainage_at("where the gradient begins; it holds until the next gradient row",
                "the gradient of the cells from this one on"),
    {.name = "gradient",
     .unit = "‰",
     .short_name = "G",
     .lowest = -100,
     .highest = 155,
     .meaning = "the rise of the track in metres per kilometre: positive climbs, negative "
                "descends",
     .stored = "each cell's gradient byte, as the gradient plus 100"},
};

inline constexpr row_value curve[] = {
    {.name = "curve start",
     .unit = "m",
     .short_name = "S",
     .lowest = 0,
     .highest = longest_line,
     .meaning = "where the curve begins; the track runs straight up to it",
     .stored = "the track plan, metre by metre",
     .chainage = true},
    {.name = "curve length",
     .unit = "m",
     .short_name = "N",
     .lowest = 1,
     .highest = longest_line,
     .meaning = "how many metres the curve turns, at the radius of the keyword's digit",
     .stored = "the track plan, metre by metre"},
};

inline constexpr std::int64_t side_codes[] = {1, 2, 3, 11, 12, 13};
inline constexpr row_value mountain[] = {
    {.name = "stretch start",
     .unit = "m",
     .short_name = "A",
     .lowest = 0,
     .highest = longest_line,
     .step = 50,
     .meaning = "where the mountain side begins beside the track",
     .stored = "the mountain table's start; the cells' mountain code from cell A / 50",
     .chainage = true},
    {.name = "stretch end",
     .unit = "m",
     .short_name = "B",
     .lowest = 0,
     .highest = longest_line,
     .step = 50,
     .meaning = "where the stretch ends; it must lie after the start, else no cell is marked",
     .stored = "the mountain table's end; the cells' mountain code up to cell B / 50 - 1",
     .chainage = true},
    {.name = "side code",
     .short_name = "T",
     .only = side_codes,
     .meaning = "which side of the track the mountain stands on, 1, 2 or 3 (which number is "
                "which side is not known; the shipped line writes 2, 12 and 11); a stretch that "
                "begins 150 m or less after the previous one's end becomes 3; 10 more also marks "
                "every fourth cell as filler",
     .stored = "each cell's mountain byte, less 10 when above 10"},
};

inline constexpr row_value indicator_speed(std::string_view name, std::string_view short_name,
                                           std::string_view stored, bool right) {
  return {.name = name,
          .unit = "km/h",
          .short_name = short_name,
          .lowest = 0,
          .highest = 495,
          .step = 5,
          .meaning = right ? "the speed shown on the right sign for this rank of train; 0 "
                             "when only the left sign is meant"
                           : "the speed shown on the left sign for this rank of train",
          .stored = stored};
}
inline constexpr row_value indicator_stripes(std::string_view name, std::string_view short_name,
                                             bool right) {
  return {.name = name,
          .short_name = short_name,
          .lowest = 0,
          .highest = 9,
          .meaning = right ? "the stripes on the right sign" : "the stripes on the left sign",
          .stored = "the cell's value4, as left stripes x 10 + right stripes"};
}
inline constexpr row_value indicators[] = {
    chainage_at("where the signs stand; they land one cell on",
                "a speed indicator cell, at chainage / 50 + 1"),
    indicator_speed("left speed A", "VAS", "the cell's value, as left x 20 + right A / 5", false),
    indicator_speed("left speed B", "VBS", "the cell's value2, as left x 20 + right B / 5", false),
    indicator_speed("left speed C", "VCS", "the cell's value3, as left x 20 + right C / 5", false),
    indicator_stripes("left stripes", "SS", false),
    indicator_speed("right speed A", "VAD", "the cell's value, in fifths, rounded", true),
    indicator_speed("right speed B", "VBD", "the cell's value2, in fifths, rounded", true),
    indicator_speed("right speed C", "VCD", "the cell's value3, in fifths, rounded", true),
    indicator_stripes("right stripes", "SD", true),
};

inline constexpr row_value sign[] = {
    chainage_at("where the sign stands; it lands one cell on", "a sign cell, at chainage / 50 + 1"),
    {.name = "lettering",
     .text = true,
     .short_name = "TEXT",
     .meaning = "the sign's lettering: up to three groups in parentheses, one per line of the "
                "sign",
     .stored = "the name of the next free station entry, from entry 80 down"},
};

inline constexpr row_value braked_mass[] = {
    {.name = "braked mass",
     .unit = "%",
     .short_name = "N",
     .lowest = 0,
     .meaning = "the braked mass in per cent of the train's mass (the shipped train: 115)",
     .stored = "station entry 84 start"}};

inline constexpr row_value coaches[] = {{.name = "coaches",
                                         .short_name = "N",
                                         .lowest = 0,
                                         .meaning = "the number of coaches of the train",
                                         .stored = "station entry 84 position"}};

inline constexpr row_value line_speed[] = {
    chainage_at("where the line speed begins; it holds until the next line speed row",
                "the line speed of the cells from this one on"),
    {.name = "line speed",
     .unit = "km/h",
     .short_name = "V",
     .lowest = 0,
     .highest = 1275,
     .step = 5,
     .meaning = "the highest speed allowed on the line from the chainage on",
     .stored = "each cell's speed byte, in fifths (5 km/h), halves to even"},
};

inline constexpr row_value adhesion[] = {
    chainage_at("where the adhesion begins; it holds until the next adhesion row",
                "the adhesion of the cells from this one on"),
    {.name = "adhesion",
     .short_name = "A",
     .lowest = 0,
     .highest = 255,
     .meaning = "the grip of the rails, carried to the simulator; its scale is not known (the "
                "shipped train: 100 throughout)",
     .stored = "each cell's adhesion byte",
     .overflow = value_overflow::opaque},
};

inline constexpr row_value clock[] = {
    {.name = "clock hours",
     .unit = "h",
     .short_name = "H",
     .lowest = 0,
     .highest = 23,
     .meaning = "the hour of the clock when the scenario begins",
     .stored = "station entry 86 group2_a"},
    {.name = "clock minutes",
     .unit = "min",
     .short_name = "M",
     .lowest = 0,
     .highest = 59,
     .meaning = "its minutes",
     .stored = "station entry 86 group2_b"},
    {.name = "clock seconds",
     .unit = "s",
     .short_name = "S",
     .lowest = 0,
     .highest = 59,
     .meaning = "its seconds",
     .stored = "station entry 86 group2_c"},
};

inline constexpr row_value sand[] = {
    {.name = "sand",
     .short_name = "N",
     .lowest = -32768,
     .highest = 32767,
     .meaning = "the sand the train carries, carried to the simulator; its unit is not known "
                "(the shipped train: 300)",
     .stored = "station entry 86 group1_a",
     .overflow = value_overflow::opaque}};

inline constexpr std::int64_t signal_kinds[] = {0, 1, 2};
inline constexpr row_value signal_kind(std::string_view name, std::string_view short_name,
                                       bool left) {
  return {.name = name,
          .short_name = short_name,
          .only = signal_kinds,
          .meaning = left ? "the kind of the left light (the shipped signals: 1 and 2; 2 gives the "
                            "signal its time)"
                          : "the kind of the right light (the shipped signals: 0, 1 and 2)",
          .stored = "the cell's value4 and the approach codes, as left x 3 + right"};
}
inline constexpr row_value aspect(std::string_view name, std::string_view short_name,
                                  std::string_view stored) {
  return {.name = name,
          .short_name = short_name,
          .lowest = 0,
          .highest = 9,
          .meaning = "one aspect digit of the signal, shown to the simulator",
          .stored = stored};
}
inline constexpr row_value signal[] = {
    chainage_at("where the signal stands; it lands one cell on",
                "a signal cell, at chainage / 50 + 1; approach codes 100 to 400 m before it"),
    signal_kind("left kind", "SX", true),
    aspect("left aspect 1", "S1", "the cell's value, as left x 10 + right"),
    aspect("left aspect 2", "S2", "the cell's value2, as left x 10 + right"),
    aspect("left aspect 3", "S3", "the cell's value3, as left x 10 + right"),
    {.name = "rapp digit",
     .short_name = "RAPP",
     .lowest = 0,
     .highest = 9,
     .meaning = "a digit carried to the simulator; its effect is not known (the shipped "
                "signals: 0)",
     .stored = "the cell's value4, as its tens"},
    signal_kind("right kind", "DX", false),
    aspect("right aspect 1", "D1", "the cell's value, as its units"),
    aspect("right aspect 2", "D2", "the cell's value2, as its units"),
    aspect("right aspect 3", "D3", "the cell's value3, as its units"),
    {.name = "signal time",
     .unit = "s",
     .short_name = "TEMPO",
     .lowest = 0,
     .highest = 255,
     .meaning = "the time of a signal whose left kind is 2; 1 to 100 are read as 101, and it is "
                "kept only with left kind 2",
     .stored = "the cell's signal time byte"},
};

inline constexpr row_value slowdown[] = {
    chainage_at("where the slowdown begins; its start lands one cell on, its warning point "
                "1200 m before",
                "the start cell at chainage / 50 + 1, the warning point and approach markers "
                "before it"),
    {.name = "slowdown speed",
     .unit = "km/h",
     .short_name = "V",
     .lowest = 0,
     .highest = 32767,
     .meaning = "the speed through the slowdown; below 110 the compile adds a speed point every "
                "400 m through it",
     .stored = "the value of the warning point, start and end cells"},
    {.name = "slowdown length",
     .unit = "m",
     .short_name = "L",
     .lowest = 50,
     .highest = longest_line,
     .step = 50,
     .meaning = "how far the slowdown runs; its end lands one cell after chainage + length",
     .stored = "the end cell, at (chainage + length) / 50 + 1"},
    {.name = "ftt code",
     .short_name = "FTT",
     .lowest = -32768,
     .highest = 32767,
     .meaning = "a number carried to the simulator; its effect is not known (the shipped "
                "slowdowns: 0)",
     .stored = "the value3 of the start and end cells",
     .overflow = value_overflow::opaque},
    {.name = "approach markers",
     .short_name = "FTA",
     .only = zero_or_one,
     .meaning = "1 places four approach markers before the warning point; 0 places none",
     .stored = "four approach marker cells, when not 0 and the chainage is above 1500 m"},
    {.name = "second speed",
     .unit = "km/h",
     .short_name = "DV",
     .lowest = 0,
     .highest = 32767,
     .meaning = "a second speed carried to the simulator, 0 for none; its effect is not known "
                "(the shipped slowdowns: 0)",
     .stored = "the value2 of the slowdown's cells, when not 0"},
};

inline constexpr row_value speed_point[] = {
    chainage_at("where the speed point stands (in the cell of the chainage, not one on)",
                "a speed point cell, at chainage / 50"),
    {.name = "speed",
     .unit = "km/h",
     .short_name = "W",
     .lowest = 0,
     .highest = 32767,
     .meaning = "the speed the train is held to from here; 0 places a speed point without a "
                "speed",
     .stored = "the cell's value"},
};

inline constexpr row_value station_number(std::string_view name, std::string_view short_name,
                                          std::int64_t lowest, std::int64_t highest,
                                          std::string_view meaning, std::string_view stored,
                                          std::string_view entry_field) {
  return {.name = name,
          .short_name = short_name,
          .lowest = lowest,
          .highest = highest,
          .meaning = meaning,
          .stored = stored,
          .overflow = value_overflow::opaque,
          .entry_field = entry_field};
}
inline constexpr row_value station[] = {
    {.name = "chainage",
     .unit = "m",
     .short_name = "P",
     .lowest = 0,
     .highest = longest_line,
     .step = 50,
     .meaning = "where the station stands; its platform lies about it as its type says",
     .stored = "the station entry's position",
     .chainage = true,
     .entry_field = "position"},
    {.name = "station type",
     .short_name = "T",
     .lowest = 0,
     .highest = 255,
     .meaning = "how the platform lies and whether the station has a stop point: 5, 6: "
                "platform before the station; 7, 8: origin or terminus; other below 25: "
                "platform centred; 25 and above: no stop point",
     .stored = "the station entry's kind byte",
     .entry_field = "kind"},
    {.name = "platform length",
     .unit = "m",
     .short_name = "L",
     .lowest = 0,
     .highest = longest_line,
     .step = 100,
     .meaning = "the platform's length, which places its start and end",
     .stored = "the station entry's start and end, computed"},
    station_number("flag F4", "F4", 0, 255,
                   "carried to the simulator; its effect is not known (the shipped train: 1 at "
                   "the first station and at two stops, 0 elsewhere)",
                   "the station entry's flag_a byte", "flag_a"),
    station_number("flag F5", "F5", 0, 255,
                   "carried to the simulator; its effect is not known; 0 when the platform is "
                   "shorter than 600 m and at the first station (the shipped train: 0)",
                   "the station entry's flag_b byte", "flag_b"),
    {.name = "end shift",
     .short_name = "E",
     .only = zero_or_one,
     .meaning = "1 moves the platform's end, and with it the stop point, 50 m on",
     .stored = "the station entry's end_shift byte",
     .entry_field = "end_shift"},
    station_number("group G7", "G7", -32768, 32767,
                   "carried to the simulator; its effect is not known (the shipped train: 0 to 4)",
                   "the station entry's group1_a", "group1_a"),
    station_number("group G8", "G8", -32768, 32767,
                   "carried to the simulator; its effect is not known (the shipped train: 0, 1)",
                   "the station entry's group1_b", "group1_b"),
    station_number("group G9", "G9", 0, 255,
                   "carried to the simulator; its effect is not known (the shipped train: 0, 1)",
                   "the station entry's group1_c byte", "group1_c"),
    station_number("group G10", "G10", -32768, 32767,
                   "carried to the simulator; its effect is not known (the shipped train: 0, 2, 4)",
                   "the station entry's group2_a", "group2_a"),
    station_number("group G11", "G11", -32768, 32767,
                   "carried to the simulator; its effect is not known (the shipped train: 0, 1)",
                   "the station entry's group2_b", "group2_b"),
    station_number("group G12", "G12", -32768, 32767,
                   "carried to the simulator; its effect is not known (the shipped train: 0, 1)",
                   "the station entry's group2_c", "group2_c"),
    station_number("stop code", "STOP", 0, 255,
                   "carried to the simulator; the shipped train writes 1 at the first station, "
                   "30 where it stops by the timetable, 0 elsewhere",
                   "the station entry's stop byte", "stop"),
    {.name = "timetable hours",
     .unit = "h",
     .short_name = "H",
     .lowest = 0,
     .highest = 23,
     .meaning = "the hour of the timetabled time at the station (0 0 0 where there is none)",
     .stored = "the station entry's time, in seconds after midnight"},
    {.name = "timetable minutes",
     .unit = "min",
     .short_name = "M",
     .lowest = 0,
     .highest = 59,
     .meaning = "its minutes",
     .stored = "the station entry's time, in seconds after midnight"},
    {.name = "timetable seconds",
     .unit = "s",
     .short_name = "S",
     .lowest = 0,
     .highest = 59,
     .meaning = "its seconds",
     .stored = "the station entry's time, in seconds after midnight"},
    {.name = "station name",
     .text = true,
     .short_name = "NAME",
     .meaning = "the station's name as the driver reads it",
     .stored = "the station entry's name"},
};

}  // namespace row_values
}  // namespace reader
