// The main program: start-up, the outer loop of company choices, the main menu.
#pragma once
#include <string>
#include <vector>

namespace KORVEX {

int run(int argc, char** argv);
// The after-choice sequence and the main menu (exposed for tests).
void afterChoice();
void mainMenu();
// Names of the after-choice steps in the order they ran (tests read it; cleared by afterChoice).
extern std::vector<std::string> sequenceLog;

}  // namespace KORVEX
