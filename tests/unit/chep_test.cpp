// The customer lookup of the document screens over mixed Greek and Latin names.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "common/umas.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "platform/codepage.h"

using PLAT::gr;

namespace {

class Lookup : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
    }
};

TEST_F(Lookup, TableOfNames) {
    for (const char* n : {"ΑΛΦΑ", "ΒΗΤΑ", "BETA", "VITA", "ΠΑΠΑΔΟΠΟΥΛΟΣ", "ΠΑΠΑΣ", "ZETA", "ΩΜΕΓΑ", "1ST CO"})
        TESTS::addCustomer(n, std::string("ΠΟΛΗ ") + n);
    struct Case {
        const char* typed;
        const char* found;
        const char* why;
    } cases[] = {
        {"BETA", "BETA", "exact"},
        {"beta", "BETA", "typed in lower case, folded"},
        {"B", "BETA", "first letters"},
        {"BZ", "VITA", "the next name in collation order (Latin V after B)"},
        {"Β", "ΒΗΤΑ", "Greek beta before Latin B"},
        {"ΠΑΠ", "ΠΑΠΑΔΟΠΟΥΛΟΣ", "first of two with that beginning"},
        {"ΠΑΠΑΖ", "ΠΑΠΑΣ", "Ζ sorts before Σ"},
        {"ΠΑΠΑΣΑ", "ΩΜΕΓΑ", "after the last Π name: the first name of a later bucket"},
        {"ΩΩ", "ΩΜΕΓΑ", "after every letter name: the last of them, not a digit name"},
        {"WZ", "ΩΜΕΓΑ", "an empty bucket: the nearest non-empty bucket before it"},
        {"", "ΑΛΦΑ", "empty: the first customer of the index"},
        {"9", "1ST CO", "a digit: names beginning with digits are reached through the fallback only"},
        {"/X", "1ST CO", "a sign without a bucket: the last bucket, never outside the index"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        APODI::EA = APODI::FOLDNAME(gr(c.typed));
        const std::string typed = APODI::EA;
        APODI::CHEP();
        ASSERT_NE(APODI::PR, 65000) << c.typed;
        EXPECT_EQ(APODI::EA, UMAS::LEJU(gr(c.found), 30)) << c.typed;
        EXPECT_EQ(APODI::PO, (gr("ΠΟΛΗ ") + gr(c.found)).substr(0, 20));
        EXPECT_EQ(APODI::AF, "099999999");
        EXPECT_EQ(APODI::TH1, "2100000000");
        EXPECT_EQ(APODI::EG, gr("ΕΜΠΟΡΟΣ"));
        EXPECT_EQ(APODI::EF, gr("ΦΑΕ"));
        if (std::string(c.why) == "exact") EXPECT_EQ(APODI::EA, typed);
    }
    // Nothing was written and the lock is free again.
    UMAS::LOCK("FPEL");
    UMAS::UNLOC("FPEL");
}

TEST_F(Lookup, DeletedCustomersAreNotFound) {
    const uint16_t a = TESTS::addCustomer("ΚΑΠΑ");
    const uint16_t b = TESTS::addCustomer("ΚΑΠΠΑ");
    ASSERT_TRUE(ARP0::DELETE(0, a, ARP0::KEY(gr("ΚΑΠΑ"))));
    APODI::EA = APODI::FOLDNAME(gr("ΚΑΠΑ"));
    APODI::CHEP();
    EXPECT_EQ(APODI::PR, b);
}

// A damaged customer record is passed over and never taken; the clerk is told on mask 42, and a
// store that would post to it is refused.
TEST_F(Lookup, DamagedRecordsAreNeverTaken) {
    const uint16_t alpha = TESTS::addCustomer("ΑΛΦΑ", "ΠΟΛΗ ΑΛΦΑ");
    const uint16_t beta = TESTS::addCustomer("ΒΗΤΑ", "ΠΟΛΗ ΒΗΤΑ");
    const std::string path = company(0) + "/MF.DAT";
    std::string mf = TESTS::readFile(path);
    mf[size_t(alpha) * ARP0::RR0::SIZE + 31] = char(11);  // the tax number one beyond its 10
    TESTS::writeFile(path, mf);
    auto lookUp = [&](const char* typed, std::string& notice) {
        APODI::EA = APODI::FOLDNAME(gr(typed));
        APODI::PR = 9;
        notice.clear();
        con->onIdle = [&] {
            if (notice.empty()) notice = con->dump();
            con->ch(27);
        };
        APODI::CHEP();
        con->onIdle = nullptr;
    };
    std::string notice;
    lookUp("ΑΛ", notice);
    EXPECT_EQ(APODI::PR, beta) << "the next sound name";
    EXPECT_EQ(APODI::PO, gr("ΠΟΛΗ ΒΗΤΑ"));
    EXPECT_NE(notice.find(" ΑΡΧΕΙΟ MF.DAT ΚΑΤΕΣΤΡΑΜΜΕΝΟ."), std::string::npos) << notice;
    EXPECT_NE(notice.find("Πελάτες παραλείφθηκαν."), std::string::npos) << notice;
    lookUp("ΒΗ", notice);
    EXPECT_EQ(APODI::PR, beta);
    EXPECT_EQ(notice, "") << "a search that does not pass it says nothing";

    EXPECT_FALSE(APODI::FILESFAULT({}, beta, 65000));
    const APODI::FILEFAULT f = APODI::FILESFAULT({}, beta, alpha);
    EXPECT_EQ(f.FILE, "MF.DAT");
    EXPECT_FALSE(f.MISSING);
    EXPECT_EQ(APODI::FILESFAULT({}, alpha, 65000).FILE, "MF.DAT");

    // Random bytes of the file's own size: nothing is taken.
    std::mt19937 rng(5);
    for (char& c : mf) c = char(rng());
    TESTS::writeFile(path, mf);
    APODI::DI = APODI::AF = "";
    lookUp("ΑΛ", notice);
    EXPECT_EQ(APODI::PR, 65000);
    EXPECT_EQ(APODI::DI, "");
    EXPECT_EQ(APODI::AF, "");
    EXPECT_NE(notice.find("Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ."), std::string::npos) << notice;
    UMAS::LOCK("FPEL");
    UMAS::UNLOC("FPEL");
}

TEST_F(Lookup, NoCustomerShowsMask37ForTwoSeconds) {
    const uint16_t a = TESTS::addCustomer("ΚΑΠΑ");
    ASSERT_TRUE(ARP0::DELETE(0, a, ARP0::KEY(gr("ΚΑΠΑ"))));  // counts equal again
    APODI::EA = APODI::FOLDNAME(gr("ΚΑΠΑ"));
    const std::string before = con->dump();
    const auto t0 = std::chrono::steady_clock::now();
    APODI::CHEP();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(APODI::PR, 65000);
    EXPECT_GE(ms, 1990);
    EXPECT_EQ(con->dump(), before);  // the screen under the mask is back
    UMAS::LOCK("FPEL");
    UMAS::UNLOC("FPEL");
}

}  // namespace
