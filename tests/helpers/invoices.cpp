#include "helpers/invoices.h"

#include <stdexcept>

#include "common/umas.h"
#include "platform/codepage.h"

namespace TESTS {

uint16_t addCustomer(const std::string& utf8Name, const std::string& town) {
    ARP0::RR0 c;
    c.EA = ARP0::KEY(PLAT::gr(utf8Name.c_str()));
    c.AF = "099999999";
    c.DI = PLAT::gr("ΟΔΟΣ 1");
    c.PO = PLAT::gr(town.empty() ? "ΠΕΙΡΑΙΑΣ" : town.c_str());
    c.TH[0] = "2100000000";
    c.EP = PLAT::gr("ΕΜΠΟΡΟΣ");
    c.EF = PLAT::gr("ΦΑΕ");
    if (ARP0::STORE(0, c) != ARP0::Stored::WRITTEN) throw std::runtime_error("customer not stored");
    return ARP0::XN;
}

bool openDoc(TIM::TIMOS& t, int number, const std::string& seriesUtf8) {
    t.SETSEIRA(PLAT::gr(seriesUtf8.c_str()));
    TIM0::TM = UMAS::LEJU(std::to_string(number), 6);
    UMAS::LOCK("FTIM");
    t.CHO();
    if (APODI::BOO)
        t.RUF();
    else {
        t.CLLS();
        t.BOX();
    }
    UMAS::UNLOC("FTIM");
    return APODI::BOO;
}

void setCustomer(const std::string& utf8Name) {
    APODI::EA = APODI::FOLDNAME(PLAT::gr(utf8Name.c_str()));
    APODI::CHEP();
    APODI::BON = APODI::EA;
}

int32_t customerXR(uint16_t pr) {
    ARP0::RR0 r;
    if (!ARP0::readRecord(0, pr, r)) throw std::runtime_error("no such customer");
    return r.XR;
}

}  // namespace TESTS
