// Two workstations on one series file: workstation A has the series editor open while workstation B
// (another process) issues documents and advances the next numbers; A's F1 must not put B's
// numbers back.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"

namespace {

class SeriesTwoWorkstations : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PARAMS::SEIRESTABLE t{};
        t[0].AA = 1;
        t[1].SEIRA = PLAT::gr("Α");
        t[1].AA = 10;
        t[2].SEIRA = PLAT::gr("Β");
        t[2].AA = 20;
        t[3].SEIRA = PLAT::gr("Γ");
        t[3].AA = 30;
        std::string b(PARAMS::SEIRES_SIZE, '\0');
        PARAMS::encodeSEIRES(t, reinterpret_cast<uint8_t*>(b.data()));
        TESTS::writeFile(company(0) + "/SEIRES.DAT", b);
    }

    PARAMS::SEIRESTABLE load() const {
        std::string b = TESTS::readFile(company(0) + "/SEIRES.DAT");
        EXPECT_EQ(b.size(), PARAMS::SEIRES_SIZE);
        b.resize(PARAMS::SEIRES_SIZE, '\0');
        return PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(b.data()));
    }
};

// Workstation B in its own process: reads the series under "FPAR", advances slots 2 and 3, stores.
void workstationBIssuesDocuments() {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        uint8_t buf[PARAMS::SEIRES_SIZE] = {};
        PARAMS::RUFPAR("SEIRES", buf, sizeof buf);
        PARAMS::SEIRESTABLE t = PARAMS::decodeSEIRES(buf);
        t[1].AA += 1;
        t[2].AA += 1;
        PARAMS::encodeSEIRES(t, buf);
        PARAMS::KATPAR("SEIRES", buf, sizeof buf);
        UMAS::releaseAllLocks();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(SeriesTwoWorkstations, StoringKeepsTheNumbersAnotherWorkstationAdvanced) {
    // A changes the next number of slot 3 to 500 and leaves slot 2 as it was.
    con->key(PLAT::SC::DOWN);
    con->key(PLAT::SC::DOWN);
    con->ch(13);  // slot 3: the code
    con->ch(13);  // the number
    con->ch(25);  // Ctrl-Y
    con->keys("500");
    con->ch(13);  // to the port
    con->ch(27);  // back to the table
    bool bDone = false;
    con->onIdle = [&] {
        if (bDone) return;
        bDone = true;
        workstationBIssuesDocuments();
        EXPECT_EQ(load()[1].AA, 11);
        con->key(PLAT::SC::F1);
        con->ch(27);
    };
    PARAMS::SEIRES(0);
    ASSERT_TRUE(bDone);

    const PARAMS::SEIRESTABLE t = load();
    EXPECT_EQ(t[0].AA, 1);
    EXPECT_EQ(t[1].AA, 11);   // B's number is kept
    EXPECT_EQ(t[2].AA, 500);  // the number the clerk typed wins
    EXPECT_EQ(t[3].AA, 30);
    EXPECT_EQ(t[1].SEIRA, PLAT::gr("Α"));
}

TEST_F(SeriesTwoWorkstations, ASecondStoreStillFollowsTheFile) {
    // A stores once, B advances slot 2, A stores again without touching it: B's number stays.
    con->key(PLAT::SC::F1);
    int idles = 0;
    con->onIdle = [&] {
        if (idles++ > 0) return;
        workstationBIssuesDocuments();
        con->key(PLAT::SC::F1);
        con->ch(27);
    };
    PARAMS::SEIRES(0);
    const PARAMS::SEIRESTABLE t = load();
    EXPECT_EQ(t[1].AA, 11);
    EXPECT_EQ(t[2].AA, 21);
}

}  // namespace
