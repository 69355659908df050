#include "model/error_codes.h"

namespace model {

std::string error_meaning(std::int32_t code) {
  switch (code) {
    case 1:
      return "line length above 1000000 m";
    case 2:
      return "a kilometric chainage reference is not a multiple of 50 m";
    case 3:
      return "signal repetition start is not a multiple of 50 m";
    case 4:
      return "signal repetition end is not a multiple of 50 m";
    case 5:
      return "signal repetition row names neither 4 nor 9 codes";
    case 6:
      return "sign on a cell that is not free";
    case 7:
      return "speed point on a cell that is not free";
    case 8:
      return "station chainage is not a multiple of 50 m";
    case 9:
      return "platform length is not a multiple of 100 m";
    case 10:
      return "too many stations for the station table";
    case 11:
      return "no room for a speed point before a signal ahead of a slowdown";
    case 12:
      return "no room for a speed point ahead of a slowdown start";
    case 13:
      return "no room for a speed point through or after a slowdown";
    case 15:
      return "a row lies beyond the end of the line";
    case 16:
      return "signal on a cell that is not free";
    case 17:
      return "slowdown warning point on a cell that is not free";
    case 18:
      return "slowdown start on a cell that is not free";
    case 19:
      return "slowdown end on a cell that is not free";
    case 20:
      return "slowdown approach marker on a cell that is not free";
    case 21:
      return "maximum-speed indicator on a cell that is not free";
    case 22:
      return "platform starts less than 350 m after the previous station's platform";
    case 24:
      return "station stop point too close to the start of the line";
    case 25:
      return "the description texts could not be read";
    case 101:
      return "line description text not found";
    case 102:
      return "[generale] not found in the line description text";
    case 103:
      return "curve without a radius digit, or the plan runs past metre 1000000";
    default:
      return "";
  }
}

bool error_has_position(std::int32_t code) {
  switch (code) {
    case 6:
    case 7:
    case 8:
    case 9:
    case 11:
    case 12:
    case 13:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
      return true;
    default:
      return false;
  }
}

std::string describe_recorded_error(const scenario_model& model) {
  std::string line = "scenario error " + std::to_string(model.error_code);
  const std::string meaning = error_meaning(model.error_code);
  if (!meaning.empty()) line += ": " + meaning;
  if (error_has_position(model.error_code)) {
    line += " (at " + std::to_string(model.error_position) + " m)";
  }
  return line;
}

}  // namespace model
