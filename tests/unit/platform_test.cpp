// Platform layer: DOS names on the Linux file system, whole-file and record I/O, code pages, the
// clock, program exits and OS locks.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/oslock.h"

namespace fs = std::filesystem;
using TESTS::readFile;
using TESTS::writeFile;

namespace {

std::string cp(const char* utf8) { return PLAT::utf8ToCp737(utf8); }

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        fs::create_directories("ARXEIO0");
        fs::create_directories("Etc");
        writeFile("ARXEIO0/PAREDE.dat", "p");
        writeFile("ARXEIO0/NUDI.DAT", "n");
    }
    void TearDown() override { work.reset(); }
    std::unique_ptr<TESTS::TempWorkDir> work;
};

}  // namespace

TEST_F(PlatformFiles, ResolveMatchesExistingComponentsWithoutCase) {
    struct Case {
        const char* dos;
        const char* want;
    } cases[] = {
        {"arxeio0\\parede.DAT", "ARXEIO0/PAREDE.dat"},
        {"ARXEIO0\\PAREDE.dat", "ARXEIO0/PAREDE.dat"},
        {"Arxeio0\\New.Dat", "ARXEIO0/New.Dat"},               // missing file keeps its spelling
        {"arxeio0\\NewDir\\x.DAT", "ARXEIO0/NewDir/x.DAT"},   // and so does everything below it
        {"ETC\\pare1.72", "Etc/pare1.72"},
        {"arxeio0\\", "ARXEIO0/"},
        {"arxeio0/nudi.dat", "ARXEIO0/NUDI.DAT"},
        {"C:\\KVXPOOL\\KVX.TXT", "drives/c/KVXPOOL/KVX.TXT"},
        {"c:\\logis.txt", "drives/c/logis.txt"},
        {"A:\\", "drives/a/"},
    };
    for (const auto& c : cases) EXPECT_EQ(PLAT::resolve(c.dos), c.want) << c.dos;
    EXPECT_TRUE(fs::is_directory("drives/c")) << "a drive folder is created on first use";
    EXPECT_TRUE(fs::is_directory("drives/a"));
    // Absolute paths keep their root and are matched the same way.
    EXPECT_EQ(PLAT::resolve(work->path() + "\\arxeio0\\Parede.dat"), work->path() + "/ARXEIO0/PAREDE.dat");
    // An existing drive folder is matched too.
    writeFile("drives/c/LOGIS.TXT", "x");
    EXPECT_EQ(PLAT::resolve("C:\\logis.txt"), "drives/c/LOGIS.TXT");
}

TEST_F(PlatformFiles, FileExistsWithWildcardsAndFolders) {
    struct Case {
        const char* dos;
        bool want;
    } cases[] = {
        {"ARXEIO0", true},  // a folder counts
        {"arxeio0\\", true},
        {"arxeio0\\parede.dat", true},
        {"arxeio0\\*.dat", true},
        {"arxeio0\\*.txt", false},
        {"ARXEIO0\\PAREDE.?AT", true},
        {"ARXEIO0\\P?", false},
        {"arxeio0\\n*", true},
        {"*.*", true},  // "ARXEIO0" has no extension, as DOS finds it
        {"missing", false},
        {"missing\\*.dat", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PLAT::fileExists(c.dos), c.want) << c.dos;
    fs::create_directories("drives/a");
    writeFile("drives/a/X.TXT", "");  // drive paths resolve before the search
    EXPECT_TRUE(PLAT::fileExists("A:\\*.TXT"));
    EXPECT_TRUE(PLAT::fileExists("a:*.txt"));
    EXPECT_TRUE(PLAT::isDirectory("arxeio0"));
    EXPECT_FALSE(PLAT::isDirectory("arxeio0\\parede.dat"));
    EXPECT_EQ(PLAT::fileSize("arxeio0\\parede.dat"), 1);
    EXPECT_EQ(PLAT::fileSize("arxeio0\\none.dat"), -1);
}

TEST_F(PlatformFiles, ReadLinesTakesCrLfAndLf) {
    struct Case {
        std::string bytes;
        std::vector<std::string> want;
    } cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\r\n", {"a"}},
        {"\r\n\r\nx\r\n", {"", "", "x"}},
        {"", {}},
        {"only\r", {"only"}},
    };
    for (const auto& c : cases) {
        writeFile("T.TXT", c.bytes);
        auto lines = PLAT::readLines("t.txt");
        ASSERT_TRUE(lines.has_value());
        EXPECT_EQ(*lines, c.want) << c.bytes;
    }
    EXPECT_FALSE(PLAT::readLines("none.txt").has_value());
    EXPECT_FALSE(PLAT::readWhole("none.txt").has_value());
    std::string big(200000, 'x');
    big[123456] = '\0';
    writeFile("BIG", big);
    EXPECT_EQ(*PLAT::readWhole("big"), big);
}

// A name that holds no regular file reads as missing: a folder, a pipe (which would hold the read
// forever) and a device; the clerk's own reader also takes a file it may not read as missing.
TEST_F(PlatformFiles, NamesOfNoRegularFileReadAsMissing) {
    ASSERT_EQ(mkfifo("PIPE", 0666), 0);
    for (const char* name : {"arxeio0", "Etc", "PIPE", "/dev/null", "/dev/zero", "none.txt", ""}) {
        EXPECT_FALSE(PLAT::readWhole(name).has_value()) << name;
        EXPECT_FALSE(PLAT::readLines(name).has_value()) << name;
        EXPECT_FALSE(PLAT::readNamed(name).has_value()) << name;
    }
    writeFile("NOTE.TXT", "a\r\nb");
    EXPECT_EQ(PLAT::readNamed("note.txt"), std::optional<std::string>("a\r\nb"));
    EXPECT_EQ(PLAT::readNamed("ARXEIO0\\parede.DAT"), std::optional<std::string>("p"));
    writeFile("EMPTY", "");
    EXPECT_EQ(PLAT::readNamed("EMPTY"), std::optional<std::string>(""));
    chmod("NOTE.TXT", 0);
    if (geteuid() != 0) {
        EXPECT_FALSE(PLAT::readNamed("NOTE.TXT").has_value()) << "no permission";
    }
}

TEST_F(PlatformFiles, WriteWholeAtomicReplacesUnderTheExistingName) {
    chmod("ARXEIO0/PAREDE.dat", 0640);
    PLAT::writeWholeAtomic("arxeio0\\parede.dat", std::string("new\0data", 8));
    EXPECT_EQ(readFile("ARXEIO0/PAREDE.dat"), std::string("new\0data", 8));
    struct stat st;
    ASSERT_EQ(stat("ARXEIO0/PAREDE.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the old file's permissions are kept";
    PLAT::writeWholeAtomic("arxeio0\\fresh.dat", "");
    EXPECT_TRUE(fs::exists("ARXEIO0/fresh.dat"));
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator("ARXEIO0")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"NUDI.DAT", "PAREDE.dat", "fresh.dat"})) << "no temporary file left";
    // A folder that does not exist is an input/output error.
    try {
        PLAT::writeWholeAtomic("nofolder\\x.dat", "x");
        FAIL() << "expected a fatal error";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
        EXPECT_NE(e.message.find("nofolder/x.dat"), std::string::npos) << e.message;
    }
}

TEST_F(PlatformFiles, WriteWholeNewNeverReplacesAFile) {
    EXPECT_FALSE(PLAT::writeWholeNew("arxeio0\\parede.dat", "other"));
    EXPECT_NE(readFile("ARXEIO0/PAREDE.dat"), "other");
    EXPECT_TRUE(PLAT::writeWholeNew("arxeio0\\NEW.DAT", std::string("a\0b", 3)));
    EXPECT_EQ(readFile("ARXEIO0/NEW.DAT"), std::string("a\0b", 3));
    EXPECT_FALSE(PLAT::writeWholeNew("arxeio0\\new.dat", "x")) << "the name is matched without regard to case";
    size_t files = 0;
    for (auto& e : fs::directory_iterator("ARXEIO0")) files += e.path().filename().string()[0] != '.';
    EXPECT_EQ(files, size_t(std::distance(fs::directory_iterator("ARXEIO0"), fs::directory_iterator{})))
        << "no temporary file left";
}

TEST_F(PlatformFiles, RecordFileFailuresAreFatalExceptAnOptionalOpen) {
    PLAT::File f;
    EXPECT_FALSE(f.open("arxeio0\\none.dat", PLAT::File::READWRITE, false));
    EXPECT_FALSE(f.isOpen());
    try {
        f.open("arxeio0\\none.dat", PLAT::File::READ);
        FAIL() << "expected a fatal error";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
        EXPECT_EQ(e.message, "KORVEX: open: ARXEIO0/none.dat: No such file or directory");
    }
    PLAT::File g("arxeio0\\nudi.dat", PLAT::File::READWRITE);
    EXPECT_EQ(g.path(), "ARXEIO0/NUDI.DAT");
    char buf[4] = {};
    EXPECT_EQ(g.readSome(0, buf, 4), 1u);
    try {
        g.readAt(0, buf, 2);  // one byte short
        FAIL() << "expected a fatal error";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
        EXPECT_EQ(e.message, "KORVEX: read: ARXEIO0/NUDI.DAT: unexpected end of file");
    }
    g.writeAt(5, "ab", 2);
    EXPECT_EQ(g.size(), 7);
    g.truncate(3);
    EXPECT_EQ(readFile("ARXEIO0/NUDI.DAT"), std::string("n\0\0", 3));
    g.close();
    // Opening read-write with creation never truncates; CREATE does.
    PLAT::File h("arxeio0\\nudi.dat", PLAT::File::READWRITE_CREATE);
    EXPECT_EQ(h.size(), 3);
    PLAT::File k("arxeio0\\made.dat", PLAT::File::READWRITE_CREATE);
    EXPECT_EQ(k.size(), 0);
    PLAT::File t("arxeio0\\nudi.dat", PLAT::File::CREATE);
    EXPECT_EQ(t.size(), 0);
    // Removing and folders.
    EXPECT_TRUE(PLAT::removeFile("arxeio0\\MADE.DAT"));
    EXPECT_FALSE(PLAT::removeFile("arxeio0\\made.dat"));
    PLAT::makeDirs("arxeio0\\a\\b\\");
    EXPECT_TRUE(fs::is_directory("ARXEIO0/a/b"));
}

// A fatal message never sends a control byte or a broken character to the terminal: a file name
// or content read from a damaged file (a "DATABASE.TXT" of random bytes) comes out escaped.
TEST(PlatformFatal, MessagesShowControlAndNonTextBytesEscaped) {
    PLAT::setThrowOnExit(true);
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain ASCII \\ stays", "plain ASCII \\ stays"},
        {"\x1b[2J\x07", "\\x1B[2J\\x07"},
        {"line\r\nnext\x7F", "line\\x0D\\x0Anext\\x7F"},
        {"\xCE\xA9 UTF-8 \xE2\x94\x80", "\xCE\xA9 UTF-8 \xE2\x94\x80"},       // Ω and a box line stay
        {"\x8C\x9B cp737", "\\x8C\\x9B cp737"},                             // bytes of no UTF-8 character
        {"\xC2\x9B csi", "\\xC2\\x9B csi"},                                 // the C1 control CSI
        {"cut \xE2\x94", "cut \\xE2\\x94"},                                 // a character cut short
        {"\xC0\xAF overlong", "\\xC0\\xAF overlong"},
    };
    for (const auto& c : cases) EXPECT_EQ(PLAT::escapeText(c.in), c.out) << c.in;
    try {
        PLAT::fatal("open", std::string("DATA\x1b]0;x\x07") + "\xFF/KORVEX.INI", "No such file or directory");
        FAIL() << "expected a fatal error";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
        EXPECT_EQ(e.message, "KORVEX: open: DATA\\x1B]0;x\\x07\\xFF/KORVEX.INI: No such file or directory");
    }
}

// ---- Code pages ---------------------------------------------------------------------------------

TEST(PlatformCodepage, GreekLettersConvertToTheirTrueLettersEverywhere) {
    // CP737 byte, ISO-8859-7 byte, CP1253 byte, UTF-8.
    struct Case {
        uint8_t cp737, iso, win;
        const char* u;
    } cases[] = {
        {0x80, 0xC1, 0xC1, "Α"}, {0x97, 0xD9, 0xD9, "Ω"}, {0x98, 0xE1, 0xE1, "α"}, {0xAA, 0xF2, 0xF2, "ς"},
        {0xE0, 0xF9, 0xF9, "ω"}, {0xE1, 0xDC, 0xDC, "ά"}, {0xE4, 0xFA, 0xFA, "ϊ"}, {0xE8, 0xFB, 0xFB, "ϋ"},
        {0xE9, 0xFE, 0xFE, "ώ"}, {0xEA, 0xB6, 0xA2, "Ά"}, {0xEB, 0xB8, 0xB8, "Έ"}, {0xEC, 0xB9, 0xB9, "Ή"},
        {0xED, 0xBA, 0xBA, "Ί"}, {0xEE, 0xBC, 0xBC, "Ό"}, {0xEF, 0xBE, 0xBE, "Ύ"}, {0xF0, 0xBF, 0xBF, "Ώ"},
        {0xF4, 0xDA, 0xDA, "Ϊ"}, {0xF5, 0xDB, 0xDB, "Ϋ"},
    };
    for (const auto& c : cases) {
        std::string b(1, char(c.cp737)), iso(1, char(c.iso)), win(1, char(c.win));
        EXPECT_EQ(PLAT::cp737ToUtf8(b), c.u) << int(c.cp737);
        EXPECT_EQ(PLAT::utf8ToCp737(c.u), b) << c.u;
        EXPECT_EQ(PLAT::cp737ToIso88597(b), iso) << c.u;
        EXPECT_EQ(PLAT::iso88597ToCp737(iso), b) << c.u;
        EXPECT_EQ(PLAT::cp737ToCp1253(b), win) << c.u;
        EXPECT_EQ(PLAT::cp1253ToCp737(win), b) << c.u;
    }
}

TEST(PlatformCodepage, EveryCp737ByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    std::string u = PLAT::cp737ToUtf8(all);
    EXPECT_EQ(PLAT::utf8ToCp737(u), all);
    for (int b = 1; b < 256; ++b) {
        if (b == '?') continue;
        EXPECT_NE(PLAT::cp737ToUtf8(std::string(1, char(b))), "?") << "no gap in the table at " << b;
    }
    // Every Greek letter survives a trip through ISO-8859-7 and CP1253.
    std::string greek;
    for (int b = 0x80; b <= 0xAF; ++b) greek += char(b);
    for (int b = 0xE0; b <= 0xF0; ++b) greek += char(b);
    greek += "\xF4\xF5";
    EXPECT_EQ(PLAT::iso88597ToCp737(PLAT::cp737ToIso88597(greek)), greek);
    EXPECT_EQ(PLAT::cp1253ToCp737(PLAT::cp737ToCp1253(greek)), greek);
}

TEST(PlatformCodepage, UnconvertibleCharactersBecomeQuestionMarks) {
    EXPECT_EQ(PLAT::cp737ToIso88597("A\xC9\xB0" "B"), "A??B");  // box drawing has no place there
    EXPECT_EQ(PLAT::utf8ToCp737("x€é"), "x??");
    // ΐ and ΰ are not in the code page: they keep their letter and diaeresis.
    EXPECT_EQ(PLAT::utf8ToCp737("ΐΰ"), PLAT::utf8ToCp737("ϊϋ"));
    EXPECT_EQ(PLAT::utf8ToCp737("a\xFF\xC3(b\xE2\x82"), "a?" "?(b??");  // broken UTF-8: one per byte
    EXPECT_EQ(PLAT::cp1253ToCp737("\x80"), "?");                      // the euro sign is not in CP737
    EXPECT_EQ(PLAT::iso88597ToCp737("\xAE"), "?");                    // a byte ISO-8859-7 leaves undefined
    // Undefined bytes leave their neighbours in place: Ρ, (undefined), Σ and the last byte.
    EXPECT_EQ(PLAT::iso88597ToCp737("\xD1\xD2\xD3\xFE\xFF"), "\x90?\x91\xE9?");
    EXPECT_EQ(PLAT::cp1253ToCp737("\xD1\xD2\xD3\xFE\xFF"), "\x90?\x91\xE9?");
    EXPECT_EQ(PLAT::cp737ToIso88597("a\r\n\tb"), "a\r\n\tb");
}

TEST(PlatformCodepage, ControlGlyphs) {
    EXPECT_EQ(PLAT::cp737ToUnicode(1), U'☺');
    EXPECT_EQ(PLAT::cp737ToUnicode(0x18), U'↑');
    EXPECT_EQ(PLAT::cp737ToUnicode(0x19), U'↓');
    EXPECT_EQ(PLAT::cp737ToUnicode(0x1A), U'→');
    EXPECT_EQ(PLAT::cp737ToUnicode(0x1F), U'▼');
    EXPECT_EQ(PLAT::cp737ToUnicode(127), U'⌂');
    EXPECT_EQ(PLAT::cp737ToUnicode(0), U' ');
    EXPECT_EQ(PLAT::cp737ToUnicode(1, false), char32_t(1));
    EXPECT_EQ(PLAT::cp737ToUnicode(0xC9), U'╔');
    EXPECT_EQ(PLAT::cp737ToUnicode(0xFF), char32_t(0xA0));
    EXPECT_EQ(PLAT::cp737ToUtf8(std::string("\x10\x11\r\n", 4)), "►◄\r\n") << "line ends stay line ends";
    EXPECT_EQ(PLAT::utf8ToCp737("►◄⌂"), "\x10\x11\x7F");
    EXPECT_EQ(PLAT::utf8(0x7F), "\x7F");
    EXPECT_EQ(PLAT::utf8(0x80), "\xC2\x80");
    EXPECT_EQ(PLAT::utf8(0x7FF), "\xDF\xBF");
    EXPECT_EQ(PLAT::utf8(0x800), "\xE0\xA0\x80");
    EXPECT_EQ(PLAT::utf8(0x10000), "\xF0\x90\x80\x80");
}

// Folding to capitals, over the whole Greek range of the code page (0x80..0xAF, 0xE0..0xF5): every
// letter, accented or with diaeresis, small or capital, becomes its plain capital; nothing is dropped.
TEST(PlatformCodepage, UpperCaseFoldsEveryGreekLetterToItsPlainCapital) {
    EXPECT_EQ(PLAT::cp737Upper(cp("αβγδεζηθικλμνξοπρσςτυφχψω")), cp("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΣΤΥΦΧΨΩ"));
    struct Row {
        const char *from, *to;
    } rows[] = {
        {"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ", "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"},  // 0x80..0x97 stay
        {"άέήϊίόύϋώ", "ΑΕΗΙΙΟΥΥΩ"},                              // 0xE1..0xE9
        {"ΆΈΉΊΌΎΏ", "ΑΕΗΙΟΥΩ"},                                  // 0xEA..0xF0
        {"ΪΫ", "ΙΥ"},                                            // 0xF4, 0xF5
        {"ΐΰ", "ΙΥ"},                                            // typed: arrive as ϊ, ϋ
        {"abc-1 ╔±", "ABC-1 ╔±"},
    };
    for (const auto& r : rows) EXPECT_EQ(PLAT::cp737Upper(cp(r.from)), cp(r.to)) << r.from;
    // Byte by byte: a Greek letter of the code page always folds to one of the 24 plain capitals.
    for (int c = 0x80; c <= 0xF5; ++c) {
        if (c > 0xAF && c < 0xE0) continue;  // box drawing
        if (c >= 0xF1 && c <= 0xF3) continue;  // ± ≥ ≤
        const uint8_t u = uint8_t(PLAT::cp737Upper(std::string(1, char(c)))[0]);
        EXPECT_TRUE(u >= 0x80 && u <= 0x97) << "byte " << c;
    }
}

// ---- Clock --------------------------------------------------------------------------------------

TEST(PlatformClock, FixedAndRealTime) {
    PLAT::setFixedNow(PLAT::DateTime{2024, 3, 5, 9, 7, 0, 0});
    EXPECT_EQ(PLAT::now().year, 2024);
    EXPECT_EQ(PLAT::now().minute, 7);
    PLAT::setFixedNow(std::nullopt);
    time_t t = time(nullptr);
    struct tm tm;
    localtime_r(&t, &tm);
    PLAT::DateTime d = PLAT::now();
    EXPECT_EQ(d.year, tm.tm_year + 1900);
    EXPECT_EQ(d.month, tm.tm_mon + 1);
    EXPECT_EQ(d.day, tm.tm_mday);
    auto t0 = std::chrono::steady_clock::now();
    PLAT::sleepMs(30);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(30));
}

TEST(PlatformClock, WeekdayAndValidDate) {
    EXPECT_EQ(PLAT::weekday(2024, 3, 5), 2);  // a Tuesday
    EXPECT_EQ(PLAT::weekday(2000, 1, 1), 6);
    EXPECT_EQ(PLAT::weekday(1990, 1, 1), 1);
    EXPECT_EQ(PLAT::weekday(2049, 12, 31), 5);
    struct Case {
        int y, m, d;
        bool ok;
    } cases[] = {{2024, 2, 29, true}, {2023, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},
                 {2024, 4, 31, false}, {2024, 12, 31, true}, {2024, 0, 1, false},  {2024, 13, 1, false},
                 {2024, 1, 0, false}};
    for (const auto& c : cases) EXPECT_EQ(PLAT::validDate(c.y, c.m, c.d), c.ok) << c.y << "-" << c.m << "-" << c.d;
}

// ---- Exits and cleanups -------------------------------------------------------------------------

TEST(PlatformFatal, CleanupsRunOnceLastFirst) {
    PLAT::setThrowOnExit(true);
    std::string log;
    PLAT::addCleanup([&] { log += "1"; });
    int id = PLAT::addCleanup([&] { log += "x"; });
    PLAT::addCleanup([&] { log += "3"; });
    PLAT::removeCleanup(id);
    try {
        PLAT::quit(5);
        FAIL();
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 5);
    }
    EXPECT_EQ(log, "31");
    PLAT::runCleanups();
    EXPECT_EQ(log, "31") << "each hook runs once";
    try {
        PLAT::die("no KORVEX.INI", 3);
        FAIL();
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 3);
        EXPECT_EQ(e.message, "no KORVEX.INI");
    }
}

namespace {
// Runs body in a forked child with real exits; returns the wait status and what it wrote to stderr.
int inChild(const std::function<void()>& body, std::string* err = nullptr) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], 2);
        PLAT::setThrowOnExit(false);
        body();
        _exit(99);
    }
    close(fds[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (err) *err = out;
    return status;
}
}  // namespace

TEST(PlatformFatal, FatalRestoresPrintsOneLineAndExits2) {
    TESTS::TempWorkDir work;
    std::string err;
    int st = inChild(
        [] {
            PLAT::addCleanup([] { TESTS::writeFile("CLEANED", "1"); });
            PLAT::File f("MISSING.DAT", PLAT::File::READ);
        },
        &err);
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 2);
    EXPECT_EQ(err, "KORVEX: open: MISSING.DAT: No such file or directory\n");
    EXPECT_EQ(readFile("CLEANED"), "1");
}

TEST(PlatformFatal, SignalsRunCleanupsAndExitWith128PlusSignal) {
    TESTS::TempWorkDir work;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        fs::remove("CLEANED");
        int st = inChild([sig] {
            PLAT::installSignalHandlers();
            PLAT::addCleanup([] { TESTS::writeFile("CLEANED", "1"); });
            raise(sig);
        });
        ASSERT_TRUE(WIFEXITED(st)) << sig;
        EXPECT_EQ(WEXITSTATUS(st), 128 + sig);
        EXPECT_EQ(readFile("CLEANED"), "1") << sig;
    }
}

// ---- OS locks -----------------------------------------------------------------------------------

TEST(PlatformOsLock, ExclusiveBetweenOpenFiles) {
    TESTS::TempWorkDir work;
    TESTS::writeFile("L.DAT", std::string(1, '\0'));
    PLAT::File a("L.DAT", PLAT::File::READWRITE), b("L.DAT", PLAT::File::READWRITE);
    EXPECT_TRUE(PLAT::tryLockFd(a.handle()));
    EXPECT_TRUE(PLAT::tryLockFd(a.handle())) << "taking it again through the same open file is fine";
    EXPECT_FALSE(PLAT::tryLockFd(b.handle())) << "another open file of the same process is refused";
    PLAT::unlockFd(a.handle());
    EXPECT_TRUE(PLAT::tryLockFd(b.handle()));
    b.close();  // closing releases
    PLAT::lockFd(a.handle());
    PLAT::unlockFd(a.handle());
    EXPECT_NE(PLAT::processId(), 0);
}
