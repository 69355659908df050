// The lock that lets one run at a time work in a program's folder.
#pragma once

#include <chrono>

namespace driver {

// The lock file that lets one run at a time work in a folder, whatever its
// route and train: runs of two trains of one route share the route's plan
// file. It holds nothing; left behind, it does no harm.
inline constexpr const char* folder_lock_name = "scenari.lock";
// How long a run waits for another one that holds the folder's lock.
inline constexpr std::chrono::seconds folder_lock_wait{10};

}  // namespace driver
