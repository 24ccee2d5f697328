// The invoice and receipt files of the older layouts: each fixture built field by field in the old
// layout and compared byte for byte after the step; current files left unchanged; the backups and a
// stop between the receipt file's two renames.
#include <gtest/gtest.h>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/fatal.h"
#include "upgrades/old_layouts.h"
#include "upgrades/rebuilds.h"

namespace {

using namespace OLD;

class InvoiceUpgrades : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        UMAS::PATH = "DATABASE\\ARXEIO0\\";
    }
    std::string dir() const { return company(0); }
    std::string read(const std::string& name) const { return TESTS::readFile(dir() + "/" + name); }
    void write(const std::string& name, const std::string& bytes) const { TESTS::writeFile(dir() + "/" + name, bytes); }
    bool has(const std::string& name) const { return TESTS::exists(dir() + "/" + name); }
    std::string failing(const std::function<void()>& fn) {
        try {
            fn();
        } catch (const PLAT::ProgramExit& e) {
            EXPECT_EQ(e.code, 2);
            return e.message;
        }
        ADD_FAILURE() << "the run did not stop";
        return "";
    }
    static std::string words(size_t n, uint16_t v) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += W(v);
        return s;
    }
    // The old invoice index: 20010 records of 13 bytes, ten chains of 2001.
    static std::string oldIndex(const std::vector<std::pair<int, std::vector<std::pair<int32_t, std::string>>>>& chains) {
        std::string f(20010 * 13, '\0');
        for (const auto& [c, entries] : chains) {
            const size_t head = size_t(c) * 2001;
            // Entries at records head+1, head+2, ... linked in order.
            std::string h = W(2000) + W(uint16_t(entries.size())) + W(entries.empty() ? 0 : uint16_t(head + 1)) + S(6, "");
            f.replace(head * 13, 13, h);
            for (size_t i = 0; i < entries.size(); ++i) {
                const uint16_t next = i + 1 < entries.size() ? uint16_t(head + 2 + i) : 0;
                f.replace((head + 1 + i) * 13, 13, L(entries[i].first) + W(next) + S(6, entries[i].second));
            }
        }
        return f;
    }
    // An old receipt of 151 bytes and the current one of 153.
    static std::string tail(int n) {
        return S(6, "0" + std::to_string(n % 10) + "0399") + S(10, "12/99") + W(uint16_t(n)) + S(30, "CUSTOMER " + std::to_string(n)) +
               S(30, "STREET") + S(20, "TOWN") + S(10, "099999999") + L(n % 2 ? 1000 * n : -1000 * n) + S(30, "REASON");
    }
};

TEST_F(InvoiceUpgrades, TheOldInvoiceIndexBecomesTheTableOfSlots) {
    write("TI.DAT", oldIndex({{0, {{7, "000123"}, {3, "      "}, {9, "77"}}}, {4, {{70000, "400"}, {11, "77"}}},
                              {9, {{5, "999999"}, {6, "99999"}}}}));
    REBUILDS::REB_TIMOL();
    std::string want = words(100000, 65000);
    auto slot = [&](size_t n, uint16_t v) { want.replace(2 * n, 2, W(v)); };
    slot(123, 7);
    slot(0, 3);       // a blank number lands in slot 0
    slot(77, 11);     // met later wins
    slot(400, 70000 - 65536);  // the low 16 bits
    slot(99999, 6);   // 999999 has no slot and is left out
    EXPECT_EQ(read("TI.DAT"), want);
    EXPECT_EQ(read("TI.BAD").size(), 20010u * 13);
    // The result is no trigger.
    REBUILDS::REB_TIMOL();
    EXPECT_EQ(read("TI.DAT"), want);
}

TEST_F(InvoiceUpgrades, ABrokenOldIndexStopsBeforeAnyRename) {
    std::string f = oldIndex({{2, {{1, "5"}}}});
    f.replace((2 * 2001 + 1) * 13 + 4, 2, W(30000));  // a link past the end
    write("TI.DAT", f);
    EXPECT_NE(failing([] { REBUILDS::REB_TIMOL(); }).find("past the end"), std::string::npos);
    EXPECT_EQ(read("TI.DAT"), f);
    EXPECT_FALSE(has("TI.BAD"));
    // A chain that runs in a circle.
    f.replace((2 * 2001 + 1) * 13 + 4, 2, W(2 * 2001 + 1));
    write("TI.DAT", f);
    EXPECT_NE(failing([] { REBUILDS::REB_TIMOL(); }).find("circle"), std::string::npos);
    EXPECT_EQ(read("TI.DAT"), f);
}

TEST_F(InvoiceUpgrades, OldInvoicesAreWidened) {
    std::string old;
    for (int i = 0; i < 10; ++i) {
        std::string r(688, '\0');
        for (size_t k = 0; k < r.size(); ++k) r[k] = char((k * 7 + size_t(i)) % 251 + 1);
        old += r;
    }
    write("TM.DAT", old);
    REBUILDS::REB_TIMEAFDSS();
    const std::string now = read("TM.DAT");
    ASSERT_EQ(now.size(), 16380u);
    for (int i = 0; i < 10; ++i) {
        const std::string r = now.substr(size_t(i) * 1638, 1638);
        EXPECT_EQ(r.substr(0, 3), std::string(3, '\0'));
        EXPECT_EQ(r.substr(3, 688), old.substr(size_t(i) * 688, 688));
        EXPECT_EQ(r.substr(691), std::string(1638 - 691, '\0'));
    }
    EXPECT_EQ(read("TM.BBB"), old);
    // Current sizes and sizes of no layout stay.
    REBUILDS::REB_TIMEAFDSS();
    EXPECT_EQ(read("TM.DAT"), now);
    write("TM.DAT", std::string(1000, 'x'));
    REBUILDS::REB_TIMEAFDSS();
    EXPECT_EQ(read("TM.DAT"), std::string(1000, 'x'));
}

TEST_F(InvoiceUpgrades, OldReceiptsAreWidenedAndTheirIndexLengthened) {
    std::string old, want;
    for (int n = 1; n <= 10; ++n) {
        old += W(uint16_t(60000 + n)) + tail(n);
        want += L(60000 + n) + tail(n);
    }
    ASSERT_EQ(old.size(), 1510u);
    ASSERT_EQ(want.size(), 1530u);
    std::string ai = words(1000, 65000);
    ai.replace(2 * 5, 2, W(4));
    write("AM.DAT", old);
    write("AI.DAT", ai);
    REBUILDS::REB_APODI();
    EXPECT_EQ(read("AM.DAT"), want);
    EXPECT_EQ(read("AI.DAT"), ai + words(35000, 65000));
    EXPECT_EQ(read("AM.BBB"), old);
    EXPECT_EQ(read("AI.BBB"), ai);
    EXPECT_FALSE(has("New_AM.DAT"));
    EXPECT_FALSE(has("Nea_AI.DAT"));
    // Current now: nothing more.
    REBUILDS::REB_APODI();
    EXPECT_EQ(read("AI.DAT").size(), 72000u);

    // A file of 23103 bytes fits both layouts and counts as current.
    write("AM.DAT", std::string(23103, 'x'));
    REBUILDS::REB_APODI();
    EXPECT_EQ(read("AM.DAT"), std::string(23103, 'x'));
}

TEST_F(InvoiceUpgrades, TheInstalledFilesAreCurrent) {
    const std::string ti = read("TI.DAT"), tm = read("TM.DAT"), am = read("AM.DAT"), ai = read("AI.DAT");
    REBUILDS::REB_TIMOL();
    REBUILDS::REB_TIMEAFDSS();
    REBUILDS::REB_APODI();
    EXPECT_EQ(read("TI.DAT"), ti);
    EXPECT_EQ(read("TM.DAT"), tm);
    EXPECT_EQ(read("AM.DAT"), am);
    EXPECT_EQ(read("AI.DAT"), ai);
    EXPECT_EQ(ai.size(), 130000u);
    EXPECT_FALSE(has("TI.BAD") || has("TM.BBB") || has("AM.BBB") || has("AI.BBB"));
}

TEST_F(InvoiceUpgrades, ATakenIndexBackupLeavesBothReceiptFiles) {
    const std::string old = W(1) + tail(1), ai = words(10, 65000);
    write("AM.DAT", old);
    write("AI.DAT", ai);
    write("AI.BBB", "taken");
    EXPECT_NE(failing([] { REBUILDS::REB_APODI(); }).find("AI.BBB"), std::string::npos);
    EXPECT_EQ(read("AM.DAT"), old);
    EXPECT_EQ(read("AI.DAT"), ai);
    EXPECT_FALSE(has("AM.BBB"));
}

TEST_F(InvoiceUpgrades, AStopBetweenTheTwoRenamesIsFinishedByTheNextStart) {
    const std::string old = W(1) + tail(1), ai = words(10, 65000);
    write("AM.DAT", old);
    write("AI.DAT", ai);
    // The receipt file is renamed, the index not yet: the state a stop after the first commit leaves.
    write("Nea_AI.DAT", ai + words(35000, 65000));
    write("AM.BBB", old);
    write("AM.DAT", L(1) + tail(1));
    REBUILDS::REB_APODI();
    EXPECT_EQ(read("AI.DAT"), ai + words(35000, 65000));
    EXPECT_EQ(read("AI.BBB"), ai);
    EXPECT_FALSE(has("Nea_AI.DAT"));
}

}  // namespace
