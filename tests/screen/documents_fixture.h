// The fixture of the document tests: the box-rule fixture's company (code tables, customers), the
// printer ports mapped to files by a test "PORTS.TXT" (ESC/P emulation), the print counter, and
// declarations stored and loaded back through the store's own routines.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "declarations/ek0.h"
#include "declarations/store_form.h"
#include "print/prns.h"
#include "screen/ek0_rules_fixture.h"
#include "submission/disket_counter.h"

namespace DOCTEST {

using namespace RULETEST;

class Docs : public Rules {
protected:
    void SetUp() override {
        Rules::SetUp();
        savedUser = UMAS::USER_ID;
        UMAS::USER_ID = "1";
        UMAS::KALOS1.clear();
        UMAS::KALOS2.clear();
        PRNS::HTAB_OFSET = 0;
        TESTS::writeFile(work->file("PORTS.TXT"), "LPT1 lpt1.out\r\n");
        setCount(41);
    }
    void TearDown() override {
        UMAS::USER_ID = savedUser;
        Rules::TearDown();
    }
    // Form `form` prints to LPT1 (the file lpt1.out) with the Epson driver.
    static void toPort(int form) { PRNS::writeParEkt(form, PRNS::PAR_EKT{66, 0, 0, 1, 1}); }
    // Form `form` prints to the spool file "KVX.TXT"; the hand-off script appends each job to
    // handed.out followed by a line "=====".
    void toSpool(int form) {
        PRNS::writeParEkt(form, PRNS::PAR_EKT{66, 0, 0, 7, 1});
        TESTS::writeFile(work->file("prntxt.sh"), "cat [Kk][Vv][Xx].[Tt][Xx][Tt] >> handed.out; echo ===== >> handed.out\n");
    }
    std::string port() const { return TESTS::readFile(work->file("lpt1.out")); }
    std::string handed() const { return TESTS::readFile(work->file("handed.out")); }
    void clearPort() const { TESTS::writeFile(work->file("lpt1.out"), ""); }

    std::string counterFile() const { return work->file("DATABASE/ARXEIO0/HDD.DAT"); }
    void setCount(unsigned n) const { TESTS::writeFile(counterFile(), std::string{char(n & 0xFF), char(n >> 8)}); }
    int count() const {
        const std::string s = TESTS::readFile(counterFile());
        return s.size() < 2 ? -1 : uint8_t(s[0]) | (uint8_t(s[1]) << 8);
    }

    // A new declaration of the kind with number `number`, boxes given (UTF-8), stored through the
    // store and loaded back into the form as the editor opens it.
    void stored(const std::string& kind, const std::string& number, const std::vector<std::pair<int, std::string>>& boxes,
                const BOD::MOT& goods = BOD::MOT{}) {
        form(kind);
        BOD::TM = UMAS::LEJU(number, 10);
        BOD::BOS(BOD::DIA, BOD::GV, 1, number);
        for (const auto& [b, t] : boxes) BOD::BOS(BOD::DIA, BOD::GV, b, gr(t.c_str()));
        BOD::HM = BOD::SOB(BOD::DIA, BOD::GV, 8);
        BOD::AY = goods;
        BOD::BOO = false;
        BOD::CSM = -1;
        ASSERT_TRUE(EK0::KATD().stored);
        form(kind);
        BOD::TM = UMAS::LEJU(number, 10);
        ASSERT_TRUE(EK0::CHO().found);
        ASSERT_TRUE(BOD::BOO);
        ASSERT_TRUE(EK0::DISF_RUF(true));
        ASSERT_EQ(BOD::AY, goods);
    }

    // Runs fn with the keys queued; when it waits with the keys used up, each snap in turn may look
    // and queue more; after the last one Esc keys follow until it returns.
    void run(const std::function<void()>& fn, const std::vector<std::function<void()>>& snaps = {}) {
        size_t next = 0;
        int escapes = 0;
        con->onIdle = [&] {
            if (con->pending() > 0) return;
            if (next < snaps.size()) {
                snaps[next++]();
                if (con->pending() > 0) return;
            }
            if (++escapes > 30) return;
            con->ch(ESC);
        };
        try {
            fn();
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the screen did not return";
        }
        con->onIdle = nullptr;
        PLAT::Event ev;
        while (con->poll(ev)) {
        }
        EXPECT_EQ(next, snaps.size()) << "every snap ran";
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "the screen is restored";
    }
    void type(const std::string& utf8) { con->keys(gr(utf8.c_str())); }
    void enter(int n = 1) {
        for (int i = 0; i < n; ++i) con->ch(ENTER);
    }

    void golden(const std::string& name, const std::string& got) const {
        const std::string file = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/documents/" + name;
        if (getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(file, got);
        EXPECT_EQ(got, TESTS::readFile(file)) << "golden file " << file;
    }
    std::string savedUser;
};

// The bytes "ESC x" and friends, and a CP737 text, for searching printouts.
inline std::string esc(const std::string& s) { return "\x1B" + s; }

}  // namespace DOCTEST
