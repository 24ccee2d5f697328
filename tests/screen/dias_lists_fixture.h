// A company whose declaration store is filled through the store's own routines: a few hundred
// declarations of several customers, kinds and years (from 1999 to 2026). Built once and copied
// into every test's folder.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/umas.h"
#include "customers/arp0.h"
#include "declarations/bod.h"
#include "declarations/dias.h"
#include "declarations/ek0.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace LISTTEST {

struct Decl {
    std::string num, date, kind;
    int cust = BOD::NO_CUSTOMER;
    std::string party;           // box 22 (box 12 for "EXP", "MTF")
    std::string sender = "", office = "", desc = "";
};

inline std::string two(int n) { return std::string(1, char('0' + n / 10)) + char('0' + n % 10); }
inline std::string date(int d, int m, int y) { return two(d) + two(m) + two(y % 100); }

// The customers of the fixture, by index: their record numbers once stored.
inline const char* const CUSTOMERS[] = {"ALPHA TRADING", "BETA IMPORTS", "GAMMA SA", "DELTA FOODS", "ΩΜΕΓΑ ΑΕ"};

inline std::vector<Decl> fixtureDecls(const std::vector<int>& pr) {
    std::vector<Decl> v;
    // ALPHA: 200 imports in 2021, stored out of date order
    for (int i = 0; i < 200; ++i)
        v.push_back({std::to_string(1000 + i), date((i * 7) % 28 + 1, (i * 5) % 12 + 1, 2021), "IMP", pr[0],
                     CUSTOMERS[0], "SENDER " + std::to_string(i), "0101", "ALPHA GOODS " + std::to_string(i)});
    // BETA in 2024: four imports whose dates tie (stored in this order), five exports, three
    // imports in its chain whose party name differs in its first 7 characters
    v.push_back({"2001", date(10, 1, 2024), "IMP", pr[1], CUSTOMERS[1], "", "0101", "B1"});
    v.push_back({"2002", date(5, 1, 2024), "IMP", pr[1], CUSTOMERS[1], "", "0101", "B2"});
    v.push_back({"2003", date(5, 1, 2024), "IMP", pr[1], CUSTOMERS[1], "", "0101", "B3"});
    v.push_back({"2004", date(1, 1, 2024), "IMP", pr[1], CUSTOMERS[1], "", "0101", "B4"});
    for (int i = 0; i < 5; ++i)
        v.push_back({std::to_string(2100 + i), date(2 + i, 2, 2024), "EXP", pr[1], CUSTOMERS[1], "", "0101", "BX"});
    for (int i = 0; i < 3; ++i)
        v.push_back({std::to_string(2200 + i), date(3 + i, 1, 2024), "IMP", pr[1], "BETTER THINGS", "", "0101", "BT"});
    // GAMMA in March 2025: the search's rows
    for (int i = 0; i < 16; ++i)
        v.push_back({std::to_string(3001 + i), date(i + 1, 3, 2025), "IMP", pr[2], CUSTOMERS[2],
                     i % 2 == 0 ? "XXABCDEFGHYY" : "ABCDEFXH", "0123", "GAMMA " + std::to_string(i)});
    for (int i = 0; i < 4; ++i)
        v.push_back({std::to_string(3101 + i), date(20, 3, 2025), "IMP", pr[2], CUSTOMERS[2], "ΠΑΠΑΔΟΠΟΥΛΟΣ", "1234", "G"});
    for (int i = 0; i < 2; ++i)
        v.push_back({std::to_string(3201 + i), date(21, 3, 2025), "IMP", pr[2], CUSTOMERS[2], "", "0012", "G12"});
    for (int i = 0; i < 5; ++i)
        v.push_back({std::to_string(3301 + i), date(22, 3, 2025), "EXP", pr[2], CUSTOMERS[2], "XXABCDEFGHYY", "0123", "GX"});
    v.push_back({"3401", date(23, 3, 2025), "MET", pr[2], CUSTOMERS[2], "", "0123", "GM"});
    v.push_back({"3402", date(23, 3, 2025), "MTF", pr[2], CUSTOMERS[2], "", "0123", "GT"});
    v.push_back({"3403", date(24, 3, 2025), "DFK", pr[2], CUSTOMERS[2], "", "0123", "GD"});
    // DELTA: 46 imports on 46 days from 1 January 2022
    for (int i = 0; i < 46; ++i) {
        int d = i + 1, m = 1;
        if (d > 31) d -= 31, m = 2;
        v.push_back({std::to_string(4001 + i), date(d, m, 2022), "IMP", pr[3], CUSTOMERS[3], "", "0321",
                     "DELTA ITEM " + std::to_string(i + 1)});
    }
    // ΩΜΕΓΑ: 60 imports in 2021
    for (int i = 0; i < 60; ++i)
        v.push_back({std::to_string(5001 + i), date(i % 28 + 1, i % 12 + 1, 2021), "IMP", pr[4], CUSTOMERS[4], "", "0101",
                     "OMEGA " + std::to_string(i)});
    // older ones: 1999 and 2019, no customer
    v.push_back({"6001", date(15, 6, 1999), "IMP", BOD::NO_CUSTOMER, "NOBODY", "", "0101", "OLD"});
    v.push_back({"6002", date(31, 12, 2019), "IMP", BOD::NO_CUSTOMER, "NOBODY", "", "0101", "OLD"});
    return v;
}

inline void setBox(int n, const std::string& s) { BOD::BOS(BOD::DIA, BOD::GV, n, s); }

// Stores d through the store's own routine as the editor does after F4.
inline void storeDecl(const Decl& d) {
    for (int i = 1; i <= BOD::BOXES; ++i) setBox(i, "");
    BOD::AY = BOD::MOT{};
    BOD::TM = STORE::padKey(d.num, 10);
    setBox(1, d.num);
    setBox(8, d.date);
    BOD::HM = d.date;
    BOD::PR = d.cust;
    const bool partyIs12 = d.kind == "EXP" || d.kind == "MTF";
    setBox(partyIs12 ? 12 : 22, PLAT::utf8ToCp737(d.party));
    if (!d.sender.empty()) setBox(12, PLAT::utf8ToCp737(d.sender));
    setBox(7, d.office);
    setBox(6, "OFFICE " + d.office);
    setBox(72, d.desc);
    setBox(79, "8471300000");
    setBox(19, "12");
    setBox(142, "AAA " + d.kind + " EUR");
    BOD::BOO = false;
    BOD::CSM = -1;
    STORE::Result r = EK0::KATD();
    ASSERT_TRUE(r.stored) << d.num << " " << r.refusal;
}

class Lists : public TESTS::Installation {
protected:
    static std::map<std::string, std::string>& cache() {
        static std::map<std::string, std::string> c;
        return c;
    }
    static std::vector<int>& prs() {
        static std::vector<int> p;
        return p;
    }
    std::string dir() const { return company(0) + "/"; }

    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        ARP0::WAIT = [](int) {};
        ASSERT_TRUE(BOD::SETFORM("IMP"));
        BOD::LL = 23;
        UMAS::PAREDE[9].TIMI = 0;
        opened.clear();
        DIAS::OPENDISF = [](const std::string& n, const std::string& e, int slot) {
            opened.push_back(n + "/" + e + "/" + std::to_string(slot));
        };
        PLAT::setFixedNow(PLAT::DateTime{2025, 3, 15, 10, 0, 0, 0});
        if (cache().empty()) {
            prs().clear();
            for (const char* name : CUSTOMERS) {
                ARP0::RR0 r;
                r.EA = ARP0::KEY(PLAT::utf8ToCp737(name));
                r.DI = "STREET 1";
                r.PO = "TOWN";
                r.AF = "123456789";
                ASSERT_EQ(ARP0::STORE(0, r), ARP0::Stored::WRITTEN);
                prs().push_back(ARP0::XN);
            }
            for (const Decl& d : fixtureDecls(prs())) storeDecl(d);
            for (const auto& e : std::filesystem::directory_iterator(dir()))
                if (e.is_regular_file()) cache()[e.path().filename().string()] = TESTS::readFile(e.path().string());
        } else {
            for (const auto& [name, bytes] : cache()) {
                std::filesystem::remove(dir() + name);
                TESTS::writeFile(dir() + name, bytes);
            }
        }
    }
    void TearDown() override {
        con->onIdle = nullptr;
        DIAS::OPENDISF = EK0::DISF;
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }

    int pr(int i) const { return prs()[size_t(i)]; }
    static inline std::vector<std::string> opened;
};

}  // namespace LISTTEST
