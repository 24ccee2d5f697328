// APOD0: the receipt record, the receipt files, and the receipt book's store and delete.
#include "invoicing/apod0.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "common/umas.h"
#include "invoicing/apodi.h"
#include "invoicing/tim0.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace APOD0 {

using UMAS::padTo;

namespace {

const char* const AM = "AM.DAT";
const char* const AIX = "AI.DAT";
const char* const HDA = "HDA.DAT";

std::string data(const char* name) { return UMAS::PATH + name; }

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

const char* const NOSTORE = "ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC.";
const char* const NODELETE = "ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ. Πατήστε ESC.";

std::string today() {
    PLAT::DateTime d = PLAT::now();
    return UMAS::LZ(std::to_string(d.day), 2) + UMAS::LZ(std::to_string(d.month), 2) +
           UMAS::LZ(std::to_string(d.year % 100), 2);
}

// The drachmas of a positive amount in the units of the year of HM.
double drachmas(double amount, const std::string& HM, bool& ok) { return APODI::DRACHMAS(amount, HM, ok); }

// The first receipt file that keeps a store from writing. Missing: the record file, the number
// index, the count, the day and customer chains, the customer file. Damaged: the record file not a
// whole number of records, the index not a whole number of slots, the count empty, the day and
// customer chains the receipt is about to join, the customer file without the customers posted to.
// The last-number files are created by the store when missing and are not among them.
APODI::FILEFAULT storeFault(int32_t day, uint16_t cust, uint16_t oldCust) {
    if (auto f = APODI::FILESFAULT({AM, AIX, HDA, "AH.DAT", "APE.DAT"}, cust, oldCust)) return f;
    const int64_t size = PLAT::fileSize(data(AM));
    if (size % int64_t(TRECAP::SIZE) != 0) return APODI::DAMAGED(AM);
    const int64_t records = size / int64_t(TRECAP::SIZE);
    if (PLAT::fileSize(data(AIX)) % 2 != 0) return APODI::DAMAGED(AIX);
    if (PLAT::fileSize(data(HDA)) < 2) return APODI::DAMAGED(HDA);
    return APODI::CHAINSFAULT("AH", day, "APE", cust, records);
}

std::vector<FOUND> walk(const std::string& S, int32_t K) {
    std::vector<FOUND> out;
    UMAS::LOCK("FAPO");
    const std::vector<uint16_t> xs = APODI::WALK(S, K);
    for (uint16_t xn : xs) {
        FOUND f;
        f.XN = xn;
        if (READ_LOCKED(xn, f.R)) out.push_back(f);
    }
    UMAS::UNLOC("FAPO");
    return out;
}

// The file work of a store from its journal, each step one that may be done again: the count, the
// record, its index slot, the day and customer chains (RECOVERING: a receipt found on its new chain
// is not linked again). The results of the two links.
std::pair<APODI::LINKED, APODI::LINKED> applyStore(const RJ& j, bool RECOVERING) {
    if (j.NEW) {
        PLAT::File hda(data(HDA), PLAT::File::READWRITE);
        APODI::PUTWORDAT(hda, 0, uint16_t(j.HDA0 + 1));
        hda.close();
        APODI::STEP();
    }
    {
        uint8_t b[TRECAP::SIZE];
        j.R.encode(b);
        PLAT::File rec(data(AM), PLAT::File::READWRITE);
        rec.writeAt(int64_t(j.XN) * int64_t(TRECAP::SIZE), b, sizeof b);
        rec.close();
        APODI::STEP();
    }
    {
        PLAT::File ix(data(AIX), PLAT::File::READWRITE);
        // An index shorter than the number space is lengthened with empty slots first.
        const int64_t have = ix.size() / 2;
        if (have <= j.Z) {
            std::string fill(size_t(j.Z + 1 - have) * 2, '\0');
            for (size_t i = 0; i < fill.size(); i += 2) PLAT::putW(reinterpret_cast<uint8_t*>(fill.data()) + i, NONE);
            ix.writeAt(have * 2, fill.data(), fill.size());
        }
        APODI::PUTWORDAT(ix, j.Z, j.XN);
        ix.close();
        APODI::STEP();
    }
    auto link = [RECOVERING](const std::string& S, uint16_t N, int32_t K) {
        return RECOVERING ? APODI::ENSURELINK(S, N, K) : APODI::LINK(S, N, K);
    };
    if (!j.NEW && UMAS::HMVAL(j.BHM) > 0) {
        APODI::UNLINK("AH", j.XN, UMAS::HMVAL(j.BHM));
        APODI::STEP();
    }
    const APODI::LINKED day = link("AH", j.XN, UMAS::HMVAL(j.R.HM));
    APODI::STEP();
    if (!j.NEW) {
        APODI::UNLINK("APE", j.XN, j.BPR);
        APODI::STEP();
    }
    const APODI::LINKED pe = link("APE", j.XN, j.R.PR);
    APODI::STEP();
    return {day, pe};
}

// The posting of the journal under "FPEL"; after a store the kind's last number raised; the journal
// cleared. False when a total was out of range.
bool postAndClear(APODI::JOURNAL& J, const RJ& j) {
    UMAS::LOCK("FPEL");
    const bool posted = APODI::JPOST(AJOURNAL, J);
    UMAS::UNLOC("FPEL");
    if (J.STATE == 1) {
        RAISELAST(j.BBB, j.Z);
        APODI::STEP();
    }
    APODI::JCLEAR(AJOURNAL);
    return posted;
}

// The index slot and the chain nodes of a deleted receipt.
void applyDelete(const RJ& j) {
    if (j.Z >= 0 && j.Z < NUMBERS) {
        PLAT::File ix(data(AIX), PLAT::File::READWRITE);
        if (ix.size() >= int64_t(j.Z + 1) * 2 && APODI::WORDAT(ix, j.Z) == j.XN) APODI::PUTWORDAT(ix, j.Z, NONE);
        ix.close();
        APODI::STEP();
    }
    if (UMAS::HMVAL(j.BHM) > 0) APODI::UNLINK("AH", j.XN, UMAS::HMVAL(j.BHM));
    APODI::STEP();
    APODI::UNLINK("APE", j.XN, j.BPR);
    APODI::STEP();
}

APODI::COMPLETED named(const RJ& j, bool deletion) {
    return {PLAT::gr(j.BBB ? "ΑΠΟΔΕΙΞΗ ΕΙΣΠΡΑΞΗΣ " : "ΑΠΟΔΕΙΞΗ ΠΛΗΡΩΜΗΣ ") + std::to_string(j.Z), deletion, AM};
}

}  // namespace

// ---- The record -------------------------------------------------------------------------------------

TRECAP TRECAP::decode(const uint8_t* p) {
    TRECAP r;
    r.KV = PLAT::getL(p + O_KV);
    r.HM = PLAT::getS(p + O_HM, 6);
    r.KD = PLAT::getS(p + O_KD, 10);
    r.PR = PLAT::getW(p + O_PR);
    r.EA = PLAT::getS(p + O_EA, 30);
    r.DI = PLAT::getS(p + O_DI, 30);
    r.PO = PLAT::getS(p + O_PO, 20);
    r.AF = PLAT::getS(p + O_AF, 10);
    r.PS = PLAT::getL(p + O_PS);
    r.AI = PLAT::getS(p + O_AI, 30);
    return r;
}

void TRECAP::encode(uint8_t* p) const {
    PLAT::putL(p + O_KV, KV);
    PLAT::putS(p + O_HM, 6, HM);
    PLAT::putS(p + O_KD, 10, KD);
    PLAT::putW(p + O_PR, PR);
    PLAT::putS(p + O_EA, 30, EA);
    PLAT::putS(p + O_DI, 30, DI);
    PLAT::putS(p + O_PO, 20, PO);
    PLAT::putS(p + O_AF, 10, AF);
    PLAT::putL(p + O_PS, PS);
    PLAT::putS(p + O_AI, 30, AI);
}

// ---- The amount rule ------------------------------------------------------------------------------

int32_t STOREDPS(double value, const std::string& HM, bool collection, bool& ok) {
    const int32_t v = TIM0::STORED(value, TIM0::EURODOC(HM), ok);
    if (!ok) return 0;
    return collection ? v : -v;
}

double AMOUNT(const TRECAP& r) {
    const double a = std::fabs(double(r.PS));
    return TIM0::EURODOC(r.HM) ? a / 100.0 : a;
}

double POSTING(const TRECAP& r, bool& ok) {
    const double d = drachmas(AMOUNT(r), r.HM, ok);
    return r.PS < 0 ? -d : d;
}

// ---- Reads ------------------------------------------------------------------------------------------

int64_t COUNT() {
    UMAS::LOCK("FAPO");
    const int64_t n = PLAT::fileSize(data(AM)) / int64_t(TRECAP::SIZE);
    UMAS::UNLOC("FAPO");
    return n < 0 ? 0 : n;
}

bool READ_LOCKED(uint16_t XN, TRECAP& r) {
    PLAT::File f(data(AM), PLAT::File::READ);
    if (int64_t(XN + 1) * int64_t(TRECAP::SIZE) > f.size()) return false;
    uint8_t b[TRECAP::SIZE];
    f.readAt(int64_t(XN) * int64_t(TRECAP::SIZE), b, sizeof b);
    r = TRECAP::decode(b);
    return true;
}

bool READ(uint16_t XN, TRECAP& r) {
    UMAS::LOCK("FAPO");
    const bool ok = READ_LOCKED(XN, r);
    UMAS::UNLOC("FAPO");
    return ok;
}

uint16_t SLOT_LOCKED(int32_t KV) {
    if (KV < 0 || KV >= NUMBERS) return NONE;
    PLAT::File ix(data(AIX), PLAT::File::READ);
    if (ix.size() < int64_t(KV + 1) * 2) return NONE;
    const uint16_t e = APODI::WORDAT(ix, KV);
    if (e >= NONE) return NONE;
    // A slot naming a record beyond the record file is not followed.
    if (int64_t(e) >= PLAT::fileSize(data(AM)) / int64_t(TRECAP::SIZE)) return NONE;
    return e;
}

uint16_t SLOT(int32_t KV) {
    UMAS::LOCK("FAPO");
    const uint16_t e = SLOT_LOCKED(KV);
    UMAS::UNLOC("FAPO");
    return e;
}

std::vector<FOUND> OFCUSTOMER(uint16_t PR) { return walk("APE", PR); }
std::vector<FOUND> OFDAY(int32_t DAY) { return walk("AH", DAY); }

// ---- Last numbers -------------------------------------------------------------------------------------

std::string LASTFILE(bool collection) { return collection ? "ARAP1.DAT" : "ARAP2.DAT"; }

int32_t LASTNUMBER(bool collection) {
    auto lines = PLAT::readLines(UMAS::PATH + LASTFILE(collection));
    if (!lines) return -1;
    return lines->empty() ? 0 : UMAS::S2LO(UMAS::trim((*lines)[0]));
}

int32_t GETARA(bool collection) {
    const int32_t n = LASTNUMBER(collection);
    return n < 0 ? 1 : n + 1;
}

void RAISELAST(bool collection, int32_t KV) {
    const int32_t n = LASTNUMBER(collection);
    if (n >= 0 && n >= KV) return;
    PLAT::writeWholeAtomic(UMAS::PATH + LASTFILE(collection), std::to_string(KV) + "\r\n");
}

// ---- Interrupted stores and deletions -------------------------------------------------------------------

std::string RJ::encode() const {
    std::string b(SIZE, '\0');
    uint8_t* p = reinterpret_cast<uint8_t*>(b.data());
    PLAT::putB(p, BBB ? 1 : 0);
    PLAT::putB(p + 1, NEW ? 1 : 0);
    PLAT::putW(p + 2, HDA0);
    PLAT::putL(p + 4, Z);
    PLAT::putW(p + 8, XN);
    PLAT::putS(p + 10, 6, BHM);
    PLAT::putW(p + 17, BPR);
    R.encode(p + 19);
    return b;
}

RJ RJ::decode(const std::string& b) {
    RJ j;
    if (b.size() < SIZE) return j;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(b.data());
    j.BBB = PLAT::getB(p) != 0;
    j.NEW = PLAT::getB(p + 1) != 0;
    j.HDA0 = PLAT::getW(p + 2);
    j.Z = PLAT::getL(p + 4);
    j.XN = PLAT::getW(p + 8);
    j.BHM = PLAT::getS(p + 10, 6);
    j.BPR = PLAT::getW(p + 17);
    j.R = TRECAP::decode(p + 19);
    return j;
}

APODI::COMPLETED RECOVERLOCKED(APODI::FILEFAULT* stuck) {
    auto J = APODI::JREAD(AJOURNAL, RJ::SIZE);
    if (!J) return {};
    const RJ j = RJ::decode(J->BODY);
    const bool deletion = J->STATE == 2;
    // With one of its files missing or without its customers the journal is left as it is, and the
    // stores and deletions of the kind are refused (told which file) until the file is back.
    if (auto f = APODI::FILESFAULT({AM, AIX, HDA, "AH.DAT", "APE.DAT"}, deletion ? j.BPR : j.R.PR, j.NEW ? NONE : j.BPR)) {
        if (stuck) *stuck = f;
        return {};
    }
    if (deletion)
        applyDelete(j);
    else
        applyStore(j, true);
    postAndClear(*J, j);
    return named(j, deletion);
}

APODI::COMPLETED RECOVER() {
    // Read first without the lock: a journal that is clear needs no lock.
    if (!APODI::JREAD(AJOURNAL, RJ::SIZE)) return {};
    UMAS::LOCK("FAPO");
    const APODI::COMPLETED c = RECOVERLOCKED();
    UMAS::UNLOC("FAPO");
    return c;
}

// ---- The files of a new company folder ------------------------------------------------------------

void makeReceiptFiles(const std::string& dir) {
    auto put = [&](const char* name, const std::string& bytes) { APODI::NEWFILE(dir, name, bytes); };
    auto words = APODI::WORDS;
    auto heads = APODI::EMPTYHEADS;
    put("AM.DAT", "");
    put("HDA.DAT", words(1, 0));
    put("AH.DAT", heads(APODI::DAYHEADS));
    put("APE.DAT", heads(APODI::PEHEADS));
    put("AI.DAT", words(size_t(NUMBERS), NONE));  // last: its presence means all are there
}

// ---- The form ----------------------------------------------------------------------------------------

void APODS::CLLS() {
    APODI::PR = NONE;
    APODI::EA.clear();
    APODI::DI.clear();
    APODI::PO.clear();
    APODI::AF.clear();
    APODI::ON.clear();
    APODI::TH1.clear();
    APODI::EG.clear();
    APODI::EF.clear();
    KD.clear();
    PS.clear();
    AI.clear();
    HM = today();
    APODI::BPI = 0;
    APODI::BOO = false;
    APODI::XN = NONE;
    REC0();
}

void APODS::SPAC() {
    HM = padTo(HM, 6);
    KD = padTo(KD, 10);
    APODI::EA = padTo(APODI::EA, 30);
    APODI::DI = padTo(APODI::DI, 40);
    APODI::PO = padTo(APODI::PO, 20);
    APODI::AF = padTo(APODI::AF, 10);
    AI = padTo(AI, 30);
}

TRECAP APODS::IMAGE() const {
    TRECAP r;
    r.KV = UMAS::S2LO(KV);
    r.HM = padTo(HM, 6);
    r.KD = padTo(KD, 10);
    r.PR = APODI::PR;
    r.EA = padTo(APODI::EA, 30);
    r.DI = padTo(APODI::DI, 30);
    r.PO = padTo(APODI::PO, 20);
    r.AF = padTo(APODI::AF, 10);
    bool ok = true;
    r.PS = STOREDPS(UMAS::EVAL(PS), r.HM, BBB, ok);
    r.AI = padTo(AI, 30);
    return r;
}

bool APODS::ALLA() const {
    const TRECAP c = IMAGE();
    const TRECAP& o = AP;
    if (c.HM != o.HM || c.KD != o.KD || c.PR != o.PR || c.EA != o.EA || c.AI != o.AI) return true;
    // The amounts compare as stored (a typed amount that does not fit counts as a change).
    bool ok = true;
    const int32_t typed = STOREDPS(UMAS::EVAL(PS), c.HM, true, ok);
    return !ok || int64_t(typed) != std::llabs(int64_t(o.PS));
}

// ---- Find and load --------------------------------------------------------------------------------

void APODS::CHO() {
    UMAS::LOCK("FAPO");
    const std::string t = UMAS::trim(KV);
    APODI::XN = t.empty() ? NONE : SLOT_LOCKED(UMAS::S2LO(t));
    UMAS::UNLOC("FAPO");
    APODI::BOO = APODI::XN != NONE;
}

void APODS::RUF(bool& ZB) {
    TRECAP r;
    UMAS::LOCK("FAPO");
    const bool there = READ_LOCKED(APODI::XN, r);
    UMAS::UNLOC("FAPO");
    ZB = false;
    if (!there) {
        // The slot was checked against the file's size a moment ago: the file was cut meanwhile.
        CLLS();
        return;
    }
    if ((r.PS > 0 && !BBB) || (r.PS < 0 && BBB)) {
        ZB = true;
        PLAT::con().bell();
        const int before = SCR::STACKPOINTER();
        SCR::CALLM(r.PS > 0 ? 66 : 67, true);
        const bool shown = SCR::STACKPOINTER() != before;
        PLAT::sleepMs(3000);
        if (shown) SCR::RECALL();
        CLLS();
        return;
    }
    AP = r;
    KV = std::to_string(r.KV);
    HM = r.HM;
    KD = r.KD;
    APODI::PR = r.PR;
    APODI::EA = r.EA;
    APODI::PO = r.PO;
    APODI::DI = r.DI;
    APODI::AF = r.AF;
    AI = r.AI;
    const double a = AMOUNT(r);
    if (TIM0::EURODOC(r.HM)) {
        char b[32];
        std::snprintf(b, sizeof b, "%.2f", a);
        PS = b;
    } else {
        PS = std::to_string(int64_t(a));
    }
    APODI::BHM = r.HM;
    APODI::BPR = r.PR;
    APODI::BPI = a;
    APODI::BON.clear();
}

// ---- Store ---------------------------------------------------------------------------------------

bool APODS::KTT() {
    SPAC();
    if (APODI::PR == NONE || blank(APODI::EA) || !ALLA()) return false;
    // The number of the receipt the form holds (a number typed but not taken is not used).
    const std::string number = UMAS::trim(BKV.empty() ? KV : BKV);
    const int32_t Z = UMAS::S2LO(number);
    if (number.empty() || Z < 0 || Z >= NUMBERS) return false;

    // Everything that can refuse the store is checked before anything is written.
    bool ok = true;
    TRECAP img = IMAGE();
    img.KV = Z;
    STOREDPS(UMAS::EVAL(PS), img.HM, BBB, ok);
    bool rateOk = true;
    const double newPost = POSTING(img, rateOk);
    double oldPost = 0;
    if (APODI::BOO) oldPost = (BBB ? 1.0 : -1.0) * drachmas(APODI::BPI, APODI::BHM, rateOk);
    if (!rateOk) {
        APODI::NOTICE42(" ΙΣΟΤΙΜΙΑ ΕΥΡΩ ΜΗΔΕΝ.", NOSTORE);
        return false;
    }
    if (!ok || !(std::fabs(TIM0::ROUND(newPost)) < 2147483647.0)) {
        APODI::NOTICE42(" ΠΟΣΟ ΕΚΤΟΣ ΟΡΙΩΝ.", NOSTORE);
        return false;
    }

    // A store or deletion stopped midway on any workstation is completed first, and told.
    APODI::TELLCOMPLETED(RECOVER());
    UMAS::LOCK("FAPO");
    APODI::FILEFAULT stuck;
    const APODI::COMPLETED late = RECOVERLOCKED(&stuck);
    // Nothing is written into receipt files with one missing or damaged; the clerk is told which.
    const APODI::FILEFAULT fault = storeFault(UMAS::HMVAL(img.HM), APODI::PR, APODI::BOO ? APODI::BPR : NONE);
    if (fault || stuck) {
        UMAS::UNLOC("FAPO");
        APODI::TELLCOMPLETED(late);
        APODI::REFUSE(stuck ? stuck : fault, NOSTORE);
        return false;
    }
    RJ j;
    j.BBB = BBB;
    j.NEW = !APODI::BOO;
    j.Z = Z;
    j.XN = APODI::XN;
    j.BHM = APODI::BHM;
    j.BPR = APODI::BPR;
    j.R = img;
    if (!APODI::BOO) {
        const int64_t records = PLAT::fileSize(data(AM)) / int64_t(TRECAP::SIZE);
        // Another workstation may have stored this number since the form was opened.
        const bool taken = SLOT_LOCKED(Z) != NONE;
        // A new record number must fit a WORD below 65000 (65000 marks an empty slot).
        const bool full = records >= NONE;
        if (taken || full) {
            UMAS::UNLOC("FAPO");
            APODI::TELLCOMPLETED(late);
            APODI::NOTICE42(taken ? " Ο ΑΡΙΘΜΟΣ ΥΠΑΡΧΕΙ ΗΔΗ." : " ΑΡΧΕΙΟ ΑΠΟΔΕΙΞΕΩΝ ΓΕΜΑΤΟ.", NOSTORE);
            return false;
        }
        PLAT::File hda(data(HDA), PLAT::File::READ);
        j.HDA0 = APODI::WORDAT(hda, 0);
        j.XN = uint16_t(records);
    }
    // The journal first (the one flushed write), then the files, then the posting: the old version
    // reversed, the new one posted; then the kind's last number. "FAPO" is held until the journal
    // is cleared, "FPEL" taken inside it.
    APODI::JOURNAL J;
    J.STATE = 1;
    if (APODI::BOO) J.CALLS[0] = {APODI::BPR, 0, -oldPost, 0, 0};
    J.CALLS[1] = {APODI::PR, 0, newPost, 0, 0};
    J.BODY = j.encode();
    APODI::JWRITE(AJOURNAL, J);
    APODI::XN = j.XN;
    const auto [dayLink, peLink] = applyStore(j, false);
    const bool posted = postAndClear(J, j);
    UMAS::UNLOC("FAPO");
    APODI::TELLCOMPLETED(late);

    AP = img;
    APODI::BOO = true;
    APODI::BHM = img.HM;
    APODI::BPR = APODI::PR;
    APODI::BPI = AMOUNT(img);

    APODI::LINKNOTICE(dayLink, true);
    APODI::LINKNOTICE(peLink, false);
    if (!posted) APODI::NOTICE42(" ΣΥΝΟΛΟ ΠΕΛΑΤΗ ΕΚΤΟΣ ΟΡΙΩΝ.", "Δεν ενημερώθηκε. Πατήστε ESC.");
    return true;
}

// ---- Delete ----------------------------------------------------------------------------------------

bool APODS::DEL() {
    if (!APODI::BOO) return false;
    bool rateOk = true;
    const double oldPost = (BBB ? 1.0 : -1.0) * drachmas(APODI::BPI, APODI::BHM, rateOk);
    if (!rateOk) {
        APODI::NOTICE42(" ΙΣΟΤΙΜΙΑ ΕΥΡΩ ΜΗΔΕΝ.", NODELETE);
        return false;
    }
    APODI::TELLCOMPLETED(RECOVER());
    UMAS::LOCK("FAPO");
    APODI::FILEFAULT stuck;
    const APODI::COMPLETED late = RECOVERLOCKED(&stuck);
    // Every file the deletion writes must be there before the first of them is written.
    const APODI::FILEFAULT fault = APODI::FILESFAULT({AIX, "AH.DAT", "APE.DAT"}, APODI::BPR, NONE);
    if (fault || stuck) {
        UMAS::UNLOC("FAPO");
        APODI::TELLCOMPLETED(late);
        APODI::REFUSE(stuck ? stuck : fault, NODELETE);
        return false;
    }
    // The receipt's own number (the number field may hold another one, typed but not taken).
    RJ j;
    j.BBB = BBB;
    j.Z = AP.KV;
    j.XN = APODI::XN;
    j.BHM = APODI::BHM;
    j.BPR = APODI::BPR;
    j.R = AP;
    APODI::JOURNAL J;
    J.STATE = 2;
    J.CALLS[0] = {APODI::BPR, 0, -oldPost, 0, 0};
    J.BODY = j.encode();
    APODI::JWRITE(AJOURNAL, J);
    applyDelete(j);
    const bool posted = postAndClear(J, j);
    UMAS::UNLOC("FAPO");
    APODI::TELLCOMPLETED(late);
    UMAS::MHNU(BKV, "NUAP", 5);
    KV.clear();
    BKV.clear();
    CLLS();
    if (!posted) APODI::NOTICE42(" ΣΥΝΟΛΟ ΠΕΛΑΤΗ ΕΚΤΟΣ ΟΡΙΩΝ.", "Δεν ενημερώθηκε. Πατήστε ESC.");
    return true;
}

bool APODS::DIAG() {
    if (!APODI::BOO) return false;
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(54, true);
    const bool shown = SCR::STACKPOINTER() != before;
    const bool yes = PRNS::YES(35, 23);
    if (shown) SCR::RECALL();
    if (!yes) return false;
    return DEL();
}

}  // namespace APOD0
