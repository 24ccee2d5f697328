// The file work of the invoice and credit-note stores and deletions, from their journal, and the
// completion of one that was stopped midway.
#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace TIM {

namespace {

constexpr uint16_t NONE = 65000;

TIMOS namesOf(const TIMJ& j) {
    TIMOS t(j.KIND);
    t.FSEIR = j.FSEIR;
    return t;
}

APODI::COMPLETED named(const TIMJ& j, bool deletion) {
    std::string doc = PLAT::gr(j.KIND == 2 ? "ΠΙΣΤΩΤΙΚΟ" : "ΤΙΜΟΛΟΓΙΟ");
    if (!j.R.SEIRA.empty()) doc += " " + j.R.SEIRA;
    doc += " " + std::to_string(j.Z);
    return {doc, deletion, j.KIND == 2 ? "SM.DAT" : "TM.DAT"};
}

}  // namespace

std::string TIMJ::encode() const {
    std::string b(SIZE, '\0');
    uint8_t* p = reinterpret_cast<uint8_t*>(b.data());
    PLAT::putB(p, KIND);
    PLAT::putB(p + 1, NEW ? 1 : 0);
    PLAT::putB(p + 2, POP);
    PLAT::putW(p + 3, STACKN);
    PLAT::putW(p + 5, HDT0);
    PLAT::putB(p + 7, CHECKPAIP ? 1 : 0);
    PLAT::putB(p + 8, APOALLAGI ? 1 : 0);
    PLAT::putS(p + 9, 2, FSEIR);
    PLAT::putL(p + 12, Z);
    PLAT::putW(p + 16, XN);
    PLAT::putS(p + 18, 6, BHM);
    PLAT::putW(p + 25, BPR);
    R.encode(p + 27);
    return b;
}

TIMJ TIMJ::decode(const std::string& b) {
    TIMJ j;
    if (b.size() < SIZE) return j;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(b.data());
    j.KIND = PLAT::getB(p) == 2 ? 2 : 0;
    j.NEW = PLAT::getB(p + 1) != 0;
    j.POP = PLAT::getB(p + 2);
    j.STACKN = PLAT::getW(p + 3);
    j.HDT0 = PLAT::getW(p + 5);
    j.CHECKPAIP = PLAT::getB(p + 7) != 0;
    j.APOALLAGI = PLAT::getB(p + 8) != 0;
    j.FSEIR = PLAT::getS(p + 9, 2);
    j.Z = PLAT::getL(p + 12);
    j.XN = PLAT::getW(p + 16);
    j.BHM = PLAT::getS(p + 18, 6);
    j.BPR = PLAT::getW(p + 25);
    j.R = TIM0::RTIM::decode(p + 27);
    return j;
}

std::pair<APODI::LINKED, APODI::LINKED> APPLYSTORE(const TIMJ& j, bool RECOVERING) {
    const TIMOS t = namesOf(j);
    if (j.NEW) {
        // The record taken: the stack's count lowered, or the counter raised for an appended one.
        if (j.POP & 1) {
            PLAT::File st(UMAS::PATH + t.STACKFILE(), PLAT::File::READWRITE);
            APODI::PUTWORDAT(st, 0, uint16_t(j.STACKN - 1));
            st.close();
            APODI::STEP();
        }
        if (j.POP & 2) {
            PLAT::File hdt(UMAS::PATH + "HDT.DAT", PLAT::File::READWRITE);
            APODI::PUTWORDAT(hdt, 0, uint16_t(j.HDT0 + 1));
            hdt.close();
            APODI::STEP();
        }
    }

    // "DAPANES.TXT": the highest expenses-statement number used.
    if (TIM0::DAPANES() < UMAS::EVAL(j.R.NO[8])) {
        PLAT::writeWholeAtomic(UMAS::PATH + "DAPANES.TXT", j.R.NO[8] + "\r\n");
        APODI::STEP();
    }

    // The series' next number: it only grows, to one above the number stored.
    UMAS::LOCK("FPAR");
    {
        const std::string sf = UMAS::PATH + t.SERIESFILE();
        auto img = PLAT::readWhole(sf);
        if (!img || img->size() < PARAMS::SEIRES_SIZE) PLAT::fatal("read", sf, "series file missing or short");
        PARAMS::SEIRESTABLE s = PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(img->data()));
        int K = 0;
        if (!j.R.SEIRA.empty())
            for (int i = 1; i < PARAMS::SEIRES_SLOTS; ++i)
                if (s[size_t(i)].SEIRA == j.R.SEIRA) K = i;
        if (!j.APOALLAGI && j.Z >= s[size_t(K)].AA && (s[size_t(K)].FORMIX == 0 || !j.CHECKPAIP)) {
            s[size_t(K)].AA = j.Z + 1;
            std::string out = *img;
            PARAMS::encodeSEIRES(s, reinterpret_cast<uint8_t*>(out.data()));
            PLAT::writeWholeAtomic(sf, out);
            APODI::STEP();
        }
    }
    UMAS::UNLOC("FPAR");

    // The record, then its index entry, then the chains.
    {
        uint8_t b[TIM0::RTIM::SIZE];
        j.R.encode(b);
        PLAT::File rec(UMAS::PATH + t.RECFILE(), PLAT::File::READWRITE);
        rec.writeAt(int64_t(j.XN) * int64_t(TIM0::RTIM::SIZE), b, sizeof b);
        rec.close();
        APODI::STEP();
    }
    if (j.NEW) {
        PLAT::File ix(UMAS::PATH + t.INDEXFILE(), PLAT::File::READWRITE);
        APODI::PUTWORDAT(ix, j.Z, j.XN);
        ix.close();
        APODI::STEP();
    }
    auto link = [RECOVERING](const std::string& S, uint16_t N, int32_t K) {
        return RECOVERING ? APODI::ENSURELINK(S, N, K) : APODI::LINK(S, N, K);
    };
    if (!j.NEW && UMAS::HMVAL(j.BHM) > 0) {
        APODI::UNLINK(t.DAYCHAIN(), j.XN, UMAS::HMVAL(j.BHM));
        APODI::STEP();
    }
    const APODI::LINKED day = link(t.DAYCHAIN(), j.XN, UMAS::HMVAL(j.R.HM));
    APODI::STEP();
    if (!j.NEW) {
        APODI::UNLINK(t.PECHAIN(), j.XN, j.BPR);
        APODI::STEP();
    }
    const APODI::LINKED pe = link(t.PECHAIN(), j.XN, j.R.PR);
    APODI::STEP();
    return {day, pe};
}

void APPLYDELETE(const TIMJ& j) {
    const TIMOS t = namesOf(j);
    // What names the record goes first (index entry, chain nodes); the record is freed last, so
    // that an interrupted deletion never leaves a record that is both in use and free.
    if (j.Z >= 0 && j.Z < 100000) {
        PLAT::File ix(UMAS::PATH + t.INDEXFILE(), PLAT::File::READWRITE);
        if (ix.size() >= int64_t(j.Z + 1) * 2 && APODI::WORDAT(ix, j.Z) == j.XN) APODI::PUTWORDAT(ix, j.Z, NONE);
        ix.close();
        APODI::STEP();
    }
    if (UMAS::HMVAL(j.BHM) > 0) APODI::UNLINK(t.DAYCHAIN(), j.XN, UMAS::HMVAL(j.BHM));
    APODI::STEP();
    APODI::UNLINK(t.PECHAIN(), j.XN, j.BPR);
    APODI::STEP();
    {
        PLAT::File st(UMAS::PATH + t.STACKFILE(), PLAT::File::READWRITE);
        const uint16_t N = uint16_t(j.STACKN + 1);
        APODI::PUTWORDAT(st, N, j.XN);
        APODI::STEP();
        APODI::PUTWORDAT(st, 0, N);
        APODI::STEP();
    }
}

APODI::COMPLETED RECOVERLOCKED(APODI::FILEFAULT* stuck) {
    auto J = APODI::JREAD(TJOURNAL, TIMJ::SIZE);
    if (!J) return {};
    const TIMJ j = TIMJ::decode(J->BODY);
    const bool deletion = J->STATE == 2;
    // With one of its files missing or without its customers the journal is left as it is, and the
    // stores and deletions of the kind are refused (told which file) until the file is back.
    const TIMOS t = namesOf(j);
    if (auto f = APODI::FILESFAULT({t.RECFILE(), t.INDEXFILE(), t.STACKFILE(), "HDT.DAT", t.SERIESFILE(),
                                    t.DAYCHAIN() + ".DAT", t.PECHAIN() + ".DAT"},
                                   deletion ? j.BPR : j.R.PR, j.NEW ? NONE : j.BPR)) {
        if (stuck) *stuck = f;
        return {};
    }
    if (deletion)
        APPLYDELETE(j);
    else
        APPLYSTORE(j, true);
    UMAS::LOCK("FPEL");
    APODI::JPOST(TJOURNAL, *J);
    APODI::JCLEAR(TJOURNAL);
    UMAS::UNLOC("FPEL");
    return named(j, deletion);
}

APODI::COMPLETED RECOVER() {
    // Read first without the lock: a journal that is clear needs no lock.
    if (!APODI::JREAD(TJOURNAL, TIMJ::SIZE)) return {};
    UMAS::LOCK("FTIM");
    const APODI::COMPLETED c = RECOVERLOCKED();
    UMAS::UNLOC("FTIM");
    return c;
}

}  // namespace TIM
