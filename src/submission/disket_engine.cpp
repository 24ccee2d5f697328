// The row engine of the segment file: the walk over the 220 rows of a field table, the item
// blocks, the loading of an item's continuation sheet, the checks of every value and the
// conversion to ISO 8859-7.
#include <algorithm>
#include <array>
#include <cmath>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "platform/codepage.h"
#include "submission/diskvas.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

namespace DISKET {

using PLAT::gr;

// ---- Conversion ------------------------------------------------------------------------------

namespace {

std::array<uint8_t, 256> makeIsoTable() {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 0x80; ++c) t[size_t(c)] = uint8_t(c);
    // Bytes outside the letters below convert as the program's code-page module converts them
    // (accented capitals to their letters, what ISO 8859-7 cannot hold to "?").
    for (int c = 0x80; c < 0x100; ++c) {
        const std::string s = PLAT::cp737ToIso88597(std::string(1, char(c)));
        t[size_t(c)] = s.size() == 1 ? uint8_t(s[0]) : uint8_t('?');
    }
    auto run = [&](int from, int to, int dest) {
        for (int c = from; c <= to; ++c) t[size_t(c)] = uint8_t(dest + c - from);
    };
    run(0x80, 0x90, 0xC1);
    run(0x91, 0x97, 0xD3);
    run(0x98, 0xA8, 0xE1);
    t[0xA9] = 0xF3;
    t[0xAA] = 0xF2;
    run(0xAB, 0xAF, 0xF4);
    t[0xE0] = 0xF9;
    run(0xE1, 0xE3, 0xDC);
    t[0xE4] = 0xFA;
    t[0xE5] = 0xDF;
    t[0xE6] = 0xFC;
    t[0xE7] = 0xFD;
    t[0xE8] = 0xFB;
    t[0xE9] = 0xFE;
    return t;
}

}  // namespace

std::string ISO8859(const std::string& S) {
    static const std::array<uint8_t, 256> T = makeIsoTable();
    std::string out(S);
    for (char& c : out) c = char(T[uint8_t(c)]);
    return out;
}

// ---- The run state's helpers -----------------------------------------------------------------

void RUN::error(const std::string& line) {
    ERR.push_back(line);
    ++CERR;
}

void RUN::errorRow(const std::string& text) { error(gr("Γραμμή ") + std::to_string(I) + text); }

std::string RUN::box(int n) const { return BOD::SOB(BOD::DIA, BOD::GV, n); }
std::string RUN::sheetBox(int n) const { return BOD::SOB(BOD::BIS, BOD::GB, n); }

// ---- Checks ------------------------------------------------------------------------------------

std::string CODETEXT(uint16_t KV) {
    if (KV >= 1001 && KV <= 1999) return UMAS::RIJU(std::to_string(KV - 1000), 4);
    return std::to_string(KV);
}

void CHECKDIGIT(RUN& R) {
    if (R.BS.empty()) return;
    const size_t points = size_t(std::count(R.BS.begin(), R.BS.end(), '.'));
    if (points == 0) R.BS += ".0";
    else if (points >= 2) R.errorRow(DISKVAS::ERRMESS(84) + std::to_string(R.KV()) + " " + R.row().PEDIO);
}

bool CHECKMIKOS(const RUN& R, const std::string& S) {
    const std::string& M = R.row().MIKOS;
    double lo, hi;
    if (M.size() >= 2 && M[0] == '.' && M[1] == '.') {
        lo = 0;
        hi = std::nearbyint(UMAS::EVAL(M.substr(2, 3)));
    } else {
        lo = hi = M.empty() ? 0 : std::nearbyint(UMAS::EVAL(M));
    }
    if (S.empty() && R.row().TYPOS != "R") return true;
    const double n = double(S.size());
    return n >= lo && n <= hi;
}

// ---- Item blocks ------------------------------------------------------------------------------

BLOCK ITEMBLOCK(const RUN& R) {
    switch (R.EDE) {
    case ED_FILE:
    case ED_TIRSEND:
    case ED_SEND:
    case ED_TIR: return R.EXT == "MTF" ? BLOCK{149, 172, false} : BLOCK{101, 196, false};
    case ED_AUTO:
    case ED_AUTOSEND: return BLOCK{111, 217, false};
    case ED_DILO: return BLOCK{70, 84, true};
    default: return BLOCK{};
    }
}

// ---- The continuation sheet of an item -------------------------------------------------------

namespace {

// A sheet or item number in the key: two digits, a leading "0" below 10.
std::string two(int n) { return UMAS::LZ(std::to_string(n), 2).substr(0, 2); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// An attached-document code outside transit: 4 or 5 characters, the first a digit 0..3 or a Latin
// capital, the second to fourth digits.
bool validDocCode(const std::string& c) {
    if (c.size() != 4 && c.size() != 5) return false;
    if (!((c[0] >= '0' && c[0] <= '3') || (c[0] >= 'A' && c[0] <= 'Z'))) return false;
    return isDigit(c[1]) && isDigit(c[2]) && isDigit(c[3]);
}

}  // namespace

bool GETBIS(RUN& R) {
    const int n = R.AREIDOS;
    R.OKBIS = false;
    if (n > MAXITEMS) {
        R.error(gr("Δεν έχετε καταχωρήσει το ") + std::to_string(n) + gr("ο προϊόν σε φύλλο BIS."));
        return false;
    }
    const bool twoPerSheet = R.EDE == ED_AUTO || R.EDE == ED_AUTOSEND || R.EXT == "DFK";
    const int sheet = twoPerSheet ? n / 2 + 1 : (n - 2) / 3 + 2;
    const std::string number = UMAS::trim(UMAS::cut(UMAS::CUTLEADSPACES(R.box(1)), 10));
    BOD::BM = UMAS::padTo(number + two(sheet) + two(n), 14);
    // The sheet is read under "FBIS", held for this read only: the walk may stop on a warning
    // that waits for the clerk, and other workstations must not wait with it.
    UMAS::LOCK("FBIS");
    bool found = EKDO::CHOB().found && BOD::BOB;
    if (found) found = EKDO::RUFB(1, false);
    UMAS::UNLOC("FBIS");
    if (!found) {
        R.error(gr("Δεν έχετε καταχωρήσει το ") + std::to_string(n) + gr("ο προϊόν σε φύλλο BIS."));
        return false;
    }
    R.OKBIS = true;
    if (R.EXT == "DFK" || n < 2 || n > MAXITEMS) return true;

    auto& sys = R.SYSBUF[size_t(n)];
    const BOD::MOT& m = BOD::AYB;
    if (!m.ON.empty()) sys[1] = {UMAS::cut(m.ON, 2), UMAS::cut(m.ER, 20), UMAS::cut(m.TY, 8)};
    else sys[1] = {UMAS::cut(R.sheetBox(19), 2), "-", UMAS::cut(R.sheetBox(20), 8)};
    sys[2] = {UMAS::cut(m.AP, 2), UMAS::cut(m.AK, 20), UMAS::cut(m.KY, 8)};
    sys[3] = {UMAS::cut(m.ET, 2), UMAS::cut(m.BA, 20), UMAS::cut(m.KA, 8)};

    auto& docs = R.EGGR_BIS[size_t(n)];
    for (int k = 1; k <= 4; ++k) {
        const std::string s = R.sheetBox(41 + k);
        const size_t colon = s.size() > 1 ? s.find(':', 1) : std::string::npos;
        if (colon == std::string::npos) continue;
        const std::string code = UMAS::cut(UMAS::trim(s.substr(0, colon)), 5);
        if (R.EXT != "MTF" && !validDocCode(code)) {
            R.error(gr("Λάθος κωδικός ") + code + gr(" σε BIS ") + DISKVAS::ERRMESS(81));
            docs[size_t(k)] = {code, ""};
            continue;
        }
        const std::string num = UMAS::cut(UMAS::trim(s.substr(colon + 1)), 25);
        if (num.empty()) R.error(gr("Κενός αριθμός συννημένου ") + code + gr(" σε BIS "));
        docs[size_t(k)] = {code, num};
    }
    return true;
}

// ---- The walk ----------------------------------------------------------------------------------

namespace {

bool oneOf(uint16_t kv, std::initializer_list<int> set) {
    for (int v : set)
        if (kv == v) return true;
    return false;
}

// Codes whose writer runs before the value and that write nothing themselves.
constexpr std::initializer_list<int> BEFORE = {1030, 1119, 3119, 1120, 3120, 1112, 1126, 3125, 3127, 3130, 3122};

// The writers that run before the row's value.
void before(RUN& R) {
    const uint16_t KV = R.KV();
    using namespace WRITERS;
    if (KV == 1119 || KV == 3119) BASEPRODUCTS(R);
    else if ((KV == 1030 && R.EDE != ED_TIRSEND) || KV == 3130) PREVDOCS(R);
    else if (KV == 3125) ATTACHEDDOCS(R);
    else if (KV == 3127) SPECIALMENTIONS(R);
    else if (KV == 3122) SEG3122(R);
    else if ((KV == 1120 || KV == 3120) && R.EXEIOXIMATA) VEHICLES(R);
    else if (KV == 1112 || KV == 1126) VEHICLES(R);
}

// Rows consumed in place of a segment head: true when the row ends at its writer.
bool consumed(RUN& R) {
    const uint16_t KV = R.KV();
    using namespace WRITERS;
    switch (KV) {
    case 1025:
    case 3126:
        if (R.IST2L) return false;
        if (UMAS::trim(R.box(48)) == "1") CONTAINERS(R);
        return true;
    case 3180:
        if (R.EXT != "IMP") return false;
        GUARANTEENUMS(R);
        return true;
    case 1080:
        if (R.EXT != "MTF") return false;
        CARRIER(R);
        return true;
    case 1032:
        if (R.EDE == ED_TIRSEND || R.EDE == ED_TIR) {
            // Written as it stands, without conversion.
            R.OUT += "\r\n0032:1~2~1~1~~" + UMAS::trim(R.ST_TIR[1]) + "~~1";
        } else {
            const std::string g = UMAS::trim(R.box(204));
            if (g == "1" || g == "2" || g == "3" || g == "4" || g == "0" || g == "9") GUARANTEE(R);
        }
        return true;
    case 1021:
        if (!UMAS::trim(R.box(191)).empty()) TRANSITOFFICES(R);
        return true;
    case 1029: TRANSITDOCS44(R); return true;
    case 1026:
    case 3128:
        if (R.IST2L) return false;
        TRANSITPACKAGES(R);
        return true;
    default: return false;
    }
}

// The head of a segment into R.BS (the line end before it written).
void head(RUN& R) {
    const uint16_t KV = R.KV();
    if (KV > 1001) R.lineEnd();
    R.BS = KV < 2000 ? UMAS::LZ(std::to_string(KV - 1000), 4) : UMAS::LZ(std::to_string(KV), 4);
    R.BS += ":1";
}

bool isNumericType(const std::string& t) {
    static const std::string NU = gr("Ν"), nu = gr("ν");
    if (t.empty()) return false;
    const std::string first = t.substr(0, 1);
    return first == NU || first == nu || first == "n" || first == "N";
}

}  // namespace

void WALK(RUN& R) {
    static const std::string nu = gr("ν");
    const BLOCK B = ITEMBLOCK(R);
    int& counter = B.manifest ? R.AASTIX : R.AREIDOS;
    int atBlockStart = -1;  // the counter when the block was last entered
    bool loopTold = false;
    R.I = 1;

    // The item-block test on the index of the next row: back to the block's first row while
    // items are left.
    auto repeat = [&]() {
        if (B.first == 0 || R.I != B.last + 1) return;
        const int limit = B.manifest ? std::min(R.SYNEIDH, MAXMANIFESTLINES) : R.SYNEIDH;
        if (counter >= limit) return;
        if (counter == atBlockStart) {
            // The block raised no counter: walking it again would never end.
            if (!loopTold)
                R.error(gr("Οι γραμμές ") + std::to_string(B.first) + "-" + std::to_string(B.last) +
                        gr(" του πίνακα δεν έχουν γραμμή είδους: τα επόμενα είδη δεν γράφτηκαν."));
            loopTold = true;
            return;
        }
        R.I = B.first;
    };
    auto next = [&]() {
        ++R.I;
        repeat();
    };

    while (R.I >= 1 && R.I <= PARAMS::PARTIM7_ROWS) {
        if (R.I == B.first) atBlockStart = counter;
        const PARAMS::RECPARTIM7& row = R.row();
        const uint16_t KV = row.KV;
        R.BS.clear();
        const bool unused = KV == 0 && UMAS::trim(row.STATUS).empty();
        if (!unused) {
            before(R);
            if (KV > 1000 && !oneOf(KV, BEFORE)) {
                if (consumed(R)) {
                    next();
                    continue;
                }
                head(R);
            } else if (KV < 1000 || KV == 999) {
                if (KV == 980) WRITERS::TAXES(R);
                else VALUE(R);
                if (KV == 78 && R.AREIDOS >= 2 && !GETBIS(R)) {
                    // The rest of the item block is passed over (never backwards: an item row at
                    // or after row 198 goes on with the next row).
                    R.I = std::max(198, R.I + 1);
                    repeat();
                    continue;
                }
            }
            R.BS = UMAS::trim(R.BS);
            if (KV < 1000) AFTERVALUE(R);
            if (row.TYPOS.find(nu) != std::string::npos) CHECKDIGIT(R);
            if (!oneOf(KV, {980, 1030, 1119, 3119, 1120, 3120, 3125, 3127, 3128, 3130, 3122, 3180, 1112, 1126})) {
                if (isNumericType(row.TYPOS) && !R.BS.empty()) {
                    for (char c : R.BS)
                        if (!((c >= '0' && c <= '9') || c == '.')) {
                            R.errorRow(DISKVAS::ERRMESS(0) + row.PEDIO);
                            break;
                        }
                }
                if (KV < 1000) R.OUT += '~';
                R.put(R.BS);
            }
        }
        if (R.I < 156) {
            const bool mandatory = row.STATUS == "R" || (row.STATUS == "r" && !R.BOX5_12);
            if (KV != 980 && mandatory && R.BS.empty())
                R.errorRow(DISKVAS::ERRMESS(90) + CODETEXT(KV) + " " + row.PEDIO);
            else if (!oneOf(KV, {1030, 1119, 3119, 1120, 3120, 3125, 3126, 3127, 3128, 3130, 3122, 3180, 1112, 1126}) &&
                     !CHECKMIKOS(R, R.BS))
                R.errorRow(DISKVAS::ERRMESS(91) + CODETEXT(KV) + " " + row.PEDIO);
        }
        if (KV == 100 && R.EDE == ED_SEND) WRITERS::DESCLOG(R);
        next();
    }
}

}  // namespace DISKET
