// The language server with a real editor: Neovim's built-in client, headless,
// on a copy of the shipped texts with a keyword typo typed in. Skipped only
// where no nvim can be found.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/fmt/row_alignment.h"
#include "support/temp_folder.h"

namespace {

using nlohmann::json;

std::optional<std::filesystem::path> find_nvim() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
#ifdef _WIN32
  const char separator = ';';
  const char* name = "nvim.exe";
#else
  const char separator = ':';
  const char* name = "nvim";
#endif
  std::string all = path;
  std::size_t start = 0;
  while (start <= all.size()) {
    const std::size_t end = std::min(all.find(separator, start), all.size());
    const std::filesystem::path candidate =
        std::filesystem::path(all.substr(start, end - start)) / name;
    std::error_code failed;
    if (end > start && std::filesystem::is_regular_file(candidate, failed)) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

int line_starting(const std::vector<std::string>& lines, const std::string& start) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no line begins with " << start;
  return 0;
}

std::string quoted(const std::string& text) {
  return "'" + text + "'";
}

// The README's Neovim set-up, as written: the indented block after the line
// that introduces it.
std::string readme_neovim_setup() {
  const std::string readme = platform::read_file(README_PATH);
  const std::string intro = "Neovim 0.7 or later (no plugin needed), in `init.lua`:\n";
  std::size_t at = readme.find(intro);
  if (at == std::string::npos) return "";
  at += intro.size();
  std::string setup;
  while (at < readme.size()) {
    const std::size_t end = std::min(readme.find('\n', at), readme.size());
    const std::string line = readme.substr(at, end - at);
    if (!line.empty() && line.rfind("    ", 0) != 0) break;
    setup += (line.empty() ? line : line.substr(4)) + "\n";
    at = end + 1;
  }
  return setup;
}

// Before the set-up: the server's exit status kept where the session reads it.
constexpr const char* exit_status_hook = R"(local start_client = vim.lsp.start_client
vim.lsp.start_client = function(config)
  config.on_exit = function(code) _G.scenario_exit_code = code end
  return start_client(config)
end
)";

TEST(NeovimClient, ShowsTheTypoClearsItWhenFixedHoversAndListsTheOutline) {
  const std::optional<std::filesystem::path> nvim = find_nvim();
  if (!nvim) GTEST_SKIP() << "nvim cannot be found";

  testing_support::temp_folder folder;
  // The shipped train text's lines, up to its end marker.
  std::vector<std::string> train;
  for (const std::string_view line : scenari::treno_lines()) {
    if (line == "riferimento fine del file") break;
    train.emplace_back(line);
  }
  const int typo_line = line_starting(train, "segnale,");
  train[static_cast<std::size_t>(typo_line)].replace(0, 7, "segnalx");
  const int station_line = line_starting(train, "stazione,    4250");
  std::string train_text;
  for (const std::string& line : train) train_text += line + "\r\n";
  platform::replace_file(folder / "Brisena_Tarvo_47306-.txt", train_text);
  platform::replace_file(folder / "Brisena_Tarvo_linea.txt",
                         scenari::render_lines(scenari::linea_lines()));

  const std::string setup = readme_neovim_setup();
  ASSERT_NE(setup.find("BufNewFile"), std::string::npos) << setup;
  platform::replace_file(folder / "init.lua", exit_status_hook + setup);
  const std::filesystem::path tool_folder = std::filesystem::path(SCENARIO_TOOL_PATH).parent_path();

  const std::filesystem::path result = folder / "result.json";
  const std::string command =
      "PATH=" + quoted(tool_folder.string()) +
      ":\"$PATH\" LSP_FOLDER=" + quoted(folder.path().string()) +
      " LSP_RESULT=" + quoted(result.string()) + " LSP_TYPO_LINE=" + std::to_string(typo_line) +
      " LSP_STATION_LINE=" + std::to_string(station_line) +
      " HOME=" + quoted(folder.path().string()) + " timeout 120 " + quoted(nvim->string()) +
      " --headless -n -i NONE -u " + quoted((folder / "init.lua").string()) + " -c " +
      quoted("luafile " NEOVIM_SESSION_SCRIPT) + " </dev/null >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const json seen = json::parse(platform::read_file(result));
  ASSERT_FALSE(seen.contains("failure")) << seen.dump(2);
  std::cout << "What Neovim showed:\n" << seen.dump(2) << "\n";
  EXPECT_EQ(seen["fileformat"], "dos");

  // The typo: one error at its keyword (as compile gives it), suggesting the keyword meant.
  ASSERT_TRUE(seen["typo_shown"].get<bool>()) << seen.dump(2);
  ASSERT_EQ(seen["diagnostics"].size(), 1u) << seen.dump(2);
  const json& typo = seen["diagnostics"][0];
  EXPECT_EQ(typo["line"], typo_line);
  EXPECT_EQ(typo["column"], 0);
  EXPECT_EQ(typo["end_column"], 7);
  EXPECT_EQ(typo["severity"], 1);  // vim.diagnostic.severity.ERROR
  const std::string message = typo["message"];
  EXPECT_NE(message.find("did you mean 'segnale'"), std::string::npos) << message;
  EXPECT_EQ(seen["omnifunc"], "v:lua.vim.lsp.omnifunc");

  // Signature help within the station row: its values, as the keyword table names them.
  std::string signature;
  for (const json& line : seen["signature"]) signature += line.get<std::string>() + "\n";
  EXPECT_NE(signature.find("stazione, chainage (m), station type, platform length (m)"),
            std::string::npos)
      << signature;

  // The quick fix writes the keyword meant, and the text is clean again.
  EXPECT_EQ(seen["fixes_offered"], 1);
  EXPECT_EQ(seen["fixed_row"].get<std::string>().rfind("segnale,", 0), 0u) << seen["fixed_row"];
  EXPECT_TRUE(seen["cleared"].get<bool>());
  // Numbers typed after that row's last value: shown, then removed by the quick fix.
  EXPECT_TRUE(seen["surplus_shown"].get<bool>());
  EXPECT_TRUE(seen["surplus_cleared"].get<bool>());
  EXPECT_EQ(seen["surplus_fixed_row"], seen["fixed_row"]);

  // Hover on the station at 4250 m: its chainage and its cell (stop point
  // 4550 / 50 - 1 = 90).
  std::string hover;
  for (const json& line : seen["hover"]) hover += line.get<std::string>() + "\n";
  EXPECT_NE(hover.find("km 4+250"), std::string::npos) << hover;
  EXPECT_NE(hover.find("cell 90"), std::string::npos) << hover;
  EXPECT_NE(hover.find("CASTELNUOVO DI VALSERENA"), std::string::npos) << hover;

  // The outline lists the stations in the editor's quickfix list, at their rows.
  bool station_listed = false;
  for (const json& item : seen["outline"]) {
    if (item["text"].get<std::string>().find("CASTELNUOVO DI VALSERENA") != std::string::npos) {
      station_listed = true;
      EXPECT_EQ(item["line"], station_line + 1);
    }
  }
  EXPECT_TRUE(station_listed) << seen["outline"].dump(2);

  // Formatting: the buffer as fmt lays out the text, its line ends kept.
  train[static_cast<std::size_t>(typo_line)].replace(0, 7, "segnale");
  std::string fixed_text;
  for (const std::string& line : train) fixed_text += line + "\r\n";
  const auto aligned = scenario_tool::aligned_lines(fixed_text);
  ASSERT_TRUE(aligned.has_value());
  std::vector<std::string> formatted;
  for (const json& line : seen["formatted"]) formatted.push_back(line.get<std::string>());
  EXPECT_EQ(formatted, *aligned);
  EXPECT_NE(formatted, train);
  EXPECT_EQ(seen["formatted_fileformat"], "dos");

  // A text started anew is attached and checked too.
  EXPECT_TRUE(seen["new_text_attached"].get<bool>());
  EXPECT_EQ(seen["new_text_omnifunc"], "v:lua.vim.lsp.omnifunc");

  // shutdown then exit: status 0.
  EXPECT_EQ(seen["exit_code"], 0);
}

}  // namespace
