// The stores shared by workstations: four processes store, replace, delete and list declarations
// and sheet items on one company folder under "FDIA" and "FBIS"; the store checker then verifies
// the folder and that everything loads back as its process last stored it. And a storing process
// killed at each of its writes leaves a folder the checker accepts.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "common/umas.h"
#include "declarations/dias.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "unit/store_fixture.h"

namespace fs = std::filesystem;
using namespace STORETEST;

namespace {

std::string hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string h;
    for (unsigned char c : s) h += d[c >> 4], h += d[c & 15];
    return h;
}

// One workstation's run: returns 0 when every check inside the run held.
int workstation(int ws, int ops, const std::string& expectFile) {
    UMAS::USER_ID = "W" + std::to_string(ws);
    std::mt19937 rnd(unsigned(1234 + ws));
    auto pick = [&](int n) { return int(rnd() % unsigned(n)); };
    std::map<std::string, std::string> decls, items;  // number / key -> data ("" = deleted)
    std::vector<std::string> pool;
    for (int i = 0; i < 60; ++i) {
        int first = i % 3 == 0 ? 5 : 1 + pick(9);  // partition 5 is nearly full: it must borrow
        pool.push_back(std::to_string(first) + std::to_string(100 + pick(900)) + std::to_string(ws));
    }
    std::sort(pool.begin(), pool.end());
    pool.erase(std::unique(pool.begin(), pool.end()), pool.end());
    int done = 0;
    while (done < ops) {
        // A batch of declaration operations under "FDIA".
        UMAS::LOCK("FDIA");
        for (int b = 1 + pick(6); b > 0 && done < ops; --b, ++done) {
            std::string n = pool[size_t(pick(int(pool.size())))];
            newDeclaration(n);
            EK0::CHO();
            int what = pick(10);
            if (what < 6) {  // store new or replace, larger or smaller
                if (BOD::BOO) {
                    if (!EK0::DISF_RUF(true)) return 10;
                    BOD::CSM = BOD::CSU(BOD::DIA, BOD::GV, 289);
                }
                int len = pick(12);
                for (int box = 2; box < 80; box += 1 + pick(9)) setBox(box, std::string(size_t(pick(len + 1)), char('A' + pick(26))));
                setDate(std::to_string(10 + pick(18)) + "0" + std::to_string(1 + pick(9)) + "2" + std::to_string(pick(6)));
                BOD::PR = pick(4) == 0 ? 65000 : pick(40);
                BOD::AY.ON = std::string(size_t(pick(20)), 'O');
                std::string data = EK0::KATD_DATA();
                STORE::Result r = EK0::KATD();
                if (!r.stored) return 11;
                decls[n] = data;
            } else if (what < 8) {  // delete
                if (BOD::BOO) {
                    if (!EK0::DISF_RUF(false)) return 12;
                    if (!BOD::DELD().stored) return 13;
                    decls[n] = "";
                }
            } else {  // list one day of the chain by date
                int day = *STORE::dayKey(std::to_string(10 + pick(18)) + "0" + std::to_string(1 + pick(9)) + "2" +
                                         std::to_string(pick(6)));
                auto walk = STORE::walkChain(STORE::fileSource("CO/DISH.DAT"), day);
                if (walk.damaged) return 14;
                std::vector<DIAS::REC> rows(252);
                int CC = 0;
                DIAS::ALLGOOD = true;
                DIAS::FT.open("CO/DISM.DAT", PLAT::File::READ);
                DIAS::MFSIZE = DIAS::FT.size();
                for (int32_t x : walk.positions) {
                    DIAS::XND = x;
                    ++CC;
                    DIAS::RUFD(rows, 0, 0, "", "", false, CC);
                }
                DIAS::FT.close();
                if (!DIAS::ALLGOOD || CC != int(walk.positions.size())) return 15;
            }
        }
        UMAS::UNLOC("FDIA");
        // A batch of sheet-item operations under "FBIS".
        UMAS::LOCK("FBIS");
        for (int b = 1 + pick(4); b > 0 && done < ops; --b, ++done) {
            std::string key = pool[size_t(pick(int(pool.size())))] + "0" + std::to_string(2 + pick(8)) + "0" +
                              std::to_string(1 + pick(9));
            for (int i = 1; i <= 165; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, "");
            BOD::AYB = BOD::MOT{};
            BOD::BM = STORE::padKey(key, 14);
            EKDO::CHOB();
            if (pick(4) < 3) {
                if (BOD::BOB && !EKDO::RUFB(23, false)) return 20;
                for (int box = 4; box < 60; box += 1 + pick(9)) BOD::BOS(BOD::BIS, BOD::GB, box, std::string(size_t(pick(9)), 'I'));
                BOD::AYB.ON = std::string(size_t(pick(9)), 'P');
                std::string data = EKDO::KATB_DATA();
                if (!EKDO::KATB().stored) return 21;
                items[key] = data;
            } else if (BOD::BOB) {
                if (!EKDO::RUFB(23, false) || !EKDO::DELB().stored) return 22;
                items[key] = "";
            }
        }
        UMAS::UNLOC("FBIS");
    }
    std::ofstream out(expectFile, std::ios::binary);
    for (auto& [n, d] : decls) out << "D " << n << "\t" << (d.empty() ? "-" : hex(d)) << "\n";
    for (auto& [k, d] : items) out << "B " << k << "\t" << (d.empty() ? "-" : hex(d)) << "\n";
    return out ? 0 : 30;
}

void setHead(const char* file, int recSize, int rec, int SY, int US) {
    std::string b(size_t(recSize), '\0');
    PLAT::putW(reinterpret_cast<uint8_t*>(b.data()), uint16_t(SY));
    PLAT::putW(reinterpret_cast<uint8_t*>(b.data()) + 2, uint16_t(US));
    PLAT::File f(file, PLAT::File::READWRITE);
    f.writeAt(int64_t(rec) * recSize, b.data(), b.size());
}

int runChecker(const std::string& args) {
    return WEXITSTATUS(std::system((std::string(KORVEX_DSTCHK) + " " + args + " > checker.out 2>&1").c_str()));
}

}  // namespace

class StoreWorkstations : public DeclStore {};

TEST_F(StoreWorkstations, FourWorkstationsShareTheStoresAndTheCheckerAcceptsThem) {
    INSTALL::makeCompanyFolder("CO");  // the lock files
    // Partitions 5 of both indexes have a few slots left: their blocks fill during the run.
    setHead("CO/DISI.DAT", 17, 4 * 7201, 7200, 7185);
    setHead("CO/BISI.DAT", 21, 4 * 7001, 7000, 6990);
    constexpr int WS = 4, OPS = 500;
    std::vector<pid_t> pids;
    for (int w = 1; w <= WS; ++w) {
        pid_t p = fork();
        if (p == 0) {
            PLAT::setThrowOnExit(false);
            int rc = 3;
            try {
                rc = workstation(w, OPS, "expect" + std::to_string(w));
            } catch (...) {
                rc = 4;
            }
            _exit(rc);
        }
        pids.push_back(p);
    }
    for (pid_t p : pids) {
        int st = 0;
        waitpid(p, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << "workstation exit " << WEXITSTATUS(st);
    }
    {
        std::ofstream all("expect.all", std::ios::binary);
        for (int w = 1; w <= WS; ++w) all << TESTS::readFile("expect" + std::to_string(w));
    }
    // Lending happened in both indexes.
    std::string disi = file("DISI.DAT"), bisi = file("BISI.DAT");
    EXPECT_NE(PLAT::getL(reinterpret_cast<const uint8_t*>(disi.data()) + (4 * 7201 + 7200) * 17), 0);
    EXPECT_NE(PLAT::getL(reinterpret_cast<const uint8_t*>(bisi.data()) + (4 * 7001 + 7000) * 21), 0);

    STORE::CheckOptions o;
    o.strict = true;
    o.expectFile = "expect.all";
    STORE::Report r = STORE::check("CO/", o);
    for (auto& e : r.errors) ADD_FAILURE() << e;
    EXPECT_GT(r.declarations, 50u);
    EXPECT_GT(r.sheets, 50u);
    // The tool says the same.
    EXPECT_EQ(runChecker("--strict --expect expect.all CO"), 0) << TESTS::readFile("checker.out");
    EXPECT_NE(TESTS::readFile("checker.out").find("sound"), std::string::npos);
}

TEST_F(StoreWorkstations, TheCheckerFindsDamage) {
    newDeclaration("12");
    setDate("010124");
    BOD::PR = 3;
    store();
    newDeclaration("11");
    store();
    ASSERT_EQ(runChecker("--strict CO"), 0) << TESTS::readFile("checker.out");
    // Expectations: what was stored, what was not, and a difference.
    std::string data = EK0::KATD_DATA();
    std::string h;
    for (unsigned char ch : data) h += "0123456789abcdef"[ch >> 4], h += "0123456789abcdef"[ch & 15];
    TESTS::writeFile("expect", "D 11\t" + h + "\nD 13\t-\n");
    EXPECT_EQ(runChecker("--expect expect CO"), 0) << TESTS::readFile("checker.out");
    TESTS::writeFile("expect", "D 12\t" + h + "\nD 11\t-\n");
    EXPECT_EQ(runChecker("--expect expect CO"), 1);
    std::string exp = TESTS::readFile("checker.out");
    EXPECT_NE(exp.find("declaration 12: loads back different"), std::string::npos) << exp;
    EXPECT_NE(exp.find("declaration 11: stored, expected deleted"), std::string::npos) << exp;
    // Out of order: swap the keys of the two entries.
    std::string disi = file("DISI.DAT");
    std::string a = disi.substr(17 + 7, 10), b = disi.substr(34 + 7, 10);
    PLAT::File f("CO/DISI.DAT", PLAT::File::READWRITE);
    f.writeAt(17 + 7, b.data(), 10);
    f.writeAt(34 + 7, a.data(), 10);
    EXPECT_EQ(runChecker("CO"), 1);
    std::string out = TESTS::readFile("checker.out");
    EXPECT_NE(out.find("out of key order"), std::string::npos) << out;
    EXPECT_NE(out.find("box 1 holds"), std::string::npos) << out;
    f.writeAt(17 + 7, a.data(), 10);
    f.writeAt(34 + 7, b.data(), 10);
    // A free area over a stored declaration.
    PLAT::File d("CO/DISD.DAT", PLAT::File::READWRITE);
    std::string rec = bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0});
    d.writeAt(0, rec.data(), rec.size());
    EXPECT_EQ(runChecker("CO"), 1);
    EXPECT_NE(TESTS::readFile("checker.out").find("share bytes"), std::string::npos);
    EXPECT_EQ(runChecker(""), 2);
}

TEST_F(StoreWorkstations, AStoringProcessKilledAtEachWriteLeavesASoundStore) {
    // A base with free areas, chains with holes and a nearly full block, so that a replacement
    // frees, pops, splits, chains, lends and links.
    setHead("CO/DISI.DAT", 17, 1 * 7201, 7200, 7197);
    setHead("CO/DISI.DAT", 17, 6 * 7201, 7200, 7198);  // the next number of 7 fills its block
    auto put = [](const std::string& n, int len, const std::string& date, int cust) {
        newDeclaration(n);
        setBox(2, std::string(size_t(len), 'B'));
        setDate(date);
        BOD::PR = cust;
        store();
    };
    put("21", 10, "010124", 7);
    put("22", 40, "010124", 7);
    put("23", 5, "020124", 8);
    put("24", 12, "010124", 7);
    newDeclaration("22");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    BOD::BM = STORE::padKey("230203", 14);
    BOD::BOB = false;
    ASSERT_TRUE(EKDO::KATB().stored);
    fs::copy("CO", "BASE", fs::copy_options::recursive);

    // Each scenario runs in a child killed after its k-th write, k = 1, 2, ... until it completes.
    struct Scenario {
        const char* name;
        std::function<void()> run;
    };
    std::vector<Scenario> scenarios = {
        {"new declaration chained over free areas",
         [] {
             newDeclaration("25");
             setBox(2, std::string(60, 'N'));
             setBox(3, std::string(60, 'M'));
             setDate("010124");
             BOD::PR = 7;
             EK0::KATD();
         }},
        {"new declaration filling its block, which borrows",
         [] {
             newDeclaration("71");
             setDate("020124");
             BOD::PR = 8;
             EK0::KATD();
         }},
        {"replacement under another date and customer",
         [] {
             newDeclaration("21");
             EK0::CHO();
             EK0::DISF_RUF(true);
             setBox(5, std::string(30, 'R'));
             setDate("030124");
             BOD::PR = 9;
             EK0::KATD();
         }},
        {"deletion",
         [] {
             newDeclaration("24");
             EK0::CHO();
             EK0::DISF_RUF(false);
             BOD::DELD();
         }},
        {"sheet item replaced",
         [] {
             BOD::BM = STORE::padKey("230203", 14);
             EKDO::CHOB();
             EKDO::RUFB(23, false);
             BOD::BOS(BOD::BIS, BOD::GB, 23, "CHANGED");
             EKDO::KATB();
         }},
    };
    for (const Scenario& s : scenarios) {
        for (int k = 1;; ++k) {
            fs::remove_all("CO");
            fs::copy("BASE", "CO", fs::copy_options::recursive);
            pid_t p = fork();
            if (p == 0) {
                PLAT::setThrowOnExit(false);
                STORE::crashAfterWrites = k;
                try {
                    s.run();
                } catch (...) {
                    _exit(4);
                }
                _exit(0);
            }
            int st = 0;
            waitpid(p, &st, 0);
            bool killed = WIFSIGNALED(st) && WTERMSIG(st) == SIGKILL;
            ASSERT_TRUE(killed || (WIFEXITED(st) && WEXITSTATUS(st) == 0)) << s.name << " step " << k;
            STORE::Report r = STORE::check("CO/");
            for (auto& e : r.errors) ADD_FAILURE() << s.name << ", killed after write " << k << ": " << e;
            // The store goes on working after the crash.
            newDeclaration("29");
            setBox(2, std::string(size_t(k), 'A'));
            setDate("010124");
            BOD::PR = 7;
            EXPECT_TRUE(EK0::KATD().stored) << s.name << " step " << k;
            if (k % 3 == 0 || !killed) {
                r = STORE::check("CO/");
                for (auto& e : r.errors) ADD_FAILURE() << s.name << ", after the crash at " << k << " and a store: " << e;
            }
            if (!killed) break;
            ASSERT_LT(k, 60) << s.name;
        }
    }
}
