// The scenario that this build carries: its route identifier and train number.
#pragma once

#include <chrono>
#include <string>

namespace driver {

struct scenario_identity {
  std::string route_id;
  std::string train_number;
};

inline scenario_identity brisena_tarvo_47306() {
  return {"Brisena_Tarvo", "47306"};
}

// The lock file that lets one run at a time work in a folder, whatever its
// route and train: runs of two trains of one route share the route's plan
// file. It holds nothing; left behind, it does no harm.
inline constexpr const char* folder_lock_name = "scenari.lock";
// How long a run waits for another one that holds the folder's lock.
inline constexpr std::chrono::seconds folder_lock_wait{10};

}  // namespace driver
