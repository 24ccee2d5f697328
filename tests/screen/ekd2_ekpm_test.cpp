// The vehicle clearance certificate: three copies are three print jobs, each kept by a stub
// spool script, compared with a golden printout; the sheet's reference, goods lines and code.
#include "documents/ekd2.h"
#include "print/prns.h"
#include "screen/ekextra_fixture.h"

namespace {

using namespace SIDETEST;

class Certificate : public Side {
protected:
    void SetUp() override {
        Side::SetUp();
        PRNS::PAR_EKT pe;
        pe.PORT = 7;  // the spool file "KVX.TXT"
        pe.EMUL = 1;
        PRNS::writeParEkt(UMAS::PE_PIMH, pe);
        TESTS::writeFile(work->file("prntxt.sh"), "n=$(ls copy*.prn 2>/dev/null | wc -l)\nfor f in kvx.txt KVX.TXT; do [ -f $f ] && cp $f copy$n.prn; done\nexit 0\n");
        put(6, gr("ΤΕΛΩΝΕΙΟ ΠΕΙΡΑΙΑ"));
        put(8, "160326");
        put(39, gr("ΓΕΡΜΑΝΙΑ"));
        put(72, gr("ΕΠΙΒΑΤΙΚΟ ΑΥΤΟΚΙΝΗΤΟ"));
        put(73, "BMW 320D");
        put(79, "87032190.00");
        pa.EP = gr("ΠΑΠΑΔΟΠΟΥΛΟΣ");
        pa.ON = gr("ΓΕΩΡΓΙΟΣ");
        pa.TA = "012345678";
        pa.SY = gr("ΑΘΗΝΑ");
        pa.OD = gr("ΣΤΑΔΙΟΥ");
        pa.AR = "10";
        pa.A0 = "A-123";
        pa.AB = gr("Ο ΔΙΕΥΘΥΝΤΗΣ");
        goods.ER = "BMW";
        goods.TY = "320D";
        goods.AP = "WBA123";
        goods.AK = "N47";
        goods.BA = "1500";
        goods.ET = "1998";
    }
    BOD::PRL pa;
    BOD::MOT goods;
};

}  // namespace

TEST_F(Certificate, ThreeCopiesAreThreeJobs) {
    // The vehicles editor first (Esc, then Esc for the extra data), yes, 3 copies.
    run(esc() + esc() + typed("N") + typed("3") + enter(),
        [&] { EKD2::EKPM(BOD::DIA, BOD::GV, BOD::DIA, BOD::GV, pa, "IMP", goods); });
    const std::string first = TESTS::readFile(work->file("copy0.prn"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(TESTS::readFile(work->file("copy1.prn")), first);
    EXPECT_EQ(TESTS::readFile(work->file("copy2.prn")), first);
    EXPECT_FALSE(TESTS::exists(work->file("copy3.prn")));
    const std::string golden = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/ekpm_imp.prn";
    if (getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(golden, first);
    EXPECT_EQ(first, TESTS::readFile(golden));
    // The father's name is empty: the tax number in its place; the year's digits in words.
    EXPECT_NE(first.find(gr(" Α.Φ.Μ.:012345678")), std::string::npos);
    EXPECT_NE(first.find("1998 ( " + gr("ΕΝΝΕΑ") + "-" + gr("ΟΚΤΩ") + " )"), std::string::npos);
    EXPECT_NE(first.find("555       /160326"), std::string::npos);
}

TEST_F(Certificate, FromASheetAndNoAtTheQuestion) {
    BOD::BOS(BOD::BIS, BOD::GB, 10, "555");
    BOD::BOS(BOD::BIS, BOD::GB, 11, "170326");
    BOD::BOS(BOD::BIS, BOD::GB, 23, gr("ΦΟΡΤΗΓΟ"));
    BOD::BOS(BOD::BIS, BOD::GB, 24, "MAN TGX");
    BOD::BOS(BOD::BIS, BOD::GB, 29, "87042391.00");
    goods.ET = "19A8";
    run(esc() + esc() + typed("N") + typed("1") + enter(),
        [&] { EKD2::EKPM(BOD::DIA, BOD::GV, BOD::BIS, BOD::GB, pa, "IMP", goods); });
    const std::string p = TESTS::readFile(work->file("copy0.prn"));
    EXPECT_NE(p.find(gr("ΦΟΡΤΗΓΟ")), std::string::npos);
    EXPECT_NE(p.find("MAN TGX"), std::string::npos);
    EXPECT_NE(p.find("87042391.00"), std::string::npos);
    EXPECT_NE(p.find("/170326"), std::string::npos);
    EXPECT_NE(p.find("19A8 ( -" + gr("ΟΚΤΩ") + " )"), std::string::npos);
    EXPECT_NE(p.find(gr("ΤΕΛΩΝΕΙΟ ΠΕΙΡΑΙΑ")), std::string::npos);
    // No at the question prints nothing.
    run(esc() + esc() + typed("O"), [&] { EKD2::EKPM(BOD::DIA, BOD::GV, BOD::DIA, BOD::GV, pa, "IMP", goods); });
    EXPECT_FALSE(TESTS::exists(work->file("copy1.prn")));
}
