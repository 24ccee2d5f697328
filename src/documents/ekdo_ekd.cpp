// The documents menu of the open declaration: the party block from the declaration's customer,
// then the eighteen accompanying documents, each on its own print form.
#include <array>

#include "customers/pelat.h"
#include "declarations/bod.h"
#include "declarations/chep.h"
#include "declarations/ekdo.h"
#include "documents/ekd2.h"
#include "documents/ekd3.h"
#include "documents/ekd4.h"
#include "documents/invoices.h"
#include "screen/scr.h"
#include "submission/ekdilo.h"

namespace EKDO {

using namespace BOD;

// The print-form id of each menu row (the settings F1 edits and the document prints with).
constexpr std::array<int, 19> MENU_FORMS = {
    0,  UMAS::PE_PIAU, UMAS::PE_PIMH, UMAS::PE_PIDE, UMAS::PE_ZON,  UMAS::PE_PIKA, UMAS::PE_EUR1,
    UMAS::PE_CMRA, UMAS::PE_CMRB, UMAS::PE_N105, UMAS::PE_DV1, UMAS::PE_ATR1, UMAS::PE_DILO, UMAS::PE_DAO,
    UMAS::PE_INV1, UMAS::PE_INV2, UMAS::PE_BEBYG, UMAS::PE_T5, UMAS::PE_TIR,
};

// The party block from the customer named in box 12 (exports and transits) or box 22. Only a
// customer of exactly that name counts: the look-up settles on the nearest name, so on a miss the
// customer number stays, the name stays as typed and no other customer's data is left behind.
void EKDPARTY() {
    const std::string K = SOB(DIA, GV, 142).substr(4, 3);
    const bool exporter = K.size() == 3 && std::string("EXPPTEMTF").find(K) != std::string::npos;
    const std::string name = UMAS::padTo(SOB(DIA, GV, exporter ? 12 : 22), 30);
    const int keptPR = PR;
    const ARP0::RR0 keptRec = PELAT::DIASRECPEL;
    EA = name;
    CHEP(0, true);
    if (UMAS::CUTLEADSPACES(EA) == UMAS::CUTLEADSPACES(name)) {
        PL.EP = EA;
        PL.ON = UMAS::cut(ON, 20);
        PL.OD = DI;
        PL.PO = PO;
        PL.TA = AF;
        PL.EG = EP;
        PL.EF = EF;
        return;
    }
    PR = keptPR;
    PELAT::DIASRECPEL = keptRec;
    EA = name;
    AF.clear();
    ON.clear();
    DI.clear();
    PO.clear();
    TK.clear();
    TH[1].clear();
    TH[2].clear();
    EP.clear();
    EF.clear();
    SX.clear();
    for (std::string* f : {&PL.EP, &PL.ON, &PL.OD, &PL.PO, &PL.TA, &PL.EG, &PL.EF}) f->clear();
}

void EKD(const std::string& EXT, bool MAIN) {
    SCR::CALLM(51, true);
    SCR::CALLM(2, true);
    UMAS::FUN legend = GM1;
    legend[7][0] = char(24);
    legend[7][2] = char(25);
    UMAS::FKEY({7, 10}, legend);
    EKDPARTY();

    // the page the menu was opened from: the main page or the loaded continuation sheet
    const SCB itemP = MAIN ? DIA : BIS;
    const GGV itemG = MAIN ? GV : GB;
    MOT& goods = MAIN ? AY : AYB;

    int LI = 0, CO = 0, SE = 0, KK = 0;
    int form = MENU_FORMS[1];
    for (;;) {
        UMAS::EPIL(4, 15, 24, 0, 4, 1, 33, 17, 0, 0, LI, CO, SE, KK, form);
        form = MENU_FORMS[size_t(LI + 1)];
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI + 1) {
        case 1: EKD2::EKPA(DIA, GV, PL, goods); break;
        case 2:
            // the party block first: the certificate prints it as the clerk left it
            EKD2::PARA(PL, true);
            EKD2::EKPM(DIA, GV, itemP, itemG, PL, EXT, goods);
            break;
        case 3: EKD3::EKDE(DIA, GV); break;
        case 4: INVOICES::INVOICE(6); break;
        case 5: EKD2::PIKA(DIA, GV); break;
        case 6: INVOICES::INVOICE(3); break;
        case 7: EKD3::CMRA(MAIN); break;
        case 8: EKD3::CMRB(MAIN); break;
        case 9: EKD3::N105(PL); break;
        case 10: EKD3::DV1(); break;
        case 11: EKD2::ATR1(DIA, GV); break;
        case 12: EKDILO::DILO(itemP, itemG, PL); break;
        case 13: EKD2::DAO(itemP, itemG, PL, goods); break;
        case 14: INVOICES::INVOICE(1); break;
        case 15: INVOICES::INVOICE(2); break;
        case 16: EKD3::BEYG(); break;
        case 17: EKD3::T5(); break;
        case 18: EKD4::TIR(0); break;
        default: break;
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKDO
