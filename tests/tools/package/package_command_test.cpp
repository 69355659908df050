// package: the scenario compiled first, refused with its diagnostics, or
// joined to the generic installer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/carried_scenario.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

#ifdef _WIN32
const char* const own_platform = "windows";
#else
const char* const own_platform = "linux";
#endif

// A minimal scenario whose train text is changed by `change`.
void make_scenario(const testing_support::temp_folder& folder,
                   const std::function<std::string(std::string)>& change = nullptr) {
  ASSERT_EQ(run_tool({"new", folder.path().string(), "--route", "R", "--train", "1"}).status, 0);
  if (change) platform::replace_file(folder / "R_1-.txt", change(folder.read("R_1-.txt")));
}

tool_result package(const testing_support::temp_folder& folder, const std::string& out,
                    std::vector<std::string> more = {}) {
  std::vector<std::string> args = {
      "package", folder.path().string(), "--platform", own_platform, "--out", out,
      "--stub",  SCENARIO_INSTALLER_PATH};
  args.insert(args.end(), more.begin(), more.end());
  return run_tool(args);
}

TEST(ToolPackage, JoinsTheScenarioToTheGenericInstaller) {
  testing_support::temp_folder folder;
  make_scenario(folder);
  testing_support::temp_folder out;
  const tool_result result = package(folder, (out / "install_R_1").string());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");

  const std::string installer = out.read("install_R_1");
  const std::string program = platform::read_file(SCENARIO_INSTALLER_PATH);
  ASSERT_GT(installer.size(), program.size());
  EXPECT_EQ(installer.substr(0, program.size()), program);
  const scenari::carried_scenario carried = scenari::unseal_scenario(installer);
  EXPECT_EQ(carried.identity.route_id, "R");
  EXPECT_EQ(carried.line_text, folder.read("R_linea.txt"));
  EXPECT_EQ(carried.notes, folder.read("R_1_note.txt"));
  EXPECT_FALSE(carried.train_card.has_value());
#ifndef _WIN32
  const auto perms = std::filesystem::status(out / "install_R_1").permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
#endif
}

TEST(ToolPackage, RefusesAScenarioWithErrorsAndWritesNothing) {
  testing_support::temp_folder folder;
  // A station off the 50 m grid: error 8.
  make_scenario(folder, [](std::string text) {
    return text.replace(text.find("stazione,    4000"), 17, "stazione,    4010");
  });
  testing_support::temp_folder out;
  const tool_result result = package(folder, (out / "installer").string());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("R_1-.txt:13:"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("error"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("no installer written"), std::string::npos) << result.err;
  EXPECT_TRUE(out.names().empty());
}

TEST(ToolPackage, RefusesWarningsOnlyUnderWerror) {
  testing_support::temp_folder folder;
  // A row whose keyword matches none: a warning.
  make_scenario(folder, [](std::string text) {
    return text.replace(text.find("[stazioni]"), 0, "fermata,    2000,    90\r\n");
  });
  testing_support::temp_folder out;
  const tool_result strict = package(folder, (out / "installer").string(), {"--werror"});
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.err.find("matches no keyword"), std::string::npos) << strict.err;
  EXPECT_TRUE(out.names().empty());

  const tool_result lenient = package(folder, (out / "installer").string());
  EXPECT_EQ(lenient.status, 0) << lenient.err;
  EXPECT_NE(lenient.err.find("warning"), std::string::npos) << lenient.err;
  EXPECT_EQ(out.names(), std::set<std::string>{"installer"});
}

// A gradient of 160 ‰ is kept plus 100 in a byte: 260 keeps 4, a descent of
// 96 ‰ where a climb was meant. The installer would install it; package does
// not, unless the author says so.
TEST(ToolPackage, RefusesAGradientThatWrapsIntoADescent) {
  testing_support::temp_folder folder;
  make_scenario(folder);
  std::string line = folder.read("R_linea.txt");
  line.replace(line.rfind("[fine]"), 0, "pendenza,   500,   160\r\n");
  platform::replace_file(folder / "R_linea.txt", line);
  testing_support::temp_folder out;
  const tool_result refused = package(folder, (out / "installer").string());
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("gradient 160 ‰ is stored as -96 ‰: a descent"), std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("[value-wraps]"), std::string::npos) << refused.err;
  EXPECT_TRUE(out.names().empty());

  const tool_result allowed =
      package(folder, (out / "installer").string(), {"-W", "no-error=value-wraps"});
  EXPECT_EQ(allowed.status, 0) << allowed.err;
  EXPECT_EQ(out.names(), std::set<std::string>{"installer"});
}

TEST(ToolPackage, RefusesWhatIsNoGenericInstaller) {
  testing_support::temp_folder folder;
  make_scenario(folder);
  testing_support::temp_folder out;
  platform::replace_file(out / "text.txt", "not a program");
  const std::string packaged = (out / "packaged").string();
  ASSERT_EQ(package(folder, packaged).status, 0);

  const struct {
    std::string stub;
    std::string platform;
    std::string message;
  } cases[] = {
      {(out / "missing").string(), own_platform, "missing"},
      {(out / "text.txt").string(), own_platform, "is not the generic installer for"},
      {SCENARIO_INSTALLER_PATH, own_platform == std::string("linux") ? "windows" : "linux",
       "is not the generic installer for"},
      // Programs that are not the generic installer: a file with an ELF
      // program's first bytes only, the built-in installer.
      {(out / "elf_bytes").string(), own_platform, "is not the generic installer for"},
      {INSTALLER_PATH, own_platform, "is not the generic installer for"},
      {packaged, own_platform, "already carries a scenario"},
      {(out / "huge").string(), own_platform,
       "it holds 67108865 bytes; a generic installer holds at most 67108864"},
  };
  platform::replace_file(out / "elf_bytes", std::string("\x7F"
                                                        "ELF\x02\x01\x01\0",
                                                        8));
  // A sparse file: no disk, and refused by its size before it is read.
  platform::replace_file(out / "huge",
                         "\x7F"
                         "ELF");
  std::filesystem::resize_file(out / "huge", (std::uintmax_t{64} << 20) + 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const tool_result result =
        run_tool({"package", folder.path().string(), "--platform", c.platform, "--out",
                  (out / "new_installer").string(), "--stub", c.stub});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out / "new_installer"));
  }
}

// An author packaging a folder someone else wrote never ships a file from
// outside it: each way out is refused with one line naming the entry, by
// package and compile alike, and nothing is written.
TEST(ToolPackage, RefusesAManifestNamingAFileOutsideTheFolder) {
  testing_support::temp_folder outside;
  platform::replace_file(outside / "private.txt", "a private file\r\n");
  const std::string private_file = (outside / "private.txt").generic_string();
  struct way_out {
    std::string entry;  // the manifest's line naming the notes
    std::string words;
  };
  std::vector<way_out> ways = {
      {"notes = \"" + private_file + "\"", "is an absolute path"},
      {"notes = \"../" + outside.path().filename().generic_string() + "/private.txt\"",
       "goes up through \"..\""},
      {"notes = \"sub/../../x.txt\"", "goes up through \"..\""},
  };
#ifndef _WIN32
  ways.push_back({"notes = \"inside_link.txt\"", "leads through a link to"});
  ways.push_back({"notes = \"linked_folder/private.txt\"", "leads through a link to"});
#endif
  for (const way_out& way : ways) {
    SCOPED_TRACE(way.entry);
    testing_support::temp_folder folder;
    make_scenario(folder);
#ifndef _WIN32
    std::filesystem::create_symlink(outside / "private.txt", folder / "inside_link.txt");
    std::filesystem::create_directory_symlink(outside.path(), folder / "linked_folder");
#endif
    std::string manifest = folder.read("scenario.toml");
    const std::size_t at = manifest.find("notes = ");
    ASSERT_NE(at, std::string::npos) << manifest;
    manifest.replace(at, manifest.find('\n', at) - at, way.entry);
    platform::replace_file(folder / "scenario.toml", manifest);

    testing_support::temp_folder out;
    const tool_result packaged = package(folder, (out / "installer").string());
    EXPECT_EQ(packaged.status, 1);
    EXPECT_EQ(std::count(packaged.err.begin(), packaged.err.end(), '\n'), 1) << packaged.err;
    EXPECT_NE(packaged.err.find("scenario.toml:"), std::string::npos) << packaged.err;
    EXPECT_NE(packaged.err.find("the notes \""), std::string::npos) << packaged.err;
    EXPECT_NE(packaged.err.find(way.words), std::string::npos) << packaged.err;
    EXPECT_TRUE(out.names().empty());

    const tool_result compiled =
        run_tool({"compile", folder.path().string(), "--out", (out / "compiled").string()});
    EXPECT_EQ(compiled.status, 1);
    EXPECT_NE(compiled.err.find(way.words), std::string::npos) << compiled.err;
    EXPECT_FALSE(std::filesystem::exists(out / "compiled"));
  }
}

TEST(ToolPackage, ALinkThatStaysInsideTheFolderIsCarried) {
  testing_support::temp_folder folder;
  make_scenario(folder);
#ifndef _WIN32
  std::filesystem::create_directory(folder / "texts");
  std::filesystem::rename(folder / "R_1_note.txt", folder / "texts" / "notes.txt");
  std::filesystem::create_symlink("texts/notes.txt", folder / "R_1_note.txt");
#endif
  testing_support::temp_folder out;
  const tool_result result = package(folder, (out / "installer").string());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(scenari::unseal_scenario(out.read("installer")).notes, folder.read("R_1_note.txt"));
}

// Every file the installer carries is listed with its size, then the installer.
TEST(ToolPackage, ListsEachFileItCarriesWithItsSize) {
  testing_support::temp_folder folder;
  make_scenario(folder);
  testing_support::temp_folder out;
  const std::string installer = (out / "installer").string();
  const tool_result result = package(folder, installer);
  ASSERT_EQ(result.status, 0) << result.err;
  const auto size = [&](const char* name) { return std::to_string(folder.read(name).size()); };
  EXPECT_EQ(result.out, "carries R_linea.txt (" + size("R_linea.txt") + " bytes)\n" +
                            "carries R_1-.txt (" + size("R_1-.txt") + " bytes)\n" +
                            "carries R_1_note.txt (" + size("R_1_note.txt") + " bytes)\n" +
                            installer + "\n");
}

// A text the installer could not carry is refused before it is compiled: one
// line, none of the diagnostics a compile of it would print.
TEST(ToolPackage, RefusesATextOverTheCarriedBoundBeforeCompilingIt) {
  for (const std::size_t size :
       {scenari::largest_carried_file, scenari::largest_carried_file + 1}) {
    SCOPED_TRACE(size);
    testing_support::temp_folder folder;
    make_scenario(folder);
    platform::replace_file(folder / "R_linea.txt", std::string(size, 'x'));
    testing_support::temp_folder out;
    const tool_result result = package(folder, (out / "installer").string());
    EXPECT_EQ(result.status, 1);
    if (size == scenari::largest_carried_file) {
      // Carried, so compiled: the text of x's does not compile.
      EXPECT_EQ(result.err.find("too large to carry"), std::string::npos) << result.err;
      EXPECT_NE(result.err.find("R_linea.txt:"), std::string::npos);
    } else {
      EXPECT_EQ(result.err,
                "scenario_tool package: the line text is too large to carry: 8388609 bytes, at "
                "most 8388608; no installer written\n");
    }
    EXPECT_TRUE(out.names().empty());
  }
}

TEST(ToolPackage, HelpSaysWhereTheGenericInstallerIsLookedFor) {
  const tool_result help = run_tool({"package", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("scenario_installer.exe"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("--stub"), std::string::npos) << help.out;
  const tool_result bad = run_tool({"package", "--platform", "macos", "--out", "x"});
  EXPECT_EQ(bad.status, 2);
}

}  // namespace
