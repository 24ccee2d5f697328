// The document text for signing (markers expanded, Windows-1253), the error texts and the printed
// signature line.
#include <gtest/gtest.h>

#include <string>

#include "helpers/fixture.h"
#include "invoicing/formix.h"
#include "invoicing/formixu.h"
#include "platform/codepage.h"
#include "platform/fatal.h"

namespace {

std::string gr(const char* s) { return PLAT::gr(s); }

TEST(SigningText, MarkersExpandIntoBlanks) {
    struct Case {
        const char* name;
        std::string in, out;
    } cases[] = {
        {"no marker: only converted", "ABC 123", "ABC 123"},
        {"marker pads to its column", "AB<<(  7CD", "AB     CD"},
        {"text already at the column: one blank", "ABCDEFGH<<(  3X", "ABCDEFGH X"},
        {"columns not increasing: second adds one blank", "<<( 10A<<(  5B", "          A B"},
        {"column 0: one blank", "A<<(  0B", "A B"},
        {"not a number: one blank", "A<<(x12B", "A B"},
        {"trailing blank in the column: not a number", "A<<(12 B", "A B"},
        {"marker at line end", "AB<<(  5", "AB   "},
        {"cut marker at line end", "AB<<( 9", "AB       "},
        {"several markers", "<<(  2A<<(  5B<<( 10C", "  A  B    C"},
        {"a marker of width 3 exactly", "<<(100X", std::string(100, ' ') + "X"},
        {"empty line", "", ""},
        {"output held to 255", "<<(250ABCDEFGHIJ", std::string(250, ' ') + "ABCDE"},
    };
    for (const auto& c : cases) EXPECT_EQ(FORMIXU::TABSLINE(c.in), c.out) << c.name;
}

TEST(SigningText, GreekLettersConvertToWindows1253) {
    struct Case {
        uint8_t cp737, win;
        const char* name;
    } cases[] = {
        {0x80, 0xC1, "capital alpha"},       {0x97, 0xD9, "capital omega"},
        {0x98, 0xE1, "small alpha"},         {0xA9, 0xF3, "small sigma"},
        {0xAA, 0xF2, "final sigma"},         {0xAF, 0xF8, "small psi"},
        {0xE0, 0xF9, "small omega"},         {0xE1, 0xDC, "small alpha with accent"},
        {0xE4, 0xFA, "small iota dialytika"}, {0xE9, 0xFE, "small omega with accent"},
        {0xEA, 0xA2, "capital alpha accent"}, {0xF0, 0xBF, "capital omega accent"},
        {0xF4, 0xDA, "capital iota dialytika: its true letter"},
        {0xF5, 0xDB, "capital upsilon dialytika: its true letter"},
        {0xF1, 0xB1, "plus-minus"},          {0xF8, 0xB0, "degree"},
        {0xC4, '?', "box drawing: Windows-1253 has none"},
        {0xB0, '?', "shade: none"},
        {'A', 'A', "ASCII unchanged"},       {'<', '<', "marker characters unchanged"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FORMIXU::CP737TO1253(std::string(1, char(c.cp737))), std::string(1, char(c.win))) << c.name;
    // The cancellation kind code of the request file.
    EXPECT_EQ(FORMIXU::CP737TO1253("A" + gr("ΤΠΥ")), "\x41\xD4\xD0\xD5");
}

TEST(SigningText, TabsoutConvertsLineForLine) {
    TESTS::TempWorkDir w;
    struct Case {
        const char* name;
        std::string in, out;
    } cases[] = {
        {"empty file", "", ""},
        {"CR LF lines", "A<<(  3B\r\n" + gr("ά") + "\r\n", "A  B\r\n\xDC\r\n"},
        {"LF lines and a last line without end", "X\nY", "X\r\nY\r\n"},
        {"an empty line stays", "\r\nZ\r\n", "\r\nZ\r\n"},
    };
    for (const auto& c : cases) {
        TESTS::writeFile(w.file("DOC.tmp"), c.in);
        TESTS::writeFile(w.file("DOC.t_o"), "old contents");
        ASSERT_TRUE(FORMIXU::TABSOUT("DOC.tmp", "DOC.t_o")) << c.name;
        EXPECT_EQ(TESTS::readFile(w.file("DOC.t_o")), c.out) << c.name;
    }
    EXPECT_FALSE(FORMIXU::TABSOUT("MISSING.tmp", "OUT.t_o"));
    EXPECT_FALSE(TESTS::exists(w.file("OUT.t_o")));
}

TEST(SigningErrors, ClientCodesFirstThenServerCodes) {
    struct Case {
        int32_t f, s, d;
        const char* text;
    } cases[] = {
        {-18, 0, 0, "Δεν βρέθηκε το αρχείο του παραστατικού προς υπογραφή!"},
        {-17, 9, 1, "Δεν έχετε δώσει την διεύθυνση του server!"},
        {-16, 0, 0, "Αδυναμία αποστολής της αίτησης!"},
        {-13, 0, 0, "Ο server δεν πήρε την αίτηση! Πιθανώς είναι εκτός λειτουργίας ή η σύνδεση έχει διακοπεί"},
        {-11, 3, 0, "CORRUPTED FILE!"},
        {-111, 0, 0, "GETSIGN EXPECTED!"},
        {-12, 0, 0, "GUID conflict!"},
        {-15, 0, 0, "Ο server έλαβε την αίτηση αλλά δεν απάντησε εμπρόθεσμα!"},
        {0, 1, 0, "Server: Αδυναμία ανάγνωσης αρχείου Αίτησης!"},
        {0, 2, 0, "Server: Ακατάλληλη δομή αρχείου αίτησης!"},
        {0, 5, 0, "Server: Ακατάλληλη δομή αρχείου αίτησης!"},
        {0, -100, 0, "Server: Ενημερώστε τα στοιχεία της επιχείρησης!"},
        {0, 3, 0, "Server: Αδυναμία επικοινωνίας με συσκευή!"},
        {0, 4, 0, "Server: Άγνωστη εντολή!"},
        {0, 6, 0, "Server: Το ascii αρχείο του παραστατικού δεν βρέθηκε!"},
        {0, 7, 0, "Server: Αδυναμία ανάγνωσης του ascii αρχείου του παραστατικού!"},
        {0, 8, 0, "Server: Αποτυχία δημιουργίας αντιγράφου του παρ/κού για λήψη υπογραφής!"},
        {0, 10, 0, "Server: Αποτυχία δημιουργίας αντιγράφου του παρ/κού μετά τη λήψη υπογραφής!"},
        {0, 11, 0, "Server: Η υπογραφή ΔΕΝ βρέθηκε!"},
        {0, 13, 0, "Server: Ακατάλληλη ημ/νία παρ/κού!"},
        {0, 14, 0, "Server: Ακατάλληλη ημ/νία παρ/κού!"},
        {0, 15, 0, "Server: Αποτυχία λήψης στοιχείων συσκευής!"},
        {0, 9, (1 << 3) | (1 << 9), "Server: Αποτυχία υπογραφής! Device:  /Paper out /Busy"},
        {0, 9, 0, "Server: Αποτυχία υπογραφής! Device: "},
        {0, 9, (1 << 16) | (1 << 19) | (1 << 20) | (1 << 31),
         "Server: Αποτυχία υπογραφής! Device:  /ΠΑΗΨΣ έτοιμη /Recover in progress"},
        {0, 0, 0, ""},
        {0, 12, 5, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PLAT::cp737ToUtf8(FORMIX::GETERRORSTRING(c.f, c.s, c.d)), c.text) << c.f << " " << c.s;
    // Every device bit at once: cut to 255 characters.
    EXPECT_EQ(FORMIX::GETERRORSTRING(0, 9, 0xFFFFF).size(), 255u);
}

TEST(SigningLine, SeventySevenCharacters) {
    std::string l = FORMIX::SIGLINE(std::string(40, 'S'), 7, 1234, "05/03/09", "14:30", "KVX00000001");
    EXPECT_EQ(l, std::string(40, 'S') + " 0007 00001234 0903051430 KVX00000001");
    EXPECT_EQ(l.size(), 77u);
    // Short fields are padded, long ones cut; a counter wider than its place shifts the line.
    EXPECT_EQ(FORMIX::SIGLINE("AB", 1, 1, "01/02/10", "09:05", "D"),
              "AB" + std::string(38, ' ') + " 0001 00000001 1002010905 D" + std::string(10, ' '));
    EXPECT_EQ(FORMIX::SIGLINE(std::string(50, 'X'), 12345, 123456789, "31/12/49", "23:59", "DEVICE-ID-LONG"),
              std::string(40, 'X') + " 12345 123456789 4912312359 DEVICE-ID-L");
    EXPECT_EQ(FORMIX::DLO2S(0, 6), "      ");
    EXPECT_EQ(FORMIX::DLO2S(42, 6), "    42");
    EXPECT_EQ(FORMIX::DLO2S(1234567, 6), "1234567");
}

}  // namespace
