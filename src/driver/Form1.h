// Form1: the installer's one window. It owns the scenario model and the
// platform layer, and every procedure of the run is one of its operations:
// each builds the paths in the program's folder and calls the subsystem that
// does the work on the model (scenari, reader, assembly).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "driver/folder_lock.h"
#include "model/conversions.h"
#include "model/scenario_identity.h"
#include "model/scenario_model.h"
#include "platform/platform.h"

namespace scenari {
struct carried_scenario;
}
namespace platform {
class folder_flush_batch;
}

class Form1 {
 public:
  explicit Form1(platform::platform& platform,
                 model::scenario_identity identity = model::brisena_tarvo_47306());
  // The run of a packaged installer: the identity, texts, documents and plan
  // flag come from `carried`, which outlives the window.
  Form1(platform::platform& platform, const scenari::carried_scenario& carried);

  // --- Run driver (src/driver) ---
  // The load handler: sets the scenario identity, shows the wait window and
  // runs the six steps of the job in their fixed order.
  void Form_Load();
  // Shows " Errore n. " followed by `a` and stops the run (throws run_stopped).
  [[noreturn]] void errore(const std::string& a);
  // The program's folder, the platform's separator, then the file's own name
  // (a Windows-1252 text, in the system's own encoding).
  std::filesystem::path nome_file(std::string_view own_name) const;
  // A packaged scenario's documents that it does not carry: an earlier
  // installation's are deleted in the burst that puts this one's in place.
  void remove_documents_not_carried(platform::folder_flush_batch& burst);
  // One line on the error the model records: its code, meaning and position,
  // and for a text that could not be read (25) which text, line and why.
  std::string describe_error() const;

  // --- Embedded scenario texts and driver documents (written by driver/dati_steps.cpp) ---
  void dati_linea();
  void dati_treno();
  void dati_note();
  void dati_rallentamenti();
  void dati_scheda();

  // --- Reader (calls into src/reader) ---
  void memorizza_dati();
  void progressive_ordina();
  void memo_montagna(std::int32_t inizio, std::int32_t fine, std::int32_t tipo);
  void memo_indicatori_v_max(std::int32_t posizione, std::int32_t vas, std::int32_t vbs,
                             std::int32_t vcs, std::int32_t strisces, std::int32_t vad,
                             std::int32_t vbd, std::int32_t vcd, std::int32_t strisced);
  void memo_segnale(std::int32_t posizione, std::int32_t sx, std::int32_t s1, std::int32_t s2,
                    std::int32_t s3, std::int32_t rapp, std::int32_t dx, std::int32_t d1,
                    std::int32_t d2, std::int32_t d3, std::int32_t tempo);
  void memo_rallentamento(std::int32_t x, std::int32_t v, std::int32_t l, std::int32_t f_tt,
                          std::int32_t f_ta, std::int32_t d_v);

  // --- Route assembly and compiled scenario (calls into src/assembly) ---
  void memorizza_percorso(std::int32_t& j);
  // y when x is greater than y, else x (so x on a tie); numbers of any type.
  static double minimo(double x, double y) { return model::minimo(x, y); }
  std::int32_t codice_gara_og() const;
  std::int32_t codice_gara_st() const;

  model::scenario_model model;
  const platform::window_design design;  // caption and label of the wait window
  // The description texts as this run wrote them, by file: the reader stops
  // the run if it reads back anything else, and forgets each text it deletes.
  std::map<std::filesystem::path, std::string> texts_written;
  // Deletes the texts of texts_written: a run that stops leaves none of its
  // working texts behind.
  void remove_written_texts() noexcept;
  // How long the run waits for another run that holds the folder's lock.
  std::chrono::milliseconds lock_wait = driver::folder_lock_wait;

 private:
  platform::platform& platform_;
  model::scenario_identity identity_;
  // The packaged installer's scenario; none for the scenario built in.
  const scenari::carried_scenario* carried_ = nullptr;
};
