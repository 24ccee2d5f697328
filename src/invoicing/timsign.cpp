// Printing an invoice copy by copy on its series' printer, each copy of a signing series first given
// its fiscal mark (a new signature, a signature fetched again, or the mark of a faulty device),
// the mark stored at once.
#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace TIM {

namespace {

using UMAS::padTo;

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// The two lines of mask 42 until Esc.
void notice(const char* l22, const char* l23) {
    APODI::MESSAGE42(padTo(PLAT::gr(l22), 36), padTo(PLAT::gr(l23), 36));
}

// The identity of the document in a signing request.
struct GENPAR {
    int32_t ID = 0;
    std::string SEIRA;
    int32_t PNUM = 0;
    std::string PKIND;
    int32_t DATE = 0;
};

GENPAR LOADPARAST(int KIND) {
    GENPAR g;
    g.ID = int32_t(TIM0::ROUND(UMAS::EVAL(TIM0::TM)));
    g.SEIRA = TIM0::SEIRA;
    g.PNUM = g.ID;
    g.PKIND = KIND == 1 ? "A" + PLAT::gr("ΤΠΥ") : PLAT::gr("ΤΠΥ");
    const std::string& H = TIM0::HM;
    g.DATE = H.size() >= 6 ? UMAS::S2DATE(H.substr(0, 2) + "/" + H.substr(2, 2) + "/" + H.substr(4, 2)) : 0;
    return g;
}

// The progress box (mask 86): three rows of 52 columns from column 15.
struct Progress {
    bool shown = false, kept = false;
    void open() {
        // The message bar and the key legend as they stand: the line of a parameter file missing
        // at the print goes there, at the cursor, and the rows come back when the box closes.
        int before = SCR::STACKPOINTER();
        SCR::SAVE(1, 23, PLAT::SCREEN_W, PLAT::SCREEN_H);
        kept = SCR::STACKPOINTER() != before;
        PLAT::con().gotoXY(1, 23);
        before = SCR::STACKPOINTER();
        SCR::CALLM(86, true);
        shown = SCR::STACKPOINTER() != before;
        row(11, PLAT::gr("Εκδοση παραστατικού"));
        row(12, "");
        row(13, "");
    }
    void row(int y, const std::string& cp737) {
        SCR::PRINT(15, y, UMAS::CENTE(cp737, 52));
        PLAT::con().refresh();
    }
    void close() {
        if (shown) SCR::RECALL();
        if (kept) SCR::RECALL();
        shown = kept = false;
    }
};

const char* const PORTS[7] = {"", "LPT1", "LPT2", "LPT3", "COM1", "COM2", "USB"};

}  // namespace

int32_t AKAR() {
    auto b = PLAT::readWhole(UMAS::PATH + "AKAR.DAT");
    if (!b || b->size() < 4) return 0;
    return PLAT::getL(reinterpret_cast<const uint8_t*>(b->data()));
}

void SETAKAR(int32_t n) {
    std::string b(4, '\0');
    PLAT::putL(reinterpret_cast<uint8_t*>(b.data()), n);
    PLAT::writeWholeAtomic(UMAS::PATH + "AKAR.DAT", b);
}

bool TIMOS::PRINTPARAST(int KIND) {
    // Row 1 of the rate table as the store fills it (a document just stored is unchanged by it).
    TIM0::FILLROW1();
    const bool signedDoc = PAIPS[1] != 0;
    if (KIND == 0 && signedDoc && ALLA()) {
        notice("ΔΕΝ ΜΠΟΡΕΙ ΝΑ ΓΙΝΕΙ ΕΠΑΝΕΚΤΥΠΩΣΗ", "  ΕΓΙΝΑΝ ΑΛΛΑΓΕΣ!  Πατήστε ESC  ");
        return false;
    }
    // Only a stored document with its customer is printed (and signed).
    if (!APODI::BOO || APODI::PR == 65000 || blank(APODI::EA) || (!signedDoc && ALLA())) {
        notice(" ΤΟ ΠΑΡΑΣΤΑΤΙΚΟ ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ.", "Καταχωρήστε το πρώτα. Πατήστε ESC.");
        return false;
    }

    const int before = SCR::STACKPOINTER();
    SCR::CALLM(55, true);
    const bool asked = SCR::STACKPOINTER() != before;
    auto restore = [&] {
        if (asked) SCR::RECALL();
    };
    const char* q = nullptr;
    if (KIND == 1)
        q = AKPAIP != 0 || R0.AKNUM != 0 ? " ΝΑ ΞΑΝΑΤΥΠΩΘΕΙ ΤΟ ΑΚΥΡΩΤΙΚΟ (Ν/Ο);"
            : TYPOSPARAST == 2           ? "ΝΑ ΤΥΠΩΘΕΙ ΑΚΥΡΩΤΙΚΟ ΠΙΣ.ΤΙΜ (Ν/Ο);"
                                         : " ΝΑ ΕΚΤΥΠΩΘΕΙ ΑΚΥΡΩΤΙΚΟ ΤΠΥ (Ν/Ο); ";
    else if (signedDoc)
        q = "    ΝΑ ΓΙΝΕΙ ΕΠΑΝΕΚΤΥΠΩΣΗ  ";
    if (q) SCR::PRINT(2, 23, padTo(PLAT::gr(q), 42));
    if (!PRNS::YES(37, 23)) {
        restore();
        return false;
    }
    const GENPAR G = LOADPARAST(KIND);

    // The document's series.
    PARAMS::RECSEIRES SR;
    bool found = false;
    UMAS::LOCK("FPAR");
    auto img = PLAT::readWhole(UMAS::PATH + SERIESFILE());
    UMAS::UNLOC("FPAR");
    if (img && img->size() >= PARAMS::SEIRES_SIZE) {
        const PARAMS::SEIRESTABLE t = PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(img->data()));
        if (TIM0::SEIRA.empty()) {
            SR = t[0];
            found = true;
        } else {
            for (int i = 1; i < PARAMS::SEIRES_SLOTS; ++i)
                if (t[size_t(i)].SEIRA == TIM0::SEIRA) {
                    SR = t[size_t(i)];
                    found = true;
                }
        }
    }
    if (!found) {
        notice(" ΑΓΝΩΣΤΗ ΣΕΙΡΑ ΤΙΜΟΛΟΓΙΩΝ.", "ΔΕΝ ΓΙΝΕΤΑΙ ΕΚΤΥΠΩΣΗ. Πατήστε ESC.");
        restore();
        return false;
    }
    if (SR.PORTA < 1 || SR.PORTA > 6) {
        notice(" ΑΓΝΩΣΤΗ ΘΥΡΑ ΕΚΤΥΠΩΣΗΣ ΣΕΙΡΑΣ.", "ΔΕΝ ΓΙΝΕΤΑΙ ΕΚΤΥΠΩΣΗ. Πατήστε ESC.");
        restore();
        return false;
    }
    const bool signing = SR.FORMIX == 1;
    if (signing) {
        if (KIND == 0 && !signedDoc && G.ID != SR.AA) {
            notice("  ΔΕΝ ΜΠΟΡΕΙ ΝΑ ΓΙΝΕΙ ΕΚΤΥΠΩΣΗ  ", "ΛΑΘΟΣ ΑΡΙΘ.ΤΙΜ/ΓΙΟΥ! Πατήστε ESC");
            restore();
            return false;
        }
        if (FORMIX::FORMIXBAD == 1) {
            const int b2 = SCR::STACKPOINTER();
            SCR::CALLM(42, true);
            const bool shown = SCR::STACKPOINTER() != b2;
            SCR::PRINT(3, 22, padTo(PLAT::gr("      Δηλώσατε Βλάβη ΕΑΦΔΣΣ.     "), 36));
            SCR::PRINT(2, 23, padTo(PLAT::gr("Να εκτυπωθεί χωρίς Σήμανση (Ν/Ο);"), 37));
            const bool yes = PRNS::YES(35, 23);
            if (shown) SCR::RECALL();
            if (!yes) {
                restore();
                return false;
            }
        }
        SCR::PRINT(2, 23, padTo(PLAT::gr("    Το παραστατικό εκτυπώνεται ... "), 42));
    }

    Progress box;
    box.open();
    PRNS::PRNM P = nullptr;
    PRNS::TABM T = nullptr;
    PRNS::SET_PETIMOL(SR.EMUL, P, T);
    const std::string port = PORTS[SR.PORTA];
    // A signing series has a mark for four copies.
    int copies = SR.POLAP == 0 ? 1 : SR.POLAP;
    if (signing && copies > 4) copies = 4;

    for (int n = 1; n <= copies; ++n) {
        box.row(13, PLAT::gr("Αντίγραφο Νο") + UMAS::RIJU(std::to_string(n), 2));
        FORMIX::EAFDSSREC DRV;
        DRV.CP = PLAT::gr(n == 1 ? "ΠΡΩΤΟΤΥΠΟ" : "ΑΝΤΙΓΡΑΦΟ");
        if (signing) {
            // The mark of this copy.
            int32_t mark = KIND == 1 ? AKPAIP : PAIPS[size_t(n)];
            if (mark == 0 && FORMIX::FORMIXBAD == 1) mark = -1;
            // Keeps the copy's mark in the document and stores it. A refused store (a file of the
            // store gone or damaged since the document was stored) prints nothing and gives the
            // document back as stored, so that it can be printed again once the file is back.
            auto update = [&] {
                box.row(12, PLAT::gr("Καταχώρηση σήμανσης στο παρ/κό"));
                int32_t& held = KIND == 1 ? AKPAIP : PAIPS[size_t(n)];
                const int32_t before = held;
                held = DRV.AATOTAL;
                if (!KTT(false, false) && ALLA()) {
                    held = before;
                    return false;
                }
                // The cancellation's number is used up once the document holds it.
                if (KIND == 1 && AKNUM > AKAR()) SETAKAR(AKNUM);
                return true;
            };
            std::string device;
            int16_t rc = 0;
            if (mark < 0) {
                box.row(11, PLAT::gr("Σήμανση ΧΩΡΙΣ ΕΑΦΔΣΣ"));
                DRV.AATOTAL = mark;
                if (!update()) rc = -1;
            } else if (mark == 0) {
                box.row(11, PLAT::gr("Αίτηση σήμανσης στην ΕΑΦΔΣΣ"));
                const std::string fname = FORMIX::GETGUID(FORMIX::FMAPPID) + ".tmp";
                EKTY(KIND, SR, fname, PRNS::PRNNONE, PRNS::TABNONE, FORMIX::EAFDSSREC{});
                FORMIX::FORMIXSN.clear();
                rc = FORMIX::GETSIGNATURE(fname, UMAS::DATE2S(G.DATE), G.PKIND, UMAS::LEJU(G.SEIRA, 3), G.PNUM,
                                          FORMIX::FMAPPID, KIND, G.ID, SIGNTIMEOUT, DRV.AASERVER, DRV.CODESERVER,
                                          DRV.CODEDEV, device, DRV.DATES, DRV.TIMES, DRV.AADAY, DRV.AATOTAL, DRV.AAZ,
                                          DRV.SIG, DRV.SIGPRN);
                if (rc == 0) {
                    FORMIX::FORMIXSN = UMAS::cut(device, 15);
                    if (!update()) rc = -1;
                }
            } else {
                box.row(11, PLAT::gr("Αναζήτηση σήμανσης στην ΕΑΦΔΣΣ"));
                FORMIX::FORMIXSN.clear();
                rc = FORMIX::GETOLDSIGNATURE(mark, FORMIX::FMAPPID, KIND, G.ID, SIGNTIMEOUT, DRV.AASERVER,
                                             DRV.CODESERVER, DRV.CODEDEV, device, DRV.DATES, DRV.TIMES, DRV.AADAY,
                                             DRV.AAZ, DRV.SIG, DRV.SIGPRN);
                DRV.AATOTAL = mark;
                if (rc == 0) FORMIX::FORMIXSN = UMAS::cut(device, 15);
            }
            if (rc != 0) {
                box.close();
                restore();
                return false;
            }
        }
        EKTY(KIND, SR, port, P, T, DRV);
    }
    box.close();
    restore();
    return true;
}

}  // namespace TIM
