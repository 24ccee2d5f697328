// The conversions stopped at every write step (the process killed as by a power loss), then a normal
// company choice: the folder must end exactly as one uninterrupted run leaves it. And two
// workstations choosing the same old company at once: one conversion, both see current files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/korvex.h"
#include "upgrades/old_layouts.h"
#include "upgrades/rebuilds.h"

namespace {

using namespace OLD;

class UpgradeInterrupted : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        // A memory file system where there is one: these tests flush hundreds of files.
        work.reset();
        work = std::make_unique<TESTS::TempWorkDir>("/dev/shm");
        install(TESTS::companies(1));
        UMAS::PATH = "DATABASE\\ARXEIO0\\";
    }
    // The code tables and the customer records in older layouts (the foreign files take the same
    // roads as the domestic ones: here they are current).
    static std::map<std::string, std::string> oldTablesAndRecords() {
        std::string xvr, nom = nomHead("010101", "311201"), pre, tax, tel, mf;
        for (int i = 1; i <= 84; ++i) xvr += ORECPOL({uint16_t(i), PLAT::gr("ΧΩΡΑ")});
        for (int i = 1; i <= 24; ++i) nom += OORECNOM(uint16_t(i), {"", "N", "ST", 1, "", i == 24 ? "340.75" : "2"});
        for (int i = 1; i <= 48; ++i) pre += ORECPRE1("DOC " + std::to_string(i));
        for (int i = 1; i <= 24; ++i) tax += RECTAX(std::to_string(i), {"TAX", "19", 1});
        for (int i = 1; i <= 360; ++i) tel += ORECTEL(uint16_t(i), "OFFICE");
        for (int i = 0; i < 40; ++i) mf += ORECPEL(sample(i));
        return {{"XVR.DAT", xvr}, {"NOM.DAT", nom}, {"PRE.DAT", pre}, {"TAX.DAT", tax},
                {"TEL.DAT", tel}, {"MF.DAT", mf},   {"HF.DAT", std::string("\x28\x00", 2)}};
    }
    // The domestic name index in the oldest layout.
    static std::map<std::string, std::string> oldIndex() {
        OldIndex idx;
        idx.chain(3, {5, 300});
        idx.chain(20, {1, 2, 3});
        return {{"IF.DAT", idx.bytes()}};
    }
    // Writes the old files, and keeps the folder as it is and as one uninterrupted run leaves it.
    void prepare(const std::map<std::string, std::string>& files) {
        for (const auto& [name, bytes] : files) TESTS::writeFile(dir() + "/" + name, bytes);
        old = snapshot(dir());
        KORVEX::afterChoice();
        converted = snapshot(dir());
        restore(old, dir());
    }
    // A child killed after its n-th write step, for n = 1, 2, ... until a child runs to its end; after
    // each kill a normal company choice must leave the folder converted.
    void killAtEveryWrite(int atLeast);
    // Two children choose the old company at the same moment: both end with current files, and the
    // conversion ran once (a second one would find the backups taken and fail).
    void twoWorkstations();
    std::string dir() const { return company(0); }
    void expectConverted(const std::string& what) {
        std::vector<std::string> names = fileNames(dir());
        EXPECT_EQ(names.size(), converted.size()) << what;
        for (const std::string& name : names) {
            auto it = converted.find(name);
            if (it == converted.end())
                ADD_FAILURE() << what << ": extra " << name;
            else
                EXPECT_TRUE(sameBytes(dir() + "/" + name, it->second)) << what << ": " << name;
        }
    }
    std::map<std::string, std::string> old, converted;
};

// Runs the company choice's sequence in a child process; its exit status.
int runChild(int stopAfter) {
    return TESTS::runInChild([&] {
        REBUILDS::stopAfterWrite(stopAfter);
        KORVEX::afterChoice();
        return 0;
    });
}

void UpgradeInterrupted::killAtEveryWrite(int atLeast) {
    int n = 1;
    for (;; ++n) {
        restore(old, dir());
        int status = runChild(n);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0) << "write " << n;
            break;  // the whole sequence has fewer write steps
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "write " << n;
        UMAS::EURO = 0;
        KORVEX::afterChoice();
        expectConverted("killed after write " + std::to_string(n));
        EXPECT_DOUBLE_EQ(UMAS::EURO, 340.75);
        if (HasFailure()) break;
    }
    EXPECT_GE(n, atLeast);  // every conversion of the fixture was cut somewhere
}

TEST_F(UpgradeInterrupted, CodeTablesAndCustomerRecordsKilledAtEveryWriteStep) {
    prepare(oldTablesAndRecords());
    killAtEveryWrite(22);  // 3 per table conversion (new file, link, rename; NOM twice) and 3 for the customers
}

TEST_F(UpgradeInterrupted, NameIndexKilledAtEveryWriteStep) {
    prepare(oldIndex());
    killAtEveryWrite(17);  // both index steps: new file, freed slots (2 files of 2), link, rename
}

void UpgradeInterrupted::twoWorkstations() {
    auto files = oldTablesAndRecords();
    files.merge(oldIndex());
    prepare(files);
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t kids[2];
    for (pid_t& k : kids) {
        k = fork();
        if (k == 0) {
            char c;
            if (read(go[0], &c, 1) != 1) _exit(4);
            int code = 0;
            try {
                KORVEX::afterChoice();
                // Both end with current files and the euro rate.
                if (TESTS::readFile(dir() + "/MF.DAT").size() != 40 * 302 || UMAS::EURO != 340.75 ||
                    TESTS::readFile(dir() + "/IF.DAT").size() != 2400480)
                    code = 1;
            } catch (...) {
                code = 3;
            }
            _exit(code);
        }
    }
    ASSERT_EQ(write(go[1], "gg", 2), 2);
    for (pid_t k : kids) {
        int status = 0;
        waitpid(k, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    close(go[0]);
    close(go[1]);
    expectConverted("two workstations");
    EXPECT_TRUE(snapshot(dir())["MF.BBB"] == old["MF.DAT"]);
}

TEST_F(UpgradeInterrupted, TwoWorkstationsChoosingTheOldCompanyAtOnceConvertOnce) {
    twoWorkstations();
    EXPECT_EQ(TESTS::readFile(dir() + "/FREB.DAT"), std::string(1, '\0'));
}

// A company folder laid out before the sequence had its lock file: the folder itself is locked.
TEST_F(UpgradeInterrupted, TwoWorkstationsOnAFolderWithoutTheLockFile) {
    std::remove((dir() + "/FREB.DAT").c_str());
    twoWorkstations();
    EXPECT_FALSE(TESTS::exists(dir() + "/FREB.DAT"));
}

}  // namespace
