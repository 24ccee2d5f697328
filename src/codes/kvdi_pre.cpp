// The attached-documents table "PRE.DAT": 48 kinds of document. Its picker lets the clerk mark up
// to eight rows with the space bar and hands them back in the order they were marked.
#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "platform/codepage.h"
#include "screen/scr.h"

namespace KVDI {

void PRE(RECPREB& MEE, bool BL, uint8_t& KK) {
    using namespace detail;
    constexpr size_t N = 48;
    static_assert(N * RECPRE::SIZE == F_PRE.size);
    arrows();
    SCR::CALLM(31, true);
    SCR::PRINT(25, 5, PLAT::gr("ΠΡΟΣΚΟΜΙΖΟΜΕΝΩΝ ΕΓΓΡΑΦΩΝ (44)"));
    SCR::PRINT(28, 6, PLAT::gr("      ΟΝΟΜΑΣΙΑ ΕΓΓΡΑΦΟΥ      "));
    SCR::CALLM(2, true);
    legend(BL ? std::vector<int>{3, 6, 7} : std::vector<int>{1, 2, 3, 4, 7, 8});

    MEE = RECPREB{};
    std::array<int, 9> marks{};  // [1..8] entry numbers, 0 for an empty slot
    int next = 1;

    Screen s;
    s.BL = BL;
    s.XA = 20;
    s.LE = 40;
    s.pages = 4;
    s.list = "SYNIMENA";
    s.title = PLAT::gr("ΣΥΝΗΜΜΕΝΑ ΕΓΓΡΑΦΑ");
    std::vector<uint8_t> img(F_PRE.size);
    RUF(F_PRE.name, img.data(), img.size(), s.BO);
    std::vector<RECPRE> t = decodeRecords<RECPRE>(img, 0, N);

    s.BOX = [&] {
        SCR::PRINT(57, 19, UMAS::RIJU(std::to_string(s.SL + 1), 2));
        for (int r = 0; r < 12; ++r) {
            RECPRE& x = t[size_t(s.SL * 12 + r + 1)];
            x.KV = padTo(x.KV, 4);
            x.EE = padTo(x.EE, 30);
            SCR::PRINT(22, 7 + r, x.KV);
            SCR::PRINT(29, 7 + r, x.EE);
        }
    };
    // The marks of the page: green rows, the others in the normal colours.
    s.beforeKey = [&] {
        for (int r = 0; r < 12; ++r) {
            const int n = s.SL * 12 + r + 1;
            bool marked = false;
            for (int i = 1; i <= 8; ++i) marked = marked || marks[size_t(i)] == n;
            int li = r, co = 0, se = s.SL, k = 32;
            UMAS::EPIL(marked ? 2 : 0, 14, 20, 0, 7, 1, 40, 11, 0, 3, li, co, se, k, 0);
        }
    };
    s.other = [&](int K) {
        if (K != 20) return false;
        marks[size_t(next)] = s.rec();
        next = next % 8 + 1;
        return false;
    };
    s.pick = [&](int) {
        for (int i = 1; i <= 8; ++i)
            if (const int m = marks[size_t(i)]; m > 0) {
                MEE.KV[size_t(i)] = t[size_t(m)].KV;
                MEE.EE[size_t(i)] = t[size_t(m)].EE;
            }
        return true;
    };
    s.edit = [&](int n) {
        RECPRE& r = t[size_t(n)];
        SCR::SOC code = SCR::socDigits() | SCR::socRange('A', 'Z') | SCR::socRange(0x80, 0x97);
        openRowEdit();
        editFields(s.y(), {{22, 4, code, [&] { return r.KV.empty() ? std::string(4, ' ') : r.KV; },
                            [&](const std::string& v) { r.KV = v; }, {}},
                           {29, 30, SCR::socAll(), [&] { return r.EE.empty() ? std::string(30, ' ') : r.EE; },
                            [&](const std::string& v) { r.EE = v; }, {}}});
        closeRowEdit();
        return false;
    };
    s.blank = [&](int n) {
        t[size_t(n)] = RECPRE{};
        return true;
    };
    s.store = [&] {
        encodeRecords(t, img, 0);
        KAT(F_PRE.name, img.data(), img.size(), s.BO);
    };
    s.listPick = [&](const GENCOD::BUF& b) {
        MEE = RECPREB{};
        MEE.KV[1] = b.SCODE;
        MEE.EE[1] = cut(b.SNAME, 30);
        return true;
    };
    s.listFill = [&](int n, const GENCOD::BUF& b) {
        t[size_t(n)].KV = b.SCODE;
        t[size_t(n)].EE = cut(b.SNAME, 30);
    };
    const uint8_t k = s.run();
    if (BL) KK = k;
    closeScreen();
}

}  // namespace KVDI
