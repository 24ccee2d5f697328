// The fixture of the box-rule tests of the declaration editor: a company with small code tables and
// customers, the form of one kind cleared as a new declaration, and a runner that works one rule
// of one box with scripted keys on the headless console.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "customers/arp0.h"
#include "declarations/bod.h"
#include "declarations/ek0_editor.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/install.h"

namespace RULETEST {

namespace SC = PLAT::SC;
using PLAT::gr;
constexpr uint8_t ENTER = 13, ESC = 27, TAB = 9;

inline std::string trimRight(const std::string& s) { return UMAS::CUTLEADSPACES(s); }

// A customer of the fixture (UTF-8 texts).
struct Customer {
    const char *EA, *AF, *ON, *DI, *PO, *EP, *EF, *SX;
};

class Rules : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 3, 16, 10, 0, 0, 0});
        for (auto& sw : UMAS::PAREDE) sw.TIMI = 0;
        UMAS::HLEK4 = false;
        UMAS::LOGOTYPO = {};
        UMAS::LOGOTYPO[1] = gr("ΠΡΑΚΤΟΡΕΙΟ ΔΟΚΙΜΩΝ");
        UMAS::LOGOTYPO[7] = gr("ΠΕΙΡΑΙΑΣ");
        UMAS::DEFAULT_POLI = gr("ΠΕΙΡΑΙΑΣ");
        UMAS::AFM_EKTEL = "099999999";
        UMAS::PTAX.fill(0);
        KVDI::V01 = {};
        KVDI::V02 = {};
        KVDI::V04 = {};
        seed("NOM", {"DATES|010126|311226", "USD|ΔΟΛΑΡΙΟ ΗΠΑ|USD|1||0.9217", "DEM|ΜΑΡΚΟ|DEM|1||1.95583",
                     "XXX|ΧΩΡΙΣ ΙΣΟΤΙΜΙΑ|XXX|1||0"});
        seed("XVR", {"GR|ΕΛΛΑΔΑ", "DE|ΓΕΡΜΑΝΙΑ", "IT|ΙΤΑΛΙΑ"});
        seed("TEL", {"1001|Α' ΤΕΛ. ΠΕΙΡΑΙΑ|ΠΕΙΡΑΙΑΣ", "123|ΤΕΛ. ΚΑΤΕΡΙΝΗΣ|ΚΑΤΕΡΙΝΗ", "15|ΤΕΛ. ΣΤΑΥΡΟΥ|ΣΤΑΥΡΟΣ",
                     "0|ΓΡΑΦΕΙΟ ΧΩΡΙΣ ΚΩΔ.|ΒΟΛΟΣ"});
        seed("APO", {"ΠΕΙΡΑΙΑΣ - ΛΙΜΑΝΙ", "ΘΕΣΣΑΛΟΝΙΚΗ - ΛΙΜΑΝΙ"});
        seed("TRM", {"3|ΦΟΡΤΗΓΟ ΙΚΧ ΙΑΑ 1234", "30|ΦΟΡΤΗΓΟ ΜΕ ΡΥΜΟΥΛΚΟ"});
        seed("PER", {"ΕΙΣΑΓΩΓΗ ΤΡΙΤΩΝ|IM A 40|40|4000", "ΕΞΑΓΩΓΗ|EX A|0|0"});
        seed("TRP", {"FOB|ΕΛΕΥΘΕΡΟ ΕΠΙ ΤΟΥ ΠΛΟΙΟΥ", "CIF|ΚΟΣΤΟΣ, ΑΣΦΑΛΙΣΗ ΚΑΙ ΝΑΥΛΟΣ"});
        seed("MON", {"1|ΤΕΜΑΧΙΑ", "12|ΖΕΥΓΗ"});
        seed("SYS", {"CT|ΧΑΡΤΟΚΙΒΩΤΙΑ", "PX|ΠΑΛΕΤΕΣ"});
        seed("PRE", {"N380|ΕΜΠΟΡΙΚΟ ΤΙΜΟΛΟΓΙΟ", "N730|ΦΟΡΤΩΤΙΚΗ CMR", "   |ΔΗΛΩΣΗ ΑΞΙΑΣ"});
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    void seed(const std::string& name, const std::vector<std::string>& lines) const {
        TESTS::writeFile(company(0) + "/" + name + ".DAT", INSTALL::codeTableImage(name, lines));
    }
    // A new declaration of the kind in the form, as the editor prepares it.
    void form(const std::string& kind) {
        ASSERT_TRUE(BOD::SETFORM(kind));
        ed = EK0::Disf{};
        ed.EXT = kind;
        BOD::LL = 23;
        ed.CLLS();
        BOD::PR = BOD::NO_CUSTOMER;
        // The pickers open on their result variables: every case starts from none.
        KVDI::V01 = {};
        KVDI::V02 = {};
        KVDI::V02.KV = "    ";
        KVDI::V04 = {};
        KVDI::V05 = {};
        KVDI::V06 = {};
        KVDI::V07 = {};
        KVDI::V08 = {};
        KVDI::V0D = {};
        KVDI::V0E = {};
    }
    void addCustomers(int MN, const std::vector<Customer>& cs) {
        for (const Customer& c : cs) {
            ARP0::RR0 r;
            r.EA = ARP0::KEY(gr(c.EA));
            r.AF = c.AF;
            r.ON = gr(c.ON);
            r.DI = gr(c.DI);
            r.PO = gr(c.PO);
            r.EP = gr(c.EP);
            r.EF = gr(c.EF);
            r.SX = c.SX;
            ASSERT_EQ(ARP0::STORE(MN, r), ARP0::Stored::WRITTEN) << c.EA;
        }
    }
    std::string box(int n) const { return BOD::SOB(BOD::DIA, BOD::GV, n); }
    std::string text(int n) const { return trimRight(box(n)); }
    void put(int n, const std::string& utf8) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(utf8.c_str())); }
    // Runs fn with the keys; when it waits for more, snap() looks at the screen and Esc follows.
    void run(const std::vector<PLAT::Event>& keys, const std::function<void()>& fn,
             const std::function<void()>& snap = {}) {
        for (const auto& e : keys) con->push(e);
        bool done = false;
        con->onIdle = [&] {
            if (done) return;
            done = true;
            if (snap) snap();
            con->ch(ESC);
        };
        try {
            fn();
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the rule did not return";
        }
        con->onIdle = nullptr;
    }
    // Tab on box v with the picker's keys after it.
    void tab(int v, const std::vector<PLAT::Event>& keys) {
        run(keys, [&] {
            ed.VV = v;
            ed.K = 6;
            ed.KEY(v, 3);
        });
    }
    std::string screenRow(int y) const {
        std::string s;
        for (int x = 0; x < PLAT::SCREEN_W; ++x) s += char(con->cells[size_t(y - 1)][size_t(x)].ch);
        return s;
    }
    static std::vector<PLAT::Event> downs(int n, bool enter = true) {
        std::vector<PLAT::Event> v(size_t(n), PLAT::keyExt(SC::DOWN));
        if (enter) v.push_back(PLAT::keyChar(ENTER));
        return v;
    }
    static std::vector<PLAT::Event> typed(const char* utf8) {
        std::vector<PLAT::Event> v;
        for (unsigned char c : gr(utf8)) v.push_back(PLAT::keyChar(c));
        return v;
    }
    EK0::Disf ed;
};

inline std::vector<PLAT::Event> operator+(std::vector<PLAT::Event> a, const std::vector<PLAT::Event>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace RULETEST
