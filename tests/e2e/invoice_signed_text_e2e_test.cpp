// The demo installation through the real program with the signing stand-in running: a new invoice
// of 100.00 on a taxed line, printed in the demo series' three signed copies without the rate
// table ever opened. Each copy's signed text is that copy as it was printed, and every copy's VAT
// analysis carries the taxed amount and its VAT.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "config/params.h"
#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "invoicing/formixu.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"

namespace {

// The copies of a printer port file, each from the printer's initialisation (ESC "@") on.
std::vector<std::string> copiesOf(const std::string& port) {
    std::vector<std::string> copies;
    for (size_t at = port.find("\x1b@"); at != std::string::npos;) {
        const size_t next = port.find("\x1b@", at + 2);
        copies.push_back(port.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return copies;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t i = 0;
    for (size_t e; (e = text.find("\r\n", i)) != std::string::npos; i = e + 2) lines.push_back(text.substr(i, e - i));
    if (i < text.size()) lines.push_back(text.substr(i));
    return lines;
}

// A copy printed with the EpsonFX driver as the text that is signed: every tab (ESC "D" NUL ESC
// "D" column NUL HT) back to the column marker the no-printer driver writes in its place (the
// column without the series' horizontal offset), every other printer code dropped, and then each
// line converted as the text for signing is.
std::vector<std::string> printedText(const std::string& copy, int oriz) {
    static const std::string noArgument = "@PMGH2EF45", oneArgument = "CAx3W-r";
    std::string marked;
    for (size_t i = 0; i < copy.size();) {
        const char c = copy[i];
        if (copy.compare(i, 5, std::string("\x1b" "D\0\x1b" "D", 5)) == 0 && i + 7 < copy.size() &&
            copy[i + 6] == '\0' && copy[i + 7] == '\t') {
            char m[16];
            std::snprintf(m, sizeof m, "<<(%3d", int(uint8_t(copy[i + 5])) - oriz);
            marked += m;
            i += 8;
        } else if (c == '\x1b' && i + 1 < copy.size()) {
            const char cmd = copy[i + 1];
            if (noArgument.find(cmd) != std::string::npos) {
                i += 2;
            } else if (oneArgument.find(cmd) != std::string::npos) {
                i += 3;
            } else {
                ADD_FAILURE() << "a printer code the conversion does not know: ESC " << cmd;
                i += 2;
            }
        } else if (c == '\x0c' || c == '\x0f' || c == '\x12' || c == '\x18') {
            ++i;
        } else {
            marked += c;
            ++i;
        }
    }
    std::vector<std::string> lines = linesOf(marked);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the codes after the signature line
    for (std::string& l : lines) l = FORMIXU::TABSLINE(l);
    return lines;
}

std::string words(const std::string& s) {
    std::istringstream in(s);
    std::string w, out;
    while (in >> w) out += (out.empty() ? "" : " ") + w;
    return out;
}

TEST(DemoEndToEnd, EachSignedTextIsItsPrintedCopyAndTheVatAnalysisNeedsNoRateTable) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string dir = work.file("DATABASE/ARXEIO0");
    const std::string state = work.file("SRVSTATE");
    const DEMOE2E::SigningServer server(
        {"--settings", "DATABASE/ARXEIO0/formi_01.txt", "--state", state, "--now", "10/12/26 09:05"});

    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(DEMOE2E::openInvoiceEditor(t)) << t.screen();
    ASSERT_TRUE(DEMOE2E::newInvoiceForAlexiou(t)) << t.screen();
    t.text("100");  // line 1 carries VAT
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("124.00")) << t.screen();
    t.keys("S-F1");  // no rate table opened before
    ASSERT_TRUE(t.waitFor("ΣΤΟΙΧΕΙΑ ΤΙΜΟΛΟΓΙΟΥ")) << t.screen();
    t.keys("Escape");  // the detail lines; then the store and the print question
    ASSERT_TRUE(t.waitFor("(Ν/Ο)")) << t.screen();
    t.text("N");
    ASSERT_TRUE(t.waitFor("2....", 20000)) << t.screen();  // three copies signed and printed
    EXPECT_EQ(DEMOE2E::endFromInvoiceEditor(t), 0) << t.screen();

    const std::string rec = TESTS::readFile(dir + "/TM.DAT");
    ASSERT_EQ(rec.size(), TIM0::RTIM::SIZE);
    const TIM0::RTIM r = TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(rec.data()));
    EXPECT_EQ(r.FX[1], 10000) << "row 1 of the rate table as stored";
    const std::string seires = TESTS::readFile(dir + "/SEIRES.DAT");
    ASSERT_GE(seires.size(), PARAMS::SEIRES_SIZE);
    const PARAMS::RECSEIRES series = PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(seires.data()))[0];
    ASSERT_EQ(series.POLAP, 3);

    const std::vector<std::string> copies = copiesOf(TESTS::readFile(work.file("drives/ports/LPT1")));
    ASSERT_EQ(copies.size(), 3u);
    const std::string analysis = PLAT::cp737ToCp1253(PLAT::gr("ΑΝΑΛΥΣΗ Φ.Π.Α."));
    const std::string rate = PLAT::cp737ToCp1253(PLAT::gr("Φ.Π.Α. %  24"));
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE("copy " + std::to_string(n));
        ASSERT_GT(r.PAIPS[size_t(n)], 0);
        const std::vector<std::string> signedText =
            linesOf(TESTS::readFile(state + "/signed/" + std::to_string(r.PAIPS[size_t(n)]) + ".txt"));
        const std::vector<std::string> printed = printedText(copies[size_t(n - 1)], series.ORIZ);
        ASSERT_EQ(printed.size(), signedText.size());
        ASSERT_FALSE(printed.empty());
        for (size_t i = 0; i + 1 < printed.size(); ++i) EXPECT_EQ(printed[i], signedText[i]) << "line " << i + 1;
        // The last line is where the printed copy carries its signature and the signed text nothing.
        EXPECT_EQ(printed.back().substr(0, signedText.back().size()), signedText.back());
        EXPECT_NE(printed.back().find("KVX00000001"), std::string::npos) << printed.back();

        bool rateSeen = false;
        size_t at = 0;
        for (; at < printed.size() && printed[at].find(analysis) == std::string::npos; ++at)
            rateSeen = rateSeen || printed[at].find(rate) != std::string::npos;
        EXPECT_TRUE(rateSeen) << "the VAT line's rate as the document holds it";
        ASSERT_LT(at + 2, printed.size());
        // The slot of 24 % with the taxed amount and its VAT, and their sums.
        EXPECT_EQ(words(printed[at + 1]), "24 100.00 24.00");
        EXPECT_NE(words(printed[at + 4]).find("100.00 24.00"), std::string::npos) << printed[at + 4];
    }
}

}  // namespace
