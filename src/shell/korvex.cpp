// The main program: start-up, the outer loop of company choices and the main menu.
#include "shell/korvex.h"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "customers/arpel.h"
#include "declarations/dias.h"
#include "invoicing/apod0.h"
#include "invoicing/formix.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "screen/scr.h"
#include "shell/start.h"
#include "upgrades/rebuilds.h"

namespace KORVEX {

std::vector<std::string> sequenceLog;

namespace {

// The key legend of the main menu (entries 4 to 10 are not shown).
UMAS::FUN mainLegend() {
    UMAS::FUN f;
    f[1] = PLAT::gr("Esc.Επιλογή αρχείου");
    f[2] = PLAT::gr(" , ,1-9.Επιλογή");
    f[2][0] = 24;
    f[2][2] = 25;
    f[3] = PLAT::gr("Enter.Επικύρωση");
    return f;
}

bool validWorkstationId(const std::string& id) {
    if (id.size() > 3) return false;
    for (unsigned char c : id)
        if (!std::isalnum(c)) return false;
    return true;
}

}  // namespace

void afterChoice() {
    sequenceLog.clear();
    auto step = [](const char* name, const std::function<void()>& fn) {
        sequenceLog.emplace_back(name);
        fn();
    };
    // One workstation at a time runs the sequence on a company folder.
    auto sequenceLock = std::make_unique<REBUILDS::SequenceLock>();
    step("random", [] { std::srand(unsigned(std::time(nullptr))); });
    step("REB_POL", REBUILDS::REB_POL);
    step("REB_PELAT MF", [] { REBUILDS::REB_PELAT("MF"); });
    step("REB_PELAT XMF", [] { REBUILDS::REB_PELAT("XMF"); });
    step("REB_NOM", REBUILDS::REB_NOM);
    step("REB_NOM_2", REBUILDS::REB_NOM_2);
    step("REB_PRE", REBUILDS::REB_PRE);
    step("REB_TAX", REBUILDS::REB_TAX);
    step("REB_PEMP", REBUILDS::REB_PEMP);
    step("REB_PRE2", REBUILDS::REB_PRE2);
    step("REB_PARDISK", REBUILDS::REB_PARDISK);
    step("REB_PARAUTO", REBUILDS::REB_PARAUTO);
    step("REB_EMPOR", REBUILDS::REB_EMPOR);
    step("REB_TIMOL", REBUILDS::REB_TIMOL);
    step("REB_TIMEAFDSS", REBUILDS::REB_TIMEAFDSS);
    step("CREATESEIRES", REBUILDS::CREATESEIRES);
    step("READFORMIXPATH", FORMIX::READFORMIXPATH);
    step("REIDEX_PELAT IF", [] { REBUILDS::REIDEX_PELAT("IF"); });
    step("REIDEX_PELAT XIF", [] { REBUILDS::REIDEX_PELAT("XIF"); });
    step("REIDEX_PEL2 IF", [] { REBUILDS::REIDEX_PEL2("IF"); });
    step("REIDEX_PEL2 XIF", [] { REBUILDS::REIDEX_PEL2("XIF"); });
    step("REB_TAX2", REBUILDS::REB_TAX2);
    step("PAREDE", [] {
        // Cleared first: a missing file never leaves the previous company's switches in place.
        std::array<UMAS::RECPAREDE, 21> t{};
        std::string img = UMAS::encodePAREDE(t);
        PARAMS::RUFPAR("PAREDE", reinterpret_cast<uint8_t*>(img.data()), img.size());
        UMAS::decodePAREDE(img, UMAS::PAREDE);
        UMAS::derivePAREDE();
    });
    for (const char* fn : {"PARDEFK", "PARAUTO", "PARDILO", "PARDAO", "PARSDE"})
        step((std::string("REBQPAR ") + fn).c_str(), [fn] { REBUILDS::REBQPAR(fn); });
    step("REB2010", REBUILDS::REB2010);
    step("REB2049", REBUILDS::REB2049);
    step("REB_DISI_BISI", REBUILDS::REB_DISI_BISI);
    step("REB_DIPE", REBUILDS::REB_DIPE);
    step("REB_DISI_2", REBUILDS::REB_DISI_2);
    step("REB_TEL", REBUILDS::REB_TEL);
    step("REB_APODI", REBUILDS::REB_APODI);
    step("KALOS", [] {
        UMAS::KALOS1.clear();
        UMAS::KALOS2.clear();
    });
    sequenceLock.reset();
    // What the clerk must know of the company's files before working in them.
    if (!FORMIX::FORMIXFAULT.empty()) {
        REBUILDS::TELL(FORMIX::FORMIXFAULT);
        REBUILDS::TELL(PLAT::gr("Η ΣΗΜΑΝΣΗ ΔΕΝ ΓΙΝΕΤΑΙ ΜΕΧΡΙ ΝΑ ΔΙΟΡΘΩΘΟΥΝ ΟΙ ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ"));
    }
    // A store or deletion of a document stopped midway (a workstation switched off or killed) is
    // completed, and the clerk told which document.
    for (const APODI::COMPLETED& c : {TIM::RECOVER(), APOD0::RECOVER()})
        if (c) REBUILDS::TELL(APODI::COMPLETEDLINE(c));
    for (const std::string& m : KVDI::CHECKSIZES()) REBUILDS::TELL(m);
    for (int MN : {0, 1}) {
        for (const ARP0::Disagreement& d : ARP0::CHECKFILES(MN)) REBUILDS::TELL(d.line);
        for (const ARP0::Disagreement& d : ARP0::CHECKRECORDS(MN)) REBUILDS::TELL(d.line);
    }
    REBUILDS::reportTold();
    // Claims left by a workstation that stopped without freeing them (this one's included).
    UMAS::freeStaleClaims();
    REBUILDS::reportZeroEuro();
}

void mainMenu() {
    static const UMAS::FUN legend = mainLegend();
    SCR::CURSOR(false);
    SCR::CALLM(2, true);
    SCR::CALLM(4, true);
    UMAS::FKEY({1, 2, 3}, legend);
    SCR::PRINT(1, 1, UMAS::LOGOTYPO[1]);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 25, 0, 5, 2, 30, 8, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: DIAS::DIAZ("IMP"); break;
        case 1: DIAS::DIAZ("EXP"); break;
        case 2: DIAS::DIAZ("MTF"); break;
        case 3: DIAS::DIAZ("MET"); break;
        case 4: DIAS::DIAZ("DFK"); break;
        case 5: TIM::EJOD(); break;
        case 6: ARPEL::PELA(); break;
        case 7: KVDI::KVD(); break;
        case 8: PARAMS::PARMEN(); break;
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

int run(int argc, char** argv) {
    PLAT::installSignalHandlers();
    PARAMS::AREKTEL = 0;
    std::string id = argc > 1 ? argv[1] : "";
    if (!validWorkstationId(id))
        PLAT::die("korvex: the workstation id must be 0 to 3 letters or digits: \"" + id + "\"", 1);
    UMAS::USER_ID = id;

    try {
        PLAT::setConsole(PLAT::makeTerminalConsole());
    } catch (const std::exception& e) {
        PLAT::die(std::string("korvex: ") + e.what(), 1);
    }
    PLAT::Console& c = PLAT::con();
    c.clear(7);
    SCR::CURSOR(true);

    // Anything unforeseen still ends the way a fatal error does: terminal restored, locks released,
    // one line saying what happened, a non-zero exit code.
    try {
        UMAS::PATH = PARAMS::GETDATABASEPATH() + "ARXEIO0\\";
        START::ARXI();
        c.clear(7);

        for (;;) {
            PARAMS::INITEKT();
            afterChoice();
            mainMenu();
        }
    } catch (const std::exception& e) {
        PLAT::die(std::string("KORVEX: ") + e.what(), 2);
    }
}

}  // namespace KORVEX
