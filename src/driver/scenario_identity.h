// The scenario that this build carries: its route identifier and train number.
#pragma once

#include <string>

namespace driver {

struct scenario_identity {
  std::string route_id;
  std::string train_number;
};

inline scenario_identity brisena_tarvo_47306() {
  return {"Brisena_Tarvo", "47306"};
}

}  // namespace driver
