#include "driver/run_installer.h"

#include <exception>

#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "model/error_codes.h"

namespace driver {

int guarded_run(platform::platform& platform,
                const std::function<const model::scenario_model&()>& run) {
  try {
    const model::scenario_model& model = run();
    if (model.error_code != 0) {
      platform.report_failure(model::describe_recorded_error(model));
      return scenario_faulty;
    }
    return clean_run;
  } catch (const run_stopped&) {
    return run_failed;  // errore has already shown its message
  } catch (const std::exception& failure) {
    platform.destroy_window();
    platform.report_failure(failure.what());
    return run_failed;
  }
}

int run_installer(platform::platform& platform, const scenario_identity& identity) {
  Form1 form(platform, identity);
  return guarded_run(platform, [&]() -> const model::scenario_model& {
    form.Form_Load();
    return form.model;
  });
}

}  // namespace driver
