#include "scenari/carried_scenario.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "model/identity_check.h"
#include "model/little_endian.h"
#include "platform/file_system.h"
#include "scenari/sha256.h"

namespace scenari {

namespace {

constexpr std::uint32_t format_number = 1;

// A size of 4 bytes and the bytes themselves.
void put_bytes(model::le_writer& out, std::string_view bytes) {
  out.number(static_cast<std::uint32_t>(bytes.size()));
  out.bytes(bytes);
}

// The scenario's fields, read in order, each checked against what is left.
class field_reader {
 public:
  explicit field_reader(std::string_view bytes) : in_(bytes) {}

  template <std::unsigned_integral Number>
  Number number(const char* what) {
    if (in_.left() < sizeof(Number)) cut(what);
    return in_.number<Number>();
  }
  bool flag(const char* what) {
    const auto value = number<std::uint8_t>(what);
    if (value > 1)
      throw damaged_installer(std::string("its scenario's ") + what + " is neither 0 nor 1");
    return value == 1;
  }
  std::string text(const char* what, std::size_t largest) {
    const std::uint32_t size = number<std::uint32_t>(what);
    if (size > largest) {
      throw damaged_installer(std::string("its scenario's ") + what + " is too large (" +
                              std::to_string(size) + " bytes)");
    }
    if (in_.left() < size) cut(what);
    return std::string(in_.take(size));
  }
  std::optional<std::string> document(const char* what) {
    if (!flag(what)) return std::nullopt;
    return text(what, largest_carried_file);
  }
  bool at_end() const { return in_.at_end(); }

 private:
  [[noreturn]] static void cut(const char* what) {
    throw damaged_installer(std::string("its scenario ends inside the ") + what);
  }
  model::le_reader in_;
};

sha256_digest seal_digest(std::string_view scenario, std::string_view size_field) {
  sha256 hash;
  hash.update(scenario);
  hash.update(size_field);
  return hash.finish();
}

void check_size(const char* what, std::size_t size) {
  if (size > largest_carried_file) {
    throw std::invalid_argument(std::string("the ") + what +
                                " is too large to carry: " + std::to_string(size) +
                                " bytes, at most " + std::to_string(largest_carried_file));
  }
}

}  // namespace

std::string seal_scenario(const carried_scenario& scenario) {
  if (const auto fault = model::identity_fault(scenario.identity)) {
    throw std::invalid_argument(*fault);
  }
  check_size("line text", scenario.line_text.size());
  check_size("train text", scenario.train_text.size());
  std::string out;
  model::le_writer fields(out);
  fields.number(format_number);
  fields.number(static_cast<std::uint8_t>(scenario.plan ? 1 : 0));
  put_bytes(fields, scenario.identity.route_id);
  put_bytes(fields, scenario.identity.train_number);
  put_bytes(fields, scenario.line_text);
  put_bytes(fields, scenario.train_text);
  const std::pair<const char*, const std::optional<std::string>*> documents[] = {
      {"notes", &scenario.notes},
      {"slowdown order", &scenario.slowdown_order},
      {"train card", &scenario.train_card}};
  for (const auto& [what, document] : documents) {
    fields.number(static_cast<std::uint8_t>(document->has_value() ? 1 : 0));
    if (document->has_value()) {
      check_size(what, (*document)->size());
      put_bytes(fields, **document);
    }
  }
  const std::size_t scenario_size = out.size();
  std::string size_field;
  model::le_writer(size_field).number(static_cast<std::uint64_t>(scenario_size));
  const sha256_digest digest = seal_digest(out, size_field);
  out += size_field;
  out.append(reinterpret_cast<const char*>(digest.data()), digest.size());
  out.append(carried_mark);
  return out;
}

carried_scenario unseal_scenario(std::string_view installer) {
  if (installer.size() < carried_trailer_size ||
      installer.substr(installer.size() - carried_mark.size()) != carried_mark) {
    throw damaged_installer(
        "no scenario is sealed at its end (it was cut short or lengthened, or is the bare generic "
        "installer)");
  }
  const std::size_t trailer = installer.size() - carried_trailer_size;
  const std::string_view size_field = installer.substr(trailer, 8);
  const std::uint64_t size = model::le_reader(size_field).number<std::uint64_t>();
  if (size > largest_carried_scenario || size > trailer) {
    throw damaged_installer("the size it gives its scenario (" + std::to_string(size) +
                            " bytes) is not possible");
  }
  const std::string_view scenario =
      installer.substr(trailer - static_cast<std::size_t>(size), static_cast<std::size_t>(size));
  const sha256_digest digest = seal_digest(scenario, size_field);
  if (std::memcmp(digest.data(), installer.data() + trailer + 8, digest.size()) != 0) {
    throw damaged_installer("its scenario does not match its SHA-256 digest");
  }

  // Sealed by a packager: a field that does not fit is a packager of another make.
  field_reader fields(scenario);
  if (fields.number<std::uint32_t>("format number") != format_number) {
    throw damaged_installer("its scenario is in a format this installer does not know");
  }
  carried_scenario result;
  result.plan = fields.flag("plan flag");
  result.identity.route_id = fields.text("route identifier", model::longest_own_name);
  result.identity.train_number = fields.text("train number", model::longest_own_name);
  result.line_text = fields.text("line text", largest_carried_file);
  result.train_text = fields.text("train text", largest_carried_file);
  result.notes = fields.document("notes");
  result.slowdown_order = fields.document("slowdown order");
  result.train_card = fields.document("train card");
  if (!fields.at_end()) throw damaged_installer("its scenario has bytes past its last field");
  if (const auto fault = model::identity_fault(result.identity)) throw damaged_installer(*fault);
  return result;
}

carried_scenario read_carried_scenario(const std::filesystem::path& installer) {
  std::ifstream file(installer, std::ios::binary);
  const auto failed = [&](const char* action) {
    return platform::file_error(installer, action, std::strerror(errno));
  };
  if (!file) throw failed("open");
  file.seekg(0, std::ios::end);
  const std::streamoff file_size = file.tellg();
  if (file_size < 0) throw failed("read");
  // Only the end of the file: the trailer, then the scenario it announces.
  const auto read_end = [&](std::size_t size) {
    std::string bytes(size, '\0');
    file.seekg(file_size - static_cast<std::streamoff>(size));
    file.read(bytes.data(), static_cast<std::streamsize>(size));
    if (!file) throw failed("read");
    return bytes;
  };
  if (static_cast<std::uint64_t>(file_size) < carried_trailer_size) {
    throw damaged_installer(
        "no scenario is sealed at its end (it was cut short or lengthened, or is the bare generic "
        "installer)");
  }
  const std::string trailer = read_end(carried_trailer_size);
  const std::uint64_t size = model::le_reader(trailer).number<std::uint64_t>();
  if (trailer.substr(trailer.size() - carried_mark.size()) != carried_mark) {
    throw damaged_installer(
        "no scenario is sealed at its end (it was cut short or lengthened, or is the bare generic "
        "installer)");
  }
  if (size > largest_carried_scenario ||
      size > static_cast<std::uint64_t>(file_size) - carried_trailer_size) {
    throw damaged_installer("the size it gives its scenario (" + std::to_string(size) +
                            " bytes) is not possible");
  }
  return unseal_scenario(read_end(static_cast<std::size_t>(size) + carried_trailer_size));
}

}  // namespace scenari
