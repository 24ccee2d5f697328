// Workstations storing, changing and deleting invoices and credit notes of shared customers while
// another workstation edits those customers; afterwards every chain is sound and every customer's
// total equals what its stored documents post.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/install.h"

namespace fs = std::filesystem;
using PLAT::gr;

namespace {

const char* const NAMES[] = {"ΑΛΦΑ Α.Ε.", "ALPHA LTD", "ΒΗΤΑ", "BETA", "ΠΑΠΑΣ", "ZETA"};
constexpr int CUSTOMERS = 6;

class InvoicesShared : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        con = &TESTS::headless();
        TESTS::loadMasks();
        INSTALL::makeCompanyFolder(work->file("CO"));
        UMAS::PATH = "CO\\";
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
        std::string img = TESTS::readFile(work->file("CO/PSEIRES.DAT"));
        PARAMS::SEIRES_CREATEFILES(1, PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(img.data())));
        for (const char* n : NAMES) pr.push_back(TESTS::addCustomer(n));
    }
    void TearDown() override {
        for (pid_t p : pids) {
            kill(p, SIGKILL);
            waitpid(p, nullptr, 0);
        }
        UMAS::releaseAllLocks();
        UMAS::EURO = 0;
        work.reset();
    }
    pid_t spawn(const std::function<int()>& body) {
        pid_t pid = fork();
        if (pid == 0) {
            PLAT::setThrowOnExit(false);
            int rc = 3;
            try {
                rc = body();
            } catch (...) {
                rc = 4;
            }
            _exit(rc);
        }
        pids.push_back(pid);
        return pid;
    }

    std::unique_ptr<TESTS::TempWorkDir> work;
    PLAT::HeadlessConsole* con = nullptr;
    std::vector<pid_t> pids;
    std::vector<uint16_t> pr;
};

// One clerk: claims a number of a shared pool, then stores a new document, changes the stored one
// (amounts, customer, date) or deletes it.
int clerk(int seed, int ops, PLAT::HeadlessConsole* con) {
    std::mt19937 rnd{uint32_t(seed)};
    // A number another workstation holds shows the busy screen: the clerk presses Esc.
    con->onIdle = [con] { con->ch(27); };
    con->maxIdle = 1000000;
    const char* dates[] = {"150326", "160326", "311201", "020102", "010126", "150399"};
    int done = 0;
    for (int i = 0; i < ops; ++i) {
        const uint8_t kind = rnd() % 4 == 0 ? 2 : 0;
        const int number = int(rnd() % 40) + 1;
        TIM::TIMOS t(kind);
        const std::string tm = UMAS::LEJU(std::to_string(number), 6);
        if (UMAS::ELDI("", tm, "NUTI", 6)) continue;  // busy
        t.BTM = tm;
        const bool stored = TESTS::openDoc(t, number);
        const int what = int(rnd() % 10);
        if (stored && what < 3) {
            if (!t.DEL()) return 20;
        } else {
            if (!stored || what < 6) TESTS::setCustomer(NAMES[rnd() % CUSTOMERS]);
            if (!stored || what % 2 == 0) TIM0::HM = dates[rnd() % 6];
            TIM0::XR[1] = double(rnd() % 100000) / 100.0;
            TIM0::XR[18] = double(rnd() % 1000) / 8.0;
            TIM0::XR[2] = rnd() % 3 == 0 ? 0.005 * (rnd() % 1000) : 0;
            if (!t.KTT(true, false) && !stored) return 21;  // a new document with a customer is always stored
            if (!APODI::BOO) return 22;
        }
        UMAS::MHNU(tm, "NUTI", 6);
        ++done;
    }
    return done > ops / 2 ? 0 : 23;
}

// The customer editor: rewrites the shared customers' details under "FPEL" (their totals re-read
// from the file under the lock) until told to stop.
int editor(int seed, const std::string& stopFile) {
    std::mt19937 rnd{uint32_t(seed)};
    int n = 0;
    while (!fs::exists(stopFile) || n < 20) {
        ARP0::RR0 c;
        c.EA = ARP0::KEY(gr(NAMES[rnd() % CUSTOMERS]));
        c.AF = std::to_string(100000000 + rnd() % 899999999);
        c.DI = gr("ΟΔΟΣ ") + std::to_string(rnd() % 200);
        c.PO = gr("ΠΕΙΡΑΙΑΣ");
        c.TH[0] = std::to_string(2100000000 + rnd() % 99999);
        c.EP = gr("ΕΜΠΟΡΟΣ");
        c.EF = gr("ΦΑΕ");
        if (ARP0::STORE(0, c) != ARP0::Stored::WRITTEN) return 30;
        ++n;
        usleep(20000);  // a clerk at the customer screen stores now and then
    }
    return 0;
}

TEST_F(InvoicesShared, ThreeClerksAndACustomerEditor) {
    constexpr int CLERKS = 3, OPS = 700;
    const std::string stop = work->file("STOP");
    auto t0 = std::chrono::steady_clock::now();
    std::vector<pid_t> clerks;
    for (int c = 0; c < CLERKS; ++c) clerks.push_back(spawn([c, this] { return clerk(1000 + c, OPS, con); }));
    pid_t ed = spawn([stop] { return editor(77, stop); });
    for (pid_t p : clerks) {
        int st = 0;
        waitpid(p, &st, 0);
        pids.erase(std::find(pids.begin(), pids.end(), p));
        ASSERT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 0);
    }
    TESTS::writeFile(stop, "");
    int st = 0;
    waitpid(ed, &st, 0);
    pids.erase(std::find(pids.begin(), pids.end(), ed));
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 0);
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - t0).count();
    std::cout << "[          ] " << CLERKS * OPS << " operations in " << secs << " s\n";

    TIM::CHECKED c = TIM::CHECKFILES();
    for (const auto& p : c.PROBLEMS) ADD_FAILURE() << p;
    EXPECT_GT(c.DOCUMENTS, 10);
    for (uint16_t k : pr) EXPECT_EQ(int64_t(TESTS::customerXR(k)), c.POSTED[k]) << "customer " << k;
    for (const auto& p : ARP0::checkIndex(0)) ADD_FAILURE() << p;
    for (const char* lock : {"FTIM", "FPEL", "FPAR"})
        EXPECT_EQ(TESTS::readFile(work->file(std::string("CO/") + lock + ".DAT")), std::string(1, '\0'));
    EXPECT_EQ(TESTS::readFile(work->file("CO/NUTI.DAT")), std::string(28, '\0'));
}

}  // namespace
