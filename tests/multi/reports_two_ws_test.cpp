// The turnover list on one workstation while another stores and deletes invoices: both take the
// invoice and customer locks in the same order, so both finish.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "reports/arp1.h"
#include "shell/install.h"

using PLAT::gr;

namespace {

class ReportsShared : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        TESTS::headless();
        TESTS::loadMasks();
        INSTALL::makeCompanyFolder(work->file("CO"));
        UMAS::PATH = "CO\\";
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        TIM0::FP = "24";
        for (const char* n : {"ΑΛΦΑ", "ΒΗΤΑ", "ΓΑΜΜΑ"}) TESTS::addCustomer(n);
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
    // The exit code of p, or -1 when it has not ended within the time limit (then it is killed).
    int finish(pid_t p, int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        int st = 0;
        while (waitpid(p, &st, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        pids.erase(std::find(pids.begin(), pids.end(), p));
        return WIFEXITED(st) ? WEXITSTATUS(st) : -2;
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
    std::vector<pid_t> pids;
};

}  // namespace

TEST_F(ReportsShared, TurnoverListAndInvoiceDeletionBothFinish) {
    pid_t clerk = spawn([] {
        const char* names[] = {"ΑΛΦΑ", "ΒΗΤΑ", "ΓΑΜΜΑ"};
        for (int i = 0; i < 150; ++i) {
            TIM::TIMOS t;
            const int number = i % 5 + 1;
            const bool stored = TESTS::openDoc(t, number);
            if (stored) {
                if (!t.DEL()) return 10;
            } else {
                TIM0::HM = "150325";
                TESTS::setCustomer(names[i % 3]);
                TIM0::XR[1] = 10 + i;
                if (!t.KTT(true, false)) return 11;
            }
        }
        return 0;
    });
    pid_t report = spawn([] {
        for (int i = 0; i < 150; ++i) {
            const ARP1::TURNOVER T = ARP1::PRPLCOLLECT(std::string(30, ' '), UMAS::padTo(gr("Ω"), 30), 0,
                                                       UMAS::HMVAL("311249"), i % 2 == 0);
            if (T.CC() > 3) return 12;
        }
        return 0;
    });
    EXPECT_EQ(finish(clerk, 60), 0);
    EXPECT_EQ(finish(report, 60), 0);
}
