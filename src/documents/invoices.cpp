// The invoice documents: their record, numbering, totals, print values, fill from the stored
// declaration, print and screen.
#include "documents/invoices.h"

#include <cmath>
#include <optional>

#include "declarations/bod.h"
#include "declarations/store.h"
#include "declarations/taxlines.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace INVOICES {

using namespace BOD;

// ---- Record ---------------------------------------------------------------------------------------------

namespace {

constexpr int GOODS_COL[5] = {3, 36, 48, 55, 67}, GOODS_LEN[5] = {30, 9, 4, 10, 13}, GOODS_OFS[5] = {0, 31, 41, 46, 57};

// Byte offset and capacity of field i.
std::pair<size_t, int> slot(int i) {
    if (i <= 12) return {size_t(i - 1) * 27, 26};
    if (i <= 24) return {324 + size_t(i - 13) * 17, 16};
    const int r = (i - 25) / 5, c = (i - 25) % 5;
    return {528 + size_t(r) * 71 + size_t(GOODS_OFS[c]), GOODS_LEN[c]};
}

std::string getText(const std::string& raw, size_t off, int cap) {
    const size_t n = std::min<size_t>(uint8_t(raw[off]), size_t(cap));
    return raw.substr(off + 1, n);
}
void putText(std::string& raw, size_t off, int cap, const std::string& s) {
    const std::string t = UMAS::cut(s, size_t(cap));
    raw.replace(off, size_t(cap) + 1, std::string(size_t(cap) + 1, '\0'));
    raw[off] = char(t.size());
    raw.replace(off + 1, t.size(), t);
}

}  // namespace

Place PLACE(int i) {
    if (i <= 12) return {19, 1 + i, 26};
    if (i <= 24) return {63, i - 11, 16};
    const int r = (i - 25) / 5 + 1, c = (i - 25) % 5;
    return {GOODS_COL[c], 14 + r, GOODS_LEN[c]};
}

std::string Record::field(int i) const {
    const auto [off, cap] = slot(i);
    return getText(raw, off, cap);
}
void Record::setField(int i, const std::string& s) {
    const auto [off, cap] = slot(i);
    putText(raw, off, cap, s);
}
std::string Record::analysis(int k) const { return getText(raw, 1144 + size_t(k - 1) * 51, 50); }
void Record::setAnalysis(int k, const std::string& s) { putText(raw, 1144 + size_t(k - 1) * 51, 50, s); }

Record DECODE(const std::string& bytes) {
    Record r;
    r.raw.replace(0, std::min(bytes.size(), RINV_SIZE), bytes.substr(0, RINV_SIZE));
    return r;
}

// ---- Kinds ----------------------------------------------------------------------------------------------

const Kind* KIND(int no) {
    static const Kind kinds[] = {{1, "ParInv1", "ParD2In1", ".in1", "ARINV1.DAT", UMAS::PE_INV1},
                                 {2, "ParInv2", "ParD2In2", ".in2", "ARINV2.DAT", UMAS::PE_INV2},
                                 {3, "ParEur1", "ParD2Eur", ".eur", "AREUR1.DAT", UMAS::PE_EUR1},
                                 {6, "ParZON", "ParD2ZON", ".zon", "", UMAS::PE_ZON}};
    for (const Kind& k : kinds)
        if (k.no == no) return &k;
    return nullptr;
}

std::string DECLKEY() {
    const double v = UMAS::EVAL(SOB(DIA, GV, 1));
    return std::to_string(int64_t(std::llround(v)));
}

std::string VALUESFILE(const Kind& k) { return UMAS::PATH + DECLKEY() + k.ext; }

// ---- Numbering ------------------------------------------------------------------------------------------

namespace {

// The counter's first line; empty when the file is missing.
std::optional<std::string> counterLine(const std::string& counter) {
    auto lines = PLAT::readLines(UMAS::PATH + counter);
    if (!lines) return std::nullopt;
    return lines->empty() ? std::string() : lines->front();
}

}  // namespace

std::string READNO(const std::string& counter) {
    UMAS::LOCK("FARI");
    auto line = counterLine(counter);
    if (!line) {
        PLAT::writeWholeAtomic(UMAS::PATH + counter, "1\r\n");
        line = "1";
    }
    UMAS::UNLOC("FARI");
    return *line;
}

void STORENO(const std::string& counter, long N) {
    UMAS::LOCK("FARI");
    auto line = counterLine(counter);
    const long now = line ? long(std::llround(UMAS::EVAL(*line))) : 0;
    if (!line || N + 1 > now) PLAT::writeWholeAtomic(UMAS::PATH + counter, std::to_string(N + 1) + "\r\n");
    UMAS::UNLOC("FARI");
}

// ---- Totals and print values -------------------------------------------------------------------------------

Totals SYNOLA(Record& r, bool invoice) {
    double Q = 0, S = 0;
    for (int line = 1; line <= 8; ++line) {
        const int base = 20 + 5 * line;  // column 1 of the line
        if (invoice) {
            const double V = UMAS::EVAL(r.field(base + 1)) * UMAS::EVAL(r.field(base + 3));
            r.setField(base + 4, V < 0.006 ? std::string(13, ' ') : FMT(V, 11, 2));
        }
        Q += UMAS::EVAL(r.field(base + 1));
        S += UMAS::EVAL(r.field(base + 4));
    }
    Totals t;
    t.v97 = std::fabs(Q - std::trunc(Q)) > 0 ? FMT(Q, 9, 2) : FMT(std::round(Q), 9, 0);
    t.v96 = invoice ? FMT(S, 11, 2) : std::string(10, ' ');
    return t;
}

std::vector<std::string> COLLECT(const Record& r, const std::array<PARAMS::RECPARTIM3, 34>& map, bool invoice) {
    std::vector<std::string> v(151);
    for (int i = 1; i <= 33; ++i) v[size_t(i)] = map[size_t(i)].CI;
    for (int k = 31; k <= 94; ++k) v[size_t(k)] = r.field(k - 30);
    for (int k = 55; k <= 94; ++k)
        if (k % 5 >= 1 && k % 5 <= 3) v[size_t(k)] = UMAS::RIJU(UMAS::trim(v[size_t(k)]), 10);
    v[95] = std::string(10, ' ');
    Record copy = r;
    const Totals t = SYNOLA(copy, invoice);
    v[96] = t.v96;
    v[97] = t.v97;
    return v;
}

// ---- Fill -----------------------------------------------------------------------------------------------------

std::array<PARAMS::RECPARTIM3, 34> READMAP(const std::string& NAME) {
    std::string img(PARAMS::PARD2_SIZE, '\0');
    PARAMS::RUFPAR(NAME, reinterpret_cast<uint8_t*>(img.data()), img.size());
    std::array<PARAMS::RECPARTIM3, 34> m{};
    for (size_t i = 1; i <= 33; ++i)
        m[i] = PARAMS::RECPARTIM3::decode(reinterpret_cast<const uint8_t*>(img.data()) + (i - 1) * PARAMS::RECPARTIM3::SIZE);
    return m;
}

namespace {

// The customer field of code 501..511.
std::string customer(int kv) {
    switch (kv) {
    case 501: return EA;
    case 502: return ON;
    case 503: return AF;
    case 504: return DI;
    case 505: return PO;
    case 506: return TK;
    case 507: return TH[1];
    case 508: return TH[2];
    case 509: return EP;
    case 510: return EF;
    case 511: return SX;
    default: return "";
    }
}

// The boxes 1..209 of the stored declaration; empty when it is not stored, error when damaged.
std::vector<std::string> storedBoxes(std::string& error) {
    const std::string key = DECLKEY();
    if (key.empty() || key[0] == '0' || key[0] == '-') return {};
    UMAS::LOCK("FDIA");
    std::vector<std::string> boxes;
    const STORE::Found f = STORE::find(UMAS::PATH, STORE::DECL, STORE::padKey(key, 10));
    if (f.found) {
        PLAT::File file;
        if (file.open(UMAS::PATH + STORE::DECL.M, PLAT::File::READ, false)) {
            STORE::Source src;
            src.size = file.size();
            src.read = [&file, size = src.size](int64_t off, void* buf, size_t n) {
                return off >= 0 && off + int64_t(n) <= size && file.readSome(off, buf, n) == n;
            };
            const STORE::Chain c = STORE::readChain(src, f.pos, false);
            if (!c.ok) {
                error = c.error;
            } else {
                STORE::FieldReader fr(c.data);
                boxes.push_back("");
                for (int b = 1; b <= 209; ++b) boxes.push_back(fr.next());
                if (fr.bad()) {
                    error = "field data damaged";
                    boxes.clear();
                }
            }
        }
    }
    UMAS::UNLOC("FDIA");
    return boxes;
}

}  // namespace

std::string FILL(Record& r, const std::array<PARAMS::RECPARTIM3, 34>& map) {
    std::string error;
    const std::vector<std::string> boxes = storedBoxes(error);
    if (!boxes.empty()) {
        std::string exporter, importer;
        for (int B = 1; B <= 209; ++B) {
            std::string V = boxes[size_t(B)];
            // every row naming box 68 appends the package total once more: a second row shows it twice
            for (int i = 1; i <= 33; ++i) {
                if (map[size_t(i)].KV != B) continue;
                if (B == 68)
                    V += " " + (UMAS::TOTALKOLA == 0 ? std::string(7, ' ') : UMAS::RIJU(std::to_string(UMAS::TOTALKOLA), 7));
                if (B == 82) {
                    const double x = UMAS::TOTALXM;
                    V = FMT(x, 10, x - std::trunc(x) > 0.01 ? 1 : 0);
                }
                r.setField(i, UMAS::cut(V, size_t(PLACE(i).len)));
            }
            if (B == 12) exporter = V;
            if (B == 22) importer = V;
            if (B == 68) r.setAnalysis(1, UMAS::cut(V, 50));
            if (B == 142) {
                const bool exp = V.find("EXP") != std::string::npos || V.find("MTF") != std::string::npos;
                EA = UMAS::cut(exp ? exporter : importer, 30);
            }
        }
        for (int k = 2; k <= 12; ++k) r.setAnalysis(k, PARAMS::PERIGRAFES[size_t(k - 1)]);
    }
    for (int i = 1; i <= 33; ++i) {
        const int kv = map[size_t(i)].KV;
        if (kv >= 501 && kv <= 511) r.setField(i, UMAS::cut(customer(kv), size_t(PLACE(i).len)));
    }
    return error;
}

// ---- Print ------------------------------------------------------------------------------------------------------

void PRIN(const Kind& k, const std::string& NAME, const LAYDOC::Layout& L, const std::vector<std::string>& values,
          const Record& r, int MASK, int X, int Y, bool ATR) {
    if (LAYDOC::BLANKFORM(L, 1, 120, NAME)) return;
    SCR::CALLM(MASK, true);
    // The words replace the mask's "ΕΚΤΥΠΩΣΗ" and end where it ends, before its "(Ν/Ο) ?".
    if (ATR) SCR::PRINT(11, 23, PLAT::gr("ΕΚΔΟΣΗ ATR"));
    if (!PRNS::YES(X, Y)) {
        SCR::RECALL();
        return;
    }
    const bool invoice = k.no <= 2, eur = k.no == 3;
    const std::vector<int> order = LAYDOC::SORTVARS(L, 120);
    PRNS::Printout o;
    o.open(k.formId);
    o.mode(1);
    if (ATR) o.lf(6);
    int line = L[size_t(order.front())].ROW;
    int described = 0;
    bool shiftPending = ATR;
    const std::string deMata = PLAT::gr("ΔΕΜΑΤΑ"), periG = PLAT::gr("ΠΕΡΙΓ");
    for (int x : order) {
        const PARAMS::RECPARTIM4& row = L[size_t(x)];
        if (row.COL == 0 || row.ROW == 0) continue;
        if (eur && described == 8 && row.COL < 30) {
            o.lf(1);
            for (int a = 9; a <= 13; ++a) {
                o.tab(ATR ? 4 : 1);
                o.mode(2);
                o.text(UMAS::trim(r.analysis(a)));
                o.lf(1);
                o.mode(1);
                ++line;
            }
            described = 9;  // once
        }
        if (shiftPending && row.ROW > 50) {
            line += 12;
            shiftPending = false;
        }
        if (row.ROW > line) o.lf(row.ROW - line);
        o.tab(row.COL + (ATR ? 2 : 0));
        if (invoice && row.PER.find(deMata) != std::string::npos && row.PER.find('*') == std::string::npos) {
            o.tab(1);
            o.mode(1);
            for (int a = 1; a <= 4; ++a) {
                o.text(UMAS::trim(r.analysis(a)));
                o.lf(1);
            }
        }
        o.mode(row.SA1);
        o.mode(row.SA2);
        if (eur && row.PER.rfind(periG, 0) == 0 && row.ROW >= 29 && row.ROW <= 42 && row.COL < 4) {
            ++described;
            o.tab(1);
            o.mode(2);
            o.text(UMAS::trim(r.analysis(described)));
            o.mode(1);
        } else {
            o.text(UMAS::CUTLEADSPACES(x < int(values.size()) ? values[size_t(x)] : std::string()));
        }
        o.mode(row.ST2);
        o.mode(row.ST1);
        line = row.ROW;
    }
    o.lf(1);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();
    SCR::RECALL();
}

// ---- The screen ---------------------------------------------------------------------------------------------------

namespace {

const UMAS::FUN GMLOCAL = {"",
                           PLAT::gr("ESC.Εξοδος"),
                           PLAT::gr("F4.Καταχ."),
                           PLAT::gr("Tab.Στοιχεία ΕΔΕ"),
                           PLAT::gr("Shift-F1.Εκτύπωση"),
                           // short enough for the whole legend of the invoices to fit the row
                           PLAT::gr("F6.Ανάλυση"),
                           PLAT::gr("F7.Σήμανση"),
                           "", "", "", ""};

void analysisLines(Record& r) {
    SCR::CALLM(106, true);
    for (int k = 1; k <= 13; ++k) SCR::PRINT(17, 6 + k, UMAS::padTo(r.analysis(k), 50));
    int k = 1;
    for (;;) {
        int K = 0;
        const std::string s = SCR::GINPUT(17, 6 + k, 50, r.analysis(k), "", SCR::socAll(), false, true, K);
        if (K == 3) break;
        r.setAnalysis(k, s);
        if (K == 0 || K == 2) k = k == 13 ? 1 : k + 1;
        if (K == 1) k = k == 1 ? 13 : k - 1;
    }
    SCR::RECALL();
}

}  // namespace

void SIMANSI() {
    SCR::CALLM(58, true);
    SCR::PRINT(3, 23, PLAT::gr("ΟΝΟΜΑ ΤΕΧΤ ΑΡΧΕΙΟΥ:             "));
    int K = 0;
    std::string name;
    do {
        name = SCR::GINPUT(24, 23, 12, name, "", SCR::socRange(32, 122), false, true, K);
    } while (K != 0 && K != 3);
    if (K == 3) {
        SCR::RECALL();
        return;
    }
    name = UMAS::trim(name);
    // anything but a readable plain file of the working folder counts as missing
    std::optional<std::string> text;
    if (LAYDOC::SAFENAME(name)) text = PLAT::readNamed(name);
    if (!text) {
        SCR::PRINT(3, 23, PLAT::gr(" ΑΝΥΠΑΡΚΤΟ ΑΡΧΕΙΟ !! Πατήστε ESC "));
        PLAT::con().gotoXY(36, 23);
        while (PLAT::con().readKey().ch != 27) {
        }
        SCR::RECALL();
        return;
    }
    SCR::CALLM(104, true);
    SCR::PRINT(26, 1, PLAT::gr(" ΣΗΜΑΝΣΗ & ΕΚΤΥΠΩΣΗ INVOICE "));
    const std::vector<std::string> lines = PLAT::splitLines(*text);
    for (size_t i = 0; i < lines.size() && i < 22; ++i) SCR::PRINT(2, 2 + int(i), UMAS::cut(GREEK(lines[i]), 78));
    SCR::CALLM(58, true);
    SCR::PRINT(3, 23, PLAT::gr("ΝΑ ΓΙΝΕΙ ΣΗΜΑΝΣΗ-ΕΚΤΥΠΩΣΗ (Ν/Ο);"));
    PRNS::YES(36, 23);
    SCR::RECALL();
    SCR::RECALL();
    SCR::RECALL();
}

std::string GREEK(const std::string& s) { return PLAT::cp1253ToCp737(s); }

void INVOICE(int KIND_NO) {
    const Kind* kp = KIND(KIND_NO);
    if (!kp) return;
    const Kind& k = *kp;
    const bool invoice = k.no <= 2;
    Record r;
    const std::string file = VALUESFILE(k);
    if (auto bytes = PLAT::readWhole(file)) r = DECODE(*bytes);

    SCR::CALLM(94, true);
    SCR::CALLM(2, true);
    LAYDOC::Layout L = LAYDOC::READLAYOUT(k.layout);
    const auto map = READMAP(k.map);
    // The masks, legend and title, drawn again whenever a missing layout or box map has been told
    // at the cursor, so that no piece of that line stays on the document.
    auto frame = [&] {
        SCR::CALLM(94, false);
        SCR::CALLM(2, false);
        if (invoice)
            UMAS::FKEY({1, 2, 3, 4, 5, 6}, GMLOCAL);
        else
            UMAS::FKEY({1, 2, 3, 4, 5}, GMLOCAL);
        if (k.no == 1 || k.no == 2)
            SCR::PRINT(39, 1, k.no == 1 ? "INVOICE 1      " : "INVOICE 2      ");
        else
            SCR::PRINT(28, 1, UMAS::CENTE(k.no == 3 ? std::string("EUR. 1") : PLAT::gr("ΑΙΤΗΣΗ ΔΙΕΛΕΥΣΗΣ ΖΩΝΗΣ"), 26));
    };
    frame();

    auto totals = [&] {
        const Totals t = SYNOLA(r, invoice);
        if (invoice)
            for (int line = 1; line <= 8; ++line) SCR::PRINT(67, 14 + line, UMAS::padTo(r.field(24 + 5 * line), 13));
        SCR::PRINT(36, 23, t.v97);
        if (invoice) SCR::PRINT(67, 23, t.v96);
    };
    auto redraw = [&] {
        for (int i = 1; i <= FIELDS; ++i) {
            const Place p = PLACE(i);
            SCR::PRINT(p.x, p.y, UMAS::padTo(r.field(i), size_t(p.len)));
        }
        for (int i = 1; i <= 12; ++i) SCR::PRINT(3, 1 + i, UMAS::padTo(map[size_t(i)].CI, 15));
        for (int i = 13; i <= 24; ++i) SCR::PRINT(47, i - 11, UMAS::padTo(map[size_t(i)].CI, 15));
        SCR::PRINT(3, 14, UMAS::padTo(map[25].CI + std::string(10, ' '), 30));
        SCR::PRINT(36, 14, UMAS::padTo(map[26].CI, 9));
        SCR::PRINT(48, 14, UMAS::padTo(map[27].CI, 4));
        SCR::PRINT(55, 14, UMAS::padTo(map[28].CI, 10));
        SCR::PRINT(68, 14, UMAS::padTo(map[29].CI, 11));
        SCR::PRINT(3, 23, UMAS::padTo(map[30].CI, 20));
        totals();
    };
    redraw();
    int i = 1;
    for (;;) {
        const Place p = PLACE(i);
        int K = 0;
        std::string s = SCR::GINPUT(p.x, p.y, p.len, r.field(i), "", SCR::socAll(), false, true, K);
        if (i == 13 && K == 6) {
            s = *k.counter ? READNO(k.counter) : std::string();
            SCR::PRINT(p.x, p.y, UMAS::padTo(s, size_t(p.len)));
        }
        r.setField(i, s);
        totals();
        if (K == 3) break;
        switch (K) {
        case 0:
        case 2: i = i == FIELDS ? 1 : i + 1; break;
        case 1: i = i == 1 ? FIELDS : i - 1; break;
        case 6: {
            const std::string error = FILL(r, map);
            redraw();
            if (!error.empty()) PRNS::REPORT(PLAT::gr("Η αποθηκευμένη διασάφηση είναι κατεστραμμένη: ") + error);
            break;
        }
        case 10:
            if (*k.counter) STORENO(k.counter, long(std::llround(UMAS::EVAL(r.field(13)))));
            PLAT::writeWholeAtomic(file, r.raw);
            break;
        case 12: analysisLines(r); break;
        case 13:
            if (invoice) SIMANSI();
            break;
        case 14:
        case 17: {
            const bool atr = K == 17;
            // the invoices print analysis lines 1 to 4 under the packages: they are shown for a last
            // look before the question
            if (invoice && !atr && LAYDOC::PLACES(L, 1, 120)) analysisLines(r);
            PRIN(k, k.layout, L, COLLECT(r, map, invoice), r, 63, 30, 23, atr);
            if (k.no == 6 && !atr) {
                const LAYDOC::Layout B = LAYDOC::READLAYOUT("ParZOB");
                frame();
                redraw();
                PRIN(k, "ParZOB", B, COLLECT(r, map, invoice), r, 69, 38, 23, false);
            }
            break;
        }
        case 20: PARAMS::CALC(CAS); break;
        default: break;
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace INVOICES
