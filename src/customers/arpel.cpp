// The customers menu and the customer editor.
#include "customers/arpel.h"

#include <set>

#include "common/umas.h"
#include "customers/arp0.h"
#include "customers/pelat.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "reports/arp1.h"
#include "reports/arp2.h"
#include "reports/arp3.h"
#include "screen/scr.h"

namespace ARPEL {

std::string ON, AF, DI, PO, TK, EP, SX, EF;
std::string TH[2];
uint8_t DK = 0;

// ---- Invoice chains of a customer ---------------------------------------------------------------

namespace {

// Walks customer n's chain in "TPE.DAT" (4-byte nodes {HR, NR}), calling visit(node, HR) for each
// node. Bounded: only inside the file, at most one visit per node, links only into the appended
// area after the heads.
template <typename Visit>
void walkChain(PLAT::File& f, uint16_t n, Visit visit) {
    const int64_t nodes = f.size() / 4;
    if (n >= TPE_HEADS || int64_t(n) >= nodes) return;
    std::set<int64_t> seen;
    int64_t k = n;
    for (;;) {
        if (!seen.insert(k).second) return;
        uint8_t b[4];
        f.readAt(k * 4, b, 4);
        visit(k, PLAT::getW(b));
        const int64_t next = PLAT::getW(b + 2);
        if (next == 0 || next < TPE_HEADS || next >= nodes) return;
        k = next;
    }
}

}  // namespace

bool hasInvoices(uint16_t n) {
    PLAT::File f;
    if (!f.open(UMAS::PATH + "TPE.DAT", PLAT::File::READ, false)) return false;
    bool live = false;
    walkChain(f, n, [&](int64_t, uint16_t HR) { live = live || HR < ARP0::NONE; });
    return live;
}

void clearInvoiceChain(uint16_t n) {
    PLAT::File f;
    if (!f.open(UMAS::PATH + "TPE.DAT", PLAT::File::READWRITE, false)) return;
    walkChain(f, n, [&](int64_t k, uint16_t HR) {
        if (HR == ARP0::NONE) return;
        uint8_t b[2];
        PLAT::putW(b, ARP0::NONE);
        f.writeAt(k * 4, b, 2);
    });
}

// ---- The customer editor ------------------------------------------------------------------------

namespace {

std::string gr(const char* s) { return PLAT::gr(s); }

struct Field {
    std::string* v;
    int x, y, w;
    int set;  // 0 every character from 32, 1 digits, 2 digits and "-"
};

class Editor {
public:
    explicit Editor(int MN) : MN_(MN) {}

    void run() {
        if (MN_ == 1) {
            SCR::PRINT(13, 21, "EORI    ");
            SCR::PRINT(26, 1, gr("ΕΞΩΤΕΡΙΚΟΥ ╞"));
            UMAS::ATR(12, 21, 6, 14);
        }
        ARP0::EA.clear();
        CLLS();
        ARP0::R0 = ARP0::RR0{};
        ARP0::BOO = ARP0::BRF = ARP0::BLO = false;
        ARP0::HH = ARP0::NONE;
        SCR::CALLM(2, true);
        UMAS::FKEY({1, 2, 3}, ARP0::GM1);
        namePrompt();
        if (ARP0::BLO) SCR::RECALL();
        ARP0::BLO = false;
        SCR::RECALL();  // mask 2
        SCR::RECALL();  // mask 7 of the menu
    }

private:
    int MN_;

    // The name prompt, until Esc (here or in a field).
    void namePrompt() {
        for (;;) {
            if (ARP0::BLO) {
                SCR::RECALL();
                ARP0::BLO = false;
            }
            const std::string remembered = ARP0::EA;
            const bool wasStored = ARP0::BOO, wasRead = ARP0::BRF;
            SCR::CALLM(20, true);
            int K = 0;
            std::string s = SCR::GINPUT(27, 3, 30, UMAS::CUTLEADSPACES(ARP0::EA), "", ARP0::SAB(), false, true, K);
            SCR::RECALL();
            if (K == 3) return;
            if ((s.empty() || s[0] == ' ') && K != 2 && K != 6 && K != 11) continue;
            s = ARP0::FOLD(s);
            if (!s.empty() && (s[0] == ' ' || s[0] == '&' || s[0] == '-' || s[0] == '.' || s[0] == '/')) {
                if (K == 0 || K == 7) {
                    PLAT::con().bell();
                    continue;
                }
                if (K == 2) s[0] = char(0x80);  // Greek capital alpha
            }
            ARP0::EA = ARP0::KEY(s);
            const bool changed = ARP0::EA != remembered;
            if (changed) {
                ARP0::BRF = false;
                if (K == 0)
                    ARP0::CHO(MN_);
                else
                    ARP0::BOO = false;
            }
            switch (K) {
            case 0:
                if (ARP0::BOO && !ARP0::BRF)
                    RUF();
                else if (!ARP0::BOO && changed)
                    BOX();
                if (fields()) return;
                break;
            case 2: browse(); break;
            case 6: {
                uint16_t PR = ARP0::NONE;
                ARP0::RR0 chosen;
                PELAT::ALPHAPEL(s, MN_, PR, &chosen);
                if (PR == ARP0::NONE) {
                    // Nothing chosen: the customer current before stays current.
                    ARP0::EA = remembered;
                    ARP0::BOO = wasStored;
                    ARP0::BRF = wasRead;
                    SCR::PRINT(27, 3, ARP0::SPS);
                    SCR::PRINT(27, 3, ARP0::EA);
                    break;
                }
                ARP0::XN = PR;
                RUF();
                ARP0::BOO = true;
                if (fields()) return;
                break;
            }
            case 7: KTT(); break;
            default: break;
            }
        }
    }

    // Reads customer XN into R0, the fields and the name, and shows it; false when XN lies beyond
    // the record file.
    bool RUF() {
        ARP0::RR0 r;
        if (!ARP0::readRecord(MN_, ARP0::XN, r)) return false;
        ARP0::R0 = r;
        ARP0::EA = ARP0::KEY(r.EA);
        ON = r.ON;
        AF = r.AF;
        DI = r.DI;
        PO = r.PO;
        TK = r.TK;
        TH[0] = r.TH[0];
        TH[1] = r.TH[1];
        EP = r.EP;
        SX = r.SX;
        EF = r.EF;
        DK = r.DK;
        BOX();
        ARP0::BRF = true;
        ARP0::HH = ARP0::XN;
        return true;
    }

    // Blanks the field area: 40 blanks from column 27 on rows 5, 7, ..., 21.
    static void XOX() {
        for (int y = 5; y <= 21; y += 2) SCR::PRINT(27, y, std::string(40, ' '));
    }

    static void BOX() {
        XOX();
        SCR::PRINT(27, 3, ARP0::SPS);
        SCR::PRINT(27, 3, ARP0::EA);
        SCR::PRINT(27, 5, ON);
        SCR::PRINT(27, 7, AF);
        SCR::PRINT(27, 9, DI);
        SCR::PRINT(27, 11, PO);
        SCR::PRINT(27, 13, TK);
        SCR::PRINT(27, 15, TH[0]);
        SCR::PRINT(41, 15, TH[1]);
        SCR::PRINT(27, 17, EP);
        SCR::PRINT(27, 19, EF);
        SCR::PRINT(27, 21, SX);
    }

    static void CLLS() {
        ON.clear();
        AF.clear();
        DI.clear();
        PO.clear();
        TK.clear();
        TH[0].clear();
        TH[1].clear();
        EP.clear();
        SX.clear();
        EF.clear();
        DK = 0;
    }

    // Changed against the record buffer?
    static bool ALLA() {
        const ARP0::RR0& r = ARP0::R0;
        return AF != r.AF || ON != r.ON || DI != r.DI || PO != r.PO || TK != r.TK || TH[0] != r.TH[0] ||
               TH[1] != r.TH[1] || EP != r.EP || SX != r.SX || EF != r.EF;
    }

    // Stores the customer shown. A stored customer whose details equal the buffer is not written;
    // a new name is always stored.
    void KTT() {
        if (ARP0::BOO && !ALLA()) return;
        ARP0::RR0 c;
        c.EA = ARP0::EA;
        c.AF = AF;
        c.ON = ON;
        c.DI = DI;
        c.PO = PO;
        c.TK = TK;
        c.TH = {TH[0], TH[1]};
        c.EP = EP;
        c.SX = SX;
        c.EF = EF;
        c.DK = DK;
        const ARP0::Stored st = ARP0::STORE(MN_, c);
        if (st == ARP0::Stored::WRITTEN || st == ARP0::Stored::UNCHANGED) {
            ARP0::BRF = true;
            return;
        }
        PRNS::REPORT(ARP0::storedMessage(st));
    }

    // Shows customer n (entry e at position pos) as the current customer; nothing changes when its
    // record cannot be read.
    void showCurrent(const ARP0::RR3& e, int32_t pos) {
        if (e.RE < 0 || e.RE >= ARP0::NONE) return;
        const uint16_t was = ARP0::XN;
        ARP0::XN = uint16_t(e.RE);
        if (!RUF()) {
            ARP0::XN = was;
            return;
        }
        ARP0::DA = e;
        ARP0::RN = pos;
        ARP0::BOO = true;
    }

    // Down at the name prompt.
    void browse() {
        ARP0::BRF = false;
        if (ARP0::EMPTY(MN_)) {
            SCR::CALLM(37, true);
            ARP0::WAIT(2000);
            SCR::RECALL();
            return;
        }
        const int32_t bucket = std::max<int32_t>(ARP0::bucketOf(ARP0::EA), 0);
        int32_t from = bucket;
        if (ARP0::BOO) {
            // The current customer's own entry, read again (another workstation may have linked a
            // name after it meanwhile): where it was shown from, or found again by name.
            const uint16_t shown = ARP0::HH;
            ARP0::RR3 next;
            int32_t at = ARP0::nextInChain(MN_, ARP0::RN, shown, next);
            if (at < 0 && ARP0::CHO(MN_) && ARP0::XN == shown) at = ARP0::nextInChain(MN_, ARP0::RN, shown, next);
            if (at > 0) {
                showCurrent(next, at);
                return;
            }
            if (at == 0)
                from = bucket + 1;
            else
                ARP0::BOO = false;
        }
        ARP0::RR3 e;
        const int32_t pos = ARP0::firstOfChainsFrom(MN_, from, e);
        if (pos > 0) {
            showCurrent(e, pos);
            return;
        }
        ARP0::F0.open(ARP0::fileName(MN_, "IF"), PLAT::File::READ);
        ARP0::F1.open(ARP0::fileName(MN_, "MF"), PLAT::File::READ);
        ARP0::RN = 0;
        ARP0::HOP();
        ARP0::F0.close();
        ARP0::F1.close();
        if (ARP0::RN > 0) showCurrent(ARP0::DA, ARP0::RN);
    }

    // The fields of the customer shown; true when the editor is to be left (Esc).
    bool fields() {
        if (ARP0::BOO) {
            SCR::CALLM(39, true);
        } else {
            SCR::CALLM(38, true);
            XOX();
            CLLS();
        }
        ARP0::BLO = true;
        const Field F[10] = {{&ON, 27, 5, 40, 0},     {&AF, 27, 7, 10, 0},     {&DI, 27, 9, 40, 0},
                             {&PO, 27, 11, 40, 0},    {&TK, 27, 13, 6, 1},     {&TH[0], 27, 15, 13, 2},
                             {&TH[1], 41, 15, 13, 2}, {&EP, 27, 17, 30, 0},    {&EF, 27, 19, 30, 0},
                             {&SX, 27, 21, 30, 0}};
        static const SCR::SOC sets[3] = {SCR::socAll(), SCR::socDigits(), SCR::soc("0123456789-")};
        int i = 0;
        for (;;) {
            const Field& f = F[i];
            int K = 0;
            std::string s = SCR::GINPUT(f.x, f.y, f.w, *f.v, "", sets[f.set], false, true, K);
            if (K != 3) *f.v = s;
            switch (K) {
            case 0:
            case 2:
                if (i < 9) ++i;
                break;
            case 1:
                if (i == 0) return false;
                --i;
                break;
            case 3: return true;
            case 7: KTT(); return false;
            case 11:
                if (DIAG()) return false;
                break;
            default: break;
            }
        }
    }

    // F5 in a field: the delete dialog. True when the customer was deleted.
    bool DIAG() {
        if (!ARP0::BOO) return false;
        const uint16_t n = ARP0::HH;
        const bool invoices = MN_ == 0 && hasInvoices(n);
        SCR::CALLM(invoices ? 45 : 44, true);
        if (!PRNS::YES(34, 23)) {
            SCR::RECALL();
            return false;
        }
        if (MN_ == 0) UMAS::LOCK("FTIM");
        UMAS::LOCK("FPEL");
        const bool found = ARP0::DEL(MN_, n, ARP0::EA);
        if (found) {
            ARP0::addDeleted(MN_, n);
            if (MN_ == 0) clearInvoiceChain(n);
        }
        UMAS::UNLOC("FPEL");
        if (MN_ == 0) UMAS::UNLOC("FTIM");
        if (!found) {
            // Not in its name chain (deleted meanwhile, or a damaged index): nothing was deleted,
            // and the customer stays shown.
            SCR::RECALL();
            PRNS::REPORT(gr("Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ ΣΤΟ ΕΥΡΕΤΗΡΙΟ - ΔΕΝ ΔΙΑΓΡΑΦΗΚΕ"));
            return false;
        }
        CLLS();
        XOX();
        ARP0::EA = ARP0::SPS;
        SCR::PRINT(27, 3, ARP0::SPS);
        ARP0::BOO = false;
        ARP0::BRF = false;
        ARP0::HH = ARP0::NONE;
        SCR::RECALL();
        return true;
    }
};

}  // namespace

void STPE(int MN) { Editor(MN == 1 ? 1 : 0).run(); }

// ---- The customers menu -------------------------------------------------------------------------

void PELA() {
    const PLAT::DateTime t = PLAT::now();
    ARP0::E = uint16_t(t.year);
    ARP0::M = uint16_t(t.month);
    ARP0::H = uint16_t(t.day);
    ARP0::D = uint16_t(PLAT::weekday(t.year, t.month, t.day));
    SCR::CALLM(6, true);
    SCR::CALLM(2, true);
    ARP0::arrows(5);
    UMAS::FKEY({1, 5, 6}, ARP0::GM1);
    static const int TITLE[13] = {7, 7, 22, 24, 9, 46, 46, 46, 47, 11, 10, 12, 12};
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 22, 0, 7, 1, 35, 12, 0, 0, LI, CO, SE, KK, UMAS::PE_LIST);
        if (KK == 3) break;
        if (KK != 0 || LI < 0 || LI > 12) continue;
        SCR::CALLM(TITLE[LI], true);
        switch (LI) {
        case 0: STPE(0); break;
        case 1: STPE(1); break;
        case 2: ARP2::KARP(); break;
        case 3: ARP3::YPOP(); break;
        case 4: ARP2::TIMP(); break;
        case 5: ARP1::KIPR(4); break;
        case 6: ARP3::KONDYL(); break;
        case 7: ARP1::KIPR(5); break;
        case 8: ARP3::KPPR(); break;
        case 9: ARP1::PLPR(); break;
        case 10: ARP1::PRPL(); break;
        case 11: ARP3::PRPE(10); break;
        case 12: ARP3::PRPE(11); break;
        default: break;
        }
        UMAS::FKEY({1, 5, 6}, ARP0::GM1);
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARPEL
