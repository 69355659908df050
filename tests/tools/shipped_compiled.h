// The shipped scenario compiled once by the installer into a folder that the
// tool's tests read, and helpers to write altered copies of its files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "driver/run_installer.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace testing_support {

inline constexpr const char* shipped_plan = "Brisena_Tarvo_linea.dat";
inline constexpr const char* shipped_stations = "Brisena_Tarvo_47306.sim";
inline constexpr const char* shipped_cells = "Brisena_Tarvo_47306.dat";

// The folder holding the installer's output for the shipped scenario,
// compiled on first use and removed when the tests end.
inline const temp_folder& shipped_compiled() {
  struct compiled {
    temp_folder folder;
    compiled() {
      fake_platform platform(folder.path().string());
      if (driver::run_installer(platform) != driver::clean_run) {
        throw std::runtime_error("the shipped scenario did not compile");
      }
    }
  };
  static const compiled once;
  return once.folder;
}

inline std::string shipped_bytes(const std::string& name) {
  return platform::read_file(shipped_compiled().path() / name);
}

// Little-endian writes into a byte string, for altering a copy of a file.
inline void put_i16(std::string& bytes, std::size_t at, std::int16_t v) {
  bytes.at(at) = static_cast<char>(static_cast<std::uint16_t>(v) & 0xFF);
  bytes.at(at + 1) = static_cast<char>(static_cast<std::uint16_t>(v) >> 8);
}

// Byte offset of station entry `index` in a station file: each record is 34
// bytes and its name, whose 16-bit length stands at record offset 14.
inline std::size_t station_offset(const std::string& bytes, int index) {
  std::size_t at = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t n = static_cast<unsigned char>(bytes.at(at + 14)) |
                          static_cast<std::size_t>(static_cast<unsigned char>(bytes.at(at + 15)))
                              << 8;
    at += 34 + n;
  }
  return at;
}

}  // namespace testing_support
