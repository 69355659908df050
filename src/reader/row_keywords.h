// The row keywords of the two description texts: one table, in the order the
// reader tries them, that the reader dispatches through and that the authors'
// tool reads for its warnings (and an editor for hover and completion).
//
// A row is a keyword field followed by the values its keyword reads. Every
// keyword field of a part of a text is tested against every entry of that
// part, in table order, and each entry that matches reads its values at once:
// a field that passes two tests applies both rows, one after the other, each
// reading its own values. A field that passes none is skipped.
//
// An entry's test: each of its non-empty `parts` occurs somewhere in the
// keyword field (a substring, not a whole word), in the field's letter case
// when `exact_case`, else ignoring the case of ASCII letters. An entry that
// `needs_plan` is tried only when the track plan is built (plan_flag set).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "model/diagnostic_sink.h"
#include "reader/row_values.h"

namespace reader {

// Where a row stands: the line text's header (up to its first section
// header), the line text's body (after it), or the train text (after
// "[generale]").
enum class row_section { line_header, line_body, train_body };

constexpr model::description_text text_of(row_section section) {
  return section == row_section::train_body ? model::description_text::train
                                            : model::description_text::line;
}

// What a row does; the reader's passes switch on it.
enum class row_kind {
  line_length,
  reference_tre,
  reference_due,
  reference_uno,
  background_uno,
  background_due,
  background_tre,
  signal_repetition,
  gradient,
  curve,
  mountain,
  speed_indicators,
  sign,
  braked_mass,
  coaches,
  line_speed,
  adhesion,
  clock,
  sand,
  signal,
  slowdown,
  speed_point,
  station,
};

struct row_keyword {
  row_kind kind;
  // The keyword as the shipped texts write it (for a curve, the start of
  // "curvad2", "curvas3", ...).
  std::string_view name;
  std::array<std::string_view, 2> parts;  // each non-empty one must occur
  bool exact_case;
  row_section section;
  bool needs_plan;
  std::span<const row_value> values;  // read after the keyword, in this order
  std::string_view stores;            // what the row sets in the scenario model
  std::string_view noun;              // what one row of it is, for an author
  std::string_view plural;            // and several
};

// Every row keyword, grouped by section, each section in the order the
// reader tries its tests.
inline constexpr row_keyword row_keywords[] = {
    {row_kind::line_length,
     "lunghezza percorso",
     {"percorso", "lunghezza"},
     false,
     row_section::line_header,
     false,
     row_values::length,
     "entry 84 end; sizes the track cells and the track plan",
     "line length row",
     "line length rows"},
    {row_kind::reference_tre,
     "progressiva chilometrica tre",
     {"tre", "progressiva"},
     true,
     row_section::line_header,
     false,
     row_values::reference,
     "entry 81 start, end, position",
     "chainage reference",
     "chainage references"},
    {row_kind::reference_due,
     "progressiva chilometrica due",
     {"due", "progressiva"},
     true,
     row_section::line_header,
     false,
     row_values::reference,
     "entry 82 start, end, position",
     "chainage reference",
     "chainage references"},
    {row_kind::reference_uno,
     "progressiva chilometrica uno",
     {"uno", "progressiva"},
     true,
     row_section::line_header,
     false,
     row_values::reference,
     "entry 83 start, end, position",
     "chainage reference",
     "chainage references"},
    {row_kind::background_uno,
     "sfondo uno",
     {"sfondo", "uno"},
     true,
     row_section::line_header,
     false,
     row_values::background,
     "entry 85 start",
     "background row",
     "background rows"},
    {row_kind::background_due,
     "sfondo due",
     {"sfondo", "due"},
     true,
     row_section::line_header,
     false,
     row_values::background,
     "entry 85 position",
     "background row",
     "background rows"},
    {row_kind::background_tre,
     "sfondo tre",
     {"sfondo", "tre"},
     true,
     row_section::line_header,
     false,
     row_values::background,
     "entry 85 end",
     "background row",
     "background rows"},
    {row_kind::signal_repetition,
     "ripetizione segnali 4 codici",
     {"segnali", "ripetizione"},
     true,
     row_section::line_header,
     false,
     row_values::repetition,
     "entry 86 start, end; entry 86 position: the code count (4 or 9, from the keyword)",
     "signal repetition row",
     "signal repetition rows"},

    {row_kind::gradient,
     "pendenza",
     {"pendenza", ""},
     false,
     row_section::line_body,
     false,
     row_values::gradient,
     "the cells' gradient, from the chainage on",
     "gradient row",
     "gradient rows"},
    {row_kind::curve,
     "curva",
     {"curva", ""},
     false,
     row_section::line_body,
     true,
     row_values::curve,
     "the track plan: straight up to the start, then a curve (radius from the keyword's digit 1 "
     "to 6, a left turn with an \"s\")",
     "curve",
     "curves"},
    {row_kind::mountain,
     "montagna",
     {"montagna", ""},
     false,
     row_section::line_body,
     false,
     row_values::mountain,
     "a mountain-side stretch",
     "mountain-side stretch",
     "mountain-side stretches"},
    {row_kind::speed_indicators,
     "indicatori_vmax",
     {"indicatori_v", ""},
     false,
     row_section::line_body,
     false,
     row_values::indicators,
     "a pair of maximum-speed indicators",
     "speed indicator",
     "speed indicators"},
    {row_kind::sign,
     "cartello_indicatore",
     {"indicat", "cartello"},
     false,
     row_section::line_body,
     false,
     row_values::sign,
     "a sign cell and its lettering in the station table (entries 80 downwards)",
     "sign",
     "signs"},

    {row_kind::braked_mass,
     "percentuale massa frenata",
     {"frenata", "massa"},
     false,
     row_section::train_body,
     false,
     row_values::braked_mass,
     "entry 84 start",
     "braked mass row",
     "braked mass rows"},
    {row_kind::coaches,
     "numero vetture",
     {"vetture", ""},
     false,
     row_section::train_body,
     false,
     row_values::coaches,
     "entry 84 position",
     "coach count row",
     "coach count rows"},
    {row_kind::line_speed,
     "velocita",
     {"velocit", ""},
     false,
     row_section::train_body,
     false,
     row_values::line_speed,
     "the cells' line speed, from the chainage on",
     "line speed row",
     "line speed rows"},
    {row_kind::adhesion,
     "aderenza",
     {"aderenza", ""},
     false,
     row_section::train_body,
     false,
     row_values::adhesion,
     "the cells' adhesion, from the chainage on",
     "adhesion row",
     "adhesion rows"},
    {row_kind::clock,
     "orologio",
     {"orologio", ""},
     false,
     row_section::train_body,
     false,
     row_values::clock,
     "entry 86 group2_a, group2_b, group2_c: the starting clock",
     "clock row",
     "clock rows"},
    {row_kind::sand,
     "sabbia",
     {"sabbia", ""},
     false,
     row_section::train_body,
     false,
     row_values::sand,
     "entry 86 group1_a",
     "sand row",
     "sand rows"},
    {row_kind::signal,
     "segnale",
     {"segnale", ""},
     false,
     row_section::train_body,
     false,
     row_values::signal,
     "a signal",
     "signal",
     "signals"},
    {row_kind::slowdown,
     "rallentamento",
     {"rallentamento", ""},
     false,
     row_section::train_body,
     false,
     row_values::slowdown,
     "a slowdown",
     "slowdown",
     "slowdowns"},
    {row_kind::speed_point,
     "abbattimento",
     {"abbattimento", ""},
     false,
     row_section::train_body,
     false,
     row_values::speed_point,
     "a speed point cell",
     "speed point",
     "speed points"},
    {row_kind::station,
     "stazione",
     {"stazione", ""},
     false,
     row_section::train_body,
     false,
     row_values::station,
     "the next station entry (from entry 1), its stop point and approach cells",
     "station",
     "stations"},
};

// The entries of one section, in test order.
std::span<const row_keyword> row_keywords_of(row_section section);

// Whether a keyword field passes the entry's test; an entry that needs the
// plan passes only when `plan` is set.
bool matches(const row_keyword& keyword, std::string_view field, bool plan);

// Every entry of a section whose test a keyword field passes, in the order
// the reader applies them.
std::vector<const row_keyword*> entries_matching(std::string_view field, row_section section,
                                                 bool plan);

}  // namespace reader
