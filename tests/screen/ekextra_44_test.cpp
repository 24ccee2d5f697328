// The box-44 list, its condensing into boxes 92 to 95, the transport document and the TIR data.
#include "codes/kvdi.h"
#include "screen/ekextra_fixture.h"
#include "shell/install.h"

namespace {

using namespace SIDETEST;
using EKEXTRA::THESI44;

class List44 : public Side {
protected:
    void seed(const std::string& name, const std::vector<std::string>& lines) const {
        TESTS::writeFile(company(0) + "/" + name + ".DAT", INSTALL::codeTableImage(name, lines));
    }
    static THESI44 list(const std::vector<std::pair<std::string, std::string>>& rows) {
        THESI44 t;
        for (size_t i = 0; i < rows.size(); ++i) t.CODE[i] = rows[i].first, t.REF[i] = rows[i].second;
        return t;
    }
    std::string boxText(int n) const { return UMAS::CUTLEADSPACES(box(n)); }
};

std::string oldImage(const THESI44& t) {
    std::string b(646, '\0');
    for (int r = 0; r < 17; ++r) {
        auto put = [&](size_t off, const std::string& s) {
            b[off] = char(s.size());
            b.replace(off + 1, s.size(), s);
        };
        put(size_t(r) * 38, t.CODE[size_t(r)]);
        put(size_t(r) * 38 + 19, t.REF[size_t(r)]);
    }
    return b;
}

}  // namespace

TEST_F(List44, AnOlderFileIsRewrittenBeforeTheFirstKeyAndKeptByTheOtherReaders) {
    const THESI44 t = list({{"N730", "CMR 4411"}, {"N952", "XA 1234567"}, {"N380", "INV 18 CHARS 12345"}});
    writeFile("555.T44", oldImage(t));
    // The TIR data and transport document read it as it is.
    run(esc(), [] { EKEXTRA::STOIXIA_TIR(); });
    run(enter(2), [] { EKEXTRA::EGGMETAF(); });
    EXPECT_EQ(file("555.T44").size(), 646u);
    EXPECT_EQ(EKEXTRA::ST_TIR::decode(file("555.TIT")).T[0], "XA 1234567");
    EXPECT_EQ(file("555.EGR"), "N730\r\nCMR 4411\r\n");
    size_t before = 0;
    THESI44 seen;
    run({}, [] { EKEXTRA::DIAM44(); }, [&] {
        before = file("555.T44").size();
        seen = THESI44::decode(file("555.T44"));
    });
    EXPECT_EQ(before, 748u);
    EXPECT_EQ(seen, t);
}

TEST_F(List44, Condensing) {
    // Longest reference 14: W 20, three items a line, twelve in all.
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 1; i <= 13; ++i) rows.push_back({"N" + std::to_string(100 + i), "REF " + std::to_string(1000000000 + i)});
    EKEXTRA::CONDENSE44(list(rows));
    auto item = [](const std::pair<std::string, std::string>& r) { return UMAS::LEJU(r.first + ":" + r.second, 20) + "-"; };
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(box(92 + b), UMAS::cut(item(rows[size_t(3 * b)]) + item(rows[size_t(3 * b + 1)]) +
                                             item(rows[size_t(3 * b + 2)]), 40))
            << b;
    // Rows without a code are passed over; all references empty: W 6, ten items a line.
    put(93, "OLD 93");
    put(94, "OLD 94");
    EKEXTRA::CONDENSE44(list({{"N380", ""}, {"", ""}, {"N730", ""}}));
    EXPECT_EQ(boxText(92), "N380: -N730: -");
    EKEXTRA::CONDENSE44(list({{"N380", "A"}, {"", "NO CODE"}}));  // W counts every reference
    EXPECT_EQ(boxText(92), "N380:A       -");
    // A list shrunk to one line rewrites box 92 only.
    EXPECT_EQ(boxText(93), "OLD 93");
    EXPECT_EQ(boxText(94), "OLD 94");
    // Special mentions count like documents.
    THESI44 t;
    t.CODE[16] = "10600";
    t.REF[16] = "X";
    EKEXTRA::CONDENSE44(t);
    EXPECT_EQ(boxText(92), "10600:X-");
}

TEST_F(List44, EditingKeysAndThePicker) {
    seed("PRE", {"D1|ΕΓΓΡΑΦΟ 1", "D2|ΕΓΓΡΑΦΟ 2", "D3|ΕΓΓΡΑΦΟ 3", "D4|ΕΓΓΡΑΦΟ 4", "D5|ΕΓΓΡΑΦΟ 5"});
    // Code and reference of row 1, F5 on row 2 after filling it, PgDn to the special mentions.
    Keys k = typed("N380") + enter() + typed("INV 1") + enter() + typed("N730") + enter() + typed("CMR") + enter() +
             ext(SC::UP) + ext(SC::F5) + ext(SC::PGDN) + typed("10600") + enter() + typed("NOTE") + enter();
    // Tab on row 13 with five documents marked in the picker: rows 13 to 15 only.
    k = k + ext(SC::PGUP) + ext(SC::DOWN, 12) + Keys{PLAT::keyChar(TAB)};
    for (int i = 0; i < 5; ++i) k = k + typed(" ") + ext(SC::DOWN);
    k = k + enter() + esc();
    run(k, [] { EKEXTRA::DIAM44(); });
    const THESI44 t = THESI44::decode(file("555.T44"));
    ASSERT_EQ(file("555.T44").size(), 748u);
    EXPECT_EQ(t.CODE[0], "N380");
    EXPECT_EQ(t.REF[0], "INV 1");
    EXPECT_EQ(t.CODE[1], "");
    EXPECT_EQ(t.REF[1], "");
    EXPECT_EQ(t.CODE[16], "");
    EXPECT_EQ(t.CODE[15], "10600");
    EXPECT_EQ(t.REF[15], "NOTE");
    for (int r = 12; r < 15; ++r) {
        EXPECT_EQ(t.CODE[size_t(r)], "D" + std::to_string(r - 11) + "  ") << r;  // as the picker pads it
        EXPECT_EQ(UMAS::CUTLEADSPACES(t.REF[size_t(r)]), gr(("ΕΓΓΡΑΦΟ " + std::to_string(r - 11)).c_str())) << r;
    }
    EXPECT_EQ(boxText(92).substr(0, 6), "N380:I");
}

TEST_F(List44, TirData) {
    // The picker opens on the office of box 7, on the first row for code 0.
    seed("TEL", {"0|ΧΩΡΙΣ ΚΩΔΙΚΟ|ΚΑΒΑΛΑ", "1234|ΤΕΛ. ΑΛΦΑ|ΑΘΗΝΑ", "123|ΤΕΛ. ΒΗΤΑ|ΒΟΛΟΣ", "12|ΤΕΛ. ΓΑΜΑ|ΔΡΑΜΑ"});
    struct Case {
        const char* box7;
        const char* office;
    } cases[] = {{"1234", "GR001234"}, {"123", "GR000123"}, {"12", "GR000 12"}, {"0", "GR00"}};
    for (const Case& c : cases) {
        removeFileIfAny("555.TIT");
        put(7, c.box7);
        run(ext(SC::DOWN, 2) + Keys{PLAT::keyChar(TAB)} + enter() + esc(), [] { EKEXTRA::STOIXIA_TIR(); });
        EXPECT_EQ(EKEXTRA::ST_TIR::decode(file("555.TIT")).T[2], c.office) << c.box7;
    }
    // The carnet from the lower of two "N952" rows; the office from box 64; the file is 72 bytes.
    removeFileIfAny("555.TIT");
    EKEXTRA::WRITET44(UMAS::PATH + "555.T44", list({{"N952", "  UPPER  "}, {"N380", "X"}, {"N952", " LOWER 1 "}}));
    put(64, "  THESSALONIKI PORT");
    run(esc(), [] { EKEXTRA::STOIXIA_TIR(); });
    const std::string img = file("555.TIT");
    ASSERT_EQ(img.size(), 72u);
    const EKEXTRA::ST_TIR t = EKEXTRA::ST_TIR::decode(img);
    EXPECT_EQ(t.T[0], "LOWER 1");
    EXPECT_EQ(t.T[2], "THESSALO");
    // Up from text 1 goes to text 4.
    run(ext(SC::UP) + typed("FREE") + enter() + esc(), [] { EKEXTRA::STOIXIA_TIR(); });
    EXPECT_EQ(EKEXTRA::ST_TIR::decode(file("555.TIT")).T[3], "FREE");
}

TEST_F(List44, TransportDocument) {
    EKEXTRA::WRITET44(UMAS::PATH + "555.T44",
                      list({{"N380", "INV"}, {"N730", "CMR 1"}, {"N705", "BL 2"}}));
    // Proposed from the upper "N7" row; Esc with three characters in the code rings the bell.
    int bells = con->bells;
    run(ext(SC::END) + Keys{PLAT::keyChar(8)} + enter() + esc() + typed("N730") + enter(2),
        [] { EKEXTRA::EGGMETAF(); });
    EXPECT_GT(con->bells, bells);
    EXPECT_EQ(file("555.EGR"), "N730\r\nCMR 1\r\n");
}
