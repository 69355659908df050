#include "bench_scenario.h"

#include <unistd.h>

#include <atomic>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>

#include "bench_platform.h"
#include "model/scenario_identity.h"
#include "platform/replace_file.h"

namespace bench {

scratch_folder::scratch_folder(const std::string& label) {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("scenario_bench_" + label + "_" + std::to_string(::getpid()) + "_" +
           std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

scratch_folder::~scratch_folder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

namespace {

void add_line(std::string& text, const std::string& line) {
  text += line;
  text += "\r\n";
}

// A row: the keyword, then each number after a comma and its blanks, then
// any fixed tail, as the shipped texts lay out their rows.
struct number {
  std::int64_t value;
  std::size_t blanks;
};
std::string row(std::string_view keyword, std::initializer_list<number> numbers,
                std::string_view tail = {}) {
  std::string line(keyword);
  for (const number& n : numbers) {
    line += ',';
    line.append(n.blanks, ' ');
    line += std::to_string(n.value);
  }
  line += tail;
  return line;
}

}  // namespace

std::string longest_line_text() {
  std::string text;
  add_line(text, "[generale]");
  add_line(text, row("lunghezza percorso", {{longest_line_metres, 4}}));
  add_line(text, "progressiva chilometrica uno,    12800,    -12800,    0");
  add_line(text, "progressiva chilometrica due,    0,    0,    0");
  add_line(text, "progressiva chilometrica tre,    0,    0,    0");
  add_line(text, "sfondo uno,    0");
  add_line(text, "sfondo due,    1");
  add_line(text, "sfondo tre,    60000");
  add_line(text, "ripetizione segnali 4 codici,    1250,    12150");

  // Curves of 50, 100 and 150 m, right and left by turns with every radius
  // from 1 to 5, each starting where the one before ends or 50 m after it.
  // The last one ends before metre 999900: the plan may not step past its
  // millionth metre inside a curve.
  add_line(text, "[curve]");
  std::int64_t start = 1150;
  for (int i = 0;; ++i) {
    const std::int64_t length = 50 * (1 + i % 3);
    if (start + length > 999900) break;
    std::string keyword = "curva";
    keyword += i % 2 == 0 ? 'd' : 's';
    keyword += static_cast<char>('1' + i % 5);
    add_line(text, row(keyword, {{start, 2}, {length, 2}}));
    start += length + (i % 2 == 0 ? 0 : 50);
  }

  // A gradient every 250 m, from -6 to 12.
  add_line(text, "[pendenze]");
  add_line(text, "pendenza,   0,    0");
  for (std::int64_t p = 250, i = 1; p < longest_line_metres; p += 250, ++i) {
    add_line(text, row("pendenza", {{p, 2}, {(i * 7) % 19 - 6, 3}}));
  }
  add_line(text, "[fine]");
  return text;
}

std::string longest_train_text() {
  std::string text;
  add_line(text, "[generale]");
  add_line(text, "numero vetture,    5");
  add_line(text, "percentuale massa frenata,    115");
  add_line(text, "sabbia,    300");
  add_line(text, "orologio,    11              29            30 ");
  add_line(text, "[aderenze]");
  add_line(text, "aderenza,   0,    100");
  add_line(text, "aderenza,   600000,    90");
  add_line(text, "[vel_limite]");
  add_line(text, "velocita,   0,    30");
  add_line(text, "velocita,    1100,   120");
  add_line(text, "velocita,  250000,   140");
  add_line(text, "velocita,  600000,   130");
  add_line(text, "velocita,  998000,    95");

  // Stations 250 km apart, the stop point of each 200 m past its chainage.
  add_line(text, "[stazioni]");
  add_line(text, "stazione,       0,  7,  700,  1, 0, 0,  3,1,0,  2,1,1,    1,  11,30, 0, BRISENA");
  add_line(text,
           "stazione,  250000, 12,  500,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, ROCCAVELLA");
  add_line(text, "stazione,  500000, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  12, 6, 0, MORLANO");
  add_line(text,
           "stazione,  750000, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  12,16, 0, LORETELLO");
  add_line(text, "stazione,  999000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  12,36, 0, TARVO");

  // A slow slowdown (cadence points through it, a speed point before the
  // first signal after it) and a fast one, both with their approach markers.
  add_line(text, "[rallentamenti]");
  add_line(text, "rallentamento,  400000,    60, 2000, 0,  1,  0");
  add_line(text, "rallentamento,  700000,   115,  600, 0,  1,  0");

  // A signal every 5 km, none on a slowdown's start; one 1000 m before each
  // warning point and one 300 m after the slow slowdown's end.
  add_line(text, "[segnali]");
  for (std::int64_t p = 5000, i = 0; p < longest_line_metres; p += 5000, ++i) {
    if (p == 400000 || p == 700000) continue;
    const std::int64_t type = 1 + i % 2;
    add_line(text, row("segnale", {{p, 2}, {type, 3}}, ", 4, 1,  0, 0,    0,  0,0,0, 0"));
    if (p == 395000) add_line(text, "segnale,  398000,   1, 4, 1,  0, 0,    0,  0,0,0, 0");
    if (p == 695000) add_line(text, "segnale,  698000,   1, 4, 1,  0, 0,    0,  0,0,0, 0");
    if (p == 395000) add_line(text, "segnale,  402300,   2, 4, 1,  0, 0,    0,  0,0,0, 0");
  }
  add_line(text, "[codici]");
  add_line(text, "[fine]");
  return text;
}

void write_description_texts(Form1& form, scenario_case which, const std::string& line_text,
                             const std::string& train_text) {
  const model::scenario_identity identity = model::brisena_tarvo_47306();
  form.model.route_id = identity.route_id;
  form.model.train_number = identity.train_number;
  if (which == scenario_case::shipped) {
    form.dati_linea();
    form.dati_treno();
    return;
  }
  // As the run writes its texts: read back and deleted, never flushed.
  platform::replace_file(form.nome_file(identity.route_id + "_linea.txt"), line_text,
                         platform::durability::read_back);
  platform::replace_file(form.nome_file(identity.route_id + "_" + identity.train_number + "-.txt"),
                         train_text, platform::durability::read_back);
}

std::array<std::filesystem::path, 3> compiled_files(const std::filesystem::path& folder) {
  const model::scenario_identity identity = model::brisena_tarvo_47306();
  const std::string train = identity.route_id + "_" + identity.train_number;
  return {folder / (identity.route_id + "_linea.dat"), folder / (train + ".sim"),
          folder / (train + ".dat")};
}

probe_result probe_compile(scenario_case which, const std::string& line_text,
                           const std::string& train_text) {
  probe_result result;
  scratch_folder folder("probe");
  bench_platform platform(folder.path());
  Form1 form(platform);
  try {
    write_description_texts(form, which, line_text, train_text);
    std::int32_t j = 1;
    form.memorizza_percorso(j);
  } catch (const std::exception& failure) {
    result.problem = std::string("the compile failed: ") + failure.what();
    return result;
  }
  result.error_code = form.model.error_code;
  result.error_position = form.model.error_position;
  if (result.error_code != 0) {
    result.problem = "the compile recorded error " + std::to_string(result.error_code) +
                     " at metre " + std::to_string(result.error_position);
    return result;
  }
  const auto files = compiled_files(folder.path());
  for (std::size_t k = 0; k < files.size(); ++k) {
    std::error_code ec;
    result.file_sizes[k] = std::filesystem::file_size(files[k], ec);
    if (ec) {
      result.problem = "the compile wrote no " + files[k].filename().string();
      return result;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace bench
