// The prints of the alternate view: the pre-printed form through its layout tables, and the A4
// print through "DIA2.XML" and the installation's script "dia_jar2.sh".
#include <array>

#include "common/umas.h"
#include "common/xml.h"
#include "declarations/bod.h"
#include "documents/ekbodi.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/process.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKBODI {

using namespace BOD;

namespace {

// One layout row: print column, box, pitch mode (0 none), line feeds after it.
struct EKTYPV {
    uint8_t col;
    uint16_t box;
    uint8_t pitch, lf;
};

constexpr std::array<EKTYPV, 82> PVB = {{
    {5, 208, 2, 1},  {5, 209, 2, 0},  {37, 222, 3, 1}, {5, 210, 2, 0},  {37, 223, 3, 1}, {5, 211, 2, 0},
    {14, 212, 2, 0}, {37, 224, 3, 1}, {5, 213, 2, 0},  {37, 225, 3, 1}, {5, 214, 2, 0},  {37, 226, 3, 1},
    {7, 215, 2, 0},  {37, 227, 3, 1}, {8, 216, 2, 0},  {37, 228, 3, 1}, {8, 217, 2, 0},  {37, 229, 3, 1},
    {7, 218, 2, 1},  {1, 219, 2, 1},  {1, 220, 0, 0},  {25, 246, 0, 1}, {1, 221, 0, 0},  {25, 247, 0, 1},
    {25, 248, 0, 1}, {25, 249, 0, 1}, {25, 250, 0, 1}, {25, 251, 0, 1}, {25, 252, 0, 1}, {25, 253, 0, 3},
    {2, 230, 2, 0},  {21, 231, 2, 1}, {2, 232, 2, 0},  {21, 233, 2, 1}, {2, 234, 2, 0},  {21, 235, 2, 1},
    {2, 236, 2, 0},  {21, 237, 2, 1}, {2, 238, 2, 0},  {21, 239, 2, 1}, {2, 240, 2, 0},  {21, 241, 2, 1},
    {2, 242, 2, 0},  {21, 243, 2, 1}, {2, 244, 2, 0},  {21, 245, 2, 6}, {1, 254, 2, 0},  {36, 281, 2, 1},
    {1, 255, 2, 0},  {36, 282, 2, 1}, {1, 256, 2, 0},  {36, 283, 2, 1}, {1, 257, 2, 0},  {36, 284, 2, 1},
    {1, 258, 2, 0},  {36, 285, 2, 1}, {1, 259, 2, 0},  {36, 286, 2, 1}, {1, 260, 2, 0},  {36, 287, 2, 1},
    {1, 261, 2, 0},  {36, 288, 2, 1}, {1, 262, 2, 0},  {36, 289, 2, 1}, {1, 263, 2, 0},  {36, 272, 2, 1},
    {1, 264, 2, 0},  {36, 273, 2, 1}, {1, 265, 2, 0},  {36, 274, 2, 1}, {1, 266, 2, 0},  {36, 275, 2, 1},
    {1, 267, 2, 0},  {36, 276, 2, 1}, {1, 268, 2, 0},  {36, 277, 2, 1}, {1, 269, 2, 0},  {36, 278, 2, 1},
    {1, 270, 2, 0},  {36, 279, 2, 1}, {1, 271, 2, 3},  {59, 280, 0, 1},
}};

constexpr std::array<EKTYPV, 60> PVBDEFK = {{
    {2, 222, 2, 0},  {27, 230, 2, 0}, {48, 231, 2, 1}, {2, 223, 2, 0},  {27, 232, 2, 0}, {48, 233, 2, 1},
    {2, 224, 2, 0},  {27, 234, 2, 0}, {48, 235, 2, 1}, {2, 225, 2, 0},  {27, 236, 2, 0}, {48, 237, 2, 1},
    {2, 226, 2, 0},  {27, 238, 2, 0}, {48, 239, 2, 1}, {2, 227, 2, 0},  {27, 240, 2, 0}, {48, 241, 2, 1},
    {2, 228, 2, 0},  {27, 242, 2, 0}, {48, 243, 2, 1}, {2, 229, 2, 0},  {27, 244, 2, 0}, {48, 245, 2, 15},
    {2, 254, 2, 0},  {43, 272, 2, 1}, {2, 255, 2, 0},  {43, 273, 2, 1}, {2, 256, 2, 0},  {43, 274, 2, 1},
    {2, 257, 2, 0},  {43, 275, 2, 1}, {2, 258, 2, 0},  {43, 276, 2, 1}, {2, 259, 2, 0},  {43, 277, 2, 1},
    {2, 260, 2, 0},  {43, 278, 2, 1}, {2, 261, 2, 0},  {43, 279, 2, 1}, {2, 262, 2, 0},  {43, 281, 2, 1},
    {2, 263, 2, 0},  {43, 282, 2, 1}, {2, 264, 2, 0},  {43, 283, 2, 1}, {2, 265, 2, 0},  {43, 284, 2, 1},
    {2, 266, 2, 0},  {43, 285, 2, 1}, {2, 267, 2, 0},  {43, 286, 2, 1}, {2, 268, 2, 0},  {43, 287, 2, 1},
    {2, 269, 2, 0},  {43, 288, 2, 1}, {2, 270, 2, 0},  {43, 289, 2, 1}, {2, 271, 2, 12}, {62, 280, 2, 1},
}};

// The print question: "ΕΚΤΥΠΩΣΗ (Ν/Ο) ?", "ΕΚΤΥΠΩΣΗ A4 (Ν/Ο) ?", the excise kind's with
// "Δ.Ε.Φ.Κ. " before the answer; false (bar removed) for no.
bool confirm(const std::string& EXT, bool A4) {
    return PRNS::ASKPRINT(PLAT::gr(A4 ? "ΕΚΤΥΠΩΣΗ A4 " : "ΕΚΤΥΠΩΣΗ ") + (EXT == "DFK" ? PLAT::gr("Δ.Ε.Φ.Κ. ") : ""));
}

}  // namespace

std::string DIA2XML(const std::string& EXT) {
    std::string F;
    XML::WRITEPREAMP(F);
    F += "<DATA>\r\n";
    const int last = EXT == "DFK" ? 269 : 289;
    for (int n = 208; n <= last; ++n) {
        const std::string t = std::to_string(n);
        F += "<field" + t + ">" + XML::S2UTF8S(UMAS::trim(SOB(DIA, GV, n))) + "</field" + t + ">\r\n";
    }
    F += "</DATA>\r\n";
    return F;
}

void EKTY(const std::string& EXT) {
    if (!confirm(EXT, false)) return;
    const bool dfk = EXT == "DFK";
    PRNS::PFILE F;
    PRNS::PRNM P = PRNS::PRNNONE;
    PRNS::TABM T = PRNS::TAB_NONE;
    PRNS::SET_PE(UMAS::PE_DIAS, P, T, F);
    auto mode = [&](int m) {
        if (m) P(F, uint8_t(m));
    };
    mode(1);
    if (dfk) PRNS::LFE(F, 5);
    const EKTYPV* table = dfk ? PVBDEFK.data() : PVB.data();
    const size_t rows = dfk ? PVBDEFK.size() : PVB.size();
    for (size_t i = 0; i < rows; ++i) {
        const EKTYPV& r = table[i];
        if (r.box == 208) mode(24);
        if (r.box == 220 || r.box == 271) mode(26);
        if (r.box == 263 && !dfk) mode(29);
        T(F, r.col);
        mode(r.pitch);
        F.write(SOB(DIA, GV, r.box));
        mode(1);
        PRNS::LFE(F, r.lf);
    }
    PRNS::LFE(F, 1);
    for (int c = 1; c <= 63; ++c) T(F, uint8_t(c));
    mode(11);
    F.close();
    UMAS::PRINTUSB();
    SCR::RECALL();
}

void EKTY_A4(const std::string& EXT) {
    if (!confirm(EXT, true)) return;
    // The file and the script's run are one step under the spool lock: workstations sharing the
    // working folder never hand each other's view to the script.
    PRNS::spoolAcquire();
    PLAT::writeWholeAtomic("DIA2.XML", DIA2XML(EXT));
    const PLAT::RunResult r = PLAT::runScript("dia_jar2.sh", PLAT::PRINT_LOG, {"temp.txt"});
    PRNS::spoolHandedOff("DIA2.XML");
    if (!r.started)
        // "dia_jar2.sh not found: DIA2.XML kept. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Δεν βρέθηκε το dia_jar2.sh: το DIA2.XML κρατήθηκε. Πατήστε ένα πλήκτρο"));
    else if (r.status != 0)
        // "dia_jar2.sh failed (exit n). Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Αποτυχία dia_jar2.sh (" + std::to_string(r.status) + "). Πατήστε ένα πλήκτρο"));
    SCR::RECALL();
}

}  // namespace EKBODI
