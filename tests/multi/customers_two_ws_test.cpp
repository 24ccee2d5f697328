// Workstations sharing the customer files: two processes storing customers at the same time (some
// names typed at both), and a posting of the debit total made by another process while the editor
// has the customer open.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "common/umas.h"
#include "customers/arp0.h"
#include "customers/arpel.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace {

using ARP0::RR0;

class CustomersTwoWorkstations : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
    }
    void TearDown() override {
        con->onIdle = nullptr;
        Installation::TearDown();
    }
};

// Names over Greek and Latin letters and digits; `who` 0 and 1 are each workstation's own names,
// 2 the names both workstations type.
std::vector<std::string> names(int who, int n) {
    static const char* const initials[] = {"Α", "A", "Σ", "S", "Κ", "K", "Ω", "W", "0", "7", "Π", "P"};
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i) {
        std::string s = PLAT::gr(initials[i % 12]);
        s += std::string(1, char('A' + who)) + " " + std::to_string(i);
        if (i % 3 == 0) s = "S" + s;  // many in the bucket that splits
        v.push_back(ARP0::KEY(s));
    }
    return v;
}

pid_t storeAll(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int bad = 0;
    // Interleave own and shared names.
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        for (const auto* list : {&a, &b})
            if (i < list->size()) {
                RR0 r;
                r.EA = (*list)[i];
                r.PO = "TOWN";
                if (ARP0::STORE(0, r) != ARP0::Stored::WRITTEN && list == &a) ++bad;
            }
    UMAS::releaseAllLocks();
    _exit(bad == 0 ? 0 : 1);
}

TEST_F(CustomersTwoWorkstations, EveryCustomerStoredOnceAndFound) {
    // The Latin S bucket is 10 slots from full: it splits while both workstations store.
    {
        PLAT::File f(ARP0::fileName(0, "IF"), PLAT::File::READWRITE);
        uint8_t b[8];
        ARP0::RR2{5000, 4989, 0}.encode(b);
        f.writeAt(int64_t(36) * 5001 * 8, b, 8);
    }
    const auto own0 = names(0, 300), own1 = names(1, 300), shared = names(2, 100);
    pid_t a = storeAll(own0, shared), b = storeAll(own1, shared);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    for (pid_t p : {a, b}) {
        int status = 0;
        ASSERT_EQ(waitpid(p, &status, 0), p);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    EXPECT_EQ(ARP0::recordCount(0), 700);
    EXPECT_EQ(ARP0::createdCount(0), 700);
    std::map<std::string, int> count;
    for (int32_t n = 0; n < ARP0::recordCount(0); ++n) {
        RR0 r;
        ASSERT_TRUE(ARP0::readRecord(0, uint16_t(n), r));
        ++count[r.EA];
    }
    for (const auto* list : {&own0, &own1, &shared})
        for (const auto& n : *list) {
            EXPECT_EQ(count[n], 1) << n;
            ARP0::EA = n;
            EXPECT_TRUE(ARP0::CHO(0)) << n;
        }
    EXPECT_EQ(ARP0::listAll(0).size(), 700u);
    EXPECT_EQ(ARP0::checkIndex(0), std::vector<std::string>{});
    // The split happened: the S bucket links to a continuation.
    PLAT::File f(ARP0::fileName(0, "IF"), PLAT::File::READ);
    uint8_t h[8];
    f.readAt(int64_t(36) * 5001 * 8, h, 8);
    EXPECT_EQ(ARP0::RR2::decode(h).US, 4999);
}

// The editor has customer ALPHA open; another workstation posts an invoice to its debit total;
// the editor's F1 keeps that posting.
TEST_F(CustomersTwoWorkstations, APostingMadeWhileTheEditorIsOpenSurvivesItsStore) {
    RR0 r;
    r.EA = ARP0::KEY("ALPHA");
    r.XR = 0;
    ASSERT_EQ(ARP0::STORE(0, r), ARP0::Stored::WRITTEN);
    r.XR = 1000;
    r.PI = 250;
    ARP0::writeRecord(0, 0, r);

    for (unsigned char c : std::string("alpha")) con->ch(c);
    con->ch(13);
    con->key(PLAT::SC::DOWN);
    con->key(PLAT::SC::DOWN);
    bool posted = false;
    con->onIdle = [&] {
        if (posted) return;
        posted = true;
        pid_t pid = fork();
        if (pid == 0) {
            UMAS::LOCK("FPEL");
            RR0 c;
            ARP0::readRecord(0, 0, c);
            c.XR += 500;
            ARP0::writeRecord(0, 0, c);
            UMAS::UNLOC("FPEL");
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        for (unsigned char c : std::string("NEW ADDRESS")) con->ch(c);
        con->key(PLAT::SC::F1);
        con->ch(27);
    };
    SCR::CALLM(7, true);
    ARPEL::STPE(0);
    ASSERT_TRUE(posted);
    RR0 after;
    ASSERT_TRUE(ARP0::readRecord(0, 0, after));
    EXPECT_EQ(after.DI, "NEW ADDRESS");
    EXPECT_EQ(after.XR, 1500);
    EXPECT_EQ(after.PI, 250);
}

}  // namespace
