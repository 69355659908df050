// The generic installer with a scenario sealed at its end, run as a driver
// runs it: copied alone into a folder, started with no arguments.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "platform/replace_file.h"
#include "scenari/carried_scenario.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

struct program_run {
  int status = -1;
  std::string errors;
};

// Writes `bytes` as the executable `name` in `folder` and runs it from another folder.
program_run run_program(const testing_support::temp_folder& folder, const std::string& name,
                        const std::string& bytes) {
  testing_support::temp_folder outside;
  const auto exe = folder / name;
  std::ofstream(exe, std::ios::binary | std::ios::trunc) << bytes;
  std::filesystem::permissions(exe, std::filesystem::perms::owner_all);
  const std::string command = "cd '" + outside.path().string() + "' && '" + exe.string() +
                              "' </dev/null 2>'" + (outside / "stderr.txt").string() + "'";
  const int raw = std::system(command.c_str());
  program_run run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.errors = outside.read("stderr.txt");
  return run;
}

std::map<std::string, std::string> contents(const testing_support::temp_folder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : folder.names()) files[name] = folder.read(name);
  return files;
}

const std::string& generic_installer() {
  static const std::string bytes = platform::read_file(SCENARIO_INSTALLER_PATH);
  return bytes;
}

// The tool's package of a scenario folder, made for this system.
std::string packaged_by_tool(const testing_support::temp_folder& scenario) {
  testing_support::temp_folder out;
  const auto result = testing_support::run_tool({"package", scenario.path().string(), "--platform",
                                                 "linux", "--out", (out / "installer").string(),
                                                 "--stub", SCENARIO_INSTALLER_PATH});
  EXPECT_EQ(result.status, 0) << result.err;
  return out.read("installer");
}

TEST(PackagedInstaller, TheShippedScenarioGivesTheBuiltInInstallersSixFiles) {
  testing_support::temp_folder built_in;
  const program_run shipped =
      run_program(built_in, "brisena_tarvo_47306", platform::read_file(INSTALLER_PATH));
  ASSERT_EQ(shipped.status, 0) << shipped.errors;

  testing_support::temp_folder scenario;
  ASSERT_EQ(testing_support::run_tool({"example", scenario.path().string()}).status, 0);
  testing_support::temp_folder packaged;
  const program_run run = run_program(packaged, "installer", packaged_by_tool(scenario));
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "Attendere\n");

  auto expected = contents(built_in);
  auto actual = contents(packaged);
  expected.erase("brisena_tarvo_47306");
  actual.erase("installer");
  EXPECT_EQ(actual.size(), 7u);  // six files and the folder's lock
  EXPECT_EQ(actual, expected);
}

TEST(PackagedInstaller, ReadsItsRunningImageNotWhatNowStandsAtItsPath) {
  // The installer is started from its file, which is then deleted; a file
  // planted under the name the system now gives its path ("inst (deleted)")
  // holds the generic installer with no scenario. The run must read the file
  // it was started from.
  testing_support::temp_folder scenario;
  ASSERT_EQ(testing_support::run_tool({"example", scenario.path().string()}).status, 0);
  const std::string installer = packaged_by_tool(scenario);
  testing_support::temp_folder folder;
  const auto exe = folder / "inst";
  platform::replace_file(exe, installer);
  std::filesystem::permissions(exe, std::filesystem::perms::owner_all);
  testing_support::temp_folder outside;

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int image = ::open(exe.c_str(), O_RDONLY | O_CLOEXEC);
    const int errors = ::open((outside / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (image < 0 || errors < 0 || nothing < 0 || ::unlink(exe.c_str()) != 0) ::_exit(90);
    std::ofstream(folder / "inst (deleted)", std::ios::binary) << generic_installer();
    if (::dup2(errors, 2) < 0 || ::dup2(nothing, 0) < 0 || ::chdir(outside.path().c_str()) != 0) {
      ::_exit(91);
    }
    char name[] = "inst";
    char* argv[] = {name, nullptr};
    char* envp[] = {nullptr};
    ::fexecve(image, argv, envp);
    ::_exit(92);
  }
  int raw = 0;
  ASSERT_EQ(::waitpid(child, &raw, 0), child);
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0) << outside.read("stderr.txt");
  EXPECT_EQ(outside.read("stderr.txt"), "Attendere\n");
  EXPECT_TRUE(folder.names().count("Brisena_Tarvo_47306.dat"))
      << testing::PrintToString(folder.names());
}

TEST(PackagedInstaller, ANewScenarioGivesTheFilesThatCompileGives) {
  testing_support::temp_folder scenario;
  ASSERT_EQ(
      testing_support::run_tool({"new", scenario.path().string(), "--route", "Val", "--train", "9"})
          .status,
      0);
  testing_support::temp_folder compiled;
  ASSERT_EQ(testing_support::run_tool(
                {"compile", scenario.path().string(), "--out", compiled.path().string()})
                .status,
            0);

  testing_support::temp_folder installed;
  const program_run run = run_program(installed, "installer", packaged_by_tool(scenario));
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "Attendere\n");
  auto files = contents(installed);
  EXPECT_EQ(files.at("Val_9_note.txt"), scenario.read("Val_9_note.txt"));
  for (const std::string name : {"installer", "scenari.lock", "Val_9_note.txt"}) files.erase(name);
  EXPECT_EQ(files, contents(compiled));
}

TEST(PackagedInstaller, WritesOnlyTheDocumentsItCarriesAndNoPlanWhenToldSo) {
  scenari::carried_scenario scenario = scenari::shipped_scenario();
  scenario.identity = {"Citt\xE0", "7"};
  scenario.plan = false;
  scenario.notes.reset();
  scenario.train_card.reset();
  testing_support::temp_folder folder;
  const program_run run =
      run_program(folder, "installer", generic_installer() + scenari::seal_scenario(scenario));
  ASSERT_EQ(run.status, 0) << run.errors;
  // The route's name is Windows-1252 in the scenario, UTF-8 in Linux file names.
  const std::set<std::string> expected = {"installer", "scenari.lock",
                                          "Citt\xC3\xA0_7_rallentamenti.txt", "Citt\xC3\xA0_7.sim",
                                          "Citt\xC3\xA0_7.dat"};
  EXPECT_EQ(folder.names(), expected);
  EXPECT_EQ(folder.read("Citt\xC3\xA0_7_rallentamenti.txt"), *scenario.slowdown_order);
}

TEST(PackagedInstaller, AnEarlierInstallationsDocumentsItDoesNotCarryAreRemoved) {
  // The folder holds one scenario's set: an earlier installation of the same
  // train whose notes and train card the new scenario leaves out must not
  // stand beside the new compiled files as if they were its own.
  scenari::carried_scenario scenario = scenari::shipped_scenario();
  testing_support::temp_folder folder;
  ASSERT_EQ(run_program(folder, "installer", generic_installer() + scenari::seal_scenario(scenario))
                .status,
            0);
  scenario.notes.reset();
  scenario.train_card.reset();
  const program_run run =
      run_program(folder, "installer", generic_installer() + scenari::seal_scenario(scenario));
  ASSERT_EQ(run.status, 0) << run.errors;
  const std::set<std::string> expected = {"installer",
                                          "scenari.lock",
                                          "Brisena_Tarvo_47306_rallentamenti.txt",
                                          "Brisena_Tarvo_linea.dat",
                                          "Brisena_Tarvo_47306.sim",
                                          "Brisena_Tarvo_47306.dat"};
  EXPECT_EQ(folder.names(), expected);
}

TEST(PackagedInstaller, ADamagedInstallerSaysSoInOneLineAndTouchesNothing) {
  const std::string installer =
      generic_installer() + scenari::seal_scenario(scenari::shipped_scenario());
  const std::size_t program = generic_installer().size();
  const std::size_t sealed = installer.size() - program;
  auto flipped = [&](std::size_t at) {
    std::string bytes = installer;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x04);
    return bytes;
  };
  const std::pair<const char*, std::string> damaged[] = {
      {"bare generic installer", generic_installer()},
      {"cut inside the trailer", installer.substr(0, installer.size() - 7)},
      {"cut inside the scenario", installer.substr(0, program + sealed / 2)},
      {"cut right after the scenario", installer.substr(0, installer.size() - 56)},
      {"first byte of the scenario changed", flipped(program)},
      {"a byte of the line text changed", flipped(program + 100)},
      {"a byte of the train card changed", flipped(installer.size() - 200)},
      {"digest changed", flipped(installer.size() - 30)},
      {"size changed", flipped(installer.size() - 56)},
      {"joined to more bytes", installer + std::string(1000, '\0')},
  };
  for (const auto& [what, bytes] : damaged) {
    SCOPED_TRACE(what);
    testing_support::temp_folder folder;
    // A good installation from an earlier run stays as it was.
    platform::replace_file(folder / "Brisena_Tarvo_47306.dat", "good installation");
    const auto before = contents(folder);
    const program_run run = run_program(folder, "installer", bytes);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.rfind("this installer is damaged: ", 0), 0u) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    auto after = contents(folder);
    after.erase("installer");
    EXPECT_EQ(after, before);
  }
}

}  // namespace

TEST(PackagedInstaller, ASecondTrainWithAnotherLineTextSaysWhichTrainsToInstallAgain) {
  // Every train of a route shares its track plan: the second train's line
  // text replaces it, and the trains compiled with the former one are named.
  const scenari::carried_scenario first = scenari::shipped_scenario();
  scenari::carried_scenario second = first;
  second.identity.train_number = "9";
  const std::size_t curve = second.line_text.find("curvad2");
  ASSERT_NE(curve, std::string::npos);
  second.line_text[curve + 6] = '3';  // another radius: another plan
  scenari::carried_scenario same_line = first;
  same_line.identity.train_number = "12";

  struct step {
    const char* what;
    const scenari::carried_scenario& scenario;
    std::string said;
  };
  const std::string notice =
      "The track plan Brisena_Tarvo_linea.dat now follows this train's line text, another than the "
      "one it followed; the route's train 47306 installed here may follow the former one: install "
      "it again.\n";
  const std::vector<step> steps = {
      {"the first train: nothing else there", first, "Attendere\n"},
      {"a second train with another line text", second, "Attendere\n" + notice},
      {"the same again: the plan already is its own", second, "Attendere\n"},
      {"a third train with the first line text", same_line,
       "Attendere\nThe track plan Brisena_Tarvo_linea.dat now follows this train's line text, "
       "another than the one it followed; the route's trains 47306, 9 installed here may follow "
       "the former one: install them again.\n"},
  };
  testing_support::temp_folder folder;
  for (const step& s : steps) {
    SCOPED_TRACE(s.what);
    const program_run run =
        run_program(folder, "installer", generic_installer() + scenari::seal_scenario(s.scenario));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, s.said);
  }
}
