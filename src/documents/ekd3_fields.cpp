// The records of the fixed-layout documents (CMR notes, BEYG, T5): their side files named after the
// declaration number, and the field editor they share.
#include <cmath>

#include "config/params.h"
#include "documents/ekd3.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace EKD3 {

std::string Record::get(TF f) const {
    if (f.off >= b.size()) return {};
    size_t n = std::min<size_t>(uint8_t(b[f.off]), size_t(f.cap));
    n = std::min(n, b.size() - f.off - 1);
    return b.substr(f.off + 1, n);
}

void Record::set(TF f, const std::string& s) {
    if (f.off + size_t(f.cap) + 1 > b.size()) return;
    const std::string t = UMAS::cut(s, size_t(f.cap));
    b[f.off] = char(t.size());
    b.replace(f.off + 1, t.size(), t);
    std::fill(b.begin() + long(f.off + 1 + t.size()), b.begin() + long(f.off + 1 + size_t(f.cap)), '\0');
}

std::string SIDENUMBER() {
    const double v = std::nearbyint(UMAS::EVAL(BOD::SOB(BOD::DIA, BOD::GV, 1)));
    if (!std::isfinite(v) || std::fabs(v) > 9e18) return "0";
    return std::to_string(int64_t(v));
}

std::string SIDEFILE(const std::string& ext) { return UMAS::PATH + SIDENUMBER() + ext; }

bool READSIDE(const std::string& path, Record& r) {
    const auto bytes = PLAT::readWhole(path);
    if (!bytes) return false;
    r.b.replace(0, std::min(bytes->size(), r.b.size()), bytes->substr(0, std::min(bytes->size(), r.b.size())));
    return true;
}

void WRITESIDE(const std::string& path, const Record& r) { PLAT::writeWholeAtomic(path, r.b); }

std::string SLASHDATE(const std::string& s) {
    auto part = [&](size_t at) { return at < s.size() ? s.substr(at, 2) : std::string(); };
    return part(0) + "/" + part(2) + "/" + part(4);
}

const UMAS::FUN GMLOCAL = {"",
                           PLAT::gr("ESC.Εξοδος"),
                           PLAT::gr("F4.Καταχώρηση"),
                           PLAT::gr("Tab.Στοιχεία ΕΔΕ"),
                           PLAT::gr("Sh-F1.Εκτύπωση"),
                           PLAT::gr("F7.Ανάλυση"),
                           PLAT::gr("F6.TIR"),
                           "",
                           "",
                           "",
                           ""};

void SHOWFIELDS(const std::vector<EdField>& t, const Record& r) {
    for (const EdField& e : t) SCR::PRINT(e.col, e.row, UMAS::padTo(r.get(e.f), size_t(e.len)));
}

void EDITFIELDS(const std::vector<EdField>& t, Record& r, const std::function<void(int K, int i)>& key,
                const std::function<void()>& after) {
    const int N = int(t.size());
    int i = 0;
    for (;;) {
        const EdField& e = t[size_t(i)];
        int K = 0;
        const std::string s = SCR::GINPUT(e.col, e.row, e.len, r.get(e.f), "", SCR::socAll(), false, true, K);
        if (K != 3) r.set(e.f, s);
        BOD::K = uint8_t(K);
        switch (K) {
        case 0:
        case 2: i = (i + 1) % N; break;
        case 1: i = (i + N - 1) % N; break;
        case 3: return;
        case 20: PARAMS::CALC(BOD::CAS); break;
        default:
            if (key) key(K, i);
            break;
        }
        if (after) after();
    }
}

}  // namespace EKD3
