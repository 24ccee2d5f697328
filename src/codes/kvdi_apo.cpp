// The places table "APO.DAT": 36 places of loading or unloading, 3 pages of 12.
#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "screen/scr.h"

namespace KVDI {

void APO(RECAPO& MEE, bool BL, uint8_t& KK) {
    using namespace detail;
    constexpr size_t N = 36;
    static_assert(N * RECAPO::SIZE == F_APO.size);
    openScreen(30, BL ? std::vector<int>{6, 7} : std::vector<int>{1, 2, 4, 7, 8});
    const std::string blanks(30, ' ');

    Screen s;
    s.BL = BL;
    s.XA = 25;
    s.LE = 30;
    s.pages = 3;
    std::vector<uint8_t> img(F_APO.size);
    RUF(F_APO.name, img.data(), img.size(), s.BO);
    std::vector<RECAPO> t = decodeRecords<RECAPO>(img, 0, N);

    s.BOX = [&] {
        SCR::PRINT(52, 19, UMAS::RIJU(std::to_string(s.SL + 1), 2));
        for (int r = 0; r < 12; ++r) {
            std::string& ap = t[size_t(s.SL * 12 + r + 1)].AP;
            ap = padTo(ap, 30);
            SCR::PRINT(25, 7 + r, ap);
        }
    };
    s.pick = [&](int n) {
        MEE = t[size_t(n)];
        return true;
    };
    s.edit = [&](int n) {
        openRowEdit();
        std::string& ap = t[size_t(n)].AP;
        if (ap.empty()) ap = blanks;
        int K = 0;
        do ap = SCR::GINPUT(25, s.y(), 30, ap, "", SCR::socAll(), false, true, K);
        while (K > 3);
        closeRowEdit();
        return false;
    };
    s.blank = [&](int n) {
        t[size_t(n)].AP.clear();
        return true;
    };
    s.store = [&] {
        encodeRecords(t, img, 0);
        KAT(F_APO.name, img.data(), img.size(), s.BO);
    };
    const uint8_t k = s.run();
    if (BL) KK = k;
    closeScreen();
}

}  // namespace KVDI
