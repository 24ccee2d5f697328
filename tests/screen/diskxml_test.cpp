// The XML runs on the headless console: golden input files from small test-owned templates, the
// value codes and their fault lines worked by hand, the faults that end a run, and the hand-over to
// the client and the local converter through the stand-in.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"
#include "submission/diskvas.h"
#include "submission/diskxml.h"
#include "submission/diskxml_run.h"

using PLAT::gr;
using DISKXML::PART;
namespace fs = std::filesystem;

namespace {

std::string utf8(const std::string& cp737) { return PLAT::cp737ToUtf8(cp737); }
std::string msg(int n) { return utf8(DISKVAS::ERRMESS(n)); }

void expectGolden(const std::string& name, const std::string& bytes) { TESTS::expectGolden("diskxml/" + name, bytes); }

std::string lines(std::initializer_list<const char*> l, bool lastEnd = true) {
    std::string s;
    for (const char* x : l) s += std::string(x) + "\r\n";
    if (!lastEnd && !s.empty()) s.resize(s.size() - 2);
    return s;
}

// The templates of the goldens: plain, "%", coded and closing-tag lines, a first line longer than
// six, code 21 with its prefix line, unknown and huge codes, a trailer without its last line end.
const std::string CC315A = lines({"KVX001CC315A", "%<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<CC315A>",
                                  "  plain text, no tag", "<RefNumHEA4>4", "</RefNumHEA4>", "<DatOfPreMES9>9",
                                  "<TimOfPreMES10>10", "<TraModAtBorHEA76>76", "<IdeOfMeaOfTraCroHEA85>85",
                                  "<NatOfMeaOfTraCroHEA87>87", "<DecDatHEA114>114", "<TotGroMasHEA307>307",
                                  "<DecPlaHEA394>394", "<NamCO17>17", "<CitCO124>124", "<NamPLD1>1111",
                                  "<TINPLD1>1114", "<AgePLD1>1333", "<TINTRACARENT602>622", "<Unknown>4711",
                                  "<Huge>99999999", "<Negative>-21", "<Note>% kept <B>"});
const std::string GOOITE = lines({"<GOOITEGDS>", "<IteNumGDS7>500", "<GooDesGDS23>802", "<PRODOCDC2>",
                                  "<DocTypDC21>21", "</DocTypDC21><DocRefDC23>", "</PRODOCDC2>", "<KinOfPacGS23>823",
                                  "<NumOfPacGS24>824", "<NumOfPieGS25>825", "<MarNumOfPacGS21>826",
                                  "<PlaOfLoaGDS1>830", "</GOOITEGDS>"});
const std::string CC315_2 = lines({"<RefNumCUSOFFFENT731>731", "<ExpDatOfArrFIRENT733>733", "<RefNumSUBENR741>741",
                                   "<CouOfRouCodITI1>902", "<NamSEN1>903", "<TINCARR1>602", "</CC315A>"},
                                  false);
const std::string DX315A = lines({"DILO01DX315A", "<DX315A>", "<MesIdeMES19>19", "<RefNumHEA1900>1900",
                                  "<DecDatHEA104>104", "<ArrDatHEA144>144", "<TraModHEA476>476", "<PlaOfLoaHEA330>330",
                                  "<PlaOfDesHEA331>331", "<CouOfOriHEA777>777", "<TotNumOfIteHEA3305>3305",
                                  "%<TotNumOfPacHEA306>@@@@@@</TotNumOfPacHEA306>",
                                  "%<TotGroMasHEA307>$$$$$$</TotGroMasHEA307> $$$$$$"});
const std::string DX_GOO = lines({"<GOOITEGDS>", "<IteNumGDS7>500", "<DocTypDC21>621", "<DocNamDC22>623",
                                  "<ENSMRNGDS1>111", "<ENSIndGDS1>1111", "<NoENSGDS1>523", "<TraDocGDS1>803",
                                  "<GooDesGDS23>351", "<GroMasGDS46>352", "<MarNumOfPacGS21>421", "<KinOfPacGS23>423",
                                  "<NumOfPacGS24>424", "<NumOfPieGS25>425", "<CusStaGDS1>2470", "</GOOITEGDS>"});
const std::string DX315_2 = lines({"<IdeMEATRA1>222", "<NatMEATRA1>223", "<TINTRACARENT602>602", "<StrTRACARENT603>603",
                                   "<NamTRACARENT604>604", "<CouTRACARENT605>605", "<CitTRACARENT607>607",
                                   "<WAREHOUSE>702", "<NamPLD1>1111", "<StrAndNumPLD1>1112", "<CitPLD1>1113",
                                   "<TINPLD1>1114", "<AgePLD1>1333", "<DocTypFIRDOC1>2014", "<DocNamFIRDOC2>2015",
                                   "<RefNumCUSOFFFENT731>2077", "</DX315A>"});

class Xml : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        ASSERT_TRUE(BOD::SETFORM("IMP"));
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        BOD::TM = UMAS::LEJU("123", 10);
        box(1, "123");
        box(20, "77");
        box(18, "1");
        box(34, "099999999");
        box(92, "N380:INV-1");
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 9, 5, 0, 0});
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        for (auto& l : UMAS::LOGOTYPO) l.clear();
        UMAS::TOTALXM = 0;
        DISKVAS::ANAFDIL = 0;
        for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
                 {"CC315A.TXT", CC315A}, {"GOOITE.TXT", GOOITE}, {"CC315_2.TXT", CC315_2}, {"CC347A.TXT", CC315A},
                 {"ARRITE.TXT", GOOITE}, {"DX315A.TXT", DX315A}, {"DX_GOO.TXT", DX_GOO}, {"DX315_2.TXT", DX315_2},
                 {"DE015A.TXT", DX315A}, {"DE_GOO.TXT", DX_GOO}, {"DE015_2.TXT", DX315_2}})
            TESTS::writeFile(work->file(name), text);
        fs::create_directories(work->file("drives/c/jicis"));
        fs::create_directories(work->file("rec"));
        standIn();
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        unsetenv("KORVEX_JAVA");
        const std::string pid = TESTS::readFile(work->file("rec/JICIS-PID.TXT"));
        if (hung && !pid.empty()) kill(pid_t(std::stol(pid)), SIGTERM);
        TESTS::Installation::TearDown();
    }
    void box(int n, const std::string& s) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(s.c_str())); }
    std::string co(const std::string& f) const { return company(0) + "/" + f; }
    void standIn(const std::string& switches = "") {
        setenv("KORVEX_JAVA", (std::string(KORVEX_JICIS) + " --record " + work->file("rec") + " " + switches).c_str(), 1);
    }
    // Runs with the keys given for each wait of the run; the screen at each wait is kept.
    void run(const std::string& EXT, const DISKET::PBUF* buf, bool AFFIXI, bool SETH, std::vector<std::string> waits,
             bool XEIROGRAFO = false, bool AITISI = false) {
        for (auto& w : waits) w = gr(w.c_str());
        const size_t used = TESTS::runWithWaits(*con, waits, screens, [&] {
            DISKXML::MAKE_XML(EXT, buf, AFFIXI, SETH, buf != nullptr, XEIROGRAFO, AITISI);
        });
        EXPECT_EQ(used, waits.size()) << "waits left";
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "the screen is restored";
    }
    bool shown(size_t wait, const std::string& text) const {
        return wait < screens.size() && screens[wait].find(text) != std::string::npos;
    }
    std::string errorList() const { return utf8(TESTS::readFile(work->file("ERROR.TXT"))); }
    std::string file(const std::string& f) const { return TESTS::readFile(work->file(f)); }
    bool recorded() {
        for (int i = 0; i < 200; ++i) {
            if (TESTS::exists(work->file("rec/JICIS-ARGS.TXT"))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    // The declaration of the goldens: three items, the first on the main page, two on sheet 2.
    void threeItems(const std::string& kind) {
        box(18, "3");
        box(7, "0101");
        box(8, "101226");
        box(10, "121226");
        box(12, "ΑΦΟΙ ΠΑΠΑ & ΣΙΑ <Ο.Ε.>");
        box(14, "ΟΔΟΣ 1 ─ ΑΘΗΝΑ");
        box(25, "ΑΠΟΣΤΟΛΕΑΣ 'Α'");
        box(26, "GR12345678");
        box(27, "9074729");
        box(35, "ΠΡΑΚΤΟΡΕΙΟ \"ΝΟΤΟΣ\"");
        box(40, "TR");
        box(59, "1");
        box(61, "MERSIN");
        box(68, "CT");
        box(69, "10");
        box(72, "ΒΙΒΛΙΑ");
        box(73, "ΤΥΠΩΜΕΝΑ");
        box(93, "N271:CMR 22");
        box(191, "GR000001");
        box(207, "ΠΕΙΡΑΙΑΣ 10/12/26");
        UMAS::LOGOTYPO[4] = gr("ΤΗΛ. 210 0000000");
        UMAS::TOTALXM = 1234.5;
        const BOD::SCB savedBis = BOD::BIS;
        BOD::BIS = BOD::SHEETPAGE(kind);
        for (int n = 2; n <= 3; ++n) {
            for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
            BOD::BOS(BOD::BIS, BOD::GB, 1, "02");
            BOD::BOS(BOD::BIS, BOD::GB, 3, "0" + std::to_string(n));
            BOD::BOS(BOD::BIS, BOD::GB, 19, n == 2 ? "VR" : "NE");
            BOD::BOS(BOD::BIS, BOD::GB, 20, n == 2 ? "" : "4");
            BOD::BOS(BOD::BIS, BOD::GB, 23, gr(n == 2 ? "ΤΕΤΡΑΔΙΑ" : "ΜΟΛΥΒΙΑ & ΓΟΜΕΣ"));
            EXPECT_TRUE(TESTS::storeSheetItem("123", 2, n));
        }
        BOD::BIS = savedBis;
    }
    // A manifest of three lines, with a front that passes every check.
    static DISKET::PBUF manifest() {
        DISKET::PBUF b;
        b.LINES.assign(27, "");
        b.CELLS.assign(721, "");
        b.LINES[1] = "3";
        b.LINES[3] = "0101";
        b.LINES[4] = "10/12/26";
        b.LINES[6] = "TR1234567";
        b.LINES[7] = gr("ΝΑΥΤΙΛΙΑΚΗ & ΣΙΑ");
        b.LINES[9] = gr("ΑΚΤΗ 1");
        b.LINES[12] = gr("ΠΕΙΡΑΙΑΣ");
        b.LINES[14] = "TR";
        b.LINES[15] = "GR PIREAS";
        b.LINES[17] = "1";
        b.LINES[19] = "9074729";
        b.LINES[20] = "MT";
        b.LINES[23] = "12/12/26";
        b.LINES[25] = "TR MERSIN";
        b.LINES[26] = gr("ΑΠΟΘΗΚΗ Α");
        const char* mass[] = {"10.5", "20", "4.2"};
        const char* kinds[] = {"CT", "VR", "NE"};
        for (int n = 1; n <= 3; ++n) {
            auto cell = [&](int j) -> std::string& { return b.CELLS[size_t(12 * (n - 1) + j)]; };
            cell(1) = "N740";
            cell(2) = n == 1 ? "AWB 1" : "";
            cell(3) = n == 2 ? "26GR0000000000001A" : "";
            cell(4) = "BL" + std::to_string(n);
            cell(6) = kinds[n - 1];
            cell(7) = n == 1 ? "12" : n == 2 ? "" : "3";
            cell(9) = gr("ΕΠΙΠΛΑ <ΞΥΛΙΝΑ>");
            cell(10) = "LOT " + std::to_string(n);
            cell(11) = mass[n - 1];
            cell(12) = "T2F";
        }
        return b;
    }
    std::vector<std::string> screens;
    bool hung = false;
};

}  // namespace

// ---- Golden files -----------------------------------------------------------------------------------

TEST_F(Xml, AnImportOfThreeItemsAsAFileThroughTheConverter) {
    threeItems("IMP");
    run("IMP", nullptr, false, false, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ΣΥΝ.ΔΗΛ. (Ν/Ο)?"));
    EXPECT_TRUE(shown(1, "ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0"));
    expectGolden("import3.txt", file("INP.TXT"));
    EXPECT_EQ(file("INP.TMP").substr(0, 14), "KVX001CC315A\r\n");
    // The converter: its arguments as written, the target written from its input, the counter.
    ASSERT_TRUE(recorded());
    EXPECT_EQ(file("rec/JICIS-ARGS.TXT"), "-jar\nSdeFromXML.jar\nINP.TXT\ndrives/c/XML/77.xml\n");
    EXPECT_EQ(file("drives/c/XML/77.xml"), file("INP.TXT"));
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "77        \r\n");
}

TEST_F(Xml, ATransitOfThreeItemsSentToTheClient) {
    ASSERT_TRUE(BOD::SETFORM("MTF"));
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
    box(1, "123");
    BOD::BOS(BOD::DIA, BOD::GV, 20, "        78");  // right-aligned, as the editor leaves a number
    box(34, "099999999");
    threeItems("MTF");
    EKEXTRA::ST_TIR tit;
    tit.T = {"XA12345678", "GR99887766", "GR000100", ""};
    EKEXTRA::WRITETIT(EKEXTRA::SIDEFILE(".TIT"), tit);
    run("MTF", nullptr, false, true, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(0, "ΣΥΝ. ΔΗΛΩΣΗ ΕΙΔΟΔΟΥ"));
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ IcisNet (N/O);"));
    expectGolden("transit3.txt", file("INP.TXT"));
    ASSERT_TRUE(recorded());
    EXPECT_EQ(file("rec/JICIS-ARGS.TXT"), "-jar\nJIcis.jar\n-dsmode\n-f\n" + work->path() + "/INP.TXT\n-a\n099999999\n");
    EXPECT_EQ(file("rec/JICIS-CWD.TXT"), fs::canonical(work->file("drives/c/jicis")).string() + "\n");
    EXPECT_EQ(file("rec/JICIS-INPUT.TXT"), file("INP.TXT"));
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "        78\r\n");
}

TEST_F(Xml, AManifestSentWithItsTotalsAndItsCounter) {
    TESTS::writeFile(co("DILANAF.DAT"), "41");
    box(35, "ΠΡΑΚΤΟΡΕΙΟ");
    const DISKET::PBUF buf = manifest();
    run("IMP", &buf, false, true, {"Ν", "\r", " "});
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(0, "ΔΗΛΩΤΙΚΟ"));
    EXPECT_TRUE(shown(1, "ΑΡΙΘΜΟΣ ΑΝΑΦΟΡΑΣ:"));
    EXPECT_TRUE(shown(1, "42"));
    expectGolden("manifest_inpdil.txt", file("INPDIL.TXT"));
    expectGolden("manifest_inp.txt", file("INP.TXT"));
    // 12 + 1 (kind V) + 1 (kind N) packages; 10.5 + 20 + 4.2 kilograms.
    EXPECT_NE(file("INP.TXT").find("<TotNumOfPacHEA306>14</TotNumOfPacHEA306>"), std::string::npos);
    EXPECT_NE(file("INP.TXT").find("<TotGroMasHEA307>34.7</TotGroMasHEA307> $$$$$$"), std::string::npos);
    EXPECT_EQ(TESTS::readFile(co("DILANAF.DAT")), "42");
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
    ASSERT_TRUE(recorded());
    EXPECT_EQ(file("rec/JICIS-INPUT.TXT"), file("INP.TXT"));
}

TEST_F(Xml, AHandwrittenManifestAsksItsDateAndNumberAndMovesAnaf) {
    TESTS::writeFile(co("DILANAF.DAT"), "41");
    box(35, "ΠΡΑΚΤΟΡΕΙΟ");
    const DISKET::PBUF buf = manifest();
    run("IMP", &buf, false, true, {"Ν", "011226\r", "A12\r", " "}, true);
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(1, "ΗΜΕΡ/ΝΙΑ ΧΕΙΡ .ΔΗΛΩΤΙΚΟΥ:"));
    EXPECT_TRUE(shown(2, "ΑΡΙΘΜΟΣ ΧΕΙΡ. ΔΗΛΩΤΙΚΟΥ:"));
    const std::string inp = file("INPDIL.TXT");
    EXPECT_NE(inp.find("<MesIdeMES19>FB0101261201-DH0000A12\r\n"), std::string::npos) << inp;
    EXPECT_NE(inp.find("<RefNumHEA1900>26/A12\r\n"), std::string::npos) << inp;
    EXPECT_EQ(TESTS::readFile(co("DILANAF.DAT")), "41");
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "77        \r\n");
}

TEST_F(Xml, AManifestRequestUsesItsOwnTemplatesAndWindow) {
    TESTS::writeFile(work->file("DE015A.TXT"), lines({"DE015A", "<RefNumHEA1900>1900"}));
    box(35, "ΠΡΑΚΤΟΡΕΙΟ");
    const DISKET::PBUF buf = manifest();
    run("IMP", &buf, false, true, {"Ν", "\r", " "}, false, true);
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(0, "ΑΙΤΗΣΗ ΔΗΛΩΤΙΚΟΥ"));
    EXPECT_EQ(file("INPDIL.TXT").substr(0, 34), "DE015A\r\n<RefNumHEA1900>26/1\r\n<GOOI");
    EXPECT_EQ(TESTS::readFile(co("DILANAF.DAT")), "1");
}

// ---- Template lines and code 21 ------------------------------------------------------------------

namespace {

struct Line {
    const char* templ;  // template lines
    const char* out;    // what they write
};

}  // namespace

TEST_F(Xml, TemplateLinesAndTheDocumentGroupsOfCode21) {
    DISKXML::RUN R;
    R.EXT = "IMP";
    R.N = 1;
    auto process = [&](const std::string& t) {
        R.OUT.clear();
        R.ERR.clear();
        R.CERR = 0;
        DISKXML::PROCESS(R, DISKXML::TEMPLATELINES(t), PART::ITEM);
        return R.OUT;
    };
    const Line cases[] = {
        {"<HEAHEA>", "<HEAHEA>\r\n"},
        {"<RefNum>500", "<RefNum>1\r\n"},
        {"<RefNum>500</RefNum>", "<RefNum>1\r\n"},
        {"%<A><B>", "<A><B>\r\n"},
        {"<A>%<B>", "<A><B>\r\n"},
        {"no tag % here", "no tag % here\r\n"},
        {"<X>abc", "<X>\r\n"},
        {"<X> 500.4", "<X>1\r\n"},
        {"<X>65536", "<X>\r\n"},
        {"<X>-500", "<X>\r\n"},
        {"<X>1e400", "<X>\r\n"},
        {"last\r\nline", "last\r\nline\r\n"},
    };
    for (const Line& c : cases) EXPECT_EQ(process(c.templ), c.out) << c.templ;

    const std::string group = "<DOCS>\r\n<Type>21\r\n<Ref>\r\n</DOCS>\r\n";
    // One document: the coded line and its number line under the prefix.
    EXPECT_EQ(process(group), "<DOCS>\r\n<Type>N380\r\n<Ref>INV-1\r\n</DOCS>\r\n");
    // Two: the opening line again before the second.
    box(93, "N271: CMR <22> & 1234567890123456789");
    EXPECT_EQ(process(group), "<DOCS>\r\n<Type>N380\r\n<Ref>INV-1\r\n<DOCS>\r\n<Type>N271\r\n"
                              "<Ref>CMR &lt;22&gt; &amp; 123456\r\n</DOCS>\r\n");
    // None: nothing for the code, message 48, the next line as usual.
    box(92, "");
    box(93, "NO DOCUMENT");
    EXPECT_EQ(process(group), "<DOCS>\r\n<Ref>\r\n</DOCS>\r\n");
    EXPECT_EQ(utf8(R.ERR.at(0)), msg(48));
    // A bad code counts, with an empty number and its line.
    box(92, "X:123");
    EXPECT_EQ(process(group), "<DOCS>\r\n<Type>X\r\n<Ref>\r\n</DOCS>\r\n");
    EXPECT_EQ(utf8(R.ERR.at(0)), "Λάθος κωδικός X" + msg(81));
    box(92, "2A99:OK");
    EXPECT_EQ(process(group), "<DOCS>\r\n<Type>2A99\r\n<Ref>OK\r\n</DOCS>\r\n");
    // A transit: one document from the TIR data, N952 or N380 with "-".
    R.EXT = "MTF";
    R.ST_TIR[1] = "XA12345678";
    EXPECT_EQ(process(group), "<DOCS>\r\n<Type>N952\r\n<Ref>XA12345678\r\n</DOCS>\r\n");
    R.ST_TIR[1] = "  ";
    EXPECT_EQ(process(group), "<DOCS>\r\n<Type>N380\r\n<Ref>-\r\n</DOCS>\r\n");
    EXPECT_EQ(R.CERR, 0);
}

TEST_F(Xml, TheResultKeepsTheLastSixCharactersOfTheFirstLine) {
    EXPECT_EQ(DISKXML::RESULTOF("1234567890\r\nB\r\n"), "567890\r\nB\r\n");
    EXPECT_EQ(DISKXML::RESULTOF("123456\r\nB\r\n"), "123456\r\nB\r\n");
    EXPECT_EQ(DISKXML::RESULTOF(""), "");
    EXPECT_EQ(DISKXML::WITHTOTALS("A@@@@@@B@@@@@@\r\n$$$$$$ $$$$$$\r\n", 14, 34.75), "A14B@@@@@@\r\n34.8 $$$$$$\r\n");
}

// ---- The value codes, worked by hand ---------------------------------------------------------------

namespace {

struct Case {
    const char* what;
    std::function<void(DISKXML::RUN&)> setup;
    PART part;
    long code;
    const char* value;  // written value (trimmed)
    std::string faults;  // fault lines, each ending in "\n"
    int packages = 0;    // what the code adds to the package total
};

}  // namespace

TEST_F(Xml, ValueCodesAndTheirFaultLines) {
    DISKET::PBUF buf = manifest();
    auto boxes = [this](std::vector<std::pair<int, const char*>> b) {
        return [this, b](DISKXML::RUN&) {
            for (auto& [n, s] : b) box(n, s);
        };
    };
    auto mode = [](const char* t) { return [t](DISKXML::RUN& R) { R.TROPMET = t; }; };
    auto both = [](auto a, auto b) { return [a, b](DISKXML::RUN& R) { a(R), b(R); }; };
    auto dilo = [&buf](std::function<void(DISKET::PBUF&)> f) {
        return [&buf, f](DISKXML::RUN& R) {
            f(buf);
            R.BUF = &buf;
            R.DILOTIKO = true;
        };
    };
    auto kind = [](const char* k) { return [k](DISKXML::RUN& R) { R.CODESYSK = k; }; };
    auto none = [](DISKXML::RUN&) {};
    const std::string REG = msg(90) + " Ημερομηνία Καταχώρησης\n";
    const std::string OFFICE = msg(91) + " Κωδικός Τελωνείου\n";
    const std::string EORI = msg(91) + " 9. EORI Μεταφορέα\n";
    const std::string COUNT = "Είδος 1 Πρέπει να συμπληρωθεί η ποσότητα συσκευασίας\n";
    const std::vector<Case> cases = {
        {"4 of an import", boxes({{8, "101226"}}), PART::HEADER, 4, "099999999-2026-77", ""},
        {"4 of an arrival", [&](DISKXML::RUN& R) { R.AFFIXI = true, box(8, "101226"); }, PART::HEADER, 4,
         "099999999-2026-77-A", ""},
        {"9 today", none, PART::HEADER, 9, "261210", ""},
        {"10 the time", none, PART::HEADER, 10, "0905", ""},
        {"76 ship", boxes({{59, "1"}}), PART::HEADER, 76, "1", ""},
        {"76 zero", boxes({{59, "0"}}), PART::HEADER, 76, "0", msg(110) + "\n"},
        {"76 empty", none, PART::HEADER, 76, "", msg(110) + "\n"},
        {"85 ship with IMO", both(mode("1"), boxes({{27, "9074729"}})), PART::HEADER, 85, "9074729", ""},
        {"85 ship without IMO", mode("1"), PART::HEADER, 85, "", msg(114) + "\n"},
        {"85 ship with a letter", both(mode("1"), boxes({{27, "IMO 90A"}})), PART::HEADER, 85, "IMO 90A",
         msg(115) + "\n"},
        {"85 road without vehicle", mode("3"), PART::HEADER, 85, "", msg(117) + "\n"},
        {"85 road", both(mode("3"), boxes({{46, "ABC 1234"}})), PART::HEADER, 85, "ABC 1234", ""},
        {"87 road", both(mode("3"), boxes({{47, "DE"}})), PART::HEADER, 87, "DE", ""},
        {"87 road lower case", both(mode("3"), boxes({{47, "de"}})), PART::HEADER, 87, "de", msg(59) + "\n"},
        {"87 road empty", mode("3"), PART::HEADER, 87, "", msg(59) + "\n"},
        {"87 ship", both(mode("1"), boxes({{47, "DE"}})), PART::HEADER, 87, "", ""},
        {"830 ship without place", mode("1"), PART::ITEM, 830, "",
         "Πρέπει να συμπληρωθεί ο τόπος φόρτωσης (θέση 27)\n"},
        {"831 ship without place", mode("1"), PART::ITEM, 831, "",
         "Πρέπει να συμπληρωθεί ο τόπος εκφόρτωσης (θέση 30)\n"},
        {"830 road without place", mode("3"), PART::ITEM, 830, "", ""},
        {"104", dilo([](DISKET::PBUF&) {}), PART::HEADER, 104, "202612100000", ""},
        {"104 long year", dilo([](DISKET::PBUF& b) { b.LINES[4] = "10/12/2026"; }), PART::HEADER, 104,
         "202012100000", REG},
        {"114", boxes({{8, "101226"}}), PART::HEADER, 114, "202612100000", ""},
        {"114 short", boxes({{8, "1012"}}), PART::HEADER, 114, "20  12100000", REG},
        {"144", dilo([](DISKET::PBUF&) {}), PART::HEADER, 144, "202612120000", ""},
        {"144 empty", dilo([](DISKET::PBUF& b) { b.LINES[23] = ""; }), PART::HEADER, 144, "200000",
         msg(90) + " Ημερομηνία Άφιξης\n"},
        {"394 place and date", boxes({{207, "ΠΕΙΡΑΙΑΣ 10/12/26"}}), PART::HEADER, 394, "ΠΕΙΡΑΙΑΣ", ""},
        {"394 no digit", boxes({{207, "ΠΕΙΡΑΙΑΣ"}}), PART::HEADER, 394, "ΠΕΙΡΑΙΑΣ", ""},
        {"394 date first", boxes({{207, "10/12/26 ΠΕΙΡΑΙΑΣ"}}), PART::HEADER, 394, "",
         msg(90) + " 54. Τόπος Υποβολής\n"},
        {"502", boxes({{28, "26GR0000000000001A"}}), PART::ITEM, 502, "26GR0000000000001A", ""},
        {"502 empty", none, PART::ITEM, 502, "", msg(118) + "\n"},
        {"502 small letters", boxes({{28, "26gr0000000000001A"}}), PART::ITEM, 502, "26gr0000000000001A",
         msg(119) + "\n"},
        {"502 short", boxes({{28, "26GR01"}}), PART::ITEM, 502, "26GR01", msg(119) + "\n"},
        {"622 carrier", boxes({{26, "GR12345678"}}), PART::HEADER, 622, "GR12345678", ""},
        {"622 Greek carrier whole", boxes({{26, "GR099999999"}}), PART::HEADER, 622, "GR099999999", ""},
        {"622 too short", boxes({{26, "G"}}), PART::HEADER, 622, "G", EORI},
        {"622 transit from the TIR data", [&](DISKXML::RUN& R) { R.EXT = "MTF", R.ST_TIR[2] = "GR999", box(26, "X"); },
         PART::HEADER, 622, "GR999", ""},
        {"602 trailer", boxes({{26, "GR12345678"}}), PART::TRAILER, 602, "GR12345678", ""},
        {"602 trailer longest carrier", boxes({{26, "DE123456789012345"}}), PART::TRAILER, 602, "DE123456789012345", ""},
        {"602 trailer transit empty", [&](DISKXML::RUN& R) { R.EXT = "MTF", box(26, "GR1"); }, PART::TRAILER, 602,
         "", EORI},
        {"731", boxes({{7, "0101"}}), PART::HEADER, 731, "GR000101", ""},
        {"731 short office", boxes({{7, "101"}}), PART::TRAILER, 731, "GR00101", OFFICE},
        {"733 import", boxes({{10, "121226"}}), PART::TRAILER, 733, "202612121200", ""},
        {"733 transit", [&](DISKXML::RUN& R) { R.EXT = "MTF", box(8, "101226"), box(10, "121226"); },
         PART::TRAILER, 733, "202612101200", ""},
        {"733 empty", none, PART::TRAILER, 733, "201200", msg(90) + " Αναμενόμενη Ημερομηνία Αφιξης\n"},
        {"741", boxes({{191, "GR000001"}}), PART::TRAILER, 741, "GR000001", ""},
        {"743 short", boxes({{193, "GR01"}}), PART::TRAILER, 743, "GR01", OFFICE},
        {"751 empty", none, PART::TRAILER, 751, "", ""},
        {"749", boxes({{199, "GR000009"}}), PART::TRAILER, 749, "GR000009", ""},
        {"903 at 35", boxes({{25, "12345678901234567890123456789012345"}}), PART::TRAILER, 903,
         "12345678901234567890123456789012345", ""},
        {"903 at 36", boxes({{25, "123456789012345678901234567890123456"}}), PART::TRAILER, 903,
         "123456789012345678901234567890123456", msg(116) + "\n"},
        {"1114", none, PART::HEADER, 1114, "GR099999999", ""},
        {"1114 without tax number", boxes({{34, ""}}), PART::DILOTRAILER, 1114, "",
         " ΑΦΜ Υποβάλλοντος (Θέση 14 δ/σης) \n"},
        {"1111 empty", none, PART::HEADER, 1111, "", msg(91) + " Επωνυμία Υποβάλλοντος (Θέση 14 δ/σης) \n"},
        {"1333 empty", none, PART::HEADER, 1333, "-", ""},
        {"423 and 424 kind V", both(dilo([](DISKET::PBUF& b) { b.CELLS[6] = "VR", b.CELLS[7] = ""; }), kind("VR")),
         PART::ITEM, 424, "", "", 1},
        {"424 kind N", both(dilo([](DISKET::PBUF& b) { b.CELLS[7] = "5"; }), kind("NE")), PART::ITEM, 424, "", "", 1},
        {"424 counted", both(dilo([](DISKET::PBUF& b) { b.CELLS[7] = "12"; }), kind("CT")), PART::ITEM, 424, "12",
         "", 12},
        {"424 empty", both(dilo([](DISKET::PBUF& b) { b.CELLS[7] = ""; }), kind("CT")), PART::ITEM, 424, "", COUNT},
        {"423 empty", dilo([](DISKET::PBUF& b) { b.CELLS[6] = ""; }), PART::ITEM, 423, "",
         "Είδος 1" + msg(85) + "\n"},
        {"824 kind V", both(boxes({{69, ""}}), kind("VR")), PART::ITEM, 824, "", ""},
        {"824 kind N", both(boxes({{69, "7"}}), kind("NE")), PART::ITEM, 824, "", "", 7},
        {"824 counted", both(boxes({{69, "7"}}), kind("CT")), PART::ITEM, 824, "7", "", 7},
        {"824 empty", kind("CT"), PART::ITEM, 824, "", COUNT},
        {"825 kind N", both(boxes({{69, "7"}}), kind("NE")), PART::ITEM, 825, "7", ""},
        {"825 kind C", both(boxes({{69, "7"}}), kind("CT")), PART::ITEM, 825, "", ""},
        {"826", boxes({{68, "CT"}, {69, "7"}}), PART::ITEM, 826, "CT 7", ""},
        {"826 kind V", boxes({{68, "VR"}, {69, "7"}}), PART::ITEM, 826, "", ""},
        {"823 empty", none, PART::ITEM, 823, "", "Είδος 1" + msg(85) + "\n"},
        {"19", dilo([](DISKET::PBUF&) {}), PART::HEADER, 19, "099999999/26/42", ""},
        {"1900", dilo([](DISKET::PBUF&) {}), PART::HEADER, 1900, "26/42", ""},
        {"19 handwritten", both(dilo([](DISKET::PBUF&) {}), [](DISKXML::RUN& R) {
             R.XEIROGRAFO = true, R.HDATE = "011226", R.HNUM = "A12";
         }), PART::HEADER, 19, "FB0101261201-DH0000A12", ""},
        {"1900 handwritten", both(dilo([](DISKET::PBUF&) {}), [](DISKXML::RUN& R) {
             R.XEIROGRAFO = true, R.HNUM = "A12";
         }), PART::HEADER, 1900, "26/A12", ""},
        {"476 ship", dilo([](DISKET::PBUF&) {}), PART::HEADER, 476, "1", ""},
        {"476 none", dilo([](DISKET::PBUF& b) { b.LINES[17] = ""; }), PART::HEADER, 476, "",
         "Λάθος Κωδικός Τρόπου Μεταφοράς (Σωστές τιμές 1..9)\n"},
        {"222 ship", dilo([](DISKET::PBUF&) {}), PART::DILOTRAILER, 222, "9074729", ""},
        {"222 road without vehicle", dilo([](DISKET::PBUF& b) { b.LINES[17] = "3"; }), PART::DILOTRAILER, 222, "",
         msg(91) + " Μεταφορικό Μέσο\n"},
        {"604 both empty", dilo([](DISKET::PBUF& b) { b.LINES[7] = b.LINES[11] = ""; }), PART::DILOTRAILER, 604, "",
         msg(91) + " Επωνυμία Μεταφορέα \n"},
        {"605 from field 6", dilo([](DISKET::PBUF&) {}), PART::DILOTRAILER, 605, "TR", ""},
        {"605 from field 20", dilo([](DISKET::PBUF& b) { b.LINES[6] = "1234"; }), PART::DILOTRAILER, 605, "MT", ""},
        {"2077", dilo([](DISKET::PBUF&) {}), PART::DILOTRAILER, 2077, "GR000101", ""},
        {"3305 empty", dilo([](DISKET::PBUF& b) { b.LINES[1] = ""; }), PART::HEADER, 3305, "",
         "Πρέπει να συμπληρωθεί ο Αριθμός Στίχων\n"},
        {"731 unknown to the manifest trailer", boxes({{7, ""}}), PART::DILOTRAILER, 731, "", ""},
        {"unknown", none, PART::TRAILER, 4711, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        buf = manifest();
        for (int b : {7, 8, 10, 25, 26, 27, 28, 46, 47, 59, 68, 69, 191, 193, 199, 207}) box(b, "");
        box(34, "099999999");
        DISKVAS::ANAFDIL = 42;
        DISKXML::RUN R;
        R.EXT = "IMP";
        R.N = 1;
        c.setup(R);
        const std::string v = UMAS::trim(DISKXML::VALUE(R, c.part, c.code));
        EXPECT_EQ(utf8(v), c.value);
        std::string faults;
        for (const auto& l : R.ERR) faults += utf8(l) + "\n";
        EXPECT_EQ(faults, c.faults);
        EXPECT_EQ(R.CERR, int(R.ERR.size()));
        EXPECT_EQ(R.TOTALSYSK, c.packages);
    }
}

TEST_F(Xml, TheGoodsDescriptionAndTheItemCount) {
    DISKXML::RUN R;
    R.EXT = "IMP";
    R.N = 1;
    box(72, "");
    box(73, "ΒΙΒΛΙΑ");
    box(75, "ΤΕΤΡΑΔΙΑ");
    box(77, "ΤΕΛΟΣ");
    EXPECT_EQ(utf8(DISKXML::EMPOREYMATA(R)), "ΒΙΒΛΙΑ  ΤΕΤΡΑΔΙΑ ");
    UMAS::PAREDE[14].TIMI = 1;
    EXPECT_EQ(utf8(DISKXML::EMPOREYMATA(R)), "ΤΕΤΡΑΔΙΑ ");
    box(75, "");
    EXPECT_EQ(utf8(DISKXML::EMPOREYMATA(R)), "ΤΕΛΟΣ");
    // A manifest of more than 60 lines reads 60 and says so.
    DISKET::PBUF b = manifest();
    b.LINES[1] = "75";
    R.BUF = &b;
    R.DILOTIKO = true;
    EXPECT_EQ(DISKXML::ITEMCOUNT(R), 60);
    ASSERT_EQ(R.ERR.size(), 1u);
    EXPECT_EQ(utf8(R.ERR[0]), "Το δηλωτικό έχει 75 γραμμές: γράφονται οι 60 πρώτες.");
    R.N = 61;
    EXPECT_EQ(R.cell(1), "");
}

// ---- Faults that end or spoil a run -------------------------------------------------------------------

TEST_F(Xml, ARunWithFaultsLeavesItsResultUnsentAndMovesNoCounter) {
    TESTS::writeFile(co("ANAF.DAT"), "5\r\n");
    threeItems("IMP");
    box(92, "");
    box(93, "");
    run("IMP", nullptr, false, true, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:"));
    EXPECT_TRUE(shown(2, "Απαιτείται τουλάχιστον ένας κωδικός"));
    EXPECT_FALSE(TESTS::exists(work->file("INP.TMP")));
    EXPECT_TRUE(TESTS::exists(work->file("INP.TXT")));
    EXPECT_NE(errorList().find(msg(48)), std::string::npos);
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "5\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(TESTS::exists(work->file("rec/JICIS-PID.TXT")));
}

TEST_F(Xml, TheReferenceIsCheckedWholeAndCutToSeven) {
    // A slash ends the run at once with message 4.
    box(20, "");
    BOD::BOS(BOD::DIA, BOD::GV, 20, "  12/34");
    run("IMP", nullptr, false, false, {"Ν", " "});
    EXPECT_EQ(errorList(), msg(4) + "\r\n");
    EXPECT_FALSE(TESTS::exists(work->file("INP.TMP")));
    // Empty: message 3.
    box(20, "");
    run("IMP", nullptr, true, false, {"Ν", " "});
    EXPECT_EQ(errorList(), msg(3) + "\r\n");
    // A right-aligned number of ten digits: the whole number names the target.
    threeItems("IMP");
    box(20, "1234567890");
    run("IMP", nullptr, true, false, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(TESTS::exists(work->file("drives/c/XML/1234567890-A.xml")));
    EXPECT_NE(file("INP.TXT").find("<RefNumHEA4>099999999-2026-1234567890-A\r\n"), std::string::npos);
}

TEST_F(Xml, TheManifestPromptsEndTheRun) {
    const DISKET::PBUF buf = manifest();
    // A short handwritten date: its line, the list, the number not asked.
    run("IMP", &buf, false, true, {"Ν", "1203\r", " "}, true);
    EXPECT_EQ(errorList(), "Πρέπει να δώσετε Ημερομηνία Χειρόγραφου Δηλωτικού\r\n");
    EXPECT_FALSE(TESTS::exists(work->file("INPDIL.TXT")));
    // An empty number.
    run("IMP", &buf, false, true, {"Ν", "011226\r", "\r", " "}, true);
    EXPECT_EQ(errorList(), "Πρέπει να δώσετε Αριθμό Χειρόγραφου Δηλωτικού\r\n");
    // An empty manifest reference: message 3.
    run("IMP", &buf, false, true, {"Ν", "\x19\r", " "});
    EXPECT_EQ(errorList(), msg(3) + "\r\n");
    // Esc in a prompt: nothing shown, nothing written.
    run("IMP", &buf, false, true, {"Ν", "\x1b"});
    EXPECT_EQ(errorList(), "");
    run("IMP", &buf, false, true, {"Ν", "011226\r", "\x1b"}, true);
    EXPECT_EQ(errorList(), "");
    EXPECT_FALSE(TESTS::exists(work->file("INPDIL.TXT")));
    EXPECT_FALSE(TESTS::exists(co("DILANAF.DAT")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

TEST_F(Xml, NoAtTheQuestionAndAMissingTemplate) {
    run("IMP", nullptr, false, false, {"Ο"});
    EXPECT_FALSE(TESTS::exists(work->file("ERROR.TXT")));
    fs::remove(work->file("GOOITE.TXT"));
    run("IMP", nullptr, false, false, {"Ν", " "});
    EXPECT_TRUE(shown(1, "ΔΕΝ ΒΡΕΘΗΚΕ ΤΟ ΠΡΟΤΥΠΟ GOOITE.TXT"));
    EXPECT_FALSE(TESTS::exists(work->file("INP.TMP")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

// ---- The client and the converter ----------------------------------------------------------------------

TEST_F(Xml, AConverterThatFailsMovesNoCounter) {
    struct Sw {
        const char* sw;
        const char* told;
    };
    for (const Sw& s : {Sw{"--exit 3", "Ο ΜΕΤΑΤΡΟΠΕΑΣ ΤΕΛΕΙΩΣΕ ΜΕ ΚΩΔΙΚΟ 3"},
                        Sw{"--no-target", "Ο ΜΕΤΑΤΡΟΠΕΑΣ ΔΕΝ ΕΓΡΑΨΕ ΤΟ C:\\XML\\77.xml"}}) {
        threeItems("IMP");
        standIn(s.sw);
        run("IMP", nullptr, false, false, {"Ν", " ", " "});
        EXPECT_TRUE(shown(1, s.told)) << s.sw << screens.at(1);
        EXPECT_TRUE(TESTS::exists(work->file("INP.TXT")));
        EXPECT_FALSE(TESTS::exists(co("ANAF.DAT"))) << s.sw;
    }
    setenv("KORVEX_JAVA", "/nonexistent/java", 1);
    run("IMP", nullptr, false, false, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "Ο ΜΕΤΑΤΡΟΠΕΑΣ ΔΕΝ ΞΕΚΙΝΗΣΕ"));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

TEST_F(Xml, EscGivesUpAConverterThatNeverEnds) {
    threeItems("IMP");
    standIn("--hang --no-target");
    hung = true;
    const auto t0 = std::chrono::steady_clock::now();
    // Esc waits in the queue behind the answer; the wait takes it.
    run("IMP", nullptr, false, false, {"Ν\x1b", " ", " "});
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    EXPECT_TRUE(shown(1, "Η ΜΕΤΑΤΡΟΠΗ ΔΙΑΚΟΠΗΚΕ"));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
    // The converter was ended with the run (when it came as far as recording its process id).
    const std::string pid = file("rec/JICIS-PID.TXT");
    if (!pid.empty()) {
        EXPECT_NE(kill(pid_t(std::stol(pid)), 0), 0);
    }
    hung = false;
}

TEST_F(Xml, ASendWithoutTheClientFolderIsToldAndCountsNothing) {
    threeItems("IMP");
    fs::remove(work->file("drives/c/jicis"));
    run("IMP", nullptr, false, true, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "ΔΕΝ ΒΡΕΘΗΚΕ Ο ΦΑΚΕΛΟΣ C:\\jicis"));
    EXPECT_TRUE(TESTS::exists(work->file("INP.TXT")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

TEST_F(Xml, AFileInPlaceOfTheConverterFolderOrTargetIsToldAndCountsNothing) {
    struct Damage {
        const char* made;  // a file (ends without "/") or a folder (ends with "/")
        const char* told;
    };
    for (const Damage& d : {Damage{"drives/c/XML", "ΤΟ C:\\XML ΔΕΝ ΕΙΝΑΙ ΦΑΚΕΛΟΣ"},
                            Damage{"drives/c/XML/77.xml/", "ΤΟ C:\\XML\\77.xml ΕΙΝΑΙ ΦΑΚΕΛΟΣ"}}) {
        SCOPED_TRACE(d.made);
        fs::remove_all(work->file("drives/c/XML"));
        const std::string made = d.made;
        if (made.back() == '/') fs::create_directories(work->file(made));
        else TESTS::writeFile(work->file(made), "in the way");
        threeItems("IMP");
        run("IMP", nullptr, false, false, {"Ν", " ", " "});
        EXPECT_TRUE(shown(1, d.told)) << screens.at(1);
        EXPECT_TRUE(TESTS::exists(work->file("INP.TXT")));
        EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
        EXPECT_FALSE(TESTS::exists(work->file("rec/JICIS-ARGS.TXT"))) << "the converter was not started";
    }
}
