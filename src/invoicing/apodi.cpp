// APODI: shared state, the chains by day and by customer, and the notices of mask 42.
#include "invoicing/apodi.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "customers/arp0.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace APODI {

using UMAS::padTo;

uint16_t PR = 65000;
std::string EA, AF, ON, DI, PO, TH1;
std::array<std::string, 3> TH;
std::string EF, EG, BON, EAR;

bool BOO = false;
uint16_t XN = 65000;
std::string BHM;
uint16_t BPR = 65000;
double BXR = 0;
double BPI = 0;

RTIM1 R1;

bool SAB(uint8_t c) {
    if (c == ' ' || c == '&' || c == '-' || c == '.' || c == '/') return true;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return (c >= 128 && c <= 175) || c == 224 || SCR::socGreekAccented().test(c);
}

std::string FOLDNAME(const std::string& S) {
    std::string r = ARP0::FOLD(S.substr(0, std::min<size_t>(S.size(), 30)));
    r.resize(30, ' ');
    return r;
}

// ---- Chains ---------------------------------------------------------------------------------------

int32_t HEADS(const std::string& S) {
    std::string u;
    for (char c : S) u += char(std::toupper(uint8_t(c)));
    return (u == "TH" || u == "SH" || u == "AH") ? DAYHEADS : PEHEADS;
}

namespace {

bool isDayFile(const std::string& S) { return HEADS(S) == DAYHEADS; }

// A chain file read whole (at most 65536 nodes, 256 KB): one read instead of one per node.
struct Nodes {
    PLAT::File f;
    std::vector<uint8_t> img;
    int64_t count = 0;
    explicit Nodes(const std::string& S) : f(UMAS::PATH + S + ".DAT", PLAT::File::READWRITE) {
        count = f.size() / 4;
        img.resize(size_t(count) * 4);
        if (count > 0) f.readAt(0, img.data(), img.size());
    }
    RTIM1 at(int64_t z) const { return RTIM1::decode(img.data() + 4 * z); }
    void write(int64_t z, const RTIM1& n) {
        uint8_t b[4];
        n.encode(b);
        f.writeAt(z * 4, b, 4);
    }
};

}  // namespace

LINKED LINK(const std::string& S, uint16_t N, int32_t K) {
    const int32_t heads = HEADS(S);
    if (isDayFile(S) && K <= 0) return LINKED::NOKEY;
    if (K < 0 || K >= heads) return LINKED::OUTSIDE;
    Nodes f(S);
    const int64_t nodes = f.count;
    if (K >= nodes || nodes < heads) return LINKED::OUTSIDE;
    int64_t Z = K;
    R1 = f.at(Z);
    int64_t steps = 0;
    // Every next link must point into the node area, and a walk never takes more steps than there
    // are nodes (a cycle).
    while (R1.HR < 65000 && R1.NR != 0) {
        if (R1.NR < heads || R1.NR >= nodes || ++steps > nodes) return LINKED::DAMAGED;
        Z = R1.NR;
        R1 = f.at(Z);
    }
    if (R1.HR >= 65000) {
        R1.HR = N;
        f.write(Z, R1);
        return LINKED::DONE;
    }
    // The last node of the chain: the new node is appended first, then linked.
    if (nodes > 65535) return LINKED::FULL;
    f.write(nodes, RTIM1{N, 0});
    R1.NR = uint16_t(nodes);
    f.write(Z, R1);
    return LINKED::DONE;
}

bool CHAINDAMAGED(const std::string& S, int32_t K, int64_t records) {
    const int32_t heads = HEADS(S);
    const std::string fn = UMAS::PATH + S + ".DAT";
    if (K < 0 || K >= heads || !PLAT::fileExists(fn)) return false;
    PLAT::File f(fn, PLAT::File::READ);
    const int64_t nodes = f.size() / 4;
    if (nodes < heads) return false;  // told by LINK as a key outside the file, never written
    if (f.size() % 4 != 0) return true;
    int64_t Z = K;
    for (int64_t steps = 0;; ++steps) {
        uint8_t b[4];
        f.readAt(Z * 4, b, 4);
        const RTIM1 n = RTIM1::decode(b);
        if (n.HR < 65000 && n.HR >= records) return true;
        if (n.NR == 0) return false;
        if (n.NR < heads || n.NR >= nodes || steps > nodes) return true;
        Z = n.NR;
    }
}

void UNLINK(const std::string& S, uint16_t N, int32_t K) {
    const int32_t heads = HEADS(S);
    if (K < 0 || K >= heads) return;
    Nodes f(S);
    const int64_t nodes = f.count;
    if (K >= nodes) return;
    int64_t Z = K, steps = 0;
    R1 = f.at(Z);
    while (R1.HR != N && R1.NR != 0) {
        if (R1.NR < heads || R1.NR >= nodes || ++steps > nodes) return;
        Z = R1.NR;
        R1 = f.at(Z);
    }
    if (R1.HR == N) {
        R1.HR = 65000;
        f.write(Z, R1);
    }
}

std::vector<uint16_t> WALK(const std::string& S, int32_t K) {
    std::vector<uint16_t> out;
    const int32_t heads = HEADS(S);
    if (K < 0 || K >= heads) return out;
    const Nodes f(S);
    WALKNODES(f.img.data(), f.count, heads, K, [&](uint16_t HR) {
        if (HR != 65000) out.push_back(HR);
        return true;
    });
    return out;
}

void WALKNODES(const uint8_t* img, int64_t nodes, int64_t heads, int64_t K, const std::function<bool(uint16_t)>& ROW) {
    if (K < 0 || K >= nodes) return;
    std::vector<bool> walked;
    for (int64_t Z = K;;) {
        const RTIM1 n = RTIM1::decode(img + int64_t(RTIM1::SIZE) * Z);
        if (!ROW(n.HR)) return;
        if (n.NR == 0 || n.NR < heads || n.NR >= nodes) return;  // links point into the node area
        if (walked.empty()) walked.resize(size_t(nodes), false);
        if (walked[size_t(n.NR)]) return;
        walked[size_t(n.NR)] = true;
        Z = n.NR;
    }
}

void DEHM(const std::string& S) {
    int32_t K = UMAS::HMVAL(BHM);
    if (K <= 0) return;
    UNLINK(S, XN, K);
}

void DEPE(const std::string& S) { UNLINK(S, XN, BPR); }

double DRACHMAS(double total, const std::string& HM, bool& ok) {
    if (!TIM0::EURODOC(HM)) return total;
    if (UMAS::EURO == 0) {
        ok = false;
        return 0;
    }
    return total * UMAS::EURO;
}

// ---- Notices ----------------------------------------------------------------------------------------

void LINKNOTICE(LINKED r, bool dayChain) {
    const char* stored = "Καταχωρήθηκε. Πατήστε ESC.";
    switch (r) {
        case LINKED::OUTSIDE:
            NOTICE42(dayChain ? " ΗΜΕΡΟΜΗΝΙΑ ΕΚΤΟΣ ΛΙΣΤΑΣ ΗΜΕΡΩΝ." : " ΠΕΛΑΤΗΣ ΕΚΤΟΣ ΛΙΣΤΑΣ ΠΕΛΑΤΩΝ.", stored);
            break;
        case LINKED::FULL: NOTICE42(" ΛΙΣΤΑ ΠΑΡΑΣΤΑΤΙΚΩΝ ΓΕΜΑΤΗ.", stored); break;
        case LINKED::DAMAGED: NOTICE42(" ΛΙΣΤΑ ΠΑΡΑΣΤΑΤΙΚΩΝ ΚΑΤΕΣΤΡΑΜΜΕΝΗ.", stored); break;
        default: break;
    }
}

FILEFAULT FILESFAULT(std::initializer_list<std::string> names, uint16_t PR, uint16_t OLD) {
    for (const std::string& n : names)
        if (!PLAT::fileExists(UMAS::PATH + n)) return {n, true};
    if (!PLAT::fileExists(ARP0::fileName(0, "MF"))) return {"MF.DAT", true};
    const int32_t n = ARP0::recordCount(0);
    if (PR >= n || (OLD != 65000 && OLD >= n)) return {"MF.DAT", false};
    // A damaged record is not posted to: its totals are not the customer's.
    for (const uint16_t c : {PR, OLD}) {
        ARP0::RR0 r;
        bool damaged = false;
        if (c != 65000 && !ARP0::readSound(0, c, r, damaged) && damaged) return {"MF.DAT", false};
    }
    return {};
}

FILEFAULT CHAINSFAULT(const std::string& DAYS, int32_t DAY, const std::string& CUSTS, int32_t CUST, int64_t RECORDS) {
    if (DAY > 0 && CHAINDAMAGED(DAYS, DAY, RECORDS)) return DAMAGED(DAYS + ".DAT");
    if (CHAINDAMAGED(CUSTS, CUST, RECORDS)) return DAMAGED(CUSTS + ".DAT");
    return {};
}

void REFUSE(const FILEFAULT& f, const char* line23) {
    NOTICE42((" ΑΡΧΕΙΟ " + f.FILE + (f.MISSING ? " ΔΕΝ ΥΠΑΡΧΕΙ." : " ΚΑΤΕΣΤΡΑΜΜΕΝΟ.")).c_str(), line23);
}

void MESSAGE42(const std::string& line22, const std::string& line23) {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(42, true);
    const bool shown = SCR::STACKPOINTER() != before;
    SCR::PRINT(3, 22, line22);
    SCR::PRINT(3, 23, line23);
    PLAT::Console& c = PLAT::con();
    while (c.readKey().ch != 27) continue;
    if (shown) SCR::RECALL();
}

void NOTICE42(const char* line22, const char* line23) {
    MESSAGE42(padTo(PLAT::gr(line22), 36), padTo(PLAT::gr(line23), 36));
}

uint16_t WORDAT(const PLAT::File& f, int64_t i) {
    uint8_t b[2];
    f.readAt(i * 2, b, 2);
    return PLAT::getW(b);
}

void PUTWORDAT(PLAT::File& f, int64_t i, uint16_t v) {
    uint8_t b[2];
    PLAT::putW(b, v);
    f.writeAt(i * 2, b, 2);
}

void NEWFILE(const std::string& dir, const char* name, const std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path p = fs::path(dir) / name;
    if (fs::exists(p)) return;
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + p.string());
}

std::string WORDS(size_t n, uint16_t v) {
    std::string s(n * 2, '\0');
    for (size_t i = 0; i < n; ++i) PLAT::putW(reinterpret_cast<uint8_t*>(s.data()) + 2 * i, v);
    return s;
}

std::string EMPTYHEADS(int32_t n) {
    std::string s(size_t(n) * 4, '\0');
    for (int32_t i = 0; i < n; ++i) RTIM1{}.encode(reinterpret_cast<uint8_t*>(s.data()) + 4 * i);
    return s;
}

}  // namespace APODI
