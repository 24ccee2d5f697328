// A company for the customer reports: customers stored through the customer files, invoices and
// credit notes stored the way the invoice editor stores them, today fixed at 10 December 2026.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "reports/arp2.h"
#include "screen/scr.h"

namespace REPTEST {

using PLAT::gr;

inline void expectGolden(const std::string& name, const std::string& bytes) { TESTS::expectGolden("reports/" + name, bytes); }

struct Step {
    std::vector<PLAT::Event> keys;
    std::function<void()> check;
};

inline std::vector<PLAT::Event> typed(const std::string& cp737) {
    std::vector<PLAT::Event> v;
    for (unsigned char c : cp737) v.push_back(PLAT::keyChar(c));
    return v;
}
inline std::vector<PLAT::Event> operator+(std::vector<PLAT::Event> a, const std::vector<PLAT::Event>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const PLAT::Event ENTER = PLAT::keyChar(13), ESC = PLAT::keyChar(27), TAB = PLAT::keyChar(9),
                  CLEAR = PLAT::keyChar(25), UP = PLAT::keyExt(PLAT::SC::UP), DOWN = PLAT::keyExt(PLAT::SC::DOWN),
                  PGUP = PLAT::keyExt(PLAT::SC::PGUP), PGDN = PLAT::keyExt(PLAT::SC::PGDN),
                  SF1 = PLAT::keyExt(PLAT::SC::SF1), SF2 = PLAT::keyExt(PLAT::SC::SF2),
                  F1 = PLAT::keyExt(PLAT::SC::F1), F2 = PLAT::keyExt(PLAT::SC::F2);
// A date field cleared and typed.
inline std::vector<PLAT::Event> date(const std::string& t) { return std::vector<PLAT::Event>{CLEAR} + typed(t); }

class Reports : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        ARP2::TODAY();
        UMAS::EURO = 340.75;
        UMAS::TIMEUR = 0;
        UMAS::USER_ID = "1";
        for (int i = 1; i <= 5; ++i) UMAS::LOGOTYPO[size_t(i)] = "HEADER LINE " + std::to_string(i);
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ");
        PARAMS::PARTIM1[2] = gr("ΕΞΟΔΑ ΜΕΤΑΦΟΡΑΣ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
        TIM0::SEIRA.clear();
        ARP0::WAIT = [](int) {};
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        UMAS::TIMEUR = 0;
        Installation::TearDown();
    }
    std::string file(const std::string& n) const { return company(0) + "/" + n; }

    // Stores a new invoice (KIND 0) or credit note (KIND 2) numbered N of the customer named NAME
    // with the amounts of lines 1, 2 and 18.
    void store(int kind, int n, const std::string& hm, const std::string& name, double l1, double l2 = 0,
               double l18 = 0) {
        if (kind == 2 && !PLAT::fileExists(UMAS::PATH + "SI.DAT")) {
            std::string b = TESTS::readFile(file("PSEIRES.DAT"));
            PARAMS::SEIRES_CREATEFILES(1, PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(b.data())));
        }
        TIM::TIMOS t{static_cast<uint8_t>(kind)};
        ASSERT_FALSE(TESTS::openDoc(t, n));
        TIM0::HM = hm;
        TESTS::setCustomer(name);
        TIM0::XR[1] = l1;
        TIM0::XR[2] = l2;
        TIM0::XR[18] = l18;
        ASSERT_TRUE(t.KTT(true, false)) << n;
    }
    // Stores a new receipt numbered n (a collection, or a payment with PAYMENT) of the customer
    // named NAME, amount as typed.
    void receipt(int n, const std::string& hm, const std::string& name, const std::string& ps, bool payment = false,
                 const std::string& reason = "") {
        APOD0::APODS a(!payment);
        a.KV = std::to_string(n);
        a.CHO();
        ASSERT_FALSE(APODI::BOO);
        a.CLLS();
        a.BKV = a.KV;
        a.HM = hm;
        TESTS::setCustomer(name);
        a.PS = ps;
        a.AI = gr(reason.c_str());
        ASSERT_TRUE(a.KTT()) << n;
    }
    // Changes stored record r of a record file.
    void patch(const std::string& recfile, size_t r, const std::function<void(TIM0::RTIM&)>& change) {
        std::string b = TESTS::readFile(file(recfile));
        auto* p = reinterpret_cast<uint8_t*>(b.data()) + r * TIM0::RTIM::SIZE;
        TIM0::RTIM rec = TIM0::RTIM::decode(p);
        change(rec);
        rec.encode(p);
        TESTS::writeFile(file(recfile), b);
    }
    // What the list form printed (port LPT1 of the settings created zeroed), and emptied.
    std::string printed() {
        std::string b = TESTS::readFile("drives/ports/LPT1");
        std::filesystem::remove("drives/ports/LPT1");
        return b;
    }
    // Runs fn with the steps: a step's keys are given, and when the screen waits for more its check
    // runs and the next step's keys follow. The last step's keys must end fn.
    void session(const std::function<void()>& fn, std::vector<Step> steps) {
        auto at = std::make_shared<size_t>(0);
        auto all = std::make_shared<std::vector<Step>>(std::move(steps));
        for (const auto& e : (*all)[0].keys) con->push(e);
        con->onIdle = [this, at, all] {
            if (*at >= all->size()) return;
            if ((*all)[*at].check) (*all)[*at].check();
            if (++*at < all->size())
                for (const auto& e : (*all)[*at].keys) con->push(e);
        };
        fn();
        EXPECT_EQ(*at, all->size() - 1) << "the report ended before the last step";
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "every mask shown was removed";
        con->onIdle = nullptr;
    }
    std::string row(int y) const { return con->text(y); }
    std::string at(int x, int y, int n) const { return con->text(x, y, n); }
};

}  // namespace REPTEST
