// The CMR consignment notes, layouts A (".cma", form 17) and B (".cmb", form 18): the fill from the
// declaration, the screen, the analysis lines, the two prints and the shared serial counter.
#include <cmath>
#include <cstdio>

#include "config/params.h"
#include "documents/ekd3.h"
#include "documents/ekd4.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD3 {

using namespace BOD;

namespace {

std::string box(int n) { return SOB(DIA, GV, n); }

// The parts both layouts fill alike.
template <class R>
void fillCommon(Record& r, bool MAIN) {
    for (int i = 1; i <= 3; ++i) r.set(R::APO[i], box(11 + i));
    for (int i = 1; i <= 4; ++i) r.set(R::PAR[i], box(21 + i));
    for (int i = 1; i <= 4; ++i) r.set(R::EEM[i], MAIN ? box(71 + i) : SOB(BIS, GB, 22 + i));
    r.set(R::MET[1], box(46));
    r.set(R::PRD[2], box(43));
    r.set(R::PRL[1], UMAS::LOGOTYPO[8]);
    r.set(R::POL, UMAS::cut(UMAS::LOGOTYPO[8], 15));
    r.set(R::PRL[2], box(39));
    const std::string d = SLASHDATE(box(8));
    r.set(R::HML, d);
    r.set(R::HME, d);
    for (int i = 2; i <= 13; ++i) r.set(R::BUFPER[i], PARAMS::PERIGRAFES[size_t(i - 1)]);
}

// The first line of a text file, "" when it has none; nullopt when the file is missing.
std::optional<std::string> firstLine(const std::string& path) {
    const auto lines = PLAT::readLines(path);
    if (!lines) return std::nullopt;
    return lines->empty() ? std::string() : lines->front();
}

int64_t whole(const std::string& s) {
    const double v = std::nearbyint(UMAS::EVAL(s));
    return std::isfinite(v) && std::fabs(v) < 9e18 ? int64_t(v) : 0;
}

// The thirteen analysis lines on mask 106.
template <class R>
void analysis(Record& r) {
    SCR::CALLM(106, true);
    for (int i = 1; i <= 13; ++i) SCR::PRINT(17, 6 + i, UMAS::padTo(r.get(R::BUFPER[i]), 50));
    int i = 1;
    for (;;) {
        int K = 0;
        const std::string s = SCR::GINPUT(17, 6 + i, 50, r.get(R::BUFPER[i]), "", SCR::socAll(), false, true, K);
        if (K != 3) r.set(R::BUFPER[i], s);
        if (K == 0 || K == 2)
            i = i % 13 + 1;
        else if (K == 1)
            i = i == 1 ? 13 : i - 1;
        else if (K == 3)
            break;
    }
    SCR::RECALL();
}

// One note on its screen: the record, its file, the serial field, the print, and layout B's F6.
struct Note {
    int mask;
    size_t size;
    std::string ext;
    std::vector<EdField> table;
    int serial;  // index of the serial field in the table
    std::vector<int> legend;
    std::function<void(Record&, bool)> fill;
    std::function<void(Record&)> f7, print, f6;
};

void runNote(const Note& n, bool MAIN) {
    Record r(n.size);
    const std::string file = SIDEFILE(n.ext);
    if (!READSIDE(file, r)) n.fill(r, MAIN);
    SCR::CALLM(n.mask, true);
    SCR::CALLM(2, true);
    UMAS::FKEY(n.legend, GMLOCAL);
    SHOWFIELDS(n.table, r);
    EDITFIELDS(n.table, r, [&](int K, int i) {
        switch (K) {
        case 6:
            if (i == n.serial) {
                const EdField& e = n.table[size_t(i)];
                r.set(e.f, UMAS::cut(GETAA(), size_t(e.len)));
            } else {
                n.fill(r, MAIN);
            }
            SHOWFIELDS(n.table, r);
            break;
        case 10: WRITESIDE(file, r); break;
        case 12:
            if (n.f6) n.f6(r);
            break;
        case 13: n.f7(r); break;
        case 14: n.print(r); break;
        default: break;
        }
    });
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace

std::vector<EdField> CMRATABLE() {
    using R = CMRR;
    std::vector<EdField> t;
    for (int i = 1; i <= 4; ++i) t.push_back({3, 2 + i, 30, R::APO[i]});
    for (int i = 1; i <= 5; ++i) t.push_back({3, 8 + i, 30, R::PAR[i]});
    for (int i = 1; i <= 4; ++i) t.push_back({3, 15 + i, 30, R::EEM[i]});
    t.push_back({12, 21, 8, R::ELE});
    t.push_back({32, 21, 8, R::OFI});
    for (int i = 1; i <= 3; ++i) t.push_back({43, 2 + i, 30, R::MET[i]});
    t.push_back({51, 6, 28, R::MET[4]});
    t.push_back({50, 8, 30, R::PRD[1]});
    t.push_back({50, 9, 30, R::PRD[2]});
    t.push_back({50, 11, 30, R::PRL[1]});
    t.push_back({50, 12, 30, R::PRL[2]});
    t.push_back({55, 13, 8, R::HML});
    for (int i = 1; i <= 4; ++i) t.push_back({43, 15 + i, 12, R::MIB[i]});
    for (int i = 1; i <= 4; ++i) t.push_back({64, 15 + i, 12, R::VOL[i]});
    t.push_back({60, 22, 12, R::AYT});
    t.push_back({60, 23, 12, R::RYM});
    t.push_back({10, 23, 15, R::POL});
    t.push_back({32, 23, 8, R::HME});
    return t;
}

std::vector<EdField> CMRBTABLE() {
    using R = CMRBR;
    std::vector<EdField> t;
    for (int i = 1; i <= 4; ++i) t.push_back({3, 2 + i, 30, R::APO[i]});
    for (int i = 1; i <= 4; ++i) t.push_back({3, 8 + i, 30, R::PAR[i]});
    t.push_back({3, 15, 30, R::EGG[1]});
    t.push_back({43, 15, 30, R::EGG[2]});
    for (int i = 1; i <= 4; ++i) t.push_back({43, 2 + i, 30, R::MET[i]});
    t.push_back({50, 8, 30, R::PRD[1]});
    t.push_back({50, 9, 30, R::PRD[2]});
    t.push_back({50, 11, 30, R::PRL[1]});
    t.push_back({50, 12, 30, R::PRL[2]});
    t.push_back({55, 13, 8, R::HML});
    for (int i = 1; i <= 4; ++i) t.push_back({3, 16 + i, 30, R::EEM[i]});
    for (int i = 1; i <= 4; ++i) t.push_back({43, 16 + i, 12, R::MIB[i]});
    for (int i = 1; i <= 4; ++i) t.push_back({64, 16 + i, 12, R::VOL[i]});
    t.push_back({3, 22, 30, R::ODE[1]});
    t.push_back({3, 23, 30, R::ODE[2]});
    t.push_back({50, 23, 15, R::POL});
    t.push_back({72, 23, 8, R::HME});
    return t;
}

void CMRAFILL(Record& r, bool MAIN) {
    fillCommon<CMRR>(r, MAIN);
    r.set(CMRR::MIB[1], box(82));
}

std::string CMRMASS(double total) {
    const double frac = total - std::trunc(total);
    char buf[64];
    std::snprintf(buf, sizeof buf, frac > 0.01 ? "%.1f" : "%.0f", total);
    return buf;
}

void CMRBFILL(Record& r, bool MAIN) {
    for (int i = 1; i <= 13; ++i) r.set(CMRBR::BUFPER[i], "");
    fillCommon<CMRBR>(r, MAIN);
    r.set(CMRBR::MIB[1], CMRMASS(UMAS::TOTALXM));
    r.set(CMRBR::VOL[1], box(89));
    r.set(CMRBR::BUFPER[1], r.get(CMRBR::EEM[1]));
}

std::string GETAA() {
    const std::string file = UMAS::PATH + "AA_CMR.TXT";
    UMAS::LOCK("FCMR");
    auto line = firstLine(file);
    if (!line) {
        PLAT::writeWholeAtomic(file, "1\r\n");
        line = "1";
    }
    UMAS::UNLOC("FCMR");
    return *line;
}

void INCAA(const std::string& AA) {
    const std::string file = UMAS::PATH + "AA_CMR.TXT";
    UMAS::LOCK("FCMR");
    const std::string S = firstLine(file).value_or("0");
    const int64_t n = whole(AA);
    if (n >= whole(S)) PLAT::writeWholeAtomic(file, std::to_string(n + 1) + "\r\n");
    UMAS::UNLOC("FCMR");
}

int LINEOFFSET(const std::string& name) {
    const auto line = firstLine(name);
    if (!line) {
        PLAT::writeWholeAtomic(name, "0\r\n");
        return 0;
    }
    const std::string t = UMAS::trim(*line);
    if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos) return 0;
    return t.size() > 3 ? 255 : std::min(255, std::stoi(t));
}

void PRINTCMRA(const Record& r) {
    using R = CMRR;
    PRNS::Printout o;
    o.open(UMAS::PE_CMRA);
    o.mode(2);
    auto at = [&](int col, TF f) { o.at(col, r.get(f)); };
    for (int i = 1; i <= 4; ++i) at(3, R::APO[i]), o.lf(1);
    o.lf(2);
    for (int i = 1; i <= 4; ++i) at(3, R::PAR[i]), at(47, R::MET[i]), o.lf(1);
    at(3, R::PAR[5]), o.lf(1);
    for (int i = 1; i <= 2; ++i) at(8, R::PRD[i]), o.lf(1);
    o.lf(2);
    for (int i = 1; i <= 2; ++i) at(9, R::PRL[i]), o.lf(1);
    at(14, R::HML), o.lf(1);
    o.lf(7);
    for (int i = 1; i <= 4; ++i) at(3, R::EEM[i]), at(63, R::MIB[i]), at(74, R::VOL[i]), o.lf(1);
    o.lf(13);
    at(8, R::ELE), o.lf(1);
    at(8, R::OFI), o.lf(1);
    o.lf(3);
    at(11, R::POL), at(33, R::HME), o.lf(1);
    o.lf(3);
    for (int i = 1; i <= 4; ++i) at(3, R::APO[i]), o.lf(1);
    o.lf(2);
    at(15, R::AYT), o.lf(1);
    at(18, R::RYM), o.lf(1);
    o.mode(1);
    o.mode(66);
    o.F.close();
    UMAS::PRINTUSB();
    INCAA(r.get(R::MET[4]));
}

void PRINTCMRB(const Record& r) {
    using R = CMRBR;
    SCR::CALLM(63, true);
    if (!PRNS::YES(30, 23)) {
        SCR::RECALL();
        return;
    }
    PRNS::Printout o;
    o.open(UMAS::PE_CMRB);
    o.mode(2);
    o.mode(8);
    auto at = [&](int col, TF f) { o.at(col, r.get(f)); };
    for (int i = 1; i <= 4; ++i) at(10, R::APO[i]), o.lf(1);
    o.lf(1);
    for (int i = 1; i <= 4; ++i) at(10, R::PAR[i]), at(54, R::MET[i]), o.lf(1);
    o.lf(2);
    for (int i = 1; i <= 2; ++i) at(10, R::PRD[i]), o.lf(1);
    o.lf(2);
    for (int i = 1; i <= 2; ++i) at(10, R::PRL[i]), o.lf(1);
    at(10, R::HML), o.lf(2);
    for (int i = 1; i <= 2; ++i) at(10, R::EGG[i]), o.lf(1);
    o.lf(2);
    for (int i = 1; i <= 4; ++i) at(10, R::EEM[i]), at(68, R::MIB[i]), at(78, R::VOL[i]), o.lf(1);
    o.lf(LINEOFFSET("CMR1.TXT"));
    for (int i = 1; i <= 2; ++i) at(10, R::ODE[i]), o.lf(1);
    o.lf(7);
    o.lf(2);
    o.lf(LINEOFFSET("CMRLINES.TXT"));
    o.at(13, r.get(R::POL) + std::string(14, ' ') + r.get(R::HME));
    o.lf(1);
    o.mode(9);
    o.mode(11);
    o.mode(1);
    o.mode(66);
    o.F.close();
    UMAS::PRINTUSB();
    INCAA(r.get(R::MET[4]));
    SCR::RECALL();
}

void CMRA(bool MAIN) {
    Note n{97, CMRR::SIZE, ".cma", CMRATABLE(), 18, {1, 2, 3, 4, 5}, CMRAFILL, analysis<CMRR>, PRINTCMRA, nullptr};
    runNote(n, MAIN);
}

void CMRB(bool MAIN) {
    Note n{98, CMRBR::SIZE, ".cmb", CMRBTABLE(), 13, {1, 2, 3, 4, 5, 6}, CMRBFILL, analysis<CMRBR>, PRINTCMRB,
           [](Record& r) { EKD4::TIR(&r); }};
    runNote(n, MAIN);
}

}  // namespace EKD3
