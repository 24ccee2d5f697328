// The demo installation driven through the real program in a terminal: the installation with the
// submission's tables, a new declaration of a kind, and the walk box by box filling boxes on the way.
#pragma once
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace DEMOE2E {

// The demo installation in WORK with the field tables and output folders of the submissions and
// the export counter; "ANAF.DAT" holds ANAF when it is given.
inline void install(TESTS::TempWorkDir& work, const std::string& anaf = "") {
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    INSTALL::seedSubmission(work.path(), work.file("DATABASE/ARXEIO0"),
                            std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats");
    INSTALL::makeExportCounter(work.file("DATABASE"));
    if (!anaf.empty()) TESTS::writeFile(work.file("DATABASE/ARXEIO0/ANAF.DAT"), anaf + "\r\n");
}

// The program started under faketime at 10 December 2026, 09:05, workstation 1.
inline std::string fixedClockCommand(const std::string& env = "") {
    return "ASAN_OPTIONS=verify_asan_link_order=0 " + env + (env.empty() ? "" : " ") +
           "faketime '2026-12-10 09:05:00' " + KORVEX_BIN + " 1";
}

// From the program's start: the first company, the main menu's entry DIGIT (whose list shows
// HEADING), Enter for a new declaration, and its NUMBER typed into box 1. False when a screen
// did not come.
inline bool newDeclaration(TESTS::Tmux& t, const std::string& digit, const std::string& heading, const std::string& number) {
    if (!t.waitFor("4.30")) return false;
    t.keys("Enter");
    if (!t.waitFor(INSTALL::demoCompanies()[0][0])) return false;
    t.text(digit);
    if (!t.waitFor(heading)) return false;
    t.keys("Enter");
    if (!t.waitFor("αα   1")) return false;
    t.text(number);
    return true;
}

// Enter box by box until the help line names LAST ("αα  85"), typing each text of FILL when the
// help line names its box. False when LAST did not come.
inline bool fillTo(TESTS::Tmux& t, const std::string& last, const std::vector<std::pair<std::string, std::string>>& fill) {
    for (int i = 0; i < 120; ++i) {
        const std::string sc = t.screen();
        if (sc.find(last) != std::string::npos) break;
        for (const auto& [at, text] : fill)
            if (sc.find(at) != std::string::npos) t.text(text);
        t.keys("Enter");
        usleep(15000);
    }
    return t.waitFor(last);
}

}  // namespace DEMOE2E
