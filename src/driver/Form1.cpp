#include "driver/Form1.h"

#include <string>
#include <utility>
#include <vector>

#include "assembly/compiled_files.h"
#include "driver/route_plan_notice.h"
#include "model/file_names.h"
#include "model/windows_1252.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"
#include "scenari/carried_scenario.h"

namespace {

// The wait window, titled with the scenario it installs ("Brisena_Tarvo 47306").
platform::window_design wait_window(const model::scenario_identity& identity) {
  platform::window_design design;
  design.caption = model::utf8_from_windows_1252(identity.route_id + " " + identity.train_number);
  return design;
}

}  // namespace

Form1::Form1(platform::platform& platform, model::scenario_identity identity)
    : design(wait_window(identity)), platform_(platform), identity_(std::move(identity)) {}

Form1::Form1(platform::platform& platform, const scenari::carried_scenario& carried)
    : Form1(platform, carried.identity) {
  carried_ = &carried;
}

std::filesystem::path Form1::nome_file(std::string_view own_name) const {
  // The folder is asked anew for every name; the separator is added even when
  // the folder already ends with one (a program at the root). The folder keeps
  // the platform's width; the own name goes from Windows-1252 through UTF-8
  // into it (unchanged when it is ASCII).
  std::filesystem::path name = platform_.program_folder();
  name += platform_.separator();
  const std::string utf8 = model::utf8_from_windows_1252(own_name);
  name += std::u8string(utf8.begin(), utf8.end());
  return name;
}

namespace {

// The names of every file a run writes, the only ones whose temporaries the
// start of a run removes; in UTF-8, as the folder's names are compared.
std::vector<std::string> own_file_names(const model::scenario_model& model) {
  std::vector<std::string> names;
  for (const model::scenario_file file : model::every_scenario_file) {
    names.push_back(model::utf8_from_windows_1252(model::file_name(model, file)));
  }
  return names;
}

}  // namespace

void Form1::remove_written_texts() noexcept {
  for (const auto& written : texts_written) platform::remove_file_quietly(written.first);
}

void Form1::remove_documents_not_carried(platform::folder_flush_batch& burst) {
  // The folder then holds one scenario's documents, never another's beside
  // this one's compiled files.
  if (carried_ == nullptr) return;
  if (!carried_->notes)
    burst.remove_in_burst(nome_file(model::file_name(model, model::scenario_file::notes)));
  if (!carried_->slowdown_order) {
    burst.remove_in_burst(nome_file(model::file_name(model, model::scenario_file::slowdown_order)));
  }
  if (!carried_->train_card)
    burst.remove_in_burst(nome_file(model::file_name(model, model::scenario_file::train_card)));
}

void Form1::Form_Load() {
  model.route_id = identity_.route_id;
  model.train_number = identity_.train_number;
  platform_.show_window(design);
  // One run at a time in the folder: two runs would write the same files.
  // Held until the run ends, whichever way it ends.
  const std::filesystem::path lock_file = nome_file(driver::folder_lock_name);
  const platform::folder_lock lock = platform::lock_folder(lock_file, lock_wait);
  // Temporaries of runs killed before their rename: no run can be writing them now.
  platform::remove_leftover_temporaries(lock_file.parent_path(), own_file_names(model));

  // The six files that stay are each written and flushed to a temporary, then
  // put in place together in one burst at the end: a run that stops before
  // it leaves the earlier installation as it was.
  platform::folder_flush_batch renames;
  std::string plan_notice;
  try {
    dati_linea();
    dati_treno();
    dati_note();
    dati_rallentamenti();
    dati_scheda();
    // The built-in scenario always builds its track plan; a carried one as its author chose.
    std::int32_t j = carried_ == nullptr || carried_->plan ? 1 : 0;
    memorizza_percorso(j);
    // Read before the burst replaces the route's plan.
    if (j == 1) {
      // The lock's folder, without asking for it again (the run's own
      // operations each ask once).
      plan_notice = driver::route_plan_notice(model, lock_file.parent_path());
    }
    remove_documents_not_carried(renames);
    renames.flush();
  } catch (...) {
    // Whatever stopped the run, the description texts it wrote and the reader
    // has not yet deleted are its own working files: none is left behind.
    remove_written_texts();
    throw;
  }

  platform_.destroy_window();
  if (!plan_notice.empty()) platform_.message_box(plan_notice);
}
