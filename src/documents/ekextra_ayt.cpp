// The vehicles of a goods item (".O" + item): one vehicle at a time, the import of chassis and
// engine numbers from the text files of drive A:, copies of the first vehicle, and on closing the
// extra vehicle data, the item's goods record and the excise summary.
#include <algorithm>

#include "codes/gencod.h"
#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKEXTRA {

bool IMPORTLINE(const std::string& line, std::string& AP, std::string& AK) {
    if (line.empty() || line[0] < '0' || line[0] > '9') return false;
    // Field k (1-based) is taken only when a tab follows it.
    std::vector<std::string> fields;
    size_t from = 0;
    for (size_t tab; fields.size() < 3 && (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        fields.push_back(line.substr(from, tab - from));
    if (fields.size() >= 2) AP = UMAS::cut(fields[1], 25);
    if (fields.size() >= 3) AK = UMAS::cut(fields[2], 20);
    return true;
}

namespace {

void waitEsc(int x, int y) {
    PLAT::Console& c = PLAT::con();
    c.gotoXY(x, y);
    SCR::CURSOR(true);
    for (;;) {
        const PLAT::KeyEvent k = c.readKey();
        if (!k.extended() && k.ch == 27) break;
    }
    SCR::CURSOR(false);
}

void emptyFrom2(PINAYT& t) {
    for (int n = 1; n < PINAYT::CARS; ++n) t.V[size_t(n)] = BOD::MOT{};
}

// The part of a vehicle record the editor fills: ON .. KT.
void copyTexts(BOD::MOT& to, const BOD::MOT& from) {
    BOD::MOT f = from;
    auto dst = BOD::MOTTEXTS(to);
    auto src = BOD::MOTTEXTS(f);
    for (size_t i = 0; i < dst.size(); ++i) *dst[i] = *src[i];
}

// Nothing typed into any of the fields ON .. KT (blanks alone count as nothing).
bool blank(const BOD::MOT& m) {
    BOD::MOT c = m;
    for (const std::string* s : BOD::MOTTEXTS(c))
        if (!UMAS::trim(*s).empty()) return false;
    return true;
}

}  // namespace

void AYT(BOD::SCB DI, BOD::GGV G, int VC, int KLASI, const std::string& CODEKLASI, const std::string& EXT,
         BOD::MOT& MAC) {
    static constexpr std::array<int, 10> W = {30, 30, 20, 25, 20, 10, 10, 10, 20, 1};
    SCR::CALLM(21, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 3, 4}, GMAYT);
    SCR::PRINT(22, 13, UMAS::RIJU(std::to_string(KLASI), 2));
    SCR::PRINT(26, 13, CODEKLASI);

    const std::string name = ITEMNAME(DECLNUM(), ".O", std::to_string(KLASI));
    PINAYT t;
    const bool existed = READCARS(name, t);
    int n = 1;
    auto show = [&] {
        BOD::MOT& m = t.V[size_t(n - 1)];
        auto f = BOD::MOTTEXTS(m);
        for (int i = 0; i < 9; ++i) {
            SCR::PRINT(22, 3 + i, std::string(30, ' '));
            SCR::PRINT(22, 3 + i, *f[size_t(i)]);
        }
        SCR::PRINT(22, 12, " " + m.KT);
        SCR::PRINT(44, 2, UMAS::RIJU(std::to_string(n), 3));
    };

    auto GETASCII = [&] {
        SCR::CALLM(58, true);
        SCR::PRINT(3, 23, PLAT::gr("ΝΑ ΕΙΣΑΧΘΟΥΝ ΣΤΟΙΧΕΙΑ ΔΙΣΚΕΤΑΣ;  "));
        if (!PRNS::YES(36, 23)) {
            SCR::RECALL();
            return;
        }
        emptyFrom2(t);
        SCR::PRINT(3, 23, PLAT::gr("Διάβασμα αρχείων ...           "));
        int c = 0;
        bool full = false;
        for (const std::string& file : PLAT::findFiles("A:\\*.TXT")) {
            // the diskette is the clerk's: a name that is no readable file (a folder, a pipe, a
            // broken link) counts as not found and leaves the vehicles read so far as they are
            const auto text = PLAT::readNamed("A:\\" + file);
            if (!text) continue;
            SCR::PRINT(25, 23, file);
            c = 0;
            for (const std::string& line : PLAT::splitLines(*text)) {
                if (line.empty() || line[0] < '0' || line[0] > '9') continue;
                if (c == PINAYT::CARS) {  // the table holds 200 vehicles
                    full = true;
                    break;
                }
                ++c;
                BOD::MOT& v = t.V[size_t(c - 1)];
                if (c > 1) v = t.V[0];
                IMPORTLINE(line, v.AP, v.AK);
            }
        }
        SCR::PRINT(3, 23, std::string(60, ' '));
        SCR::PRINT(3, 23, PLAT::gr("ΕΙΣΗΧΘΗΣΑΝ ") + std::to_string(c) +
                              PLAT::gr(full ? " ΟΧΗΜΑΤΑ (ΟΡΙΟ 200).Πατήστε ESC" : " ΟΧΗΜΑΤΑ.Πατήστε ESC"));
        waitEsc(36, 23);
        SCR::RECALL();
    };
    auto COPYCARS = [&] {
        SCR::CALLM(58, true);
        SCR::PRINT(2, 23, PLAT::gr("  ΝΑ ΑΝΤΙΓΡΑΦΟΥΝ ΣΤΟΙΧΕΙΑ  "));
        if (!PRNS::YES(36, 23)) {
            SCR::RECALL();
            return;
        }
        const int asked = PRNS::COP();
        const int c = std::min(asked, PINAYT::CARS);
        emptyFrom2(t);
        for (int i = 2; i <= c; ++i) t.V[size_t(i - 1)] = t.V[0];
        SCR::PRINT(2, 23, std::string(60, ' '));
        SCR::PRINT(2, 23, PLAT::gr("ΑΝΤΙΓΡΑΦΗΚΑΝ ") + std::to_string(c) +
                              PLAT::gr(asked > c ? " ΟΧΗΜΑΤΑ (ΟΡΙΟ 200).Πατήστε ESC" : " ΟΧΗΜΑΤΑ.Πατήστε ESC"));
        waitEsc(36, 23);
        SCR::RECALL();
    };

    show();
    int f = 1;
    const SCR::SOC all = SCR::socAll(), flag = SCR::soc("12");
    for (;;) {
        BOD::MOT& m = t.V[size_t(n - 1)];
        std::string& v = *BOD::MOTTEXTS(m)[size_t(f - 1)];
        int K = 0;
        if (f <= 2) SCR::CALLM(20, true);
        v = UMAS::cut(SCR::GINPUT(22, f + 2, W[size_t(f - 1)], v, "", f == 10 ? flag : all, false, true, K),
                      size_t(BOD::MOT_TEXT_CAPS[size_t(f - 1)]));
        if (f <= 2) SCR::RECALL();
        if (K == 3) break;
        if (K == 0 || K == 2) {
            if (f < 10) ++f;
        } else if (K == 1) {
            if (f > 1) --f;
        } else if (K == 6 && f <= 2) {
            if (f == 1)
                GENCOD::GENCODE("OXIMATA", PLAT::gr("ΕΙΔΗ ΟΧΗΜΑΤΩΝ"));
            else
                GENCOD::GENCODE("MOTO", PLAT::gr("ΕΡΓΟΣΤΑΣΙΟ (ΜΑΡΚΑ)"));
            const GENCOD::BUF& e = GENCOD::GENREC_CODE;
            if (!e.SCODE.empty()) v = UMAS::cut(f == 1 ? e.SCODE + " " + e.SNAME : e.SCODE, 30);
            SCR::PRINT(22, f + 2, std::string(30, ' '));
            SCR::PRINT(22, f + 2, v);
        } else if (K == 4 || K == 5) {
            n = K == 4 ? std::max(1, n - 1) : std::min(PINAYT::CARS, n + 1);
            f = 1;
            show();
        } else if (K == 23 || K == 24) {
            if (K == 23) COPYCARS();
            else GETASCII();
            f = 1;
            show();
        }
    }

    AYTEXTRA();
    const bool any = t.any();
    if (any || existed) WRITECARS(name, t);
    // The item's goods record follows vehicle 1, also when no vehicle has its kind (the make, type
    // and chassis typed without one are what the certificate prints). The same fields of the goods
    // record hold the package rows of a transit item and a sheet item's additional value: an item
    // that never had a vehicle file and whose vehicle 1 is left wholly empty keeps them.
    if (any || existed || !blank(t.V[0])) {
        copyTexts(MAC, t.V[0]);
        const int EE = KVDI::V0A.EE;
        if (VC != 0 && EE > 0 && EXT == "DFK") {
            if (EE == 1) BOD::BOS(DI, G, VC + 2, PLAT::gr("ΚΥΛΙΝΔ: ") + MAC.KY + PLAT::gr("  ΚΑΥΣΙΜΟ: ") + MAC.KA);
            BOD::BOS(DI, G, VC + 3, PLAT::gr("ΜΑΡΚΑΣ: ") + MAC.ER + PLAT::gr("   TYΠOY: ") + MAC.TY);
            BOD::BOS(DI, G, VC + 4, PLAT::gr("ΕΤΟΥΣ: ") + MAC.ET + PLAT::gr("   ΑΡΙΘ.ΚΙΝ.:") + MAC.AK);
            BOD::BOS(DI, G, VC + 5,
                     EE == 1 ? PLAT::gr("ΠΛΑΙΣΙΟ:") + MAC.AP : PLAT::gr("ΠΛΑΙΣΙΟ:") + MAC.AP + " CCM: " + MAC.KY);
            if (KLASI == 1) BOD::BOS(BOD::DIA, BOD::GV, 87, MAC.AP);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKEXTRA
