#include "driver/run_installer.h"

#include <exception>

#include "driver/Form1.h"
#include "driver/error_report.h"
#include "driver/run_stopped.h"

namespace driver {

int run_installer(platform::platform& platform, const scenario_identity& identity) {
  try {
    Form1 form(platform, identity);
    form.Form_Load();
    if (form.model.error_code != 0) {
      // The compiled files are written, but the scenario they hold is faulty.
      platform.report_failure(describe_recorded_error(form.model));
      return 2;
    }
    return 0;
  } catch (const run_stopped&) {
    return 1;  // errore has already shown its message
  } catch (const std::exception& failure) {
    platform.destroy_window();
    platform.report_failure(failure.what());
    return 1;
  }
}

}  // namespace driver
