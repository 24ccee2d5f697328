// The simple code tables: countries, customs offices, means of transport, supplementary units,
// declaration presets, delivery terms, kinds of packages and additional information. One family
// on the editor-picker loop; each member gives its file, fields, official list and preset rule.
#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace KVDI {

namespace {

using namespace detail;

template <class R>
struct Member {
    TableFile file;
    int mask;
    std::vector<std::pair<std::pair<int, int>, const char*>> texts;  // printed on the mask (UTF-8)
    int XA, LE, PX, pagePlaces;
    const char* list = "";
    const char* title = "";
    std::function<int(const std::vector<R>&, R&)> preset{};       // the record to open on, 0: none
    std::function<void(R&, int y)> draw{};                          // pads in memory and prints
    std::function<std::vector<Field>(R&)> fields{};
    std::function<void(R&)> blank{};                                // F5
    std::function<bool(R&, const GENCOD::BUF&)> fromList{};         // false: refused
};

template <class R>
void runMember(const Member<R>& d, R& MEE, bool BL, uint8_t& KK) {
    const size_t N = d.file.size / R::SIZE;
    const bool hasList = d.list[0] != 0;
    std::vector<int> legend = BL ? (hasList ? std::vector<int>{3, 6, 7} : std::vector<int>{6, 7})
                                 : (hasList ? std::vector<int>{1, 2, 3, 4, 7, 8} : std::vector<int>{1, 2, 4, 7, 8});
    arrows();
    SCR::CALLM(d.mask, true);
    for (const auto& [at, text] : d.texts) SCR::PRINT(at.first, at.second, PLAT::gr(text));
    SCR::CALLM(2, true);
    detail::legend(legend);

    Screen s;
    s.BL = BL;
    s.XA = d.XA;
    s.LE = d.LE;
    s.pages = int(N / 12);
    if (hasList) {
        s.list = d.list;
        s.title = PLAT::gr(d.title);
    }
    std::vector<uint8_t> img(d.file.size);
    RUF(d.file.name, img.data(), img.size(), s.BO);
    std::vector<R> t = decodeRecords<R>(img, 0, N);
    if (d.preset)
        if (int n = d.preset(t, MEE); n > 0) s.openOn(n);

    s.BOX = [&] {
        const std::string page = std::to_string(s.SL + 1);
        SCR::PRINT(d.PX, 19, d.pagePlaces == 1 ? page : UMAS::RIJU(page, 2));
        for (int r = 0; r < 12; ++r) d.draw(t[size_t(s.SL * 12 + r + 1)], 7 + r);
    };
    s.pick = [&](int n) {
        MEE = t[size_t(n)];
        return true;
    };
    s.edit = [&](int n) {
        openRowEdit();
        editFields(s.y(), d.fields(t[size_t(n)]));
        closeRowEdit();
        return false;
    };
    s.blank = [&](int n) {
        d.blank(t[size_t(n)]);
        return true;
    };
    s.store = [&] {
        encodeRecords(t, img, 0);
        KAT(d.file.name, img.data(), img.size(), s.BO);
    };
    s.listPick = [&](const GENCOD::BUF& b) {
        R r = MEE;
        if (!d.fromList(r, b)) {
            PLAT::con().bell();
            return false;
        }
        MEE = r;
        return true;
    };
    s.listFill = [&](int n, const GENCOD::BUF& b) {
        if (!d.fromList(t[size_t(n)], b)) PLAT::con().bell();
    };
    const uint8_t k = s.run();
    if (BL) KK = k;
    closeScreen();
}

// The number of a digits field as offered and shown: w digits with leading zeros, empty (offered)
// or w blanks (shown) for 0.
std::string zeros(uint32_t v, int w) {
    if (v == 0) return "";
    std::string s = std::to_string(v);
    ZER(s = UMAS::RIJU(s, w));
    return s;
}
std::string zerosShown(uint32_t v, int w) { return v == 0 ? std::string(size_t(w), ' ') : zeros(v, w); }

// A typed list code as a number: the value of its leading numeric part, rounded.
bool listNumber(const std::string& code, uint32_t max, uint32_t& v) {
    const double d = UMAS::EVAL(code);
    if (d < 0 || d > double(max) + 0.5) return false;
    v = uint32_t(d + 0.5);
    return v <= max;
}

}  // namespace

// Each member's row draws its fields on row y (the screen row of the record).
void POL(RECPOL& MEE, bool BL, uint8_t& KK) {
    Member<RECPOL> d{F_POL, 27, {}, 25, 30, 52, 2, "XORES", "ΧΩΡΕΣ"};
    d.preset = [](const std::vector<RECPOL>& t, RECPOL& m) {
        m.CI = UMAS::CUTLEADSPACES(m.CI);
        for (size_t n = 1; n < t.size(); ++n) {
            if (!m.CI.empty() && t[n].CI.find(m.CI) != std::string::npos) return int(n);
            if (m.KV != "    " && m.KV == t[n].KV) return int(n);
        }
        return 0;
    };
    d.draw = [](RECPOL& r, int y) {
        SCR::PRINT(26, y, padTo(r.KV, 4));
        r.CI = padTo(r.CI, 20);
        SCR::PRINT(34, y, r.CI);
    };
    d.fields = [](RECPOL& r) {
        return std::vector<Field>{
            {26, 4, SCR::socAll(), [&r] { return r.KV; }, [&r](const std::string& s) { r.KV = s; }, {}},
            {34, 20, SCR::socAll(), [&r] { return r.CI.empty() ? std::string(20, ' ') : r.CI; },
             [&r](const std::string& s) { r.CI = s; }, {}}};
    };
    d.blank = [](RECPOL& r) { r = {}; };
    d.fromList = [](RECPOL& r, const GENCOD::BUF& b) {
        r.KV = b.SCODE;
        r.CI = cut(b.SNAME, 20);
        return true;
    };
    runMember(d, MEE, BL, KK);
}

void TEL(RECTEL& MEE, bool BL, uint8_t& KK) {
    Member<RECTEL> d{F_TEL, 130, {}, 17, 53, 67, 2, "TELONIA", "ΤΕΛΩΝΕΙΑ"};
    d.preset = [](const std::vector<RECTEL>& t, RECTEL& m) {
        int found = 0;
        if (m.KV > 0)
            for (size_t n = 1; n < t.size(); ++n)
                if (t[n].KV == m.KV) found = int(n);
        return found;
    };
    d.draw = [](RECTEL& r, int y) {
        SCR::PRINT(18, y, zerosShown(r.KV, 4));
        r.TE = padTo(r.TE, 20);
        r.CI = padTo(r.CI, 20);
        SCR::PRINT(26, y, r.TE);
        SCR::PRINT(49, y, r.CI);
    };
    d.fields = [](RECTEL& r) {
        return std::vector<Field>{
            {18, 4, SCR::socDigits(), [&r] { return zeros(r.KV, 4); },
             [&r](const std::string& s) { r.KV = uint16_t(digitsValue(s)); },
             [&r](int y) { SCR::PRINT(18, y, zerosShown(r.KV, 4)); }},
            {26, 20, SCR::socAll(), [&r] { return r.TE.empty() ? std::string(20, ' ') : r.TE; },
             [&r](const std::string& s) { r.TE = s; }, {}},
            {49, 20, SCR::socAll(), [&r] { return r.CI.empty() ? std::string(20, ' ') : r.CI; },
             [&r](const std::string& s) { r.CI = s; }, {}}};
    };
    d.blank = [](RECTEL& r) {
        r.KV = 0;
        r.TE.clear();
    };
    d.fromList = [](RECTEL& r, const GENCOD::BUF& b) {
        uint32_t v = 0;
        if (!listNumber(b.SCODE, 65535, v)) return false;
        r.KV = uint16_t(v);
        r.TE = cut(b.SNAME, 20);
        return true;
    };
    runMember(d, MEE, BL, KK);
}

namespace {

// Means of transport and supplementary units: a two-digit code at 22 and a text at 29.
Member<RECTRM> byteCodeTable(TableFile f, const char* list, const char* title) {
    Member<RECTRM> d{f, 31, {}, 20, 40, 57, 2, list, title};
    d.draw = [](RECTRM& r, int y) {
        SCR::PRINT(22, y, zerosShown(r.KV, 2));
        r.TR = padTo(r.TR, 30);
        SCR::PRINT(29, y, r.TR);
    };
    d.fields = [](RECTRM& r) {
        return std::vector<Field>{
            {22, 2, SCR::socDigits(), [&r] { return zeros(r.KV, 2); },
             [&r](const std::string& s) { r.KV = uint8_t(digitsValue(s)); },
             [&r](int y) { SCR::PRINT(22, y, zerosShown(r.KV, 2)); }},
            {29, 30, SCR::socAll(), [&r] { return r.TR.empty() ? std::string(30, ' ') : r.TR; },
             [&r](const std::string& s) { r.TR = s; }, {}}};
    };
    d.blank = [](RECTRM& r) { r = {}; };
    d.fromList = [](RECTRM& r, const GENCOD::BUF& b) {
        uint32_t v = 0;
        if (!listNumber(b.SCODE, 255, v)) return false;
        r.KV = uint8_t(v);
        r.TR = cut(b.SNAME, 30);
        return true;
    };
    return d;
}

// Delivery terms, kinds of packages and additional information: a code and a name of 30 at 29.
template <class R>
Member<R> codeNameTable(TableFile f, int codeW, int codeX, size_t listCode, const char* list, const char* title) {
    Member<R> d{f, 31, {}, 20, 40, 57, 2, list, title};
    d.draw = [codeW, codeX](R& r, int y) {
        r.TR = padTo(r.TR, size_t(codeW));
        r.PA = padTo(r.PA, 30);
        SCR::PRINT(codeX, y, r.TR);
        SCR::PRINT(29, y, r.PA);
    };
    d.fields = [codeW, codeX](R& r) {
        return std::vector<Field>{
            {codeX, codeW, SCR::socAll(), [&r, codeW] { return r.TR.empty() ? std::string(size_t(codeW), ' ') : r.TR; },
             [&r](const std::string& s) { r.TR = s; }, {}},
            {29, 30, SCR::socAll(), [&r] { return r.PA.empty() ? std::string(30, ' ') : r.PA; },
             [&r](const std::string& s) { r.PA = s; }, {}}};
    };
    d.blank = [](R& r) { r = {}; };
    d.fromList = [listCode](R& r, const GENCOD::BUF& b) {
        r.TR = cut(b.SCODE, listCode);
        r.PA = cut(b.SNAME, 30);
        return true;
    };
    return d;
}

}  // namespace

void TRM(RECTRM& MEE, bool BL, uint8_t& KK) { runMember(byteCodeTable(F_TRM, "", ""), MEE, BL, KK); }

void MON(RECMON& MEE, bool BL, uint8_t& KK) {
    Member<RECMON> d = byteCodeTable(F_MON, "MONMETR", "ΜΟΝΑΔΕΣ ΜΕΤΡΗΣΗΣ");
    d.texts = {{{25, 5}, "ΣΥΜΠΛΗΡΩΜΑΤΙΚΩΝ ΜΟΝΑΔΩΝ  (41)"}, {{28, 6}, "      ΟΝΟΜΑΣΙΑ ΜΟΝΑΔΟΣ       "}};
    runMember(d, MEE, BL, KK);
}

std::string MON_CODE(uint8_t KV) {
    std::string s = std::to_string(KV);
    if (s.size() < 2) s.insert(0, 1, '0');
    return s + ":";
}

void TRP(RECTRP& MEE, bool BL, uint8_t& KK) {
    Member<RECTRP> d = codeNameTable<RECTRP>(F_TRP, 3, 22, 3, "TROPOI", "ΤΡΟΠΟΙ ΠΑΡΑΔΟΣΗΣ");
    d.texts = {{{26, 5}, "    ΟΡΩΝ ΠΑΡΑΔΟΣΗΣ (20)    "}, {{20, 6}, "  ΟΡΟΣ "}, {{28, 6}, "         Π Α Ρ Α Δ Ο Σ Η     "}};
    runMember(d, MEE, BL, KK);
}

void SYS(RECSYS& MEE, bool BL, uint8_t& KK) {
    Member<RECSYS> d = codeNameTable<RECSYS>(F_SYS, 3, 22, 3, "SYSKEYAS", "ΣΥΣΚΕΥΑΣΙΕΣ");
    d.texts = {{{26, 5}, "   Σ Y Σ Κ Ε Υ Α Σ Ι Ω Ν    "}, {{20, 6}, "ΚΩΔΙΚΟΣ"}, {{28, 6}, "      ΟΝΟΜΑΣΙΑ ΣΥΣΚΕΥΑΣΙΑΣ   "}};
    runMember(d, MEE, BL, KK);
}

void PROSTHETA(RECPROSTHETA& MEE, bool BL, uint8_t& KK) {
    // A company without the table gets it on first opening: 24 blank entries.
    const std::string fn = UMAS::PATH + F_PROSTH.name + ".DAT";
    if (!PLAT::fileExists(fn)) {
        std::vector<uint8_t> img(F_PROSTH.size);
        std::vector<RECPROSTHETA> t(F_PROSTH.size / RECPROSTHETA::SIZE + 1,
                                    RECPROSTHETA{std::string(6, ' '), std::string(30, ' ')});
        encodeRecords(t, img, 0);
        PLAT::writeWholeNew(fn, std::string(img.begin(), img.end()));
    }
    Member<RECPROSTHETA> d = codeNameTable<RECPROSTHETA>(F_PROSTH, 6, 21, 4, "PROSTHET", "  ΠΡΟΣΘΕΤΑ  ");
    d.texts = {{{26, 5}, "    ΠΡΟΣΘΕΤΩΝ ΣΤΟΙΧΕΙΩΝ     "}, {{20, 6}, "ΚΩΔΙΚΟΣ"}, {{28, 6}, " ΟΝΟΜΑΣΙΑ ΠΡΟΣΘΕΤΟΥ ΣΤΟΙΧΕΙΟΥ"}};
    runMember(d, MEE, BL, KK);
}

void PER(RECPER& MEE, bool BL, uint8_t& KK) {
    Member<RECPER> d{F_PER, 32, {}, 15, 52, 65, 1};
    d.draw = [](RECPER& r, int y) {
        r.PE = padTo(r.PE, 20);
        r.DI = padTo(r.DI, 7);
        SCR::PRINT(16, y, r.PE);
        SCR::PRINT(40, y, r.DI);
        SCR::PRINT(53, y, zerosShown(r.KV, 2));
        SCR::PRINT(59, y, r.KA == 0 ? std::string(7, ' ') : UMAS::RIJU(std::to_string(r.KA), 7));
    };
    d.fields = [](RECPER& r) {
        return std::vector<Field>{
            {16, 20, SCR::socAll(), [&r] { return r.PE; }, [&r](const std::string& s) { r.PE = s; }, {}},
            {40, 7, SCR::socAll(), [&r] { return r.DI.empty() ? std::string(7, ' ') : r.DI; },
             [&r](const std::string& s) { r.DI = s; }, {}},
            {53, 2, SCR::socDigits(), [&r] { return zeros(r.KV, 2); },
             [&r](const std::string& s) { r.KV = uint8_t(digitsValue(s)); },
             [&r](int y) { SCR::PRINT(53, y, r.KV == 0 ? "  " : UMAS::RIJU(std::to_string(r.KV), 2)); }},
            {59, 7, SCR::socDigits(), [&r] { return r.KA == 0 ? std::string() : UMAS::RIJU(std::to_string(r.KA), 7); },
             [&r](const std::string& s) { r.KA = int32_t(digitsValue(s)); },
             [&r](int y) { SCR::PRINT(59, y, r.KA == 0 ? std::string(7, ' ') : UMAS::RIJU(std::to_string(r.KA), 7)); }}};
    };
    d.blank = [](RECPER& r) { r = {}; };
    runMember(d, MEE, BL, KK);
}

}  // namespace KVDI
