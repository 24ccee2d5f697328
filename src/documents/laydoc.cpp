// The layout-driven document engine: layouts and their print order, values files, and the document
// screen with its keys.
#include "documents/laydoc.h"

#include "declarations/bod.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace LAYDOC {

Layout DECODELAYOUT(const std::string& bytes) {
    Layout L{};
    for (size_t i = 1; i <= PARAMS::PARDOC_N; ++i) {
        const size_t off = (i - 1) * PARAMS::RECPARTIM4::SIZE;
        if (off + PARAMS::RECPARTIM4::SIZE > bytes.size()) break;
        L[i] = PARAMS::RECPARTIM4::decode(reinterpret_cast<const uint8_t*>(bytes.data()) + off);
    }
    return L;
}

Layout READLAYOUT(const std::string& NAME) {
    std::string img(PARAMS::PARDOC_SIZE, '\0');
    PARAMS::RUFPAR(NAME, reinterpret_cast<uint8_t*>(img.data()), img.size());
    return DECODELAYOUT(img);
}

std::vector<int> SORTVARS(const Layout& L, int N) {
    N = std::min<int>(N, int(PARAMS::PARDOC_N));
    auto key = [&](int r) { return uint16_t(L[size_t(r)].ROW * 256 + L[size_t(r)].COL); };
    std::vector<int> p(size_t(N) + 1);
    for (int i = 1; i <= N; ++i) {
        p[size_t(i)] = i;
        for (int j = 1; j < i; ++j)
            if (key(p[size_t(i)]) < key(p[size_t(j)])) std::swap(p[size_t(i)], p[size_t(j)]);
    }
    return std::vector<int>(p.begin() + 1, p.end());
}

void PRINTROWS(PRNS::Printout& o, const Layout& L, const std::vector<int>& order,
               const std::function<std::string(int)>& value) {
    if (order.empty()) return;
    int line = L[size_t(order.front())].ROW;
    for (int r : order) {
        const PARAMS::RECPARTIM4& row = L[size_t(r)];
        if (row.COL == 0 || row.ROW == 0) continue;
        o.lf(std::max(0, row.ROW - line));
        o.tab(row.COL);
        o.mode(row.SA1);
        o.mode(row.SA2);
        o.text(value(r));
        o.mode(row.ST2);
        o.mode(row.ST1);
        line = row.ROW;
    }
}

bool PLACES(const Layout& L, int first, int last) {
    for (int r = std::max(first, 1); r <= std::min<int>(last, int(PARAMS::PARDOC_N)); ++r)
        if (L[size_t(r)].COL != 0 && L[size_t(r)].ROW != 0) return true;
    return false;
}

std::string BLANKFORMTEXT(const std::string& NAME) {
    const PARAMS::FormPlace at = PARAMS::FORMPLACE(NAME);
    std::string s = PLAT::gr("Δεν τυπώθηκε: κενή φόρμα ") + at.file;
    if (at.entry > 0) s += PLAT::gr(". ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή ") + std::to_string(at.entry);
    return s;
}

bool BLANKFORM(const Layout& L, int first, int last, const std::string& NAME) {
    if (PLACES(L, first, last)) return false;
    PRNS::REPORT(BLANKFORMTEXT(NAME));
    return true;
}

std::string ENCODE(const Values& v) {
    std::string out(v.bytes(), '\0');
    for (int i = 1; i <= v.count(); ++i) {
        const std::string s = UMAS::cut(v.f[size_t(i)], size_t(v.capacity));
        const size_t off = size_t(i - 1) * size_t(v.capacity + 1);
        out[off] = char(s.size());
        out.replace(off + 1, s.size(), s);
    }
    return out;
}

void DECODE(const std::string& bytes, Values& v) {
    for (int i = 1; i <= v.count(); ++i) {
        const size_t off = size_t(i - 1) * size_t(v.capacity + 1);
        if (off >= bytes.size()) {
            v.f[size_t(i)].clear();
            continue;
        }
        size_t n = std::min<size_t>(uint8_t(bytes[off]), size_t(v.capacity));
        n = std::min(n, bytes.size() - off - 1);
        v.f[size_t(i)] = bytes.substr(off + 1, n);
    }
}

bool SAFENAME(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return false;
    for (unsigned char c : name)
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?') return false;
    return true;
}

bool READVALUES(const std::string& path, Values& v) {
    auto bytes = PLAT::readWhole(path);
    if (!bytes) return false;
    DECODE(*bytes, v);
    return true;
}

void WRITEVALUES(const std::string& path, const Values& v) { PLAT::writeWholeAtomic(path, ENCODE(v)); }

const UMAS::FUN GMLOCAL = {"",
                           PLAT::gr("ESC.Εξοδος"),
                           PLAT::gr("F4.Καταχώρηση"),
                           PLAT::gr("Tab.Στοιχεία ΕΔΕ"),
                           PLAT::gr("Sh-F1.Εκτύπωση"),
                           PLAT::gr("Sh-F2.Δισκέτα"),
                           PLAT::gr("PgUp,PgDn.Αλλαγή Σελίδας"),
                           PLAT::gr("F6.Αίτηση"),
                           "",
                           "",
                           ""};

void PRIN(const Document& d, const Layout& L, const std::vector<int>& order, const Values& v) {
    if (BLANKFORM(L, 1, int(order.size()), d.layout)) return;
    SCR::CALLM(63, true);
    if (!PRNS::YES(30, 23)) {
        SCR::RECALL();
        return;
    }
    const int copies = PRNS::COP();
    for (int c = 0; c < copies; ++c) {
        PRNS::Printout o;
        o.open(d.formId);
        o.mode(1);
        if (d.emphasised) o.mode(8);
        PRINTROWS(o, L, order, [&](int r) {
            const std::string s = r <= v.count() ? v.f[size_t(r)] : std::string();
            return d.trimPrint ? UMAS::CUTLEADSPACES(s) : s;
        });
        if (d.emphasised) o.mode(9);
        o.mode(11);
        o.F.close();
        UMAS::PRINTUSB();
    }
    SCR::RECALL();
}

void RUN(const Document& d) {
    const int N = int(d.grid.size()) - 1;
    Values v(N, d.capacity);
    SCR::CALLM(d.mask, true);
    SCR::CALLM(2, true);
    UMAS::FKEY(d.legend, GMLOCAL);
    const Layout L = d.print ? Layout{} : READLAYOUT(d.layout);
    const std::vector<int> order = SORTVARS(L, N);
    auto print = [&] {
        if (d.print)
            d.print(v);
        else
            PRIN(d, L, order, v);
    };
    auto reload = [&] {
        const std::string fn = d.refillOnTab ? std::string() : d.file(v);
        if (fn.empty() || !READVALUES(fn, v)) d.fill(v);
    };
    d.fill(v);
    {
        const std::string fn = d.file(v);
        if (!fn.empty()) READVALUES(fn, v);
    }
    // The masks and legend are drawn again with the fields: a missing layout or box map read by the
    // fill is told at the cursor, and no piece of that line may stay on the document.
    auto redraw = [&] {
        SCR::CALLM(d.mask, false);
        SCR::CALLM(2, false);
        UMAS::FKEY(d.legend, GMLOCAL);
        for (int i = 1; i <= N; ++i) {
            const Field& f = d.grid[size_t(i)];
            SCR::PRINT(f.x, f.y, UMAS::padTo(v.f[size_t(i)], size_t(f.len)));
        }
    };
    redraw();
    int i = 1;
    for (;;) {
        const Field& f = d.grid[size_t(i)];
        int K = 0;
        v.f[size_t(i)] = UMAS::cut(SCR::GINPUT(f.x, f.y, f.len, v.f[size_t(i)], "", SCR::socAll(), false, true, K),
                                   size_t(d.capacity));
        BOD::K = uint8_t(K);
        if (K == 3) break;
        switch (K) {
        case 0:
            if (i == N)
                print();
            else
                ++i;
            break;
        case 1:
            if (i > 1) --i;
            break;
        case 2:
            if (i < N) ++i;
            break;
        case 6:
            if (d.noTab) break;
            reload();
            redraw();
            break;
        case 10: {
            const std::string fn = d.file(v);
            if (fn.empty())
                PRNS::REPORT(d.refused);
            else
                WRITEVALUES(fn, v);
            break;
        }
        case 14: print(); break;
        case 20: PARAMS::CALC(BOD::CAS); break;
        default:
            if (d.key) d.key(K, v);
            break;
        }
    }
    BOD::K = 3;
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace LAYDOC
