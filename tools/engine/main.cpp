// zerud-engine: the rules and the machine player on the command line.
#include <iostream>

#include "Engine.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return zerud::RunEngine(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                          std::cerr);
}
