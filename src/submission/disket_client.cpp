// Starting the customs authority's client after a clean send run.
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/detach.h"
#include "platform/files.h"
#include "submission/disket.h"

namespace DISKET {

std::vector<std::string> JAVA() {
    const char* java = std::getenv("KORVEX_JAVA");
    std::vector<std::string> argv = PLAT::splitWords(java && *java ? java : "java");
    if (argv.empty()) argv.push_back("java");
    return argv;
}

std::vector<std::string> CLIENTARGS(const std::string& FNAME, const std::string& ID) {
    std::vector<std::string> argv = JAVA();
    for (const char* a : {"-jar", "JIcis.jar", "-dsmode", "-f"}) argv.push_back(a);
    argv.push_back(PLAT::workDir() + "/" + FNAME);
    argv.push_back("-a");
    argv.push_back(ID);
    return argv;
}

std::string STARTCLIENT(const std::string& FNAME, const std::string& ID, bool TESTENV) {
    const std::string folder = TESTENV ? "C:\\trial_jicis" : "C:\\jicis";
    if (!PLAT::isDirectory(folder))
        return PLAT::gr("ΔΕΝ ΒΡΕΘΗΚΕ Ο ΦΑΚΕΛΟΣ ") + folder + PLAT::gr(" ΤΟΥ ΠΡΟΓΡΑΜΜΑΤΟΣ ΤΟΥ ΤΕΛΩΝΕΙΟΥ");
    const std::string why =
        PLAT::startDetached(CLIENTARGS(FNAME, ID), PLAT::resolve(folder), PLAT::workDir() + "/JICIS.LOG");
    if (why.empty()) return "";
    return PLAT::gr("ΤΟ ΠΡΟΓΡΑΜΜΑ ΤΟΥ ΤΕΛΩΝΕΙΟΥ ΔΕΝ ΞΕΚΙΝΗΣΕ: ") + PLAT::utf8ToCp737(why);
}

}  // namespace DISKET
