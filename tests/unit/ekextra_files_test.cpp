// The side files of a declaration: their names from the form, and the byte layouts of their
// records (sizes, offsets, the older layouts, short and long files).
#include <gtest/gtest.h>

#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/files.h"

namespace {

using namespace EKEXTRA;

class SideNames : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        ASSERT_TRUE(BOD::SETFORM("IMP"));
    }
    void box1(const std::string& s) { BOD::BOS(BOD::DIA, BOD::GV, 1, s); }
    void sheet3(const std::string& s) { BOD::BOS(BOD::BIS, BOD::GB, 3, s); }
};

// A string[cap] at off of an image.
std::string str(const std::string& img, size_t off) { return img.substr(off + 1, uint8_t(img[off])); }

}  // namespace

TEST_F(SideNames, NumberSuffixAndContainerNames) {
    struct Case {
        const char* box1;
        const char* number;
    } numbers[] = {{"12345", "12345"}, {"  123  ", "123"}, {"   42", "42"}, {"", ""}};
    for (const Case& c : numbers) {
        box1(c.box1);
        EXPECT_EQ(DECLNUM(), c.number) << c.box1;
        EXPECT_EQ(SIDEFILE(".T44"), UMAS::PATH + c.number + ".T44") << c.box1;
        EXPECT_EQ(ITEMFILE(".L", false), UMAS::PATH + c.number + ".L1") << c.box1;
        EXPECT_EQ(CONTAINERFILE(false), UMAS::PATH + c.number + ".01") << c.box1;
    }
    struct Sheet {
        const char* box3;
        const char* suffix;
    } sheets[] = {{"02", "2"}, {"10", "10"}, {" 2", "2"}, {"20", "20"}};
    box1("700");
    for (const Sheet& s : sheets) {
        sheet3(s.box3);
        EXPECT_EQ(SHEETSUFFIX(true), s.suffix) << s.box3;
        EXPECT_EQ(ITEMFILE(".L", true), UMAS::PATH + "700.L" + s.suffix) << s.box3;
        // The container file keeps the sheet text as it stands.
        EXPECT_EQ(CONTAINERFILE(true), UMAS::PATH + "700." + s.box3) << s.box3;
    }
    EXPECT_EQ(SHEETSUFFIX(false), "1");
    // Whole numbers of 10 digits: nothing is cut; the name of older installations is the first 8.
    box1("1234567890");
    EXPECT_EQ(ITEMFILE(".L", false), UMAS::PATH + "1234567890.L1");
    EXPECT_EQ(CONTAINERFILE(false), UMAS::PATH + "1234567890.01");
    EXPECT_EQ(OLDCONTAINERNAME("1234567890", "01"), UMAS::PATH + "12345678.01");
    EXPECT_EQ(OLDCONTAINERNAME("12345678", "01"), "");
    EXPECT_EQ(SHEETSUFFIX(std::string("  007")), "7");
}

TEST(SideRecords, GridLayout) {
    TDILOS t;
    EXPECT_EQ(t.encode(), std::string(7560, '\0'));
    t.at(1, 1) = "Y";
    t.at(1, 5) = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // kept as its first 20
    t.at(45, 8) = "12345678";
    const std::string img = t.encode();
    ASSERT_EQ(img.size(), 7560u);
    EXPECT_EQ(str(img, 0), "Y");
    EXPECT_EQ(str(img, 4 * 21), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(img.substr(1 + 1, 20), std::string(20, '\0'));  // padding is zero
    EXPECT_EQ(str(img, (44 * 8 + 7) * 21), "12345678");
    TDILOS back = TDILOS::decode(img);
    EXPECT_EQ(back.at(1, 5), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(back.at(45, 8), "12345678");

    // A length byte beyond the capacity is cut; a short file fills the start; a long one the table.
    std::string bad = img;
    bad[21] = char(200);
    EXPECT_EQ(TDILOS::decode(bad).at(1, 2).size(), 20u);
    const TDILOS shortOne = TDILOS::decode(img.substr(0, 21 * 4 + 5));  // row 1 up to 4 chars of col 5
    EXPECT_EQ(shortOne.at(1, 1), "Y");
    EXPECT_EQ(shortOne.at(1, 5), "ABCD");
    EXPECT_EQ(shortOne.at(45, 8), "");
    EXPECT_EQ(TDILOS::decode(img + std::string(500, 'x')), back);
    EXPECT_EQ(TDILOS::decode(""), TDILOS{});
}

TEST(SideRecords, Box44LayoutAndTheOlderLayout) {
    THESI44 t;
    t.CODE[0] = "N380";
    t.REF[0] = "INV 55/2026";
    t.CODE[16] = "10600";
    t.REF[16] = "123456789012345678901234";  // 21 kept
    const std::string img = t.encode();
    ASSERT_EQ(img.size(), 748u);
    EXPECT_EQ(str(img, 0), "N380");
    EXPECT_EQ(str(img, 22), "INV 55/2026");
    EXPECT_EQ(str(img, 16 * 44), "10600");
    EXPECT_EQ(str(img, 16 * 44 + 22), "123456789012345678901");
    EXPECT_EQ(THESI44::decode(img), [&] { THESI44 c = t; c.REF[16] = "123456789012345678901"; return c; }());

    // The 646-byte layout: rows of 38 bytes, texts of string[18].
    std::string old(646, '\0');
    auto put = [&](size_t off, const std::string& s) {
        old[off] = char(s.size());
        old.replace(off + 1, s.size(), s);
    };
    put(0, "N730");
    put(19, "CMR 123456789012345");  // a length of 19 in an 18 field: cut
    put(16 * 38, "10600");
    put(16 * 38 + 19, "ΣΧΟΛΙΟ");
    const THESI44 o = THESI44::decode(old);
    EXPECT_EQ(o.CODE[0], "N730");
    EXPECT_EQ(o.REF[0], "CMR 12345678901234");
    EXPECT_EQ(o.CODE[16], "10600");
    EXPECT_EQ(o.REF[16].size(), std::string("ΣΧΟΛΙΟ").size());
    // 645 or 647 bytes are not the older layout: read from the start into the 748 table.
    const THESI44 other = THESI44::decode(old.substr(0, 645));
    EXPECT_EQ(other.CODE[0], "N730");
    EXPECT_NE(other.CODE[16], "10600");
}

TEST(SideRecords, TirDataLayoutAndTheOlderLayout) {
    ST_TIR t;
    t.T = {"XA12345678", "DE123456789012345", "GR001234", "FREE TEXT 123456789"};
    const std::string img = t.encode();
    ASSERT_EQ(img.size(), 72u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(str(img, size_t(i) * 18), UMAS::cut(t.T[size_t(i)], 17)) << i;
    EXPECT_EQ(ST_TIR::decode(img).T[3], "FREE TEXT 1234567");

    std::string old(64, '\0');
    for (int i = 0; i < 4; ++i) {
        const std::string s = "OLD" + std::to_string(i) + "-123456789012";  // 16: cut to 15
        old[size_t(i) * 16] = char(s.size());
        old.replace(size_t(i) * 16 + 1, 15, s.substr(0, 15));
    }
    const ST_TIR o = ST_TIR::decode(old);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(o.T[size_t(i)], "OLD" + std::to_string(i) + "-1234567890") << i;
    // A file of at most 64 bytes is the older layout; a larger one is read from its start.
    EXPECT_EQ(ST_TIR::decode(old.substr(0, 20)).T[1], "OLD");  // cut by the file's end
    EXPECT_EQ(ST_TIR::decode(img + "zz").T[1], "DE123456789012345");
    EXPECT_EQ(ST_TIR::decode(img.substr(0, 65)).T[2], "GR001234");
}

TEST(SideRecords, ContainersTransportDocumentAndGuarantee) {
    CONTBUF c;
    c.E[0] = "CSQU3054383";
    c.E[89] = "ABCD1234565";
    const std::string img = c.encode();
    ASSERT_EQ(img.size(), 1080u);
    EXPECT_EQ(str(img, 0), "CSQU3054383");
    EXPECT_EQ(str(img, 89 * 12), "ABCD1234565");
    EXPECT_EQ(CONTBUF::decode(img), c);

    EGRDOC e{"N730", "CMR123"};
    EXPECT_EQ(e.encode(), "N730\r\nCMR123\r\n");
    EXPECT_EQ(EGRDOC::decode("N7301\nABCDEFGHIJKLMNOPQRSTUV\n"), (EGRDOC{"N730", "ABCDEFGHIJKLMNOPQR"}));
    EXPECT_EQ(EGRDOC::decode(""), EGRDOC{});

    TESTS::TempWorkDir wd;
    std::string n = "x";
    EXPECT_FALSE(READEGGIISI(n));
    EXPECT_EQ(n, "");
    WRITEEGGIISI("GRT-77");
    EXPECT_EQ(TESTS::readFile(wd.file("Eggiisi.txt")), "GRT-77\r\n");
    TESTS::writeFile(wd.file("Eggiisi.txt"), "123456789012345678901234\r\nsecond\r\n");
    EXPECT_TRUE(READEGGIISI(n));
    EXPECT_EQ(n, "12345678901234567890");
}

TEST(SideRecords, WineLinesLayout) {
    KRASTABLE k;
    k.L[0] = {"2204211000", "     12.500"};
    k.L[39] = {"220421100099", "123456789012"};  // stored cut to 10 and 11
    const std::string img = k.encode();
    ASSERT_EQ(img.size(), 920u);
    EXPECT_EQ(img.substr(0, 23), "\x0a" "2204211000" "\x0b" "     12.500");
    EXPECT_EQ(str(img, 39 * 23), "2204211000");
    EXPECT_EQ(str(img, 39 * 23 + 11), "12345678901");
    EXPECT_EQ(img.substr(23, 23), std::string(23, '\0'));
    const KRASTABLE back = KRASTABLE::decode(img);
    EXPECT_EQ(back.L[0], k.L[0]);
    EXPECT_EQ(back.L[39], (TKRAS{"2204211000", "12345678901"}));
    // A short file fills the start; a length byte past the image's end reads what there is; a
    // longer one is read to its 40 records only.
    KRASTABLE s = KRASTABLE::decode(img.substr(0, 30));
    EXPECT_EQ(s.L[0], k.L[0]);
    EXPECT_EQ(s.L[1], TKRAS{});
    s = KRASTABLE::decode(img.substr(0, 16));
    EXPECT_EQ(s.L[0], (TKRAS{"2204211000", "    "}));
    s = KRASTABLE::decode(img + std::string(500, '\x7f'));
    EXPECT_EQ(s, back);
    // A length byte above the capacity is cut to it.
    std::string bad(920, '\0');
    bad[0] = char(200);
    bad.replace(1, 10, "1234567890");
    bad[11] = char(250);
    EXPECT_EQ(KRASTABLE::decode(bad).L[0].KRASCODE, "1234567890");
    EXPECT_EQ(KRASTABLE::decode(bad).L[0].KRASPOSOT.size(), 11u);

    TESTS::TempWorkDir wd;
    KRASTABLE r;
    r.L[5].KRASCODE = "x";
    EXPECT_FALSE(READKRAS(wd.file("9.K1"), r));
    EXPECT_EQ(r, KRASTABLE{});
    WRITEKRAS(wd.file("9.K1"), k);
    EXPECT_TRUE(READKRAS(wd.file("9.K1"), r));
    EXPECT_EQ(r, back);
}

TEST(SideRecords, WritersReplaceTheFileWholeAndReadersTellAMissingFile) {
    TESTS::TempWorkDir wd;
    THESI44 t;
    bool old = true;
    EXPECT_FALSE(READT44("A.T44", t, &old));
    EXPECT_FALSE(old);
    EXPECT_EQ(t, THESI44{});
    TESTS::writeFile(wd.file("A.T44"), std::string(2000, 'x'));
    t.CODE[2] = "N935";
    WRITET44("A.T44", t);
    EXPECT_EQ(PLAT::fileSize("A.T44"), 748);
    THESI44 back;
    EXPECT_TRUE(READT44("A.T44", back, &old));
    EXPECT_EQ(back, t);
    EXPECT_FALSE(old);
    TESTS::writeFile(wd.file("B.T44"), std::string(646, '\0'));
    EXPECT_TRUE(READT44("B.T44", back, &old));
    EXPECT_TRUE(old);

    TDILOS g;
    EXPECT_FALSE(READGRID("A.L1", g));
    g.at(2, 2) = "IM";
    WRITEGRID("A.L1", g);
    EXPECT_EQ(PLAT::fileSize("A.L1"), 7560);
    ST_TIR s;
    s.T[0] = "X";
    WRITETIT("A.TIT", s);
    EXPECT_EQ(PLAT::fileSize("A.TIT"), 72);
    CONTBUF c;
    WRITECONT("A.01", c);
    EXPECT_EQ(TESTS::readFile(wd.file("A.01")), std::string(1080, '\0'));
    EXPECT_TRUE(READCONT("A.01", c));
    EXPECT_EQ(c, CONTBUF{});
}

TEST(SideRecords, ContainerCheckDigit) {
    struct Case {
        const char* in;
        char digit;
    } cases[] = {
        {"CSQU305438", '3'}, {"CSQU000007", '0'}, {"CS1U305438", '?'}, {"CSQU30543A", '?'},
        {"CSQU30543", '?'},  {"", '?'},           {"csqu305438", '?'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CONTAINER_DIGIT(c.in), c.digit) << c.in;
    }
    // Letter values: 11, 22 and 33 are skipped.
    EXPECT_EQ(ISO6346VALUE('A'), 10);
    EXPECT_EQ(ISO6346VALUE('B'), 12);
    EXPECT_EQ(ISO6346VALUE('K'), 21);
    EXPECT_EQ(ISO6346VALUE('L'), 23);
    EXPECT_EQ(ISO6346VALUE('U'), 32);
    EXPECT_EQ(ISO6346VALUE('V'), 34);
    EXPECT_EQ(ISO6346VALUE('Z'), 38);
    EXPECT_EQ(ISO6346VALUE('1'), -1);
}

TEST(SideRecords, PerItemListsAndVehicles) {
    EKEXTRA::VASTABLE v;
    EXPECT_FALSE(v.any());
    v.L[0] = {"1234567890 1234", "ΠΕΡΙΓΡΑΦΗ", "     123.45"};
    v.L[9] = {"", "ONLY TEXT", ""};
    std::string img = v.encode();
    ASSERT_EQ(img.size(), 540u);
    EXPECT_EQ(str(img, 0), "1234567890 1234");
    EXPECT_EQ(str(img, 16), "ΠΕΡΙΓΡΑΦΗ");
    EXPECT_EQ(str(img, 42), "     123.45");
    EXPECT_EQ(str(img, 9 * 54 + 16), "ONLY TEXT");
    EXPECT_EQ(EKEXTRA::VASTABLE::decode(img), v);
    EXPECT_TRUE(v.any());

    EKEXTRA::KRASTABLE k;
    k.L[0] = {"2204", "      12.50"};
    k.L[1] = {"", "      99.00"};  // no code: not counted
    k.L[39] = {"2205", "      0.004"};
    img = k.encode();
    ASSERT_EQ(img.size(), 920u);
    EXPECT_EQ(str(img, 0), "2204");
    EXPECT_EQ(str(img, 11), "      12.50");
    EXPECT_EQ(str(img, 39 * 23), "2205");
    EXPECT_EQ(EKEXTRA::KRASTABLE::decode(img), k);
    EXPECT_NEAR(k.total(), 12.5 + 0.004, 1e-9);

    EKEXTRA::PINAYT p;
    p.V[0].ON = "10 ΕΠΙΒΑΤΙΚΟ";
    p.V[0].AP = "WVWZZZ1JZXW000001";
    p.V[199].AK = "ENG200";
    img = p.encode();
    ASSERT_EQ(img.size(), 51200u);
    EXPECT_EQ(BOD::MOT::decode(reinterpret_cast<const uint8_t*>(img.data()) + 199 * 256).AK, "ENG200");
    EXPECT_EQ(EKEXTRA::PINAYT::decode(img), p);
    EXPECT_EQ(EKEXTRA::PINAYT::decode(img.substr(0, 300)).V[0].AP, "WVWZZZ1JZXW000001");
    EXPECT_EQ(EKEXTRA::PINAYT::decode(img.substr(0, 300)).V[199].AK, "");

    // Written while a line counts; a list without one removes its file.
    TESTS::TempWorkDir wd;
    EKEXTRA::WRITEVAS("A.V1", v);
    EXPECT_EQ(PLAT::fileSize("A.V1"), 540);
    EKEXTRA::WRITEVAS("A.V1", EKEXTRA::VASTABLE{});
    EXPECT_FALSE(PLAT::fileExists("A.V1"));
    EKEXTRA::WRITECARS("A.O1", p);
    EXPECT_EQ(PLAT::fileSize("A.O1"), 51200);
    EKEXTRA::PINAYT back;
    EXPECT_TRUE(EKEXTRA::READCARS("A.O1", back));
    EXPECT_EQ(back, p);
    EKEXTRA::WRITEKRAS("A.K1", EKEXTRA::KRASTABLE{});
    EXPECT_FALSE(PLAT::fileExists("A.K1"));
}
