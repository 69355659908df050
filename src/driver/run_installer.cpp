#include "driver/run_installer.h"

#include <exception>
#include <new>
#include <optional>

#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "scenari/carried_scenario.h"

namespace driver {

int guarded_run(platform::platform& platform, const std::function<const Form1&()>& run) {
  try {
    const Form1& form = run();
    if (form.model.error_code != 0) {
      platform.report_failure(form.describe_error());
      return scenario_faulty;
    }
    return clean_run;
  } catch (const run_stopped&) {
    return run_failed;  // errore has already shown its message
  } catch (const std::bad_alloc&) {
    // Short enough to need no memory of its own.
    platform.destroy_window();
    platform.report_failure(out_of_memory_line);
    return run_failed;
  } catch (const std::exception& failure) {
    platform.destroy_window();
    platform.report_failure(failure.what());
    return run_failed;
  }
}

int run_installer(platform::platform& platform, const model::scenario_identity& identity,
                  std::chrono::milliseconds lock_wait) {
  std::optional<Form1> form;
  return guarded_run(platform, [&]() -> const Form1& {
    form.emplace(platform, identity);
    form->lock_wait = lock_wait;
    form->Form_Load();
    return *form;
  });
}

int run_installer(platform::platform& platform, const scenari::carried_scenario& carried,
                  std::chrono::milliseconds lock_wait) {
  std::optional<Form1> form;
  return guarded_run(platform, [&]() -> const Form1& {
    form.emplace(platform, carried);
    form->lock_wait = lock_wait;
    form->Form_Load();
    return *form;
  });
}

int run_packaged_installer(platform::platform& platform, std::chrono::milliseconds lock_wait) {
  scenari::carried_scenario carried;
  try {
    carried = scenari::read_carried_scenario(platform::running_program_image());
  } catch (const scenari::damaged_installer& damage) {
    platform.report_failure(std::string("this installer is damaged: ") + damage.what());
    return run_failed;
  } catch (const std::bad_alloc&) {
    platform.report_failure(out_of_memory_line);
    return run_failed;
  } catch (const std::exception& failure) {
    platform.report_failure(failure.what());
    return run_failed;
  }
  return run_installer(platform, carried, lock_wait);
}

}  // namespace driver
