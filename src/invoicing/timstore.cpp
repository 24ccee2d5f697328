// The invoice editor's document procedures: new document, change test, find, load, store, delete.
#include <cmath>
#include <filesystem>
#include <fstream>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace TIM {

namespace {

constexpr uint16_t NONE = 65000;
constexpr int32_t INDEX_ENTRIES = 100000;

std::string pad(const std::string& s, size_t n) {
    std::string r = s.substr(0, std::min(s.size(), n));
    r.resize(n, ' ');
    return r;
}
using UMAS::cut;

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

uint16_t rateOf(const std::string& t) {
    int32_t v = UMAS::S2LO(t);
    return uint16_t(v < 0 ? 0 : v > 65535 ? 65535 : v);
}

std::string rateText(uint16_t v) { return v == 0 ? std::string() : std::to_string(v); }

const char* const NOSTORE = "ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC.";
const char* const NODELETE = "ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ. Πατήστε ESC.";

// The first file of the kind's store that keeps a store from writing. Missing: the record file,
// the series' index, the free-record stack, the record counter, the series file, the day and
// customer chains, the customer file. Damaged: the record file not a whole number of records, the
// index not at its size, the stack with its count outside the file or its top outside the record
// file, the counter empty, the series file short, the day and customer chains the document is
// about to join, the customer file without the customers posted to. The files a store creates
// when missing ("DAPANES.TXT") are not among them.
APODI::FILEFAULT storeFault(const TIM::TIMOS& t, int32_t day, uint16_t cust, uint16_t oldCust) {
    if (auto f = APODI::FILESFAULT({t.RECFILE(), t.INDEXFILE(), t.STACKFILE(), "HDT.DAT", t.SERIESFILE(),
                                    t.DAYCHAIN() + ".DAT", t.PECHAIN() + ".DAT"},
                                   cust, oldCust))
        return f;
    const int64_t size = PLAT::fileSize(UMAS::PATH + t.RECFILE());
    if (size % int64_t(TIM0::RTIM::SIZE) != 0) return APODI::DAMAGED(t.RECFILE());
    const int64_t records = size / int64_t(TIM0::RTIM::SIZE);
    if (PLAT::fileSize(UMAS::PATH + t.INDEXFILE()) != int64_t(INDEX_ENTRIES) * 2) return APODI::DAMAGED(t.INDEXFILE());
    {
        PLAT::File st(UMAS::PATH + t.STACKFILE(), PLAT::File::READ);
        if (st.size() < 2 || st.size() % 2 != 0) return APODI::DAMAGED(t.STACKFILE());
        const uint16_t N = APODI::WORDAT(st, 0);
        if (int64_t(N + 1) * 2 > st.size() || (N > 0 && APODI::WORDAT(st, N) >= records)) return APODI::DAMAGED(t.STACKFILE());
    }
    if (PLAT::fileSize(UMAS::PATH + "HDT.DAT") < 2) return APODI::DAMAGED("HDT.DAT");
    if (PLAT::fileSize(UMAS::PATH + t.SERIESFILE()) < int64_t(PARAMS::SEIRES_SIZE)) return APODI::DAMAGED(t.SERIESFILE());
    return APODI::CHAINSFAULT(t.DAYCHAIN(), day, t.PECHAIN(), cust, records);
}

std::string today() {
    PLAT::DateTime d = PLAT::now();
    return UMAS::LZ(std::to_string(d.day), 2) + UMAS::LZ(std::to_string(d.month), 2) +
           UMAS::LZ(std::to_string(d.year % 100), 2);
}

}  // namespace

// ---- Names of the kind's files ------------------------------------------------------------------------

std::string TIMOS::RECFILE() const { return TYPOSPARAST == 2 ? "SM.DAT" : "TM.DAT"; }
std::string TIMOS::INDEXFILE() const {
    std::string base = TYPOSPARAST == 2 ? "SI" : "TI";
    return FSEIR.empty() ? base + ".DAT" : base + "_" + FSEIR + ".DAT";
}
std::string TIMOS::STACKFILE() const { return TYPOSPARAST == 2 ? "SD.DAT" : "TD.DAT"; }
std::string TIMOS::DAYCHAIN() const { return TYPOSPARAST == 2 ? "SH" : "TH"; }
std::string TIMOS::PECHAIN() const { return TYPOSPARAST == 2 ? "SPE" : "TPE"; }
std::string TIMOS::SERIESFILE() const { return PARAMS::SEIRES_FILE(TYPOSPARAST == 2 ? 1 : 0) + ".DAT"; }

void TIMOS::SETSEIRA(const std::string& code) {
    size_t a = code.find_first_not_of(' ');
    TIM0::SEIRA = a == std::string::npos ? "" : code.substr(a, code.find_last_not_of(' ') - a + 1);
    FSEIR = PARAMS::SEIRES_SUFFIX(TIM0::SEIRA);
}

// ---- The document in memory ---------------------------------------------------------------------------

void TIMOS::CLLS() {
    using namespace TIM0;
    XR.fill(0);
    DX.fill(0);
    FX.fill(0);
    for (auto& t : NO) t.clear();
    // The captions of lines 14 to 17 start as item headings 14 to 17; a heading that begins with
    // "_" makes its line taxed from the start.
    for (size_t i = 13; i <= 16; ++i) AI[i] = UMAS::cut(PARAMS::PARTIM1[i + 1], 23);
    for (auto& t : DP) t.clear();
    for (auto& t : FA) t.clear();
    for (auto& t : DS) t.clear();
    for (auto& t : FF) t.clear();
    KD.clear();
    APODI::PR = NONE;
    APODI::EA.clear();
    APODI::ON.clear();
    APODI::DI.clear();
    APODI::PO.clear();
    APODI::AF.clear();
    APODI::TH1.clear();
    APODI::EG.clear();
    APODI::EF.clear();
    HM = today();
    EUROYEAR = YEAROF(HM);
    NO[8] = TM;
    FA[1] = FA1DEFAULT();
    FF[1] = FP;
    PAIPS.fill(0);
    AKNUM = 0;
    AKPAIP = 0;
    PARAMS::DEP[12] = std::string(40, '.');
    PARAMS::DEP[13] = std::string(40, '.');
    SU = 0;
    APODI::BOO = false;
    APODI::XN = NONE;
    TIM0::ROW1OWN(false);
    // The reference of the change test is the empty document: a new document counts as changed
    // only once something is filled in.
    R0 = TIM0::RTIM{};
    R0 = IMAGE();
}

void TIMOS::SPAC() {
    using namespace TIM0;
    TM = pad(TM, 6);
    HM = pad(HM, 6);
    KD = pad(KD, 10);
    for (int i = 1; i <= 11; ++i) NO[size_t(i)] = pad(NO[size_t(i)], 9);
    for (int i = 13; i <= 16; ++i) AI[size_t(i)] = pad(AI[size_t(i)], 23);
    APODI::EA = pad(APODI::EA, 30);
    APODI::ON = pad(APODI::ON, 40);
    APODI::DI = pad(APODI::DI, 40);
    APODI::PO = pad(APODI::PO, 20);
    APODI::AF = pad(APODI::AF, 10);
    APODI::TH1 = pad(APODI::TH1, 13);
}

double TIMOS::EXEIFPA(int K) {
    if (K < 1 || K > 18 || !TIM0::LINEVAT(K, TIM0::AI)) return 0;
    return TIM0::VATOF(UMAS::EVAL(TIM0::FF[1]), TIM0::XR[size_t(K)]);
}

void TIMOS::BOX() {
    SPAC();
    double su = 0;
    for (int K = 1; K <= 18; ++K) su += TIM0::XR[size_t(K)] + EXEIFPA(K);
    TIM0::SU = su;
}

TIM0::RTIM TIMOS::IMAGE() const {
    using namespace TIM0;
    RTIM r = R0;  // FILLER is carried
    const bool euro = EURODOC(HM);
    r.SEIRA = cut(SEIRA, 2);
    r.TM = pad(TM, 6);
    r.HM = pad(HM, 6);
    r.KD = pad(KD, 10);
    r.PR = APODI::PR;
    r.EA = pad(APODI::EA, 30);
    r.ON = pad(APODI::ON, 40).substr(0, 30);
    r.PO = pad(APODI::PO, 20);
    r.DI = pad(APODI::DI, 40).substr(0, 30);
    r.AF = pad(APODI::AF, 10);
    r.TH1 = pad(APODI::TH1, 13);
    for (int i = 1; i <= 19; ++i) r.XR[size_t(i)] = STORED(XR[size_t(i)], euro);
    for (int i = 1; i <= 14; ++i) r.DX[size_t(i)] = STORED(DX[size_t(i)], euro);
    for (int i = 1; i <= 8; ++i) r.FX[size_t(i)] = STORED(FX[size_t(i)], euro);
    for (int i = 1; i <= 11; ++i) r.NO[size_t(i)] = pad(NO[size_t(i)], 9);
    r.NO[12] = cut(NO[12], 9);
    for (int i = 13; i <= 16; ++i) r.AI[size_t(i)] = pad(AI[size_t(i)], 23);
    for (int i = 1; i <= 2; ++i) r.DP[size_t(i)] = cut(DP[size_t(i)], 41);
    for (int i = 1; i <= 3; ++i) r.FA[size_t(i)] = cut(FA[size_t(i)], 13);
    for (int i = 1; i <= 22; ++i) r.DS[size_t(i)] = cut(DS[size_t(i)], 40);
    for (int i = 1; i <= 8; ++i) r.FF[size_t(i)] = rateOf(FF[size_t(i)]);
    r.PAIPS = PAIPS;
    r.AKNUM = AKNUM;
    r.AKPAIP = AKPAIP;
    return r;
}

void TIMOS::REC0() {
    SPAC();
    R0 = IMAGE();
}

void TIMOS::FROMREC(const TIM0::RTIM& r) {
    using namespace TIM0;
    const bool euro = EURODOC(r.HM);
    SEIRA = r.SEIRA;
    TM = r.TM;
    HM = r.HM;
    KD = r.KD;
    APODI::PR = r.PR;
    APODI::EA = r.EA;
    APODI::ON = r.ON;
    APODI::PO = r.PO;
    APODI::DI = r.DI;
    APODI::AF = r.AF;
    APODI::TH1 = r.TH1;
    for (int i = 1; i <= 19; ++i) XR[size_t(i)] = LOADED(r.XR[size_t(i)], euro);
    for (int i = 1; i <= 14; ++i) DX[size_t(i)] = LOADED(r.DX[size_t(i)], euro);
    for (int i = 1; i <= 8; ++i) FX[size_t(i)] = LOADED(r.FX[size_t(i)], euro);
    NO = r.NO;
    AI = r.AI;
    DP = r.DP;
    FA = r.FA;
    DS = r.DS;
    for (int i = 1; i <= 8; ++i) FF[size_t(i)] = rateText(r.FF[size_t(i)]);
    PAIPS = r.PAIPS;
    AKNUM = r.AKNUM;
    AKPAIP = r.AKPAIP;
    EUROYEAR = YEAROF(HM);
}

bool TIMOS::ALLA() const {
    const TIM0::RTIM c = IMAGE();
    const TIM0::RTIM& o = R0;
    if (c.HM != o.HM || c.KD != o.KD || c.PR != o.PR || c.EA != o.EA) return true;
    if (c.XR != o.XR || c.DX != o.DX) return true;
    for (int i = 1; i <= 8; ++i)
        if (i != 5 && c.FX[size_t(i)] != o.FX[size_t(i)]) return true;
    if (c.NO != o.NO || c.AI != o.AI || c.DP != o.DP || c.FA != o.FA || c.DS != o.DS) return true;
    if (c.FF != o.FF) return true;
    return c.PAIPS != o.PAIPS || c.AKPAIP != o.AKPAIP || c.AKNUM != o.AKNUM;
}

// ---- Find and load --------------------------------------------------------------------------------

void TIMOS::CHO() {
    const int32_t n = UMAS::S2LO(TIM0::TM);
    APODI::BOO = false;
    APODI::XN = NONE;
    if (n < 0 || n >= INDEX_ENTRIES) return;
    PLAT::File ix(UMAS::PATH + INDEXFILE(), PLAT::File::READ);
    if (ix.size() < int64_t(n + 1) * 2) return;
    const uint16_t e = APODI::WORDAT(ix, n);
    if (e >= NONE) return;
    // An entry naming a record beyond the record file is not followed.
    if (int64_t(e) >= PLAT::fileSize(UMAS::PATH + RECFILE()) / int64_t(TIM0::RTIM::SIZE)) return;
    APODI::XN = e;
    APODI::BOO = true;
}

void TIMOS::RUF() {
    TIM0::RTIM r;
    {
        PLAT::File f(UMAS::PATH + RECFILE(), PLAT::File::READ);
        uint8_t b[TIM0::RTIM::SIZE];
        f.readAt(int64_t(APODI::XN) * int64_t(TIM0::RTIM::SIZE), b, sizeof b);
        r = TIM0::RTIM::decode(b);
    }
    FROMREC(r);
    APODI::BHM = r.HM;
    APODI::BPR = r.PR;
    OLDTM = r.TM;
    TIM0::FP = TIM0::FF[1];
    R0 = r;
    BOX();
    // A stored row 1 stands as it was stored, but an empty one of an unsigned document is filled.
    TIM0::ROW1OWN(PAIPS[1] != 0 || TIM0::FX[1] >= 0.01);
    // The posting of this version, as the store computed it: from the amounts as stored.
    APODI::BXR = TIM0::TOTAL(r);

    if (!blank(TIM0::KD)) {
        UMAS::LOCK("FDIA");
        CHOD();
        UMAS::UNLOC("FDIA");
    } else {
        DECLFOUND = false;
    }

    DRAWMARK(PAIPS[1]);

    // The customer is looked up again by the stored name.
    APODI::EA = pad(r.EA, 30);
    APODI::CHEP();
    if (APODI::PR != NONE) {
        SPAC();
        APODI::BON = APODI::EA;
    } else {
        APODI::BON.clear();
    }
}

// ---- Store -----------------------------------------------------------------------------------------

bool TIMOS::KTT(bool CHECKPAIP, bool APOALLAGI) {
    TIM0::FILLROW1();
    SPAC();
    const bool changed = ALLA();
    const bool euro = TIM0::EURODOC(TIM0::HM);
    const bool fx5 = TIM0::STORED(TIM0::FX[5], euro) != R0.FX[5];
    if ((!changed && !fx5) || APODI::PR == NONE || blank(APODI::EA)) return false;
    if (CHECKPAIP && PAIPS[1] != 0 && changed) {
        APODI::NOTICE42(" ΔΕΝ ΓΙΝΕΤΑΙ ΑΛΛΑΓΗ ΣΤΟΙΧΕΙΩΝ.  ", "ΕΧΕΙ ΓΙΝΕΙ ΣΗΜΑΝΣΗ. Πατήστε ESC.");
        return false;
    }

    // Everything that can refuse the store is checked before anything is written.
    const int32_t Z = UMAS::S2LO(TIM0::TM);
    if (Z < 0 || Z >= INDEX_ENTRIES || blank(TIM0::TM)) {
        APODI::NOTICE42(" ΑΡΙΘΜΟΣ ΕΚΤΟΣ ΟΡΙΩΝ.", NOSTORE);
        return false;
    }
    bool ok = true;
    for (int i = 1; i <= 19; ++i) TIM0::STORED(TIM0::XR[size_t(i)], euro, ok);
    for (int i = 1; i <= 14; ++i) TIM0::STORED(TIM0::DX[size_t(i)], euro, ok);
    for (int i = 1; i <= 8; ++i) TIM0::STORED(TIM0::FX[size_t(i)], euro, ok);
    TIM0::RTIM image = IMAGE();
    if (ok) {
        // The VAT of every line and the drachma posting of the stored form must fit a LONGINT.
        for (int K = 1; K <= 18; ++K)
            if (TIM0::LINEVAT(K, image.AI))
                TIM0::MYROUND(double(image.FF[1]) * TIM0::LOADED(image.XR[size_t(K)], euro), ok);
    }
    const double su = TIM0::TOTAL(image);
    bool rateOk = true;
    const double newPost = APODI::DRACHMAS(su, image.HM, rateOk);
    double oldPost = 0;
    if (APODI::BOO) oldPost = APODI::DRACHMAS(APODI::BXR, APODI::BHM, rateOk);
    if (!rateOk) {
        APODI::NOTICE42(" ΙΣΟΤΙΜΙΑ ΕΥΡΩ ΜΗΔΕΝ.", NOSTORE);
        return false;
    }
    if (ok && !(std::fabs(TIM0::ROUND(newPost)) < 2147483647.0)) ok = false;
    if (!ok) {
        APODI::NOTICE42(" ΠΟΣΟ ΕΚΤΟΣ ΟΡΙΩΝ.", NOSTORE);
        return false;
    }

    // A store or deletion stopped midway on any workstation is completed first, and told.
    APODI::TELLCOMPLETED(RECOVER());
    UMAS::LOCK("FTIM");
    APODI::FILEFAULT stuck;
    const APODI::COMPLETED late = RECOVERLOCKED(&stuck);
    // Nothing is written into a store with a file missing or damaged; the clerk is told which.
    const APODI::FILEFAULT fault = storeFault(*this, UMAS::HMVAL(TIM0::HM), APODI::PR, APODI::BOO ? APODI::BPR : NONE);
    if (fault || stuck) {
        UMAS::UNLOC("FTIM");
        APODI::TELLCOMPLETED(late);
        APODI::REFUSE(stuck ? stuck : fault, NOSTORE);
        return false;
    }
    TIMJ j;
    j.KIND = TYPOSPARAST;
    j.NEW = !APODI::BOO;
    j.CHECKPAIP = CHECKPAIP;
    j.APOALLAGI = APOALLAGI;
    j.FSEIR = FSEIR;
    j.Z = Z;
    j.XN = APODI::XN;
    j.BHM = APODI::BHM;
    j.BPR = APODI::BPR;
    j.R = image;
    if (!APODI::BOO) {
        const int64_t records = PLAT::fileSize(UMAS::PATH + RECFILE()) / int64_t(TIM0::RTIM::SIZE);
        // The number must still be free in its series (another workstation may have stored it).
        PLAT::File ix(UMAS::PATH + INDEXFILE(), PLAT::File::READ);
        const bool taken = ix.size() >= int64_t(Z + 1) * 2 && APODI::WORDAT(ix, Z) < NONE;
        PLAT::File st(UMAS::PATH + STACKFILE(), PLAT::File::READ);
        const uint16_t N = APODI::WORDAT(st, 0);
        // A free record is taken from the stack; a stack entry beyond the record file is not
        // followed (the record is appended instead).
        const uint16_t top = N > 0 && st.size() >= int64_t(N + 1) * 2 ? APODI::WORDAT(st, N) : NONE;
        const bool full = top >= records && records >= NONE;
        st.close();
        ix.close();
        if (taken || full) {
            UMAS::UNLOC("FTIM");
            APODI::TELLCOMPLETED(late);
            APODI::NOTICE42(taken ? " Ο ΑΡΙΘΜΟΣ ΥΠΑΡΧΕΙ ΗΔΗ." : " ΑΡΧΕΙΟ ΠΑΡΑΣΤΑΤΙΚΩΝ ΓΕΜΑΤΟ.", NOSTORE);
            return false;
        }
        j.STACKN = N;
        if (N > 0) j.POP |= 1;
        if (top < records) {
            j.XN = top;
        } else {
            PLAT::File hdt(UMAS::PATH + "HDT.DAT", PLAT::File::READ);
            j.HDT0 = APODI::WORDAT(hdt, 0);
            j.POP |= 2;
            j.XN = uint16_t(records);
        }
    }

    // The journal first (the one flushed write), then the files, then the posting: the old version
    // reversed, the new one posted (credit notes the other way round). "FTIM" is held until the
    // journal is cleared, "FPEL" taken inside it.
    const double sign = TYPOSPARAST == 2 ? -1.0 : 1.0;
    APODI::JOURNAL J;
    J.STATE = 1;
    if (APODI::BOO) J.CALLS[0] = {APODI::BPR, -sign * oldPost, 0, 0, 0};
    J.CALLS[1] = {APODI::PR, sign * newPost, 0, 0, 0};
    J.BODY = j.encode();
    APODI::JWRITE(TJOURNAL, J);
    APODI::XN = j.XN;
    R0 = image;
    const auto [dayLink, peLink] = APPLYSTORE(j, false);
    UMAS::LOCK("FPEL");
    const bool posted = APODI::JPOST(TJOURNAL, J);
    APODI::JCLEAR(TJOURNAL);
    UMAS::UNLOC("FPEL");
    UMAS::UNLOC("FTIM");
    APODI::TELLCOMPLETED(late);

    APODI::BOO = true;
    APODI::BHM = TIM0::HM;
    APODI::BPR = APODI::PR;
    OLDTM = TIM0::TM;
    APODI::BXR = su;

    APODI::LINKNOTICE(dayLink, true);
    APODI::LINKNOTICE(peLink, false);
    if (!posted) APODI::NOTICE42(" ΣΥΝΟΛΟ ΠΕΛΑΤΗ ΕΚΤΟΣ ΟΡΙΩΝ.", "Δεν ενημερώθηκε. Πατήστε ESC.");
    return true;
}

// ---- Delete ----------------------------------------------------------------------------------------

bool TIMOS::DEL() {
    bool rateOk = true;
    const double oldPost = APODI::DRACHMAS(APODI::BXR, APODI::BHM, rateOk);
    if (!rateOk) {
        APODI::NOTICE42(" ΙΣΟΤΙΜΙΑ ΕΥΡΩ ΜΗΔΕΝ.", NODELETE);
        return false;
    }
    APODI::TELLCOMPLETED(RECOVER());
    UMAS::LOCK("FTIM");
    APODI::FILEFAULT stuck;
    const APODI::COMPLETED late = RECOVERLOCKED(&stuck);
    // Every file the deletion writes must be there before the first of them is written.
    const APODI::FILEFAULT fault =
        APODI::FILESFAULT({INDEXFILE(), STACKFILE(), DAYCHAIN() + ".DAT", PECHAIN() + ".DAT"}, APODI::BPR, NONE);
    if (fault || stuck) {
        UMAS::UNLOC("FTIM");
        APODI::TELLCOMPLETED(late);
        APODI::REFUSE(stuck ? stuck : fault, NODELETE);
        return false;
    }
    TIMJ j;
    j.KIND = TYPOSPARAST;
    j.FSEIR = FSEIR;
    j.Z = UMAS::S2LO(OLDTM);
    j.XN = APODI::XN;
    j.BHM = APODI::BHM;
    j.BPR = APODI::BPR;
    j.R = R0;
    {
        PLAT::File st(UMAS::PATH + STACKFILE(), PLAT::File::READ);
        j.STACKN = APODI::WORDAT(st, 0);
    }
    APODI::JOURNAL J;
    J.STATE = 2;
    J.CALLS[0] = {APODI::BPR, (TYPOSPARAST == 2 ? 1.0 : -1.0) * oldPost, 0, 0, 0};
    J.BODY = j.encode();
    APODI::JWRITE(TJOURNAL, J);
    APPLYDELETE(j);
    UMAS::LOCK("FPEL");
    const bool posted = APODI::JPOST(TJOURNAL, J);
    APODI::JCLEAR(TJOURNAL);
    UMAS::UNLOC("FPEL");
    UMAS::UNLOC("FTIM");
    APODI::TELLCOMPLETED(late);
    UMAS::MHNU(BTM, "NUTI", 6);
    BTM.clear();
    TIM0::TM.clear();
    CLLS();
    BOX();
    if (!posted) APODI::NOTICE42(" ΣΥΝΟΛΟ ΠΕΛΑΤΗ ΕΚΤΟΣ ΟΡΙΩΝ.", "Δεν ενημερώθηκε. Πατήστε ESC.");
    return true;
}

bool TIMOS::DIAG() {
    if (!APODI::BOO) return false;
    if (PAIPS[1] != 0) {
        APODI::NOTICE42(" ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ ΤΙΜΟΛΟΓΙΟΥ ", "ΕΧΕΙ ΓΙΝΕΙ ΣΗΜΑΝΣΗ. Πατήστε ESC. ");
        return false;
    }
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(43, true);
    const bool shown = SCR::STACKPOINTER() != before;
    const bool yes = PRNS::YES(37, 23);
    if (shown) SCR::RECALL();
    if (!yes) return false;
    return DEL();
}

// ---- The installation's invoice files -----------------------------------------------------------

void makeInvoiceFiles(const std::string& dir) {
    auto put = [&](const char* name, const std::string& bytes) { APODI::NEWFILE(dir, name, bytes); };
    auto words = APODI::WORDS;
    auto heads = APODI::EMPTYHEADS;
    put("TM.DAT", "");
    put("TD.DAT", words(1000, 0));
    put("HDT.DAT", words(1, 0));
    put("TH.DAT", heads(APODI::DAYHEADS));
    put("TPE.DAT", heads(APODI::PEHEADS));
    put("TI.DAT", words(size_t(INDEX_ENTRIES), NONE));  // last: its presence means all are there
}

}  // namespace TIM
