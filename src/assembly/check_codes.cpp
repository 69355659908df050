#include "assembly/check_codes.h"

namespace assembly {

namespace {

// Lower case in the single-byte code page of the texts (Windows-1252): the
// ASCII capitals, the accented capitals 0xC0 to 0xDE except the sign 0xD7,
// and the four capitals of 0x80 to 0x9F.
unsigned char lower_case(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
      return static_cast<unsigned char>(c + 0x10);
    case 0x9F:
      return 0xFF;
    default:
      return c;
  }
}

}  // namespace

std::string check_code_key(std::string_view train_number, std::string_view route_id) {
  std::string key;
  key.reserve(train_number.size() + route_id.size() + check_code_fill.size());
  key.append(train_number);
  key.append(route_id);
  for (char& c : key) c = static_cast<char>(lower_case(static_cast<unsigned char>(c)));
  key.append(check_code_fill);
  key.resize(check_code_length);
  return key;
}

std::int32_t plain_check_code(std::string_view train_number, std::string_view route_id) {
  std::int32_t sum = 0;
  for (char c : check_code_key(train_number, route_id)) sum += static_cast<unsigned char>(c);
  return sum;
}

std::int32_t weighted_check_code(std::string_view train_number, std::string_view route_id) {
  const std::string key = check_code_key(train_number, route_id);
  std::int32_t sum = 0;
  for (std::size_t p = 1; p <= key.size(); ++p) {
    sum += static_cast<std::int32_t>(p) * static_cast<unsigned char>(key[p - 1]);
  }
  return sum;
}

// The identity is read where the reader put it: the train number in the name
// of entry 86, the route identifier in the name of entry 85.
std::int32_t codice_gara_og(const model::scenario_model& model) {
  return plain_check_code(model.station_table[model::entry::train_header].name,
                          model.station_table[model::entry::route_header].name);
}

std::int32_t codice_gara_st(const model::scenario_model& model) {
  return weighted_check_code(model.station_table[model::entry::train_header].name,
                             model.station_table[model::entry::route_header].name);
}

}  // namespace assembly
