// The stops that end a run early. Only the top of the program catches them and
// turns them into an exit status; files opened by the steps are closed on the
// way up.
#pragma once

#include <stdexcept>
#include <string>

namespace driver {

// `errore` has shown its numbered message: the run ends here.
class run_stopped : public std::runtime_error {
 public:
  explicit run_stopped(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace driver
