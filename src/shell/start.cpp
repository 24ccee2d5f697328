// START: binding the screen buffer, loading the mask file, the rate "RAEE.TXT".
#include "shell/start.h"

#include "config/params.h"
#include "declarations/bod.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace START {

namespace {

constexpr double RAEE_DEFAULT = 0.156275;
// The default as a real number is written by the standard text conversion: a leading blank for
// the sign, one digit, 16 decimals and a four-digit exponent.
const char* const RAEE_DEFAULT_TEXT = " 1.5627500000000000E-0001";

}  // namespace

void AUTMOD() { UMAS::CRP = &PLAT::con().cells; }

std::vector<UMAS::CONV> parseMasks(const std::string& bytes) {
    std::vector<UMAS::CONV> masks(1);  // [0] unused, as in UMAS::MPR
    masks.reserve(size_t(UMAS::MASKS) + 1);
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t pos = 0;
    while (int(masks.size()) <= UMAS::MASKS && bytes.size() - pos >= 8) {
        const int x1 = b[pos] | (b[pos + 1] << 8), y1 = b[pos + 2] | (b[pos + 3] << 8);
        const int x2 = b[pos + 4] | (b[pos + 5] << 8), y2 = b[pos + 6] | (b[pos + 7] << 8);
        // Inverted corners give no size: nothing from here on can be read as masks.
        if (x2 < x1 || y2 < y1) break;
        const uint64_t len = 8 + 2ull * uint64_t(x2 - x1 + 1) * uint64_t(y2 - y1 + 1);
        if (bytes.size() - pos < len) break;  // a final incomplete mask
        UMAS::CONV m;
        m.raw.assign(b + pos, b + pos + len);
        masks.push_back(std::move(m));
        pos += size_t(len);
    }
    return masks;
}

namespace {

// The masks that hold data (the declaration form) rather than a screen.
bool isDataMask(int n) {
    for (int d : {BOD::MASK_DIA, BOD::MASK_GV, BOD::MASK_BIS, BOD::MASK_GB, BOD::MASK_MES, BOD::MASK_DIA_DFK,
                  BOD::MASK_GV_DFK, BOD::MASK_BIS_DFK, BOD::MASK_GB_DFK})
        if (n == d) return true;
    return false;
}

}  // namespace

namespace {

// The corners and sizes of the masks in a mask file: empty when sound, else what is wrong.
std::string checkLayout(const std::string& bytes) {
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t pos = 0;
    for (int n = 1; n <= UMAS::MASKS; ++n) {
        const std::string which = "mask " + std::to_string(n);
        if (pos == bytes.size())
            return "holds " + std::to_string(n - 1) + " masks; the program needs " + std::to_string(UMAS::MASKS);
        if (bytes.size() - pos < 8) return which + " is cut short";
        const int x1 = b[pos] | (b[pos + 1] << 8), y1 = b[pos + 2] | (b[pos + 3] << 8);
        const int x2 = b[pos + 4] | (b[pos + 5] << 8), y2 = b[pos + 6] | (b[pos + 7] << 8);
        const int maxRows = isDataMask(n) ? 255 : PLAT::SCREEN_H;
        if (x1 < 1 || y1 < 1 || x2 < x1 || y2 < y1 || x2 > PLAT::SCREEN_W || y2 > maxRows)
            return which + " has the corners " + std::to_string(x1) + "," + std::to_string(y1) + " - " +
                   std::to_string(x2) + "," + std::to_string(y2);
        const uint64_t len = 8 + 2ull * uint64_t(x2 - x1 + 1) * uint64_t(y2 - y1 + 1);
        if (bytes.size() - pos < len) return which + " is cut short";
        pos += size_t(len);
    }
    // A final odd byte is no mask; anything more is not what the program was built with.
    if (bytes.size() - pos > 1)
        return std::to_string(bytes.size() - pos) + " bytes follow mask " + std::to_string(UMAS::MASKS);
    return "";
}

}  // namespace

std::string CHECKMASKS(const std::string& bytes) {
    if (auto why = checkLayout(bytes); !why.empty()) return why;
    return BOD::CHECKFORMRECORDS(parseMasks(bytes));
}

void RMASK(std::vector<UMAS::CONV>& MP, const std::string& FN) {
    auto bytes = PLAT::readWhole(FN);
    if (!bytes) PLAT::fatal("open", FN);
    // The masks are taken apart once, for the check and for use.
    std::string why = checkLayout(*bytes);
    std::vector<UMAS::CONV> masks;
    if (why.empty()) {
        masks = parseMasks(*bytes);
        why = BOD::CHECKFORMRECORDS(masks);
    }
    if (!why.empty()) PLAT::fatal("load", FN, why);
    MP = std::move(masks);
}

void ARXI() {
    AUTMOD();
    PLAT::Console& c = PLAT::con();
    for (auto& row : c.cells)
        for (auto& cell : row) cell = PLAT::Cell{' ', 15};
    c.refresh();

    const std::string folder = PARAMS::GETDATABASEPATH() + "ARXEIO0\\";
    UMAS::LOCKIN(folder, "FMAS");
    RMASK(UMAS::MPR, "KORVEX.MSK");
    UMAS::UNLOCIN(folder, "FMAS");

    UMAS::RAEE = RAEE_DEFAULT;
    if (UMAS::FILEEXIST("RAEE.TXT")) {
        auto lines = PLAT::readLines("RAEE.TXT");
        if (!lines) PLAT::fatal("open", "RAEE.TXT");
        if (!lines->empty()) UMAS::RAEE = UMAS::EVAL((*lines)[0]);
    } else {
        PLAT::writeWholeAtomic("RAEE.TXT", std::string(RAEE_DEFAULT_TEXT) + "\r\n");
    }
}

}  // namespace START
