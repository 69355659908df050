#include "model/identity_check.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "model/file_names.h"
#include "model/windows_1252.h"

namespace model {

namespace {

// The name as the author wrote it, in UTF-8, with control bytes shown as \xNN.
std::string shown(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(byte));
      out += escape;
    } else {
      out += utf8_from_windows_1252(std::string_view(&c, 1));
    }
  }
  return out;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Windows takes these for devices, whatever extension follows them.
bool is_device_name(std::string_view base) {
  static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN",    "AUX",
                                                            "NUL", "CONIN$", "CONOUT$"};
  std::string name;
  for (const char c : base) name.push_back(upper(c));
  if (std::find(plain.begin(), plain.end(), name) != plain.end()) return true;
  // COM0 to COM9 and LPT0 to LPT9, and with the superscript digits 1, 2, 3.
  if (name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT"))) {
    const auto digit = static_cast<unsigned char>(name[3]);
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

std::optional<std::string> part_fault(std::string_view name) {
  if (name.empty()) return "is empty";
  if (name == "." || name == "..") return "is a folder's name, not a plain name";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\') return std::string("holds a folder separator (") + c + ")";
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
      return std::string("holds \"") + c + "\", which a Windows file name cannot hold";
    }
    if (byte < 0x20 || byte == 0x7F) return "holds a control character";
    if (!windows_1252_code_point(byte)) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(byte));
      return std::string("holds the byte 0x") + hex + ", which is no Windows-1252 character";
    }
  }
  if (name.back() == '.') return "ends with a dot, which Windows drops from file names";
  if (name.back() == ' ') return "ends with a blank, which Windows drops from file names";
  // Windows looks for a device name in the part before the first dot, blanks
  // at its end left out: "CON", "con.txt" and "CON .txt" are all the console.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  if (is_device_name(base)) {
    if (base.size() == name.size()) {
      return "is \"" + shown(base) + "\", a device name on Windows";
    }
    return "begins with \"" + shown(base) +
           "\", a device name on Windows whatever follows it after a dot";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> name_part_fault(std::string_view part) {
  return part_fault(part);
}

std::size_t longest_own_name_of(const scenario_identity& identity) {
  std::size_t longest = 0;
  for (const scenario_file file : every_scenario_file) {
    longest = std::max(longest, utf8_from_windows_1252(file_name(identity, file)).size());
  }
  return longest + temporary_suffix_size;
}

std::optional<std::string> identity_fault(const scenario_identity& identity) {
  if (const auto fault = part_fault(identity.route_id)) {
    return "the route identifier \"" + shown(identity.route_id) + "\" " + *fault;
  }
  if (const auto fault = part_fault(identity.train_number)) {
    return "the train number \"" + shown(identity.train_number) + "\" " + *fault;
  }
  const std::size_t longest = longest_own_name_of(identity);
  if (longest > longest_own_name) {
    return "the route identifier and the train number are too long: the file names they make "
           "need " +
           std::to_string(longest) +
           " characters with a temporary's suffix, and a file name "
           "holds at most " +
           std::to_string(longest_own_name);
  }
  return std::nullopt;
}

}  // namespace model
