// The vehicle clearance certificate ("ΠΙΣΤΟΠΟΙΗΤΙΚΟ"): a fixed layout of thirty lines on form 12.
#include "documents/ekd2.h"

#include "common/umas.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD2 {

void EKPM(BOD::SCB P, BOD::GGV G, BOD::SCB PI, BOD::GGV GI, const BOD::PRL& PA, const std::string& EXT,
          BOD::MOT& GOODS) {
    EKEXTRA::AYT(P, G, 0, 1, "", EXT, GOODS);
    SCR::CALLM(63, true);
    if (!PRNS::YES(30, 23)) {
        SCR::RECALL();
        return;
    }
    const int N = PRNS::COP();
    const bool main = PI.p == P.p;
    auto box = [](BOD::SCB p, BOD::GGV g, int n) { return BOD::SOB(p, g, n); };
    const std::string office = box(P, G, 6), office0 = UMAS::CUTLEADSPACES(office);
    const std::string reference = main ? box(P, G, 1) + "/" + box(P, G, 8) : box(PI, GI, 10) + "/" + box(PI, GI, 11);
    // From a sheet the goods lines are its description boxes 23 and 24.
    const std::string goods1 = UMAS::CUTLEADSPACES(main ? box(P, G, 72) : box(PI, GI, 23));
    const std::string goods2 = UMAS::CUTLEADSPACES(main ? box(P, G, 73) : box(PI, GI, 24));
    const std::string tariff = main ? box(P, G, 79) : box(PI, GI, 29);
    auto g = [](const char* s) { return PLAT::gr(s); };

    for (int copy = 0; copy < N; ++copy) {
        PRNS::PRNM M;
        PRNS::TABM T;
        PRNS::PFILE F;
        PRNS::SET_PE(UMAS::PE_PIMH, M, T, F);
        auto w = [&](const std::string& s) { F.write(s); };
        M(F, 1);
        T(F, 1), w(UMAS::CENTE(g("ΕΛΛΗΝΙΚΗ ΔΗΜΟΚΡΑΤΙΑ"), 32));
        T(F, 40), M(F, 2), M(F, 4), w(UMAS::CENTE(g("ΠΑΡΑΤΗΡΗΣΕΙΣ"), 40)), M(F, 5), M(F, 1), PRNS::LFE(F, 1);
        T(F, 1), M(F, 4), w(UMAS::CENTE(g("Δ/ΝΣΗ ΤΕΛΩΝΕΙΟΥ ") + office0, 32)), M(F, 5);
        T(F, 40), M(F, 3), w(UMAS::LEJU(g("Τo παρόν αυτοκίνητο πρέπει να ταξινομηθεί σαν φορτηγό."), 60)), M(F, 1),
            PRNS::LFE(F, 1);
        T(F, 1), M(F, 12), w(UMAS::CENTE(g("ΓΡΑΜΜΑΤΕΙΑ ΕΙΣΑΓΩΓΗΣ"), 32)), M(F, 13);
        T(F, 40), M(F, 3), w(UMAS::LEJU(g("Εαν κατά τον έλεγχο της Υπηρεσίας Ταξινόμησης προκύψει"), 60)), M(F, 1),
            PRNS::LFE(F, 1);
        T(F, 40), M(F, 3), w(UMAS::LEJU(g("διαφορά  σε  οποιοδήποτε  στοιχείο  στα  γραφόμενα  να"), 60)), M(F, 1),
            PRNS::LFE(F, 1);
        T(F, 1), w(UMAS::CENTE(g("Αριθ.Κατ. ................"), 30));
        T(F, 40), M(F, 3), w(UMAS::LEJU(g("επιστραφεί στο τελωνείο."), 60)), M(F, 1), PRNS::LFE(F, 4);
        T(F, 24), M(F, 12), M(F, 6), M(F, 4), w(g("ΠΙΣΤΟΠΟΙΗΤΙΚΟ")), M(F, 5), M(F, 7), M(F, 13), PRNS::LFE(F, 1);
        T(F, 1), M(F, 4), w(UMAS::CENTE(g("O ΔΙΕΥΘΥΝΤΗΣ ΤΟΥ ΤΕΛΩΝΕΙΟΥ ") + office, 76)), M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), M(F, 4), w(UMAS::CENTE(g("Πιστοποιεί ότι"), 76)), M(F, 5), PRNS::LFE(F, 2);
        M(F, 1), T(F, 1), w(g("Οπως φαίνεται απο τα στοιχεία που τηρούμε ο ")), M(F, 4), w(PA.EP), PRNS::LFE(F, 2);
        T(F, 1), w(UMAS::LEJU(PA.ON, 20));
        w(!PA.OP.empty() ? g(" του ") + PA.OP : g(" Α.Φ.Μ.:") + PA.TA);
        M(F, 5), w(g(" κάτοικος ")), M(F, 4), w(PA.SY + " " + PA.PO), M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), w(g("οδός ")), M(F, 4), w(PA.OD), M(F, 5), w(g(" αριθμ.")), M(F, 4), w(PA.AR), M(F, 5),
            w(g(" κατέθεσε στην Υπηρεσία μας την υπ'αριθμόν")), PRNS::LFE(F, 2);
        T(F, 1), M(F, 4), w(UMAS::LEJU(reference, 17)), M(F, 5),
            w(g(" Διασάφηση Εισαγωγής και αφού κατέβαλε τους ανάλογους")), PRNS::LFE(F, 2);
        T(F, 1), w(g("δασμούς και φόρους στο Δημόσιο και Τρίτους,  όπως  φαίνεται και από το")), PRNS::LFE(F, 2);
        T(F, 1), w(g("υπ'αριθμ. ")), M(F, 4), w(UMAS::LEJU(PA.A0, 15)), M(F, 5),
            w(g("διπλότυπο  είσπραξης  παρέλαβε  και  έβγαλε")), PRNS::LFE(F, 2);
        T(F, 1), w(g("από τον τελωνειακό χώρο την ")), M(F, 4), w(PA.A1), M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), w(g("Ενα (1) ")), M(F, 4), w(goods1), M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), M(F, 4), w(goods2), M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), w(g("Μάρκας ")), M(F, 4), w(UMAS::LEJU(GOODS.ER, 30)), M(F, 5), w(g(" τύπου ")), M(F, 4),
            w(UMAS::LEJU(GOODS.TY, 30)), M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), w(g("αριθμός πλαισίου ")), M(F, 4), w(GOODS.AP), M(F, 5), w(g(" και Κινητήρα ")), M(F, 4), w(GOODS.AK),
            M(F, 5), PRNS::LFE(F, 2);
        const std::string& ET = GOODS.ET;
        T(F, 1), w(g("βάρος Χιλιόγραμμα ")), M(F, 4), w(GOODS.BA), M(F, 5), w(g(" έτος κυκλοφορίας ")), M(F, 4),
            w(ET + " ( " + DIGI(ET.size() > 2 ? ET[2] : ' ') + "-" + DIGI(ET.size() > 3 ? ET[3] : ' ') + " )"),
            M(F, 5), PRNS::LFE(F, 2);
        T(F, 1), w(g("προέλευση ")), M(F, 4), w(UMAS::CUTLEADSPACES(box(P, G, 39))), M(F, 5),
            w(g(" δασμολογικής κλάσης ")), M(F, 4), w(tariff), M(F, 5), PRNS::LFE(F, 3);
        T(F, 1), M(F, 3),
            w(g("To παρόν χορηγείται σε τρία (3) αντίτυπα σύμφωνα με την παράγραφο 2 του ") +
              g("άρθρου 2 του Νόμου 2367/1953 όπως αυτή")),
            M(F, 1), PRNS::LFE(F, 1);
        T(F, 1), M(F, 3),
            w(g("τροποποιήθηκε με το άρθρο 5 παράγραφο 3 Ν.Δ. 3839/1958 και το άρθρο 3 ") +
              g("του Ν.Δ. 3829/53 για κάθε νόμιμη χρήση.")),
            M(F, 1), PRNS::LFE(F, 1);
        T(F, 1);
        for (const std::string* a : {&PA.A2, &PA.A3, &PA.A4, &PA.A5, &PA.A6}) w(*a), PRNS::LFE(F, 1);
        T(F, 35), M(F, 4), w(UMAS::CENTE(PA.AB, 45)), M(F, 5), PRNS::LFE(F, 2);
        T(F, 35), w(UMAS::CENTE(g("O ΔΙΕΥΘΥΝΤΗΣ ΤΟΥ ΤΕΛΩΝΕΙΟΥ ") + office, 45)), PRNS::LFE(F, 1);
        M(F, 11);
        F.close();
        UMAS::PRINTUSB();
    }
    SCR::RECALL();
}

}  // namespace EKD2
