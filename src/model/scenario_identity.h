// A scenario's identity, its route identifier and train number (Windows-1252
// texts), and the one the installer carries built in.
#pragma once

#include <string>

namespace model {

struct scenario_identity {
  std::string route_id;
  std::string train_number;
};

inline scenario_identity brisena_tarvo_47306() {
  return {"Brisena_Tarvo", "47306"};
}

}  // namespace model
