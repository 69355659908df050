#include "model/kilometre_posts.h"

namespace model {

std::int64_t post_metres(const std::array<station_entry, station_count>& table,
                         std::int64_t chainage) {
  // Of the references at or before the chainage, the furthest applies; the
  // table holds them furthest first, so on a tie the first entry wins. A
  // reference left at 0, 0, 0 applies from the start with no offset.
  const station_entry* applies = nullptr;
  for (const int e : {entry::reference_tre, entry::reference_due, entry::reference_uno}) {
    const station_entry& reference = table[static_cast<std::size_t>(e)];
    if (reference.start <= chainage && (applies == nullptr || reference.start > applies->start)) {
      applies = &reference;
    }
  }
  return applies == nullptr ? chainage : chainage + applies->end;
}

std::string post_words(std::int64_t metres) {
  // The magnitude in unsigned arithmetic: the most negative number has none
  // as a signed one.
  const std::uint64_t whole = metres < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(metres)
                                         : static_cast<std::uint64_t>(metres);
  std::string m = std::to_string(whole % 1000);
  m.insert(0, 3 - m.size(), '0');
  return std::string("km ") + (metres < 0 ? "-" : "") + std::to_string(whole / 1000) + "+" + m;
}

}  // namespace model
