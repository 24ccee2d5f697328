// Company selection, the parameter files, the key legend of the parameter screens and the text
// helpers they share.
#include "config/params.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace PARAMS {

int MAXEKT = 0;
int AREKTEL = 0;

// The key legend of the parameter screens; entry 7 gets its arrows before use.
UMAS::FUN GM1 = [] {
    UMAS::FUN f;
    f[1] = PLAT::gr("ESC.Menu");
    f[2] = PLAT::gr("F1.Καταχώρηση");
    f[3] = PLAT::gr("END.Εξοδος");
    f[4] = PLAT::gr("F7.Ανοιγμα Αρχείων");
    f[5] = PLAT::gr("F2.Αλλαγή Θέσης Αρχείου");
    f[6] = PLAT::gr("Enter.Επικύρωση");
    f[7] = PLAT::gr(" , .Μετακίνηση");
    f[7][0] = 24;
    f[7][2] = 25;
    f[8] = PLAT::gr("Enter.Μεταβολή");
    f[9] = PLAT::gr("TAB.Λίστα");
    f[10] = PLAT::gr("ESC.Επιλογή");
    return f;
}();

std::string GETDATABASEPATH() {
    if (!UMAS::FILEEXIST("DATABASE.TXT")) return "";
    auto lines = PLAT::readLines("DATABASE.TXT");
    if (!lines || lines->empty()) return "";
    std::string db = lines->front().substr(0, 255);
    // File names are appended to the folder directly: a folder written without its closing
    // backslash (or with blanks after it) gets one.
    while (!db.empty() && (db.back() == ' ' || db.back() == '\t')) db.pop_back();
    if (!db.empty() && db.back() != '\\' && db.back() != '/') db += '\\';
    return db;
}

namespace {

// The value of a "key=value" line: everything after the first "=", or the whole line.
std::string iniValue(const std::string& line) {
    size_t eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(eq + 1);
}

}  // namespace

std::string CompanyList::value(int c, int j) const {
    return iniValue(line(1 + size_t(c) * 9 + size_t(j - 1))).substr(0, 40);
}

std::vector<int> CompanyList::usable() const {
    std::vector<int> r;
    for (int c = 0; c < n && present(c); ++c)
        if (!trim(value(c, 1)).empty()) r.push_back(c);
    return r;
}

CompanyList parseCompanyList(std::vector<std::string> lines) {
    CompanyList cl;
    cl.lines = std::move(lines);
    std::string first = cl.line(0);
    size_t eq = first.find('=');
    std::string num = eq == std::string::npos ? "" : trim(first.substr(eq + 1, 2));
    bool digits = !num.empty() && std::all_of(num.begin(), num.end(), [](char c) { return c >= '0' && c <= '9'; });
    cl.n = digits ? std::stoi(num) : 0;
    return cl;
}

namespace {

const char* const COMPANY_LIST = "KORVEX.INI";

CompanyList readCompanyList(const std::string& fn) {
    auto lines = PLAT::readLines(fn);
    if (!lines) PLAT::fatal("read", fn);
    CompanyList cl = parseCompanyList(std::move(*lines));
    if (cl.n < 1 || cl.n > 16)
        PLAT::die("KORVEX.INI: the first line must give the number of companies (1 to 16) after \"=\"", 1);
    return cl;
}

}  // namespace

void INITEKT() {
    const std::string fn = GETDATABASEPATH() + COMPANY_LIST;
    PLAT::Console& c = PLAT::con();
    if (!UMAS::FILEEXIST(fn)) {
        c.clear(7);
        c.writeln("file not found KORVEX.INI");
        c.showCursor(true);
        c.refresh();
        PLAT::die("file not found KORVEX.INI", 1);
    }
    CompanyList cl = readCompanyList(fn);
    MAXEKT = cl.n;
    // The companies offered: those whose lines are there and whose name is not blank (a list cut
    // short or edited by hand must not offer a company without a name).
    const std::vector<int> rows = cl.usable();
    if (rows.empty()) PLAT::die("KORVEX.INI: no company of the list has a name", 1);
    std::vector<std::string> names;
    for (int i : rows) names.push_back(cl.value(i, 1));

    SCR::CALLM(88, true);
    SCR::CALLM(2, true);
    SCR::PRINT(63, 2, "4.30");
    UMAS::FKEY({3, 6, 7}, GM1);

    const int N = int(rows.size());
    const int ML = N <= 8 ? N - 1 : 7;
    const int MS = N <= 8 ? 0 : 1;
    const int last = int(std::find(rows.begin(), rows.end(), AREKTEL) - rows.begin());
    int LI = last % 8, CO = 0, SE = last / 8, KK = 0;
    // The company chosen last may no longer be in a list that was edited meanwhile: start on the first.
    if (last >= N || SE > MS || LI > ML) SE = 0, LI = 0;

    auto BOX = [&](int p) {
        for (int i = 1; i <= 8; ++i) {
            int idx = p * 8 + i;
            if (idx <= N)
                SCR::PRINT(18, i + 6, UMAS::LO2S(rows[size_t(idx - 1)] + 1, 0) + ". " + UMAS::LEJU(names[size_t(idx - 1)], 40));
            else
                SCR::PRINT(18, i + 6, std::string(45, ' '));
        }
    };

    for (;;) {
        BOX(SE);
        KK = 0;
        UMAS::EPIL(1, 15, 17, 0, 7, 1, 46, ML, 0, MS, LI, CO, SE, KK, 0);
        if (KK == 6) {
            SCR::RECALL();
            SCR::RECALL();
            c.showCursor(true);
            c.clear(7);
            PLAT::quit(0);
        }
        if (KK == 0 && SE * 8 + LI < N) {
            // A company of a list extended by hand whose folder was never made: told, and the
            // clerk chooses again.
            const std::string folder = "ARXEIO" + std::to_string(rows[size_t(SE * 8 + LI)]);
            if (PLAT::isDirectory(GETDATABASEPATH() + folder)) break;
            // "There is no folder ARXEIOn of the company. Press a key"
            PRNS::REPORT(PLAT::gr("Δεν υπάρχει ο φάκελος ") + folder + PLAT::gr(" της εταιρίας. Πατήστε ένα πλήκτρο"));
        }
    }
    const int chosen = rows[size_t(SE * 8 + LI)];

    // Read the chosen company's nine lines again from the file.
    cl = readCompanyList(fn);
    for (int j = 1; j <= 9; ++j) UMAS::LOGOTYPO[size_t(j)] = cl.value(chosen, j);
    UMAS::DEFAULT_POLI = UMAS::LOGOTYPO[7];
    const std::string& v5 = UMAS::LOGOTYPO[5];
    size_t colon = v5.find(':');
    UMAS::AFM_EKTEL = trim(colon == std::string::npos ? v5.substr(0, 10) : v5.substr(colon + 1, 10)).substr(0, 12);

    SCR::RECALL();
    SCR::RECALL();
    AREKTEL = chosen;
    UMAS::PATH = GETDATABASEPATH() + "ARXEIO" + std::to_string(chosen) + "\\";

    loadCompanyTables();
}

void loadCompanyTables() {
    // Cleared first: a missing file never leaves the previous company's values in place.
    UMAS::PTAX.fill(0);
    RUFPAR("TAX", UMAS::PTAX.data(), UMAS::PTAX.size());
    loadInvoiceTables();
}

bool RUFPAR(const std::string& SF, uint8_t* P, size_t size) {
    const std::string fn = PARFILE(SF);
    UMAS::LOCK("FPAR");
    bool found = false;
    PLAT::File f;
    if (f.open(fn, PLAT::File::READ, false)) {
        // A file of 0 bytes holds no layout, older or current: it is told and kept as a missing one.
        const int64_t n = std::min<int64_t>(f.size(), int64_t(size));
        if (n > 0) f.readAt(0, P, size_t(n));
        f.close();
        found = n > 0 || size == 0;
    }
    if (!found) {
        // The line never scrolls the screen, which would show every value of an open editor one row
        // below its caption: it is cut to the room left on the cursor's row, and on the last row
        // it is written without its line end.
        PLAT::Console& c = PLAT::con();
        const int x = std::clamp(c.whereX(), 1, PLAT::SCREEN_W);
        const std::string line = NOTFOUND(SF).substr(0, size_t(PLAT::SCREEN_W - x));
        if (c.whereY() < PLAT::SCREEN_H)
            c.writeln(line);
        else
            c.write(line);
    }
    UMAS::UNLOC("FPAR");
    return found;
}

std::string PARFILE(const std::string& SF) { return UMAS::PATH + SF + ".dat"; }

bool PARFOUND(const std::string& SF) { return PLAT::fileSize(PARFILE(SF)) > 0; }

std::string NOTFOUND(const std::string& SF) { return "file not found " + PARFILE(SF) + " call VALTERO"; }

void KATPAR(const std::string& SF, const uint8_t* P, size_t size) {
    UMAS::LOCK("FPAR");
    PLAT::writeWholeAtomic(PARFILE(SF), std::string(reinterpret_cast<const char*>(P), size));
    UMAS::UNLOC("FPAR");
}

void ZER(std::string& S) { UMAS::ZER(S); }

}  // namespace PARAMS
