// Runs the built Windows installer as a driver would: copied alone into a
// folder and started from another one. A message box it shows is read and
// dismissed as a user would; a run that never ends fails the test.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "driver/run_installer.h"
#include "platform/replace_file.h"
#include "platform/windows/win32_windows.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::wstring installer_name = L"brisena_tarvo_47306.exe";
const std::vector<std::wstring> six_files = {L"Brisena_Tarvo_47306_note.txt",
                                             L"Brisena_Tarvo_47306_rallentamenti.txt",
                                             L"Brisena_Tarvo_47306_scheda_treno.txt",
                                             L"Brisena_Tarvo_linea.dat",
                                             L"Brisena_Tarvo_47306.sim",
                                             L"Brisena_Tarvo_47306.dat"};

struct installer_run {
  bool ended = false;
  DWORD status = 0;
  std::vector<testing_support::message_box_view> boxes;  // as each was seen
};

// Starts `program` with `working` as its current folder and waits for its end,
// pressing OK on each message box it shows.
installer_run run(const fs::path& program, const fs::path& working) {
  installer_run result;
  std::wstring command = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       working.c_str(), &startup, &process) == 0) {
    ADD_FAILURE() << "cannot start the installer: error " << ::GetLastError();
    return result;
  }
  std::set<HWND> answered;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    if (::WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
      result.ended = true;
      break;
    }
    for (HWND box : testing_support::top_level_windows(process.dwProcessId,
                                                       testing_support::message_box_class)) {
      if (!answered.insert(box).second) continue;
      result.boxes.push_back(testing_support::read_message_box(box));
      testing_support::press_ok(box);
    }
  }
  if (!result.ended) ::TerminateProcess(process.hProcess, 99);
  ::GetExitCodeProcess(process.hProcess, &result.status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return result;
}

// A copy of the installer alone in `folder`, run from elsewhere.
installer_run run_copied_installer(const fs::path& folder) {
  const fs::path program = folder / installer_name;
  fs::copy_file(INSTALLER_PATH, program, fs::copy_options::overwrite_existing);
  testing_support::temp_folder elsewhere;
  return run(program, elsewhere.path());
}

std::set<std::wstring> names_in(const fs::path& folder) {
  std::set<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().wstring());
  }
  return names;
}

// The installer, the given files and the folder's lock file, which a run
// leaves behind empty.
std::set<std::wstring> installer_and(const std::vector<std::wstring>& files) {
  std::set<std::wstring> names(files.begin(), files.end());
  names.insert(installer_name);
  names.insert(L"scenari.lock");
  return names;
}

// The six files of the same scenario, written by the library in this process.
const std::map<std::wstring, std::string>& reference_files() {
  static const std::map<std::wstring, std::string> files = [] {
    testing_support::temp_folder folder;
    testing_support::fake_platform platform(folder.path(), '\\');
    EXPECT_EQ(driver::run_installer(platform), driver::clean_run);
    std::map<std::wstring, std::string> bytes;
    for (const auto& name : six_files) bytes[name] = platform::read_file(folder.path() / name);
    return bytes;
  }();
  return files;
}

void expect_reference_bytes(const fs::path& folder, const std::vector<std::wstring>& files) {
  for (const auto& name : files) {
    EXPECT_TRUE(platform::read_file(folder / name) == reference_files().at(name))
        << fs::path(name).string() << " differs";
  }
}

TEST(WindowsInstaller, RunsInAFolderWithSpacesAndWideCharactersAndWritesItsSixFiles) {
  testing_support::temp_folder parent;
  // Greek, Cyrillic, Japanese and accented Latin: outside any one ANSI code page.
  const fs::path folder = parent.path() /
                          L"Scenari \u0395\u03bb\u03bb\u03ac\u03b4\u03b1 "
                          L"\u041c\u0438\u0440 \u65e5\u672c \u00e0\u00e8\u00f9";
  fs::create_directories(folder);

  const installer_run result = run_copied_installer(folder);

  ASSERT_TRUE(result.ended) << "the installer did not end";
  EXPECT_EQ(result.status, 0u);
  EXPECT_TRUE(result.boxes.empty())
      << "a message box was shown: " << ::testing::PrintToString(result.boxes.front().text);
  EXPECT_EQ(names_in(folder), installer_and(six_files));
  expect_reference_bytes(folder, six_files);
}

TEST(WindowsInstaller, ASecondRunReplacesEveryFileWithTheSameBytes) {
  testing_support::temp_folder folder;
  // An older, longer route file of the same name.
  platform::replace_file(folder / "Brisena_Tarvo_47306.dat", std::string(100000, '\x7F'));
  ASSERT_EQ(run_copied_installer(folder.path()).status, 0u);
  ASSERT_EQ(run_copied_installer(folder.path()).status, 0u);
  EXPECT_EQ(names_in(folder.path()), installer_and(six_files));
  expect_reference_bytes(folder.path(), six_files);
}

bool running_under_wine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The root of a drive for the installer, for as long as the object lives: a
// drive letter substituted for a fresh folder. Wine keeps such a definition
// in its object namespace but does not follow it for file names (its drives
// are the links of the prefix's dosdevices folder); there the root of the
// system drive, which lies inside the prefix that the test run owns, is used
// instead, and the files put there are removed afterwards.
class drive_root {
 public:
  drive_root() {
    for (wchar_t letter = L'Q'; letter <= L'Y' && root_.empty(); ++letter) {
      const std::wstring drive{letter, L':'};
      if (::GetDriveTypeW((drive + L"\\").c_str()) != DRIVE_NO_ROOT_DIR) continue;
      if (::DefineDosDeviceW(0, drive.c_str(), folder_.path().c_str()) == 0) continue;
      if (reaches_the_folder(drive + L"\\")) {
        drive_ = drive;
        root_ = drive + L"\\";
      } else {
        ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
      }
    }
    if (root_.empty() && running_under_wine()) {
      wchar_t system[MAX_PATH] = {};
      if (::GetSystemWindowsDirectoryW(system, MAX_PATH) >= 3) root_ = fs::path(system).root_path();
    }
  }
  ~drive_root() {
    if (!drive_.empty()) ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive_.c_str(), nullptr);
    std::error_code ignored;
    if (drive_.empty() && !root_.empty()) {
      for (const auto& name : six_files) fs::remove(root_ / name, ignored);
      fs::remove(root_ / installer_name, ignored);
    }
  }
  drive_root(const drive_root&) = delete;
  drive_root& operator=(const drive_root&) = delete;

  // "Q:\", or empty when no root could be had.
  const fs::path& root() const { return root_; }

 private:
  bool reaches_the_folder(const std::wstring& root) const {
    std::error_code ec;
    fs::create_directory(fs::path(root) / L"probe", ec);
    const bool reached = !ec && fs::exists(folder_.path() / L"probe");
    fs::remove(fs::path(root) / L"probe", ec);
    return reached;
  }

  testing_support::temp_folder folder_;
  std::wstring drive_;
  fs::path root_;
};

TEST(WindowsInstaller, AtADriveRootNamesItsFilesWithTheDoubledSeparatorAndWritesThem) {
  const drive_root drive;
  ASSERT_FALSE(drive.root().empty()) << "no drive root to run from";
  ASSERT_EQ(drive.root().wstring().size(), 3u);  // "X:\"

  const installer_run result = run_copied_installer(drive.root());

  ASSERT_TRUE(result.ended);
  EXPECT_EQ(result.status, 0u);
  EXPECT_TRUE(result.boxes.empty());
  expect_reference_bytes(drive.root(), six_files);
  for (const auto& name : names_in(drive.root())) {
    EXPECT_NE(fs::path(name).extension(), L".tmp") << "a temporary is left";
  }
}

TEST(WindowsInstaller, AFolderWhereACompiledFileMustGoStopsTheRunWithABoxNamingIt) {
  testing_support::temp_folder folder;
  fs::create_directories(folder / "Brisena_Tarvo_47306.sim" / "x");

  const installer_run result = run_copied_installer(folder.path());

  ASSERT_TRUE(result.ended) << "the installer did not end after its box";
  EXPECT_EQ(result.status, static_cast<DWORD>(driver::run_failed));
  ASSERT_EQ(result.boxes.size(), 1u);
  const testing_support::message_box_view& box = result.boxes.front();
  EXPECT_NE(box.text.find(L"Brisena_Tarvo_47306.sim"), std::wstring::npos);
  EXPECT_EQ(box.text.find(L'\n'), std::wstring::npos) << "more than one line";
  EXPECT_EQ(box.title, L"brisena_tarvo_47306");
  EXPECT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(box.icons, 0);
  // The folder is refused before the burst: none of the six files is put in
  // place (they go together or not at all), and no temporary is left.
  EXPECT_EQ(names_in(folder.path()), installer_and({L"Brisena_Tarvo_47306.sim"}));
}

}  // namespace
