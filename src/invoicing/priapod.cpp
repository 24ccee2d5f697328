// PRIAPOD: the collection and payment receipts as printed.
#include "invoicing/priapod.h"

#include <cstdio>
#include <cstdlib>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"
#include "print/prns.h"

namespace PRIAPOD {

namespace {

// One receipt printout: the form's output, its driver and tab procedure, and the receipt's values.
struct Out {
    PRNS::PFILE F;
    PRNS::PRNM P = nullptr;
    PRNS::TABM T = nullptr;
    const APOD0::TRECAP& R;
    bool euro;
    int32_t amount;  // positive, as stored

    Out(const APOD0::TRECAP& r, int form) : R(r), euro(TIM0::EURODOC(r.HM)), amount(std::abs(r.PS)) {
        PRNS::SET_PE(form, P, T, F);
    }
    void tab(uint8_t x) { T(F, x); }
    void mode(uint8_t m) { P(F, m); }
    void text(const std::string& s) { F.write(s); }
    void lf(int n) { PRNS::LFE(F, n); }
    // Mode 3, the label, mode 1.
    void label(const char* utf8) {
        mode(3);
        text(PLAT::gr(utf8));
        mode(1);
    }
    std::string figures() const {
        if (!euro) return PLAT::gr("ΔΡΑΧ. ") + std::to_string(amount);
        char b[32];
        std::snprintf(b, sizeof b, "%.2f", double(amount) / 100.0);
        return "EURO " + std::string(b);
    }
    // The amount in words, in three pieces of 45, 50 and 50 characters.
    std::string words(int piece) const {
        const std::string ol = TIM0::AMOUNTWORDS(euro ? double(amount) / 100.0 : double(amount), euro);
        const size_t from[] = {0, 45, 95}, len[] = {45, 50, 50};
        if (from[piece] >= ol.size()) return "";
        return ol.substr(from[piece], len[piece]);
    }
    std::string date() const {
        std::string h = UMAS::padTo(R.HM, 6);
        return h.substr(0, 2) + "/" + h.substr(2, 2) + "/" + h.substr(4, 2);
    }
    void head(const char* title) {
        tab(1);
        mode(6);
        mode(12);
        mode(4);
        text(UMAS::CENTE(PLAT::gr(title), 30));
        mode(5);
        mode(13);
        mode(7);
        lf(1);
        tab(1);
        mode(14);
        // A blank after the company's name: a driver without tabs (the plain-text file) would
        // otherwise glue the name to "No".
        text(UMAS::LOGOTYPO[1] + " ");
        mode(1);
        tab(41);
        text("No " + UMAS::LO2S(R.KV, 7));
        lf(1);
        for (int i = 2; i <= 4; ++i) {
            tab(1);
            mode(14);
            text(UMAS::LOGOTYPO[size_t(i)]);
            mode(1);
            lf(1);
        }
    }
    void amountLine(uint8_t column) {
        tab(column);
        mode(6);
        mode(4);
        text(figures());
        mode(5);
        mode(7);
        lf(2);
    }
    // The party block: name, address, town and tax number under their four labels.
    void party(const char* const (&labels)[4]) {
        const std::string* values[4] = {&R.EA, &R.DI, &R.PO, &R.AF};
        for (int i = 0; i < 4; ++i) {
            tab(1);
            label(labels[i]);
            text(*values[i]);
            lf(i == 3 ? 2 : 1);
        }
    }
    void tail() {
        tab(1);
        label("TO ΠΟΣΟ : ");
        text(words(0));
        lf(1);
        tab(1);
        text(words(1));
        lf(1);
        tab(1);
        text(words(2));
        lf(1);
        tab(1);
        label("ΓΙΑ : ");
        text(R.AI);
        lf(2);
        tab(41);
        label("Ο ΛΑΒΩΝ");
        lf(1);
        tab(6);
        label("(ημερομηνία) ");
        text(date());
        lf(1);
        mode(100);
        F.close();
        UMAS::PRINTUSB();
    }
};

}  // namespace

void PRINTAPODE1(const APOD0::TRECAP* P) {
    Out o(*P, UMAS::PE_APOE);
    o.head("ΑΠΟΔΕΙΞΗ ΕΙΣΠΡΑΞΕΩΣ");
    o.amountLine(23);
    o.tab(1);
    o.label("O ΠΑΡΑΚΑΤΩ ΥΠΟΓΕΓΡΑΜΕΝΟΣ : ");
    o.text(UMAS::LOGOTYPO[1]);
    o.lf(2);
    o.party({"ΕΛΑΒΑ ΑΠΟ : ", "Διεύθυνση : ", "     Πόλη : ", "   Α.Φ.Μ. : "});
    o.tail();
}

void PRINTAPODP1(const APOD0::TRECAP* P) {
    Out o(*P, UMAS::PE_APOP);
    o.head("ΑΠΟΔΕΙΞΗ ΠΛΗΡΩΜΗΣ");
    o.amountLine(21);
    o.party({"O ΠΑΡΑΚΑΤΩ ΥΠΟΓΕΓΡΑΜΕΝΟΣ : ", "               Διεύθυνση : ", "                    Πόλη : ",
             "                  Α.Φ.Μ. : "});
    o.tab(1);
    o.label("ΕΛΑΒΑ ΑΠΟ : ");
    o.text(UMAS::LOGOTYPO[1]);
    o.lf(2);
    o.tail();
}

void PRINTAPOD(const APOD0::TRECAP* P, bool MD) {
    if (MD)
        PRINTAPODE1(P);
    else
        PRINTAPODP1(P);
}

}  // namespace PRIAPOD
