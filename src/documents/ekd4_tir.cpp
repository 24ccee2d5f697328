// The TIR carnet (an instance of the layout engine: mask 121, layout "ParTIR", form 118) with its
// three fills, and the registration application printed from a fixed two-column text.
#include "documents/ekd4.h"

#include "documents/invoices.h"
#include "platform/codepage.h"
#include "screen/scr.h"

namespace EKD4 {

using namespace BOD;

namespace {

constexpr int TIRN = 43, CAP = 55;

std::string box(int n) { return SOB(DIA, GV, n); }
std::string trimmed(int n) { return UMAS::trim(box(n)); }
std::string cap(const std::string& s) { return UMAS::cut(s, CAP); }

std::string declName() {
    const std::string n = trimmed(1);
    return n.empty() ? std::string("temp") : n;
}

// The fields the rows of "PARD2TIR" fill, in row order.
constexpr int MAPPED[33] = {1,  3,  5,  7,  8,  9,  11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22,
                            24, 25, 26, 28, 29, 30, 31, 32, 33, 34, 36, 37, 39, 40, 41, 42};

}  // namespace

std::vector<LAYDOC::Field> TIRGRID() {
    std::vector<LAYDOC::Field> g(TIRN + 1, LAYDOC::Field{0, 0, 0});
    const LAYDOC::Field top[12] = {{0, 0, 0},  {4, 3, 17}, {24, 3, 17}, {45, 2, 35}, {42, 3, 38}, {2, 5, 39},
                                   {2, 6, 39}, {42, 6, 18}, {61, 6, 19}, {2, 8, 39}, {2, 9, 39}, {42, 9, 38}};
    for (int i = 1; i <= 11; ++i) g[size_t(i)] = top[i];
    for (int k = 0; k < 4; ++k) {
        g[size_t(12 + 4 * k)] = {2, 11 + k, 18};
        g[size_t(13 + 4 * k)] = {21, 11 + k, 40};
        g[size_t(14 + 4 * k)] = {62, 11 + k, 10};
        g[size_t(15 + 4 * k)] = {73, 11 + k, 7};
    }
    const LAYDOC::Field rest[16] = {{4, 17, 17},  {22, 17, 5},  {4, 18, 17},  {22, 18, 5},  {31, 16, 18}, {31, 17, 18},
                                    {28, 18, 21}, {50, 17, 30}, {50, 18, 30}, {5, 20, 37},  {6, 21, 1},   {16, 21, 26},
                                    {5, 23, 26},  {32, 23, 10}, {43, 21, 37}, {46, 23, 34}};
    for (int i = 0; i < 16; ++i) g[size_t(28 + i)] = rest[i];
    return g;
}

void TIRFILL(LAYDOC::Values& v, const EKD3::Record* CMR) {
    auto& f = v.f;
    const int sw = UMAS::PAREDE[18].TIMI;
    const std::string head = cap(UMAS::LOGOTYPO[8]);
    if (sw == 1) {
        const auto map = INVOICES::READMAP("PARD2TIR");
        for (int row = 1; row <= 33; ++row) {
            const int kv = map[size_t(row)].KV;
            if (kv >= 1 && kv <= 289) f[size_t(MAPPED[row - 1])] = cap(box(kv));
        }
        f[43] = cap(box(207));
        return;
    }
    if (sw == 2) {
        if (!CMR) return;
        using R = EKD3::CMRBR;
        const EKD3::Record& c = *CMR;
        for (int k : {1, 32, 37, 40, 42}) f[size_t(k)] = head;
        f[7] = "GREECE";
        f[33] = c.get(R::HML);
        f[36] = cap(head + " " + c.get(R::HML));
        const std::string m2 = UMAS::trim(c.get(R::MET[2]));
        f[9] = m2.empty() ? m2 : cap(UMAS::trim(c.get(R::MET[1])) + " / " + m2);
        f[8] = UMAS::trim(c.get(R::PRD[2]));
        f[28] = UMAS::trim(c.get(R::PRD[1]));
        for (int i = 1; i <= 4; ++i) {
            f[size_t(9 + 4 * i)] = UMAS::trim(c.get(R::EEM[i]));
            f[size_t(10 + 4 * i)] = UMAS::trim(c.get(R::MIB[i]));
        }
        return;
    }
    for (int k : {1, 32, 37, 40, 42}) f[size_t(k)] = head;
    f[7] = "GREECE";
    std::string d = trimmed(8);
    if (!d.empty()) {
        d.insert(std::min<size_t>(2, d.size()), "/");
        d.insert(std::min<size_t>(5, d.size()), "/");
    }
    f[33] = cap(d);
    f[36] = cap(head + " " + d);
    f[8] = cap(trimmed(43));
    f[9] = cap(trimmed(46));
    f[28] = cap(trimmed(205));
    f[12] = cap(trimmed(12));
    f[13] = cap(trimmed(68) + " " + trimmed(69) + "   " + trimmed(70) + " ");
    f[14] = cap(trimmed(82));
    f[17] = cap(trimmed(72));
    f[21] = cap(trimmed(73));
    f[25] = cap(trimmed(74));
    f[29] = cap(trimmed(69));
    f[30] = cap(trimmed(206));
}

std::string TIRFILE() { return UMAS::PATH + declName() + ".tir"; }

void TIR(const EKD3::Record* CMR) {
    LAYDOC::Document d;
    d.mask = 121;
    d.grid = TIRGRID();
    d.capacity = CAP;
    d.layout = "ParTIR";
    d.formId = UMAS::PE_TIR;
    d.legend = {1, 2, 3, 4, 7};
    d.refillOnTab = true;
    d.trimPrint = true;
    d.fill = [CMR](LAYDOC::Values& v) { TIRFILL(v, CMR); };
    d.file = [](const LAYDOC::Values&) { return TIRFILE(); };
    d.key = [](int K, LAYDOC::Values&) {
        if (K != 12) return false;
        AITISI();
        BOD::K = 12;
        return true;
    };
    LAYDOC::RUN(d);
}

// ---- Registration application ----------------------------------------------------------------------

std::vector<LAYDOC::Field> AITGRID() {
    std::vector<LAYDOC::Field> g = {{0, 0, 0}, {10, 2, 20}, {16, 3, 20}};
    for (int r = 5; r <= 10; ++r) g.push_back({3, r, 35});  // 3..8
    g.insert(g.end(), {{21, 12, 15}, {17, 13, 20}, {12, 14, 25}, {19, 15, 20}, {12, 16, 25}, {11, 17, 25},
                       {12, 18, 26}, {19, 19, 20}, {22, 20, 15}, {20, 21, 20}, {63, 2, 15},  {56, 3, 20},
                       {62, 5, 17},  {58, 6, 20},  {54, 7, 20},  {44, 10, 35}, {54, 14, 20}, {59, 15, 17},
                       {54, 16, 20}, {54, 19, 20}, {54, 23, 20}});  // 9..29
    return g;
}

std::string AITFILE() { return UMAS::PATH + declName() + ".ait"; }

namespace {

// One line of the printed application: left text and field, right text and field (0: none).
struct AitLine {
    int no;
    const char* left;
    int lf;
    const char* right;
    int rf;
};

const AitLine AIT_LINES[] = {
    {1, "Β' ΤΕΛΩΝΕΙΟ ΘΕΣ/ΝΙΚΗΣ", 0, "ΑΡΙΘ.ΚΑΤΑΧΩΡΗΣΕΩΣ:", 19},
    {2, "ΑΙΤΗΣΗ ΚΑΤΑΧΩΡΗΣΗΣ", 0, "ΗΜΕΡΟΜΗΝΙΑ:", 20},
    {3, "=", 0, "", 0},
    {4, "TIR No:", 1, "", 0},
    {5, "-", 0, "", 0},
    {6, "1.ΔΗΛΩΤΙΚΟ:", 2, "", 0},
    {7, "2.ΑΠΟΣΤΟΛΕΑΣ", 0, "ΟΡΙΣΜΟΣ ΕΛΕΓΚΤΟΥ", 0},
    {8, "", 3, "ΟΡΙΖΕΤΑΙ Ο/Η:", 22},
    {9, "", 4, "ΘΕΣ/ΝΙΚΗ:", 23},
    {10, "", 5, "", 0},
    {11, "", 6, "", 0},
    {12, "", 7, "", 0},
    {13, "", 8, "ΓΙΑ ΤΗ ΜΟΛ/ΣΗ ΟΡΙΖΕΤΑΙ Ο/Η:", 0},
    {14, "", 0, "", 24},
    {15, "", 0, "Ο ΕΛΕΓΚΤΗΣ", 0},
    {18, " 4.ΧΩΡΑ ΑΠΟΣΤΟΛΗΣ:", 9, "", 0},
    {19, " 5.ΠΡΟΟΡΙΣΜΟΣ:", 10, "", 0},
    {20, " 6.ΚΟΛΛΑ:", 11, "", 0},
    {21, " 7.ΧΙΛ/ΜΑ ΜΙΚΤΑ:", 12, "ΒΕΒΑΙΟΥΤΑΙ Η ΜΟΛ/ΣΗ ΤΟΥ", 0},
    {22, " 8.ΕΙΔΟΣ:", 13, "ΕΜΠ/ΤΙΟΥ:", 25},
    {23, " 9.ΑΞΙΑ:", 14, "ΜΕ ΜΙΑ (1) ΜΟΛ/ΔΑ:", 26},
    {24, "10.CONEX:", 15, "ΘΕΣ/ΝΙΚΗ:", 27},
    {25, "11.ΑΡΙΘ. ΑΥΤ/ΤΟΥ:", 16, "", 0},
    {26, "12.ΜΕΤΑΦΟΡΙΚΟ ΜΕΣΟ:", 17, "", 0},
    {27, "13.ΤΟΠΟΣ ΕΜΠ/ΤΩΝ:", 18, "", 0},
    {30, "ΣΥΝΗΜΜΕΝΑ", 0, "", 0},
    {31, "-9", 0, "", 0},
    {32, "1.ΤΙΜΟΛΟΓΙΟ", 0, "", 0},
    {33, "2.ΦΩΤΟΤΥΠΙΑ ΔΙΑΤΑΚΤΙΚΗΣ", 0, "ΕΧΕΙ ΚΑΛΩΣ ΕΠΙΤΡΕΠΕΤΑΙ Η ΕΞΟΔΟΣ", 0},
    {34, "3.ΦΟΡΤΩΤΙΚΗ", 0, "ΘΕΣ/ΝΙΚΗ:", 28},
    {35, "4.TIR-CMR", 0, "", 0},
    {36, "-24", 0, "Ο ΕΠΟΠΤΗΣ            Ο ΕΛΕΓΚΤΗΣ", 0},
    {37, "ΚΟΛΛΑ ΒΑΡΟΣ ΚΑΤΑ ΔΗΛΩΣΗ ΦΟΡΤΩΤΟΥ", 0, "", 0},
    {38, "ΑΞΙΑΣ ΩΣ ΤΙΜΟΛΟΓΙΟΥ", 0, "", 0},
    {39, "ΕΓΓΥΗΣΗ T.I.R.", 0, "", 0},
    {40, "ΑΝΕΥ ΕΠΑΛΗΘΕΥΣΕΩΣ", 0, "", 0},
    {42, "    Ο ΑΙΤΩΝ", 0, "Η ΔΙΑΧΕΙΡΗΣΗ ΣΕΜΠΟ", 0},
    {43, "", 0, "ΘΕΣ/ΝΙΚΗ:", 29},
};

// The left text of a line: "=" is 23 double rules, "-" 23 single ones, "-n" n single ones.
std::string leftText(const char* s) {
    const std::string t = s;
    if (t == "=") return std::string(23, char(205));
    if (t == "-") return std::string(23, char(196));
    if (t.size() > 1 && t[0] == '-') return std::string(size_t(std::stoi(t.substr(1))), char(196));
    return PLAT::gr(s);
}

}  // namespace

void PRINTAIT(const LAYDOC::Values& v) {
    SCR::CALLM(63, true);
    if (!PRNS::YES(30, 23)) {
        SCR::RECALL();
        return;
    }
    PRNS::Printout o;
    o.open(UMAS::PE_TIR);
    o.mode(1);
    auto field = [&](int n) { return n ? UMAS::CUTLEADSPACES(v.f[size_t(n)]) : std::string(); };
    size_t next = 0;
    for (int line = 1; line <= 43; ++line) {
        AitLine l{line, "", 0, "", 0};
        if (next < std::size(AIT_LINES) && AIT_LINES[next].no == line) l = AIT_LINES[next++];
        o.at(1, leftText(l.left) + " ");
        o.mode(4);
        o.text(field(l.lf));
        o.mode(5);
        o.at(42, PLAT::gr(l.right) + " ");
        o.mode(4);
        o.text(field(l.rf));
        o.mode(5);
        o.lf(1);
    }
    o.mode(11);
    o.F.close();
    // handed off like every print: a spool file must not stay behind holding the spool lock
    UMAS::PRINTUSB();
    SCR::RECALL();
}

void AITISI() {
    LAYDOC::Document d;
    d.mask = 122;
    d.grid = AITGRID();
    d.capacity = CAP;
    d.formId = UMAS::PE_TIR;
    d.legend = {1, 2, 4};
    d.noTab = true;
    d.fill = [](LAYDOC::Values&) {};
    d.file = [](const LAYDOC::Values&) { return AITFILE(); };
    d.print = PRINTAIT;
    LAYDOC::RUN(d);
}

}  // namespace EKD4
