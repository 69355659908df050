// libFuzzer target: arbitrary bytes as a compiled scenario file. The decoder
// must turn every input into the records or a decode_error naming where the
// bytes go wrong, and whatever it decodes must print as text and JSON and
// draw as SVG: never a crash, a hang or an access outside a table.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string_view>

#include "assembly/compiled_decoder.h"
#include "compiled_seeds.h"
#include "scenario_tool/draw/line_drawing.h"
#include "scenario_tool/inspect/dump_output.h"

namespace {

// Swallows what the dump prints.
class null_buffer final : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the kind the rest is read as.
  const assembly::file_kind kind = fuzzing::compiled_kind_of(data[0]);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  assembly::decoded_file file;
  try {
    file = assembly::decode(kind, bytes);
  } catch (const assembly::decode_error& failure) {
    if (failure.offset() > bytes.size()) __builtin_trap();  // the offset lies inside the file
    return 0;
  }

  null_buffer sink;
  std::ostream out(&sink);
  const std::filesystem::path name = kind == assembly::file_kind::plan       ? "R_linea.dat"
                                     : kind == assembly::file_kind::stations ? "R_T.sim"
                                                                             : "R_T.dat";
  for (const bool as_json : {false, true}) {
    scenario_tool::dump_decoded(file, name, {}, as_json, 0, 1 << 20, out);
  }

  scenario_tool::line_picture picture;
  picture.cells = file.cells;
  picture.stations = file.stations;
  picture.plan = file.plan;
  picture.line_length = file.line_length;
  if (picture.stations.size() > 84) picture.line_length = picture.stations[84].end;
  out << scenario_tool::draw_svg(picture);
  return 0;
}
