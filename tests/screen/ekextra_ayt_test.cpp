// The vehicles of a goods item: the import lines and files, copies, the goods record and the excise
// summary on closing.
#include <sys/stat.h>
#include <unistd.h>

#include "codes/kvdi.h"
#include "screen/ekextra_fixture.h"

namespace {

using namespace SIDETEST;
using EKEXTRA::PINAYT;

class Cars : public Side {
protected:
    void SetUp() override {
        Side::SetUp();
        KVDI::V0A = {};
    }
    void open(const Keys& k, const std::string& ext = "IMP", int vc = 72, const std::function<void()>& snap = {}) {
        run(k, [&] { EKEXTRA::AYT(BOD::DIA, BOD::GV, vc, 1, "87032190", ext, BOD::AY); }, snap);
    }
    PINAYT cars() const { return PINAYT::decode(file("555.O1")); }
    void driveA(const std::string& name, const std::string& text) const {
        PLAT::makeDirs("A:\\");
        TESTS::writeFile(work->file("drives/a/" + name), text);
    }
    static std::string lines(int n, const std::string& tag) {
        std::string s;
        for (int i = 1; i <= n; ++i) s += std::to_string(i) + "\t" + tag + std::to_string(i) + "\tE" + tag + std::to_string(i) + "\t\r\n";
        return s;
    }
};

}  // namespace

TEST_F(Cars, ImportLines) {
    struct Case {
        const char* line;
        bool vehicle;
        const char* AP;
        const char* AK;
    } cases[] = {
        {"1\tWVW123\tENG9\t", true, "WVW123", "ENG9"},
        {"1\tWVW123\tENG9", true, "WVW123", "old"},
        {"12\tWVW123\tENG9\tREST\tMORE", true, "WVW123", "ENG9"},
        {"1\tWVW123", true, "old", "old"},
        {"A\tWVW123\tENG9\t", false, "old", "old"},
        {"", false, "old", "old"},
        {"1\t12345678901234567890123456789\t\t", true, "1234567890123456789012345", ""},
    };
    for (const Case& c : cases) {
        std::string AP = "old", AK = "old";
        EXPECT_EQ(EKEXTRA::IMPORTLINE(c.line, AP, AK), c.vehicle) << c.line;
        EXPECT_EQ(AP, c.AP) << c.line;
        EXPECT_EQ(AK, c.AK) << c.line;
    }
}

TEST_F(Cars, ImportFilesAndCopies) {
    driveA("A.TXT", lines(5, "A"));
    driveA("B.TXT", "X header\r\n" + lines(3, "B"));
    std::string message;
    open(typed("10 CAR") + enter() + typed("BMW") + enter() + ext(SC::F9) + typed("N"), "IMP", 72,
         [&] { message = UMAS::CUTLEADSPACES(screen(3, 23, 60)); });
    EXPECT_EQ(message, gr("ΕΙΣΗΧΘΗΣΑΝ 3 ΟΧΗΜΑΤΑ.Πατήστε ESC"));
    PINAYT t = cars();
    ASSERT_EQ(file("555.O1").size(), 51200u);
    EXPECT_EQ(t.V[0].AP, "B1");
    EXPECT_EQ(t.V[2].AK, "EB3");
    EXPECT_EQ(t.V[2].ER, "BMW");  // a copy of vehicle 1
    EXPECT_EQ(t.V[3].AP, "A4");
    EXPECT_EQ(t.V[4].AP, "A5");
    EXPECT_EQ(t.V[5].ON, "");
    EXPECT_EQ(BOD::AY.ON, "10 CAR");
    EXPECT_EQ(BOD::AY.AP, "B1");

    // 250 lines stop at 200 and say so.
    PLAT::removeFile("A:\\A.TXT");
    driveA("B.TXT", lines(250, "C"));
    open(ext(SC::F9) + typed("N"), "IMP", 72, [&] { message = UMAS::CUTLEADSPACES(screen(3, 23, 60)); });
    EXPECT_EQ(message, gr("ΕΙΣΗΧΘΗΣΑΝ 200 ΟΧΗΜΑΤΑ (ΟΡΙΟ 200).Πατήστε ESC"));
    EXPECT_EQ(cars().V[199].AP, "C200");

    // Copies 0, 1 and 250.
    struct Case {
        const char* count;
        int cars;
    } cases[] = {{"0", 1}, {"1", 1}, {"250", 200}, {"3", 3}};
    for (const Case& c : cases) {
        open(ext(SC::F8) + typed("N") + typed(c.count) + enter());
        int counted = 0;
        for (const auto& m : cars().V) counted += !m.ON.empty();
        EXPECT_EQ(counted, c.cars) << c.count;
    }
}

TEST_F(Cars, ImportSkipsNamesThatAreNoReadableFile) {
    // after the one real file come a folder, a pipe, a link to a folder and a link to itself
    driveA("A.TXT", lines(5, "A"));
    const std::string a = work->file("drives/a/");
    PLAT::makeDirs("A:\\B.TXT");
    ASSERT_EQ(mkfifo((a + "C.TXT").c_str(), 0644), 0);
    ASSERT_EQ(symlink("B.TXT", (a + "D.TXT").c_str()), 0);
    ASSERT_EQ(symlink("E.TXT", (a + "E.TXT").c_str()), 0);
    std::string message;
    open(typed("10 CAR") + enter() + ext(SC::F9) + typed("N"), "IMP", 72,
         [&] { message = UMAS::CUTLEADSPACES(screen(3, 23, 60)); });
    EXPECT_EQ(message, gr("ΕΙΣΗΧΘΗΣΑΝ 5 ΟΧΗΜΑΤΑ.Πατήστε ESC"));
    EXPECT_EQ(cars().V[4].AP, "A5");
}

TEST_F(Cars, GoodsRecordAndExciseSummary) {
    // Without vehicles the item's record keeps its own fields (a transit item's package rows).
    BOD::AY.ON = "CT";
    BOD::AY.TY = "12";
    open(esc());
    EXPECT_EQ(BOD::AY.ON, "CT");
    EXPECT_EQ(BOD::AY.TY, "12");
    EXPECT_FALSE(exists("555.O1"));
    // Make, type and chassis typed without a kind: no vehicle counts and no file is written, but
    // the record takes vehicle 1's fields, the empty kind included.
    open(enter() + typed("FIAT") + enter() + typed("DUCATO") + enter() + typed("ZFA25000001234567") + enter() + esc());
    EXPECT_EQ(BOD::AY.ON, "");
    EXPECT_EQ(BOD::AY.ER, "FIAT");
    EXPECT_EQ(BOD::AY.TY, "DUCATO");
    EXPECT_EQ(BOD::AY.AP, "ZFA25000001234567");
    EXPECT_FALSE(exists("555.O1"));

    // Excise: kind 1 gives four summary boxes and box 87, kind 2 three with " CCM: ".
    const Keys car = typed("10 CAR") + enter() + typed("BMW") + enter() + typed("320") + enter() + typed("WBA1") +
                     enter() + typed("N47") + enter() + typed("1995") + enter() + typed("2020") + enter(2) +
                     typed("DIESEL") + enter();
    for (int kind : {1, 2}) {
        form("DFK");
        KVDI::V0A.EE = uint8_t(kind);
        removeFileIfAny("555.O1");
        put(74, "OLD 74");
        open(car + esc(), "DFK");
        const std::string b74 = UMAS::CUTLEADSPACES(box(74));
        EXPECT_EQ(b74, kind == 1 ? gr("ΚΥΛΙΝΔ: 1995  ΚΑΥΣΙΜΟ: DIESEL") : "OLD 74") << kind;
        EXPECT_EQ(UMAS::CUTLEADSPACES(box(75)).substr(0, std::string(gr("ΜΑΡΚΑΣ: BMW")).size()), gr("ΜΑΡΚΑΣ: BMW"));
        EXPECT_EQ(UMAS::CUTLEADSPACES(box(77)).substr(0, std::string(gr("ΠΛΑΙΣΙΟ:WBA1")).size()), gr("ΠΛΑΙΣΙΟ:WBA1"));
        if (kind == 2) {
            EXPECT_NE(box(77).find(" CCM: 1995"), std::string::npos) << box(77);
        }
        EXPECT_EQ(UMAS::CUTLEADSPACES(box(87)), "WBA1");
    }
    // Other kinds get no summary.
    form("IMP");
    KVDI::V0A.EE = 1;
    put(74, "OLD 74");
    open(car + esc());
    EXPECT_EQ(UMAS::CUTLEADSPACES(box(74)), "OLD 74");
}

TEST_F(Cars, CopiesAndImportShowTheVehicleAgainFromItsFirstField) {
    driveA("A.TXT", "1\tWVW123\tENG9\t\r\n");
    const Keys first = typed("10 CAR") + enter() + typed("BMW") + enter();
    struct Case {
        const char* what;
        Keys keys;
        int row;  // a row of the vehicle shown after the key and what it shows
        std::string text;
    } cases[] = {
        // On vehicle 2, typing its type, F8 makes it a copy of vehicle 1.
        {"F8", first + ext(SC::PGDN) + enter(2) + typed("X9") + ext(SC::F8) + typed("N") + typed("3") + enter() + esc(),
         5, std::string(20, ' ')},
        // On vehicle 1's chassis field, F9 brings the chassis number in.
        {"F9", first + enter() + ext(SC::F9) + typed("N") + esc(), 6, "WVW123"},
    };
    for (const Case& c : cases) {
        removeFileIfAny("555.O1");
        int row = 0;
        std::string kind, shown;
        open(c.keys, "IMP", 72, [&] {
            row = con->whereY();
            kind = screen(22, 3, 6);
            shown = screen(22, c.row, int(c.text.size()));
        });
        EXPECT_EQ(row, 3) << c.what << ": editing goes on from the kind";
        EXPECT_EQ(kind, "10 CAR") << c.what;
        EXPECT_EQ(shown, c.text) << c.what;
    }
}
