// The numbering series of invoices and credit notes: the series editor on masks 95, 87 and 58, and
// the per-series number indexes and credit-note files it creates on request.
#include "config/params.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace PARAMS {

SEIRESTABLE decodeSEIRES(const uint8_t* p) {
    SEIRESTABLE t;
    for (int i = 0; i < SEIRES_SLOTS; ++i) t[size_t(i)] = RECSEIRES::decode(p + size_t(i) * RECSEIRES::SIZE);
    return t;
}

void encodeSEIRES(const SEIRESTABLE& t, uint8_t* p) {
    for (int i = 0; i < SEIRES_SLOTS; ++i) t[size_t(i)].encode(p + size_t(i) * RECSEIRES::SIZE);
}

std::string SEIRES_FILE(int MN) {
    switch (MN) {
    case 0: return "SEIRES";
    case 1: return "PSEIRES";
    default: return "ISEIRES";
    }
}

namespace {

bool greekCapital(uint8_t c) { return c >= 0x80 && c <= 0x97; }  // Α..Ω in code page 737

std::string words(size_t n, uint16_t v) {
    std::string s(2 * n, '\0');
    for (size_t i = 0; i < n; ++i) {
        s[2 * i] = char(v & 0xFF);
        s[2 * i + 1] = char(v >> 8);
    }
    return s;
}

// n chain nodes {HR WORD 65000, NR WORD 0}.
std::string emptyNodes(size_t n) {
    std::string s(4 * n, '\0');
    for (size_t i = 0; i < n; ++i) {
        s[4 * i] = char(65000 & 0xFF);
        s[4 * i + 1] = char(65000 >> 8);
    }
    return s;
}

constexpr size_t INDEX_SLOTS = 100000;  // one WORD per document number
constexpr size_t SH_HEADS = 22320;      // per-day heads, 1990 to 2049
constexpr size_t SPE_HEADS = 10000;     // per-customer heads
constexpr size_t SD_WORDS = 1000;       // freed record numbers

// A file that another workstation may be creating at the same moment: whichever comes first
// keeps its file, and an existing one is never replaced.
void createIfMissing(const std::string& name, const std::string& bytes) {
    const std::string fn = UMAS::PATH + name;
    if (PLAT::fileExists(fn)) return;
    PLAT::writeWholeNew(fn, bytes);
}

}  // namespace

std::string SEIRES_SUFFIX(const std::string& code) {
    const std::string c = trim(code);
    std::string s;
    for (unsigned char ch : c) {
        if (!greekCapital(ch)) return "";
        s += char(ch - 63);
    }
    return s;
}

void SEIRES_CREATEFILES(int MN, const SEIRESTABLE& t) {
    const std::string prefix = MN == 0 ? "TI_" : "SI_";
    std::string index;  // built once, only when a file is missing
    for (int i = 1; i < SEIRES_SLOTS; ++i) {
        const std::string suf = SEIRES_SUFFIX(t[size_t(i)].SEIRA);
        if (suf.empty()) continue;
        const std::string name = prefix + suf + ".DAT";
        if (PLAT::fileExists(UMAS::PATH + name)) continue;
        if (index.empty()) index = words(INDEX_SLOTS, 65000);
        createIfMissing(name, index);
    }
    if (MN != 1 || PLAT::fileExists(UMAS::PATH + "SI.DAT")) return;
    // The credit-note files; "SI.DAT" last, since its presence means that all five are there.
    createIfMissing("SM.DAT", "");
    createIfMissing("SD.DAT", words(SD_WORDS, 0));
    createIfMissing("SH.DAT", emptyNodes(SH_HEADS));
    createIfMissing("SPE.DAT", emptyNodes(SPE_HEADS));
    createIfMissing("SI.DAT", index.empty() ? words(INDEX_SLOTS, 65000) : index);
}

namespace {

const char* const PORTS[6] = {"LPT1", "LPT2", "LPT3", "COM1", "COM2", "USB "};
const char* const EMULS[8] = {"EpsonFX", "Graphic", "IBMPro ", "HP-PCL ", "Panas24", "OKI-393", "EpsonLQ", "HPPCL-6 "};

std::string rightNum(long v, int w) {
    std::string s = std::to_string(v);
    if (int(s.size()) < w) s.insert(0, size_t(w) - s.size(), ' ');
    return s;
}

class SeriesEditor {
public:
    explicit SeriesEditor(int MN) : MN_(MN), file_(SEIRES_FILE(MN)) {}

    void run() {
        SCR::CALLM(95, true);
        SCR::CALLM(2, true);
        UMAS::FKEY({1, 2, 4, 7, 8}, GM1);

        std::vector<uint8_t> buf(SEIRES_SIZE, 0);
        PLAT::con().gotoXY(1, 23);  // a "file not found" line goes below the frame
        RUFPAR(file_, buf.data(), buf.size());
        t_ = decodeSEIRES(buf.data());
        opened_ = t_;
        BOX();

        int LI = 0, CO = 0, SE = 0, KK = 0;
        for (;;) {
            UMAS::EPIL(0, 14, 7, 0, 8, 1, 71, SEIRES_SLOTS - 1, 0, 0, LI, CO, SE, KK, 0);
            switch (KK) {
            case 0:
                editSlot(LI + 1);
                break;
            case 7:
                store();
                break;
            case 13:
                SCR::CALLM(58, true);
                SCR::PRINT(7, 23, PLAT::gr("ΓΙΝΟΥΝ ΑΡΧΕΙΑ ΣΕΙΡΩΝ "));
                if (PRNS::YES(36, 23)) SEIRES_CREATEFILES(MN_, t_);
                SCR::RECALL();
                break;
            case 4: case 5:
                BOX();
                break;
            case 3:
                SCR::RECALL();
                SCR::RECALL();
                return;
            default:
                break;
            }
        }
    }

private:
    int MN_;
    std::string file_;
    SEIRESTABLE t_;       // the work copy
    SEIRESTABLE opened_;  // the file as read when the editor opened or last stored

    // F1: the file is read again under "FPAR"; a slot whose next number the clerk left as it was
    // keeps the file's number, which another workstation may have advanced meanwhile.
    void store() {
        const std::string fn = UMAS::PATH + file_ + ".dat";
        UMAS::LOCK("FPAR");
        std::vector<uint8_t> cur(SEIRES_SIZE, 0);
        size_t have = 0;
        {
            PLAT::File f;
            if (f.open(fn, PLAT::File::READ, false)) {
                have = size_t(std::min<int64_t>(f.size(), int64_t(SEIRES_SIZE)));
                if (have > 0) f.readAt(0, cur.data(), have);
            }
        }
        const SEIRESTABLE onDisk = decodeSEIRES(cur.data());
        for (int i = 0; i < SEIRES_SLOTS; ++i) {
            const bool present = have >= size_t(i + 1) * RECSEIRES::SIZE;
            if (present && t_[size_t(i)].AA == opened_[size_t(i)].AA) t_[size_t(i)].AA = onDisk[size_t(i)].AA;
        }
        std::vector<uint8_t> out(SEIRES_SIZE, 0);
        encodeSEIRES(t_, out.data());
        PLAT::writeWholeAtomic(fn, std::string(out.begin(), out.end()));
        UMAS::UNLOC("FPAR");
        opened_ = t_;
        BOX();
    }

    static void normalize(RECSEIRES& r) {
        if (r.PORTA == 0) r.PORTA = 1;
        if (r.EMUL == 0) r.EMUL = 1;
        if (r.EMUL == 9) r.EMUL = 7;
    }

    void BOX() {
        for (int i = 1; i <= SEIRES_SLOTS; ++i) showSlot(i);
    }

    // Slot i on row i + 7; a named slot without a code shows blanks.
    void showSlot(int i) {
        RECSEIRES& r = t_[size_t(i - 1)];
        normalize(r);
        const int y = i + 7;
        const bool blank = i > 1 && trim(r.SEIRA).empty();
        if (i > 1) SCR::PRINT(8, y, padTo(r.SEIRA, 2) + "  ");
        SCR::PRINT(13, y, blank ? std::string(5, ' ') : rightNum(r.AA, 5));
        SCR::PRINT(20, y, blank || r.PORTA > 6 ? std::string(4, ' ') : std::string(PORTS[r.PORTA - 1]));
        SCR::PRINT(26, y, blank ? std::string(2, ' ') : rightNum(r.MIKSEL, 2));
        SCR::PRINT(35, y, blank ? std::string(2, ' ') : rightNum(r.KATAK, 2));
        SCR::PRINT(46, y, blank ? std::string(2, ' ') : rightNum(r.ORIZ, 2));
        SCR::PRINT(54, y, blank || r.EMUL > 8 ? std::string(8, ' ') : padTo(EMULS[r.EMUL - 1], 8));
        SCR::PRINT(65, y, blank ? std::string(2, ' ') : rightNum(r.POLAP, 2));
        SCR::PRINT(73, y, blank ? std::string(3, ' ') : std::string(r.FORMIX == 1 ? "NAI" : "OXI"));
    }

    // A numeric field: empty when 0, the rounded value of what is typed. Returns the exit code.
    int numField(int x, int y, int w, int32_t& v, int32_t max) {
        int K = 0;
        for (;;) {
            std::string shown = v == 0 ? "" : std::to_string(v);
            shown = shown.substr(0, std::min<size_t>(shown.size(), size_t(w)));
            std::string s = SCR::GINPUT(x, y, w, shown, "", SCR::socDigits(), false, true, K);
            // A number wider than its field comes back cut; left as it was, it keeps its value.
            if (s != shown) {
                double d = UMAS::EVAL(trim(s));
                v = d <= 0 ? 0 : int32_t(std::min<double>(d + 0.5, max));
            }
            SCR::PRINT(x, y, rightNum(v, w));
            if (K <= 3) return K;
        }
    }

    int byteField(int x, int y, uint8_t& b) {
        int32_t v = b;
        int K = numField(x, y, 2, v, 255);
        b = uint8_t(v);
        return K;
    }

    enum { F_SEIRA, F_AA, F_PORTA, F_MIKSEL, F_KATAK, F_ORIZ, F_EMUL, F_POLAP, F_FORMIX, F_DONE };

    void editSlot(int i) {
        const int y = i + 7;
        RECSEIRES& r = t_[size_t(i - 1)];
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        // The legend names Tab while the field is one chosen from a list (port, emulation, signing).
        bool listLegend = false;
        auto legend = [&](bool list) {
            if (list == listLegend) return;
            listLegend = list;
            SCR::RECALL();
            SCR::CALLM(2, true);
            UMAS::FKEY(list ? std::vector<int>{9, 10} : std::vector<int>{10}, GM1);
        };
        std::string capitals = " ";
        for (int c = 0x80; c <= 0x97; ++c) capitals += char(c);
        const SCR::SOC codeSoc = SCR::soc(capitals);

        int f = i == 1 ? F_AA : F_SEIRA;
        auto move = [&](int K, int next, int prev) {  // Enter/Down next, Up prev, Esc to the table
            if (K == 0 || K == 2) f = next;
            else if (K == 1) f = prev;
            else if (K == 3) f = F_DONE;
        };
        while (f != F_DONE) {
            legend(f == F_PORTA || f == F_EMUL || f == F_FORMIX);
            switch (f) {
            case F_SEIRA: {
                int K = 0;
                std::string s = SCR::GINPUT(8, y, 2, r.SEIRA, "", codeSoc, false, true, K);
                r.SEIRA = trim(s);
                showSlot(i);
                if (K == 0) f = F_AA;
                else if (K == 2 || K == 3) f = F_DONE;
                break;
            }
            case F_AA: {
                int K = numField(13, y, 5, r.AA, 99999);
                move(K, F_PORTA, i == 1 ? F_DONE : F_SEIRA);
                break;
            }
            case F_PORTA:
            case F_EMUL:
            case F_FORMIX: {
                SCR::CURSOR(true);
                PLAT::con().gotoXY(f == F_PORTA ? 20 : f == F_EMUL ? 54 : 73, y);
                PLAT::KeyEvent k = PLAT::con().readKey();
                const bool up = k.extended() && k.scan == PLAT::SC::UP;
                const bool down = k.extended() && k.scan == PLAT::SC::DOWN;
                const bool enter = !k.extended() && k.ch == 13;
                const bool esc = !k.extended() && k.ch == 27;
                const bool tab = !k.extended() && k.ch == 9;
                if (f == F_PORTA) {
                    if (tab) {
                        int c = SELECT(0);
                        if (c != 99) r.PORTA = uint8_t(c + 1);
                        showSlot(i);
                        f = F_MIKSEL;
                    } else if (enter || down) f = F_MIKSEL;
                    else if (up) f = F_AA;
                    else if (esc) f = F_DONE;
                } else if (f == F_EMUL) {
                    if (tab) {
                        int c = SELECT(1);
                        if (c != 99) r.EMUL = uint8_t(c + 1);
                        showSlot(i);
                        f = F_POLAP;
                    } else if (enter || down || esc) f = F_POLAP;
                    else if (up) f = F_ORIZ;
                } else {
                    if (tab) {
                        int c = SELECT(2);
                        if (c != 99) r.FORMIX = uint8_t(c);
                        SCR::PRINT(73, y, r.FORMIX == 1 ? std::string("NA") + PLAT::gr("Ι") : PLAT::gr("ΟΧΙ"));
                        f = F_DONE;
                    } else if (enter || down || esc) f = F_DONE;
                    else if (up) f = F_POLAP;
                }
                break;
            }
            case F_MIKSEL: move(byteField(26, y, r.MIKSEL), F_KATAK, F_PORTA); break;
            case F_KATAK: move(byteField(35, y, r.KATAK), F_ORIZ, F_MIKSEL); break;
            case F_ORIZ: move(byteField(46, y, r.ORIZ), F_EMUL, F_KATAK); break;
            case F_POLAP: move(byteField(65, y, r.POLAP), F_FORMIX, F_EMUL); break;
            default: f = F_DONE; break;
            }
        }
        SCR::CURSOR(false);
        SCR::RECALL();
    }

    // A short list on mask 87: 0 ports, 1 emulations, 2 signing. The 0-based line, 99 on Esc.
    static int SELECT(int which) {
        SCR::CALLM(87, true);
        int first = 18, n = 6;
        if (which == 1) {
            for (int y = 16; y <= 24; ++y) SCR::PRINT(2, y, std::string(16, ' '));
            SCR::PRINT(6, 16, "EMULATION");
            for (int k = 0; k < 7; ++k) SCR::PRINT(6, 17 + k, EMULS[k]);
            SCR::PRINT(2, 24, "    HPPCL-6     ");
            first = 17;
            n = 8;
        } else if (which == 2) {
            for (int y = 16; y <= 24; ++y) SCR::PRINT(2, y, std::string(16, ' '));
            SCR::PRINT(6, 16, PLAT::gr(" ΕΑΦΔΣΣ "));
            SCR::PRINT(6, 19, "  OXI  ");
            SCR::PRINT(6, 20, "  NAI  ");
            first = 19;
            n = 2;
        }
        int LI = 0, CO = 0, SE = 0, KK = 0, res = 99;
        for (;;) {
            UMAS::EPIL(4, 15, 3, 0, first, 1, 13, n - 1, 0, 0, LI, CO, SE, KK, 0);
            if (KK == 0) {
                res = LI;
                break;
            }
            if (KK == 3) break;
        }
        SCR::RECALL();
        return res;
    }
};

}  // namespace

void SEIRES(int MN) { SeriesEditor(MN == 1 ? 1 : 0).run(); }

}  // namespace PARAMS
