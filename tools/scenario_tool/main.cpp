#include <iostream>

#include "scenario_tool/tool.h"

int main(int argc, char** argv) {
  return scenario_tool::run(argc, argv, {std::cout, std::cerr});
}
