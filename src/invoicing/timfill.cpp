// An invoice filled from a stored declaration: the declaration found by its number, its main form
// and its continuation items read through the declaration store, the mapped detail lines, the
// customer by the declaration's kind, and the totals of packages, masses and value.
#include <cstdio>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/store.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace TIM {

namespace {

using UMAS::cut;
using UMAS::padTo;

// Reads through an open record file, checking every range against its size.
STORE::Source sourceOf(const PLAT::File& f) {
    STORE::Source s;
    s.size = f.size();
    s.read = [&f, size = s.size](int64_t off, void* buf, size_t n) {
        if (off < 0 || off + int64_t(n) > size) return false;
        return f.readSome(off, buf, n) == n;
    };
    return s;
}

// The nearest whole number of a text's value (a tie to the even neighbour).
double nearest(const std::string& t) { return TIM0::ROUND(UMAS::EVAL(t)); }

// A count read from a box, kept within lo..hi.
int32_t count(const std::string& t, int32_t lo, int32_t hi) {
    const double v = nearest(t);
    return v < lo ? lo : v > hi ? hi : int32_t(v);
}

std::string two(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

std::string fixed(double v, int decimals) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

bool contains(const std::string& s, const char* what) { return s.find(what) != std::string::npos; }

}  // namespace

bool TIMOS::FILLS() const {
    return !APODI::BOO || (PAIPS[1] == 0 && UMAS::HMVAL(TIM0::HM) < UMAS::HMVAL(std::string("160903")));
}

void TIMOS::CHOD() {
    DECLFOUND = false;
    XND = 0;
    const std::string key = padTo(TIM0::KD, 10);
    if (key[0] == ' ' || key[0] == '0') return;
    const STORE::Found f = STORE::find(UMAS::PATH, STORE::DECL, key);
    if (f.found) {
        DECLFOUND = true;
        XND = f.pos;
    }
}

bool TIMOS::RUFD() {
    // Everything is read into locals first: a declaration that cannot be read changes nothing.
    std::array<std::string, 23> ds = TIM0::DS;
    std::vector<std::string> desc;
    int32_t kola = 0;
    double xm = 0, xk = 0, axia = 0;
    std::string number, nameA, nameB, kindText, customer;
    int32_t sheets = 0, items = 0;
    bool excise = false;

    auto description = [&](bool& taken, const std::string& t) {
        const std::string d = UMAS::CUTLEADSPACES(t);
        if (taken || d.empty()) return;
        taken = true;
        if (desc.size() < 20) desc.push_back(cut(d, 40));
    };

    {
        PLAT::File f(UMAS::PATH + STORE::DECL.M, PLAT::File::READ);
        const STORE::Chain c = STORE::readChain(sourceOf(f), XND, false);
        if (!c.ok) return false;
        STORE::FieldReader fr(c.data);
        bool taken = false;
        for (int I = 1; I <= STORE::MAIN_BOXES; ++I) {
            const std::string T = fr.next();
            for (size_t K = 1; K <= 22; ++K)
                if (TIM0::DSI[K] == I) ds[K] = cut(T, 40);
            switch (I) {
            case 1: number = T; break;
            case 12: nameA = T; break;
            case 22: nameB = T; break;
            case 16: sheets = count(T, 0, 65535); break;
            case 18: items = count(T, 0, 65535); break;
            case 69: kola = count(T, -2147483647, 2147483647); break;
            case 82: xm = UMAS::EVAL(T); break;
            case 86: xk = UMAS::EVAL(T); break;
            case 100: axia = UMAS::EVAL(T); break;
            case 142:
                excise = contains(T, "DFK");
                kindText = excise                 ? "ΔΕΦΚ"
                           : contains(T, "EXP")   ? "ΕΞΑΓΩΓΗ"
                           : contains(T, "MTF")   ? "ΔΙΑΜΕΤΑΚΟΜΙΣΗ"
                           : contains(T, "MET")   ? "ΑΠΟΤΑΜΙΕΥΣΗ"
                           : contains(T, "IMP")   ? "ΕΙΣΑΓΩΓΗ"
                                                  : "";
                customer = contains(T, "EXP") || contains(T, "MTF") ? nameA : nameB;
                break;
            default:
                if (I >= 72 && I <= 77) description(taken, T);
                break;
            }
        }
        const std::string cust = fr.next();
        for (int i = 0; i < 10; ++i) fr.skip();
        uint8_t eight[8];
        fr.raw(eight, sizeof eight);
        axia += UMAS::EVAL(fr.next());
        if (fr.bad()) return false;
        const double pr = nearest(cust);
        APODI::PR = pr >= 0 && pr < 65000 ? uint16_t(pr) : uint16_t(65000);
    }

    // The continuation items: two a sheet for an excise declaration, three otherwise (the main
    // form holds item 1). A sheet key holds the sheet and item numbers in two digits each.
    sheets = std::min(sheets, 99);
    items = std::min(items, 99);
    PLAT::File bf(UMAS::PATH + STORE::SHEET.M, PLAT::File::READ);
    const STORE::Source bsrc = sourceOf(bf);
    for (int W = 2; W <= sheets; ++W) {
        const int first = excise ? 2 * W - 2 : 3 * W - 4;
        const int last = std::min(excise ? 2 * W - 1 : 3 * W - 2, int(items));
        for (int N = first; N <= last; ++N) {
            const std::string key = padTo(cut(number + two(W) + two(N), 14), 14);
            const STORE::Found found = STORE::find(UMAS::PATH, STORE::SHEET, key);
            if (!found.found) continue;
            const STORE::Chain c = STORE::readChain(bsrc, found.pos, true);
            if (!c.ok) continue;
            STORE::FieldReader fr(c.data);
            // The item's description and amounts count only together, once the whole item has
            // read sound: a damaged item gives neither.
            std::string d2;
            int32_t k2 = 0;
            double m2 = 0, n2 = 0, v2 = 0;
            for (int I = 1; I <= STORE::SHEET_BOXES; ++I) {
                const std::string T = fr.next();
                if (I == 20) k2 += count(T, -2147483647, 2147483647);
                else if (I >= 23 && I <= 28 && d2.empty()) d2 = UMAS::CUTLEADSPACES(T);
                else if (I == 32) m2 += UMAS::EVAL(T);
                else if (I == 36) n2 += UMAS::EVAL(T);
                else if (I == 50) v2 += UMAS::EVAL(T);
            }
            std::string last8;
            for (int i = 0; i < 8; ++i) last8 = fr.next();
            v2 += UMAS::EVAL(last8);
            if (fr.bad()) continue;
            bool taken = false;
            description(taken, d2);
            kola += k2;
            xm += m2;
            xk += n2;
            axia += v2;
        }
    }

    UMAS::TOTALKOLA = kola;
    UMAS::TOTALXM = xm;
    UMAS::TOTALXK = xk;
    UMAS::TOTALAXIA = axia;
    for (size_t i = 1; i <= 20; ++i) PARAMS::PERIGRAFES[i] = i <= desc.size() ? desc[i - 1] : "";
    size_t nextDesc = 0;
    for (size_t K = 1; K <= 22; ++K) {
        switch (TIM0::DSI[K]) {
        case 901: ds[K] = PLAT::gr(kindText.c_str()); break;
        case 969: ds[K] = std::to_string(kola); break;
        case 982: ds[K] = fixed(xm, 3); break;
        case 986: ds[K] = fixed(xk, 3); break;
        case 900: ds[K] = fixed(axia, 2); break;
        case 972: ds[K] = nextDesc < desc.size() ? desc[nextDesc++] : ""; break;
        default: break;
        }
        ds[K] = cut(ds[K], 40);
    }
    TIM0::DS = ds;
    APODI::EA = padTo(cut(customer, 30), 30);
    return true;
}

}  // namespace TIM
