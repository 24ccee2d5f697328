// The container numbers and the small side-data editors kept in memory: guarantees, extra vehicle
// data, transit carrier and additional codes.
#include "codes/kvdi.h"
#include "screen/ekextra_fixture.h"
#include "shell/install.h"

namespace {

using namespace SIDETEST;
using EKEXTRA::CONTBUF;

class Small : public Side {
protected:
    void SetUp() override {
        Side::SetUp();
        for (int i = 1; i <= 5; ++i) UMAS::EGG_IMP_NUM[size_t(i)].clear(), UMAS::EGG_IMP_POSO[size_t(i)].clear();
        for (auto& s : UMAS::T1_METAF_ASF) s.clear();
        for (auto& s : UMAS::EXTRA_OXIMATA) s.clear();
        for (auto& r : UMAS::RECPROS) r = {};
        PLAT::removeFile("Eggiisi.txt");
    }
    CONTBUF containers(const std::string& name = "555.01") const { return CONTBUF::decode(file(name)); }
    void containersWith(const Keys& k, bool sheet = false, const std::function<void()>& snap = {}) {
        run(k, [&] { EKEXTRA::CONTAINER_NUMS(sheet); }, snap);
    }
};

}  // namespace

TEST_F(Small, ContainerEntriesGetTheirCheckDigit) {
    containersWith(typed("CSQU305438") + enter() + typed("CSQU000007") + enter() + typed("CS1U305438") + enter() +
                   typed("CSQU30543A") + enter() + typed("CSQU") + enter() + ext(SC::F4) + esc());
    const CONTBUF c = containers();
    EXPECT_EQ(c.E[0], "CSQU3054383");
    EXPECT_EQ(c.E[1], "CSQU0000070");
    EXPECT_EQ(c.E[2], "CS1U305438?");
    EXPECT_EQ(c.E[3], "CSQU30543A?");
    EXPECT_EQ(c.E[4], "CSQU?");
    // Shown with the digit after a minus sign; passing an entry again does not grow it.
    std::string shown;
    containersWith(enter(4), false, [&] { shown = screen(38, 7, 12); });
    EXPECT_EQ(shown, "CSQU305438-3");
    EXPECT_EQ(containers().E[4], "CSQU?");
}

TEST_F(Small, ContainerFileIsWrittenAtOpeningAndChangesNeedAnAnswer) {
    containersWith(esc());
    EXPECT_EQ(file("555.01"), std::string(1080, '\0'));
    // A change, Esc, "no" stays (the next key still edits), Esc, "yes" leaves without storing.
    containersWith(typed("CSQU305438") + enter() + esc() + typed("O") + typed("ABCU123456") + enter() + esc() +
                   typed("N"));
    EXPECT_EQ(containers(), CONTBUF{});
    // F4 stores; Esc after it asks nothing.
    containersWith(typed("CSQU305438") + enter() + ext(SC::F4) + esc());
    EXPECT_EQ(containers().E[0], "CSQU3054383");
}

TEST_F(Small, ContainerBoxPagesAndNames) {
    // Box 66 of 11 characters or more goes into entry 1 at every opening, without a check. Passing
    // the entry puts the computed digit in place of its eleventh character: a change to confirm.
    put(66, "  MSKU1234567890");
    containersWith(esc() + typed("N"));
    EXPECT_EQ(containers().E[0], "MSKU1234567");
    put(66, "MSKU123456");
    writeFile("555.01", [] { CONTBUF c; c.E[0] = "KEEP1234567"; return c.encode(); }());
    containersWith(esc());
    EXPECT_EQ(containers().E[0], "KEEP1234567");
    // Down on entry 15 shows page 2 with entry 16 under the cursor; Up goes back to entry 15.
    std::string page, number;
    containersWith(ext(SC::DOWN, 15) + typed("ABCU123456") + enter() + ext(SC::UP, 2) + typed("XYZU123456") + enter() +
                       ext(SC::F4),
                   false, [&] { page = screen(46, 22, 2), number = screen(31, 7, 2); });
    EXPECT_EQ(page, " 2");
    EXPECT_EQ(number, "16");
    EXPECT_EQ(containers().E[15].substr(0, 10), "ABCU123456");
    EXPECT_EQ(containers().E[14].substr(0, 10), "XYZU123456");
    // A sheet: the sheet text as it stands; the whole number names the file; a number longer than
    // 8 characters still finds the file older installations named after its first 8.
    BOD::BOS(BOD::BIS, BOD::GB, 3, "02");
    containersWith(esc(), true);
    EXPECT_TRUE(exists("555.02"));
    put(1, "1234567890");
    writeFile("12345678.01", [] { CONTBUF c; c.E[5] = "OLDU1234569"; return c.encode(); }());
    put(66, "");
    containersWith(esc());
    EXPECT_EQ(containers("1234567890.01").E[5], "OLDU1234569");
    put(1, "1234567800");
    containersWith(esc());
    EXPECT_EQ(containers("1234567800.01").E[5], "OLDU1234569");  // shares only what it read
    put(1, "12345678");
    containersWith(typed("NEWU123456") + enter() + ext(SC::F4) + esc());
    EXPECT_EQ(containers("12345678.01").E[0], "NEWU1234560");
    EXPECT_EQ(containers("1234567890.01").E[0], "");
}

TEST_F(Small, Guarantees) {
    // All blank: "Eggiisi.txt" is not touched.
    run(esc(), [] { EKEXTRA::EGGIMP(); });
    EXPECT_FALSE(TESTS::exists(work->file("Eggiisi.txt")));
    // Numbers in rows 2 and 4: the number of row 4 is remembered.
    run(enter(2) + typed("G-222") + enter(4) + typed("  G-444  ") + enter() + typed("100") + enter() + esc(),
        [] { EKEXTRA::EGGIMP(); });
    EXPECT_EQ(UMAS::EGG_IMP_NUM[2], "G-222");
    EXPECT_EQ(UMAS::EGG_IMP_POSO[4], "100");
    EXPECT_EQ(TESTS::readFile(work->file("Eggiisi.txt")), "G-444\r\n");
    // Tab takes the number from the file; 20 characters are remembered as 18.
    TESTS::writeFile(work->file("Eggiisi.txt"), "ABCDEFGHIJ0123456789\r\n");
    for (auto& s : UMAS::EGG_IMP_NUM) s.clear();
    run(Keys{PLAT::keyChar(TAB)} + esc(), [] { EKEXTRA::EGGIMP(); });
    EXPECT_EQ(UMAS::EGG_IMP_NUM[1], "ABCDEFGHIJ0123456789");
    EXPECT_EQ(TESTS::readFile(work->file("Eggiisi.txt")), "ABCDEFGHIJ01234567\r\n");
    // Up on number 1 stays; Enter on amount 5 stays; Up on number 3 goes to amount 2.
    for (auto& s : UMAS::EGG_IMP_NUM) s.clear();
    run(ext(SC::UP) + typed("N1") + enter(9) + typed("A5") + enter() + typed("B5") + enter() + esc(),
        [] { EKEXTRA::EGGIMP(); });
    EXPECT_EQ(UMAS::EGG_IMP_NUM[1], "N1");
    EXPECT_EQ(UMAS::EGG_IMP_POSO[5], "B5");
    run(enter(4) + ext(SC::UP) + typed("P2") + enter() + esc(), [] { EKEXTRA::EGGIMP(); });
    EXPECT_EQ(UMAS::EGG_IMP_POSO[2], "P2");
}

TEST_F(Small, CarrierAndExtraVehicleData) {
    UMAS::T1_METAF_ASF = {"", "OLD NAME", "OLD ADDRESS", "OLD TOWN", "DE"};
    put(22, "  ACME TRANSPORT  ");
    put(44, "IT");
    // One clean title, centred in the frame: nothing of the vehicle data's own title around it.
    std::string title, vehicleTitle;
    run(ext(SC::F8) + esc(), [] { EKEXTRA::T1_ASFAL(); });
    EXPECT_EQ(UMAS::T1_METAF_ASF[1], "ACME TRANSPORT");
    run({}, [] { EKEXTRA::T1_ASFAL(); }, [&] { title = PLAT::cp737ToUtf8(screen(3, 14, 52)); });
    EXPECT_EQ(title, "║" + std::string(12, ' ') + "T1.  ΑΣΦΑΛΕΙΑ - ΜΕΤΑΦΟΡΕΑΣ" + std::string(12, ' ') + "║");
    run({}, [] { EKEXTRA::AYTEXTRA(); }, [&] { vehicleTitle = PLAT::cp737ToUtf8(screen(3, 14, 52)); });
    EXPECT_NE(vehicleTitle.find("ΣΥΜΠΛΗΡΩΜΑΤΙΚΑ ΣΤΟΙΧΕΙΑ ΟΧΗΜΑΤΩΝ"), std::string::npos);
    EXPECT_EQ(UMAS::T1_METAF_ASF[2], "");
    EXPECT_EQ(UMAS::T1_METAF_ASF[3], "");
    EXPECT_EQ(UMAS::T1_METAF_ASF[4], "IT");
    // Blank boxes empty the four fields.
    put(22, "");
    put(44, "");
    run(ext(SC::F8) + esc(), [] { EKEXTRA::T1_ASFAL(); });
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(UMAS::T1_METAF_ASF[size_t(i)], "") << i;

    run(typed("010126") + enter() + typed("311226") + enter() + typed("X") + enter() + typed("PERMIT 1") + enter(3) +
            typed("Z9") + enter() + esc(),
        [] { EKEXTRA::AYTEXTRA(); });
    EXPECT_EQ(UMAS::EXTRA_OXIMATA[1], "010126");
    EXPECT_EQ(UMAS::EXTRA_OXIMATA[4], "PERMIT 1");
    EXPECT_EQ(UMAS::EXTRA_OXIMATA[6], "Z9");
}

TEST_F(Small, AdditionalCodes) {
    std::string img(KVDI::F_PROSTH.size, '\0');
    KVDI::RECPROSTHETA{"A123", gr("ΠΡΟΣΘΕΤΟΣ ΕΝΑ")}.encode(reinterpret_cast<uint8_t*>(img.data()));
    TESTS::writeFile(company(0) + "/PROSTH.DAT", img);
    // Without the picker, Enter on the code and on the amount return to the bar.
    run(enter() + typed("B1") + enter() + typed("12.5") + enter() + ext(SC::DOWN) + enter() + typed("C2") + enter(2) +
            esc(),
        [] { EKEXTRA::GIVEPROSTHETA(); });
    EXPECT_EQ(UMAS::RECPROS[1].PROS_CODE, "B1");
    EXPECT_EQ(UMAS::RECPROS[1].PROS_POS, "       12.5");
    EXPECT_EQ(UMAS::RECPROS[2].PROS_CODE, "C2");
    // Tab, Esc in the picker, Enter on the code and the amount close the editor at once.
    int left = -1;
    run(enter() + Keys{PLAT::keyChar(TAB)} + esc() + enter(2) + ext(SC::DOWN) + enter() + typed("ZZ"),
        [] { EKEXTRA::GIVEPROSTHETA(); });
    left = int(con->pending());
    EXPECT_GT(left, 0);  // the keys after the row were not read
    EXPECT_EQ(UMAS::RECPROS[2].PROS_CODE, "C2");
}
