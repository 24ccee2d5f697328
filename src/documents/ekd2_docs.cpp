// The documents of the layout engine in this module: the vehicle certificate (menu row 1) and the
// D.A.O. (menu row 13).
#include "documents/ekd2.h"
#include "documents/laydoc.h"
#include "platform/codepage.h"
#include "submission/disket.h"

namespace EKD2 {

using namespace BOD;

namespace {

// Field 1 holds a whole declaration number (up to 10 characters): the certificate is stored under
// it, so a shorter field would file two declarations under one name.
std::vector<LAYDOC::Field> pikGrid() {
    std::vector<LAYDOC::Field> g = {{0, 0, 0},     {6, 1, 10},    {24, 1, 12},  {12, 2, 24},  {12, 3, 24},
                                    {13, 4, 16},   {13, 5, 10},   {10, 6, 16},  {20, 7, 10},  {22, 8, 4},
                                    {12, 9, 10},   {31, 9, 5},    {11, 10, 20}, {9, 11, 18},  {16, 12, 16},
                                    {16, 13, 20},  {16, 14, 20},  {14, 15, 16}, {14, 16, 16}, {13, 17, 3},
                                    {27, 17, 6},   {16, 18, 5},   {31, 18, 1},  {14, 19, 3},  {26, 19, 6},
                                    {8, 20, 3},    {19, 20, 6},   {32, 20, 4}};
    for (int r = 21; r <= 24; ++r) g.push_back({2, r, 34});  // 28..31
    for (int r = 1; r <= 5; ++r) g.push_back({53, r, 24});   // 32..36
    g.insert(g.end(), {{53, 6, 16}, {54, 7, 4}, {67, 7, 6}, {48, 8, 1}, {67, 8, 1}});  // 37..41
    for (int r = 9; r <= 11; ++r) g.push_back({53, r, 24});  // 42..44
    g.insert(g.end(), {{66, 12, 12}, {58, 13, 12}, {40, 14, 40}, {40, 15, 19}, {60, 15, 20}, {40, 16, 40},
                       {59, 17, 20}, {50, 18, 30}, {40, 19, 40}, {40, 20, 40}, {50, 21, 30}, {40, 22, 40},
                       {40, 23, 40}, {57, 24, 22}});  // 45..58
    return g;
}

std::vector<LAYDOC::Field> daoGrid() {
    std::vector<LAYDOC::Field> g = {{0, 0, 0},    {47, 2, 7},   {63, 2, 17},  {21, 3, 1},   {23, 3, 18},
                                    {11, 4, 30},  {2, 5, 39},   {8, 6, 33},   {12, 7, 29},  {8, 8, 33},
                                    {7, 9, 34},   {6, 10, 35},  {48, 4, 32},  {48, 5, 32},  {50, 6, 30},
                                    {50, 7, 30},  {52, 8, 28},  {53, 9, 27},  {53, 10, 27}, {13, 12, 55},
                                    {75, 12, 5},  {2, 13, 69},  {10, 15, 14}, {33, 15, 8},  {11, 16, 13},
                                    {31, 16, 10}, {42, 15, 7},  {58, 15, 22}, {50, 16, 13}, {69, 16, 11},
                                    {13, 18, 67}};
    for (int r = 19; r <= 23; ++r) g.push_back({2, r, 78});  // 31..35
    return g;
}

std::string box(int n) { return SOB(DIA, GV, n); }
std::string trimmed(int n) { return UMAS::trim(box(n)); }

// The declaration number of a document file name: box 1 trimmed, "temp" when empty.
std::string declName() {
    const std::string n = trimmed(1);
    return n.empty() ? std::string("temp") : n;
}

}  // namespace

std::vector<LAYDOC::Field> PIKGRID() { return pikGrid(); }
std::vector<LAYDOC::Field> DAOGRID() { return daoGrid(); }

void EKPAFILL(LAYDOC::Values& v, const MOT& g) {
    auto& f = v.f;
    f[1] = f[6] = UMAS::cut(trimmed(1), 40);
    f[3] = f[4] = UMAS::CUTLEADSPACES(box(6));
    f[7] = BOD::EF;
    f[10] = BOD::AF;
    f[12] = BOD::EA;
    f[13] = UMAS::cut(BOD::ON, 40);
    f[15] = BOD::DI;
    f[16] = BOD::PO;
    f[32] = g.ON;
    f[33] = g.ER;
    f[34] = g.TY;
    f[35] = g.AP;
    f[36] = g.AK;
    f[37] = g.KY;
    f[38] = g.ET;
    f[39] = g.BA;
    const bool one = g.KT == "1";
    f[40] = one ? "X" : "";
    f[41] = one ? "" : "X";
    f[42] = g.KA;
    f[51] = g.DAJ;
}

std::string EKPAFILE(const LAYDOC::Values& v) {
    const std::string name = v.f[1].empty() ? std::string("temp") : v.f[1];
    return LAYDOC::SAFENAME(name) ? name + ".pik" : std::string();
}

void EKPA(SCB, GGV, PRL&, MOT& GOODS) {
    LAYDOC::Document d;
    d.mask = 100;
    d.grid = pikGrid();
    d.capacity = 40;
    d.layout = "ParPita";
    d.formId = UMAS::PE_PIAU;
    d.emphasised = true;
    d.legend = {1, 2, 3, 4};
    d.fill = [&](LAYDOC::Values& v) { EKPAFILL(v, GOODS); };
    d.file = EKPAFILE;
    d.refused = PLAT::gr("Το πεδίο 1 δεν είναι όνομα αρχείου: δεν καταχωρήθηκε");
    LAYDOC::RUN(d);
}

void DAOFILL(LAYDOC::Values& v) {
    auto& f = v.f;
    auto cap = [&](const std::string& s) { return UMAS::cut(s, size_t(v.capacity)); };
    f[1] = cap(UMAS::REMLCH(box(7), ' '));
    f[2] = cap(trimmed(6));
    f[4] = cap(trimmed(21));
    f[5] = cap(trimmed(22));
    f[9] = cap(trimmed(23));
    f[10] = PLAT::gr("ΕΛΛΑΔΑ");
    f[12] = AY.ON;
    f[13] = AY.ER;
    f[14] = AY.AP;
    f[16] = cap(trimmed(40) + " - " + trimmed(39));
    f[17] = cap(trimmed(43));
    f[18] = cap(trimmed(60) + " - " + trimmed(46));
    std::string d = trimmed(8);
    if (!d.empty()) {
        d.insert(std::min<size_t>(2, d.size()), "/");
        d.insert(std::min<size_t>(5, d.size()), "/");
    }
    f[23] = d;
}

std::string DAOFILE() { return UMAS::PATH + declName() + ".dao"; }

void DAO(SCB, GGV, PRL&, MOT&) {
    LAYDOC::Document d;
    d.mask = 110;
    d.grid = daoGrid();
    d.capacity = 78;
    d.layout = "ParDDD";
    d.formId = UMAS::PE_DAO;
    d.legend = {1, 2, 3, 4, 5};
    d.fill = DAOFILL;
    d.file = [](const LAYDOC::Values&) { return DAOFILE(); };
    d.key = [](int K, LAYDOC::Values& v) {
        if (K != 17) return false;
        DISKET::PBUF buf;
        buf.LINES = v.f;  // the 35 texts, [0] unused
        DISKET::MAKE_DISK("IMP", DISKET::ED_DAO, &buf, false);
        return true;
    };
    LAYDOC::RUN(d);
}

}  // namespace EKD2
