// The dated tables: currencies with their exchange rates ("NOM.DAT") and per-unit rates
// ("KAY.DAT"), each behind the validity dates that hold for all its rows. Maintenance first asks
// for the dates, then edits the rows; the picker hands a row back only for a document date inside
// the dates.
#include <cstdio>

#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace KVDI {

namespace {

using namespace detail;

// A rate as its value with d decimals in w places, cut to the room it has on the row and filled
// with blanks to that room, so that a shorter value never leaves digits of a longer one behind.
std::string decimals(const std::string& text, int w, int d, size_t room) {
    const double v = UMAS::EVAL(text);
    if (v == 0) return std::string(std::max(size_t(w), room), ' ');
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.*f", w, d, v);
    return padTo(cut(buf, room), std::max(size_t(w), room));
}

// The table's parts that differ between the two dated tables.
struct Dated {
    int mask;
    TableFile file;
    int X1, X2, PX;  // the dates and the page number on row 19
    int XA, LE, pages;
    std::vector<int> legendPick, legendMaint;
};

// Runs a dated table on the records t (1-based) decoded from img after its 14 bytes of dates.
template <class R>
uint8_t runDated(const Dated& d, Screen& s, std::vector<uint8_t>& img, std::vector<R>& t,
                 const std::function<void(R&, int)>& drawRow) {
    const bool BL = s.BL;
    std::string fH1 = PLAT::getS(img.data(), 6), fH2 = PLAT::getS(img.data() + 7, 6);
    H1 = fH1;
    H2 = fH2;
    s.XA = d.XA;
    s.LE = d.LE;
    s.pages = d.pages;
    s.BOX = [&] {
        SCR::PRINT(d.PX, 19, UMAS::RIJU(std::to_string(s.SL + 1), 2));
        for (auto [x, date] : {std::pair<int, std::string>{d.X1, H1}, {d.X2, H2}}) {
            std::string shown = date;
            const std::string wd = weekdayOf(shown);
            SCR::PRINT(x, 19, padTo(shown, 6));
            SCR::PRINT(x + 7, 19, wd);
        }
        for (int r = 0; r < 12; ++r) drawRow(t[size_t(s.SL * 12 + r + 1)], 7 + r);
    };
    s.store = [&] {
        PLAT::putS(img.data(), 6, H1);
        PLAT::putS(img.data() + 7, 6, H2);
        encodeRecords(t, img, 14);
        const bool writing = s.BO;
        KAT(d.file.name, img.data(), img.size(), s.BO);
        if (writing) {
            fH1 = H1;
            fH2 = H2;
        }
    };
    s.BOX();
    uint8_t KK = 3;
    for (;;) {
        if (!BL) {
            uint8_t k = 0;
            HMER(d.X1, 19, d.X2, 19, k);
            if (k == 3) break;
            if (k == 1) continue;
            // Changed dates are a change to store; rows changed before Esc brought the clerk back
            // to the dates stay on screen and stay changes, so accepting the dates never clears it.
            if (H1 != fH1 || H2 != fH2) s.BO = true;
        }
        SCR::CALLM(2, true);
        legend(BL ? d.legendPick : d.legendMaint);
        KK = s.run();
        SCR::RECALL();
        if (BL) break;
    }
    return KK;
}

// A document date inside the validity dates (years read in full).
bool valid(const std::string& HT) {
    const int32_t R = dateKey(HT);
    return dateKey(H1) <= R && R <= dateKey(H2);
}

void openDated(int mask) {
    SCR::CALLM(mask, true);
    TODAY();
    arrows();
    SCR::CALLM(2, true);
    UMAS::FKEY({1}, GM1);
    H1 = H2 = two(H) + two(M) + B4.substr(2, 2);
}

}  // namespace

void NOM(RECNOM& MEE, bool BL, const std::string& HT, uint8_t& KK) {
    constexpr size_t N = 24;
    static_assert(14 + N * RECNOM::SIZE == F_NOM.size);
    openDated(26);
    Screen s;
    s.BL = BL;
    std::vector<uint8_t> img(F_NOM.size);
    RUF(F_NOM.name, img.data(), img.size(), s.BO);
    std::vector<RECNOM> t = decodeRecords<RECNOM>(img, 14, N);
    for (size_t n = 1; n <= N; ++n)
        if (!UMAS::trim(MEE.KV).empty() && t[n].KV == MEE.KV) {  // no code: no row of the table
            s.openOn(int(n));
            break;
        }
    s.list = "NOMISMA";
    s.title = PLAT::gr("ΝΟΜΙΣΜΑΤΑ");

    s.pick = [&](int n) {
        if (valid(HT)) {
            MEE = t[size_t(n)];
            return true;
        }
        SCR::CALLM(60, true);
        SCR::PRINT(42, 22, PLAT::gr("  Οι ισοτιμίες είναι εκτός ισχύος.   "));
        SCR::PRINT(42, 23, PLAT::gr("     Ελέγξτε την ημερομηνία ...      "));
        PLAT::con().gotoXY(75, 23);
        PLAT::con().readKey();
        SCR::RECALL();
        s.quit = true;
        return false;
    };
    s.editable = [](int n) { return n != 24; };  // the euro is never edited or blanked here
    s.edit = [&](int n) {
        if (n == 24) return false;
        RECNOM& r = t[size_t(n)];
        const SCR::SOC rate = SCR::soc("0123456789.");
        openRowEdit();
        editFields(s.y(), {
            {12, 4, SCR::socAll(), [&] { return r.KV; }, [&](const std::string& v) { r.KV = v; }, {}},
            {18, 20, SCR::socAll(), [&] { return r.NO.empty() ? std::string(20, ' ') : r.NO; },
             [&](const std::string& v) { r.NO = v; }, {}},
            {39, 3, SCR::socAll(), [&] { return r.ST.empty() ? std::string(3, ' ') : r.ST; },
             [&](const std::string& v) { r.ST = v; }, {}},
            {45, 3, SCR::socDigits(), [&] { return r.MO == 0 ? std::string() : UMAS::RIJU(std::to_string(r.MO), 3); },
             [&](const std::string& v) { r.MO = uint16_t(std::min<uint32_t>(digitsValue(v), 999)); },
             [&](int y) { SCR::PRINT(45, y, r.MO == 0 ? "   " : UMAS::RIJU(std::to_string(r.MO), 3)); }},
            {52, 8, rate, [&] { return UMAS::EVAL(r.IG) == 0 ? std::string() : r.IG; },
             [&](const std::string& v) { r.IG = v; }, [&](int y) { SCR::PRINT(52, y, decimals(r.IG, 8, 6, 10)); }},
            {63, 8, rate, [&] { return UMAS::EVAL(r.IS) == 0 ? std::string() : r.IS; },
             [&](const std::string& v) { r.IS = v; }, [&](int y) { SCR::PRINT(63, y, decimals(r.IS, 8, 6, 9)); }},
        });
        closeRowEdit();
        return false;
    };
    s.blank = [&](int n) {
        if (n == 24) return false;
        t[size_t(n)] = RECNOM{};
        return true;
    };
    s.listPick = [&](const GENCOD::BUF& b) {
        MEE.ST = cut(b.SCODE, 3);
        MEE.NO = cut(b.SNAME, 20);
        MEE.MO = 1;
        MEE.IG.clear();
        MEE.IS.clear();
        return true;
    };
    s.listFill = [&](int n, const GENCOD::BUF& b) {
        t[size_t(n)].ST = cut(b.SCODE, 3);
        t[size_t(n)].NO = cut(b.SNAME, 20);
        t[size_t(n)].MO = 1;
    };
    const Dated d{26, F_NOM, 22, 36, 69, 10, 62, 2, {3, 6, 7}, {1, 2, 3, 4, 7, 8}};
    const uint8_t k = runDated<RECNOM>(d, s, img, t, [](RECNOM& r, int y) {
        SCR::PRINT(12, y, padTo(r.KV, 4));
        r.NO = padTo(r.NO, 20);
        r.ST = padTo(r.ST, 3);
        SCR::PRINT(18, y, r.NO);
        SCR::PRINT(39, y, r.ST);
        SCR::PRINT(45, y, r.MO == 0 ? "   " : UMAS::RIJU(std::to_string(r.MO), 3));
        SCR::PRINT(52, y, decimals(r.IG, 8, 6, 10));
        SCR::PRINT(63, y, decimals(r.IS, 8, 6, 9));
    });
    if (BL) KK = k;
    closeScreen();
}

void KAY(RECKAY& MEE, bool BL, const std::string& HT, uint8_t& KK) {
    constexpr size_t N = 48;
    static_assert(14 + N * RECKAY::SIZE == F_KAY.size);
    openDated(120);
    Screen s;
    s.BL = BL;
    std::vector<uint8_t> img(F_KAY.size);
    RUF(F_KAY.name, img.data(), img.size(), s.BO);
    std::vector<RECKAY> t = decodeRecords<RECKAY>(img, 14, N);

    s.pick = [&](int n) {
        if (valid(HT)) {
            MEE = t[size_t(n)];
            return true;
        }
        s.quit = true;
        return false;
    };
    s.edit = [&](int n) {
        RECKAY& r = t[size_t(n)];
        openRowEdit();
        editFields(s.y(), {
            {18, 30, SCR::socAll(), [&] { return r.NO.empty() ? std::string(30, ' ') : r.NO; },
             [&](const std::string& v) { r.NO = v; }, {}},
            {55, 9, SCR::soc("0123456789."), [&] { return UMAS::EVAL(r.IS) == 0 ? std::string() : r.IS; },
             [&](const std::string& v) { r.IS = v; }, [&](int y) { SCR::PRINT(55, y, decimals(r.IS, 9, 4, 9)); }},
        });
        closeRowEdit();
        return false;
    };
    s.blank = [&](int n) {
        t[size_t(n)] = RECKAY{};
        return true;
    };
    const Dated d{120, F_KAY, 29, 43, 62, 17, 48, 4, {6, 7}, {2, 7, 8}};
    const uint8_t k = runDated<RECKAY>(d, s, img, t, [](RECKAY& r, int y) {
        r.NO = padTo(r.NO, 30);
        SCR::PRINT(18, y, r.NO);
        SCR::PRINT(55, y, decimals(r.IS, 9, 4, 9));
    });
    if (BL) KK = k;
    closeScreen();
}

}  // namespace KVDI
