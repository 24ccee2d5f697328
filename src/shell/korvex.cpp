#include "shell/korvex.h"

namespace KORVEX {
std::vector<std::string> sequenceLog;
int run(int, char**) { return 0; }
void afterChoice() {}
void mainMenu() {}
}  // namespace KORVEX
