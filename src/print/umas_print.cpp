// The print hand-off of spool files to the installation's scripts, and the viewer copy.
#include "print/umas_print.h"

#include <vector>

#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/process.h"
#include "print/prns.h"

namespace UMAS {

namespace {

// Hands spool to script under the spool lock; the spool file goes only when the script succeeded.
void handOff(const std::string& spool, const std::string& script) {
    PRNS::spoolAcquire();
    bool have = PLAT::fileExists(spool);
    PLAT::RunResult r;
    if (have) {
        r = PLAT::runScript(script, PLAT::PRINT_LOG);
        if (r.ok()) PLAT::removeFile(spool);
    }
    PRNS::spoolHandedOff(spool);
    if (!have || r.ok()) return;
    if (!r.started)
        // "<script> not found: <spool> kept. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Δεν βρέθηκε το " + script + ": το " + spool +
                                       " κρατήθηκε. Πατήστε ένα πλήκτρο"));
    else
        // "<script> failed (exit n): <spool> kept. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Αποτυχία " + script + " (" + std::to_string(r.status) + "): το " + spool +
                                       " κρατήθηκε. Πατήστε ένα πλήκτρο"));
}

}  // namespace

void PRINTUSB() { handOff("kvx.txt", "prntxt.sh"); }

void PRINTUSB_TIM() { handOff("tim.txt", "prn_tim.sh"); }

std::string PRINT_NOTEPAD_ISO8859(const std::string& S) { return PLAT::cp737ToIso88597(S); }

void PRINT_NOTEPAD() {
    PRNS::spoolAcquire();
    auto lines = PLAT::readLines("kvx.txt");
    if (!lines) {
        PRNS::spoolHandedOff("kvx.txt");
        return;
    }
    std::string out;
    for (const auto& l : *lines) out += PRINT_NOTEPAD_ISO8859(l.substr(0, 255)) + "\r\n";
    PLAT::writeWholeAtomic("Output.txt", out);
    PLAT::removeFile("kvx.txt");
    PRNS::spoolHandedOff("kvx.txt");

    // The viewer runs in the terminal: leave the screen and take it back afterwards.
    bool con = PLAT::haveConsole();
    if (con) PLAT::con().suspend();
    PLAT::RunResult r = PLAT::runViewer("Output.txt");
    if (con) PLAT::con().resume();
    if (!r.started)
        // "The viewer did not start: see Output.txt. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Δεν ξεκίνησε η προβολή: δείτε το Output.txt. Πατήστε ένα πλήκτρο"));
}

}  // namespace UMAS
