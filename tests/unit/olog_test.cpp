// The amount in Greek words.
#include <gtest/gtest.h>

#include <string>

#include "config/params.h"

namespace {

// Greek capitals (UTF-8) to code page 737, written out here so that the expected texts do not
// depend on the program's own conversion: Α..Ρ are 80..90, Σ..Ω are 91..97; ASCII is kept.
std::string cp(const std::string& utf8) {
    std::string r;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = utf8[i];
        if (b < 0x80) {
            r += char(b);
            ++i;
            continue;
        }
        const unsigned u = ((b & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
        EXPECT_TRUE(u >= 0x391 && u <= 0x3A9 && u != 0x3A2) << "not a Greek capital: " << u;
        r += char(u <= 0x3A1 ? 0x80 + (u - 0x391) : 0x91 + (u - 0x3A3));
        i += 2;
    }
    return r;
}

std::string olog(const std::string& amount, int lepmode = 0) {
    std::string ol = "junk";
    PARAMS::OLOG(amount, 0, lepmode, ol);
    return ol;
}

struct Case {
    const char* amount;
    const char* words;  // UTF-8; "ENA" and the "N" of "ΕΚΑΤΟN" are Latin letters
};

TEST(AmountInWords, WholeAmounts) {
    const Case cases[] = {
        {"0", "ΜΗΔΕΝ "},
        {"0.004", "ΜΗΔΕΝ "},
        {"-5", "ΜΗΔΕΝ "},
        {"1", " ΕΝΑ ΕΥΡΩ "},
        {"2", "ΔΥΟ ΕΥΡΩ "},
        {"3", "ΤΡΙΑ ΕΥΡΩ "},
        {"10", "ΔΕΚΑ ΕΥΡΩ "},
        {"11", "ΕΝΤΕΚΑ ΕΥΡΩ "},
        {"12", "ΔΩΔΕΚΑ ΕΥΡΩ "},
        {"13", "ΔΕΚΑ ΤΡΙΑ ΕΥΡΩ "},
        // The second form of ΕΝΑ begins with a blank: two blanks between the words.
        {"21", "ΕΙΚΟΣΙ  ΕΝΑ ΕΥΡΩ "},
        {"100", "ΕΚΑΤΟ ΕΥΡΩ "},
        {"101", "ΕΚΑΤΟN  ΕΝΑ ΕΥΡΩ "},
        {"214", "ΔΙΑΚΟΣΙΑ ΔΕΚΑ ΤΕΣΣΕΡΑ ΕΥΡΩ "},
        {"1000", "ΧΙΛΙΑ ΕΥΡΩ "},
        {"1001", "ΧΙΛΙΑ  ΕΝΑ ΕΥΡΩ "},
        {"3000", "ΤΡΕΙΣ ΧΙΛΙΑΔΕΣ ΕΥΡΩ "},
        {"21000", "ΕΙΚΟΣΙ ENA ΧΙΛΙΑΔΕΣ ΕΥΡΩ "},
        {"100000", "ΕΚΑΤΟ ΧΙΛΙΑΔΕΣ ΕΥΡΩ "},
        {"200000", "ΔΙΑΚΟΣΙΕΣ ΧΙΛΙΑΔΕΣ ΕΥΡΩ "},
        {"1000000", " ΕΝΑ ΕΚΑΤΟΜΜΥΡΙΟ ΕΥΡΩ "},
        {"3000000", "ΤΡΙΑ ΕΚΑΤΟΜΜΥΡΙΑ ΕΥΡΩ "},
        {"1001000", " ΕΝΑ ΕΚΑΤΟΜΜΥΡΙΟ ΧΙΛΙΑ ΕΥΡΩ "},
        {"2500000", "ΔΥΟ ΕΚΑΤΟΜΜΥΡΙΑ ΠΕΝΤΑΚΟΣΙΕΣ ΧΙΛΙΑΔΕΣ ΕΥΡΩ "},
        // Billions read like millions, and one billion does not touch the millions' word.
        {"1000000000", " ΕΝΑ ΔΙΣΕΚΑΤΟΜΜΥΡΙΟ ΕΥΡΩ "},
        {"1001000000", " ΕΝΑ ΔΙΣΕΚΑΤΟΜΜΥΡΙΟ  ΕΝΑ ΕΚΑΤΟΜΜΥΡΙΟ ΕΥΡΩ "},
        {"3002000000", "ΤΡΙΑ ΔΙΣΕΚΑΤΟΜΜΥΡΙΑ ΔΥΟ ΕΚΑΤΟΜΜΥΡΙΑ ΕΥΡΩ "},
        {"999999999999", "ΕΝΙΑΚΟΣΙΑ ΕΝΕΝΗΝΤΑ ΕΝΝΕΑ ΔΙΣΕΚΑΤΟΜΜΥΡΙΑ ΕΝΙΑΚΟΣΙΑ ΕΝΕΝΗΝΤΑ ΕΝΝΕΑ ΕΚΑΤΟΜΜΥΡΙΑ "
                         "ΕΝΙΑΚΟΣΙΕΣ ΕΝΕΝΗΝΤΑ ΕΝΝΕΑ ΧΙΛΙΑΔΕΣ ΕΝΙΑΚΟΣΙΑ ΕΝΕΝΗΝΤΑ ΕΝΝΕΑ ΕΥΡΩ "},
        // Beyond the four groups there are no words: nothing rather than a wrong amount.
        {"1000000000000", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(olog(c.amount), cp(c.words)) << "amount " << c.amount;
}

TEST(AmountInWords, CentsAreWholeCents) {
    const Case cases[] = {
        {"0.01", " ΕΝΑ ΛΕΠΤΑ"},
        {"0.5", "ΠΕΝΗΝΤΑ ΛΕΠΤΑ"},
        {"0.50", "ΠΕΝΗΝΤΑ ΛΕΠΤΑ"},
        {"0.99", "ΕΝΕΝΗΝΤΑ ΕΝΝΕΑ ΛΕΠΤΑ"},
        {"0.013", " ΕΝΑ ΛΕΠΤΑ"},
        {"1.01", " ΕΝΑ ΕΥΡΩ &  ΕΝΑ ΛΕΠΤΑ"},
        {"2.50", "ΔΥΟ ΕΥΡΩ & ΠΕΝΗΝΤΑ ΛΕΠΤΑ"},
        {"2.005", "ΔΥΟ ΕΥΡΩ &  ΕΝΑ ΛΕΠΤΑ"},
        {"13.13", "ΔΕΚΑ ΤΡΙΑ ΕΥΡΩ & ΔΕΚΑ ΤΡΙΑ ΛΕΠΤΑ"},
        {"1000.10", "ΧΙΛΙΑ ΕΥΡΩ & ΔΕΚΑ ΛΕΠΤΑ"},
        {"0.999", " ΕΝΑ ΕΥΡΩ "},
        {"1000000.01", " ΕΝΑ ΕΚΑΤΟΜΜΥΡΙΟ ΕΥΡΩ &  ΕΝΑ ΛΕΠΤΑ"},
        {"21.21", "ΕΙΚΟΣΙ  ΕΝΑ ΕΥΡΩ & ΕΙΚΟΣΙ  ΕΝΑ ΛΕΠΤΑ"},
    };
    for (const auto& c : cases) EXPECT_EQ(olog(c.amount), cp(c.words)) << "amount " << c.amount;
}

TEST(AmountInWords, WithoutTheCurrencyWord) {
    EXPECT_EQ(olog("37", 1), cp("ΤΡΙΑΝΤΑ ΕΠΤΑ "));
    EXPECT_EQ(olog("1.01", 1), cp(" ΕΝΑ &  ΕΝΑ ΛΕΠΤΑ"));
    EXPECT_EQ(olog("0.01", 1), cp(" ΕΝΑ ΛΕΠΤΑ"));
}

TEST(AmountInWords, NommodeHasNoEffect) {
    std::string a, b;
    PARAMS::OLOG("3021.45", 0, 0, a);
    PARAMS::OLOG("3021.45", 1, 0, b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, cp("ΤΡΕΙΣ ΧΙΛΙΑΔΕΣ ΕΙΚΟΣΙ  ΕΝΑ ΕΥΡΩ & ΣΑΡΑΝΤΑ ΠΕΝΤΕ ΛΕΠΤΑ"));
}

}  // namespace
