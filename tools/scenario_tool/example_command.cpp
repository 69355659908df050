// example DIR: the shipped scenario's two description texts, written as the
// installer writes them, for an author to start from.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "driver/scenario_identity.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/output_file.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

subcommand add_example(CLI::App& app, const streams& io) {
  auto folder = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "example", "Write the shipped scenario's line and train description texts into DIR.");
  command->add_option("DIR", *folder, "Folder to write into (created when missing)")->required();
  command->add_flag("--force", *force, "Replace the texts when DIR already holds them");
  command->footer(
      "Texts that already stand in DIR are an author's work: they are left alone, and nothing is "
      "written, unless --force is given.");
  return {command, [folder, force, io]() {
            const driver::scenario_identity identity = driver::brisena_tarvo_47306();
            const std::filesystem::path dir(*folder);
            const std::filesystem::path line_text = dir / (identity.route_id + "_linea.txt");
            const std::filesystem::path train_text =
                dir / (identity.route_id + "_" + identity.train_number + "-.txt");
            try {
              if (!*force) {
                std::vector<std::string> present;
                for (const auto& text : {line_text, train_text}) {
                  std::error_code ec;
                  const auto type = std::filesystem::symlink_status(text, ec).type();
                  if (type != std::filesystem::file_type::not_found &&
                      type != std::filesystem::file_type::none) {
                    present.push_back(text.string());
                  }
                }
                if (!present.empty()) {
                  io.err << "scenario_tool example: " << present.front()
                         << (present.size() == 2 ? " and " + present.back() + " already exist"
                                                 : " already exists")
                         << ": nothing written (give --force to replace "
                         << (present.size() == 2 ? "them" : "it") << ")\n";
                  return status_failed;
                }
              }
              std::filesystem::create_directories(dir);
              check_output_name(line_text);
              check_output_name(train_text);
              scenari::write_line_list(line_text, scenari::linea_lines());
              scenari::write_line_list(train_text, scenari::treno_lines());
            } catch (const std::exception& failure) {
              io.err << "scenario_tool example: " << failure_words(failure) << '\n';
              return status_failed;
            }
            io.out << line_text.string() << '\n' << train_text.string() << '\n';
            return status_ok;
          }};
}

}  // namespace scenario_tool
