// The invoicing part of an installed company: item headings, expenses-statement reasons, the
// detail-line map and the invoice print layout from text sources, the box maps and print layouts of
// the export invoices and of the other layout-driven documents, and the numbering series of
// invoices and credit notes as an agency that prints and signs its invoices keeps them.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/umas.h"
#include "config/params.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "shell/install.h"

namespace fs = std::filesystem;

namespace INSTALL {

namespace {

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + p.string());
}

// The fields of the source lines of file: empty lines and lines starting with "#" skipped, CR
// removed, fields split at "|".
std::vector<std::vector<std::string>> sourceRows(const fs::path& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::vector<std::vector<std::string>> rows;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (l.empty() || l[0] == '#') continue;
        std::vector<std::string> f;
        size_t a = 0;
        for (size_t b; (b = l.find('|', a)) != std::string::npos; a = b + 1) f.push_back(l.substr(a, b - a));
        f.push_back(l.substr(a));
        rows.push_back(f);
    }
    return rows;
}

int number(const std::vector<std::string>& row, size_t i, int lo, int hi, const fs::path& file) {
    if (i >= row.size()) return 0;
    try {
        const int v = std::stoi(row[i]);
        if (v >= lo && v <= hi) return v;
    } catch (const std::exception&) {
    }
    throw std::runtime_error(file.string() + ": \"" + row[i] + "\" is not a number from " + std::to_string(lo) +
                             " to " + std::to_string(hi));
}

std::string text(const std::vector<std::string>& row, size_t i) { return i < row.size() ? PLAT::utf8ToCp737(row[i]) : ""; }

// Writes image as the parameter file name of dir where the file is missing or still as installed (all
// zero). The name is matched without regard to case, as the program opens it.
void seed(const fs::path& dir, const char* name, const std::string& image) {
    const fs::path p = PLAT::resolve((dir / name).string());
    const std::string now = readBytes(p);
    if (now.find_first_not_of('\0') != std::string::npos) return;  // a file in use is never replaced
    writeBytes(p, image);
}

}  // namespace

std::string itemTableImage(const std::string& srcFile, size_t entries) {
    std::string img(entries * PARAMS::RECPARTIM1::SIZE, '\0');
    for (const auto& r : sourceRows(srcFile)) {
        const int n = number(r, 0, 1, int(entries), srcFile);
        PARAMS::RECPARTIM1{UMAS::cut(text(r, 1), 40)}.encode(reinterpret_cast<uint8_t*>(img.data()) +
                                                             size_t(n - 1) * PARAMS::RECPARTIM1::SIZE);
    }
    return img;
}

std::string boxMapImage(const std::string& srcFile, size_t entries) {
    std::string img(entries * PARAMS::RECPARTIM3::SIZE, '\0');
    for (const auto& r : sourceRows(srcFile)) {
        const int n = number(r, 0, 1, int(entries), srcFile);
        PARAMS::RECPARTIM3{uint16_t(number(r, 1, 0, 65535, srcFile)), UMAS::cut(text(r, 2), 20)}.encode(
            reinterpret_cast<uint8_t*>(img.data()) + size_t(n - 1) * PARAMS::RECPARTIM3::SIZE);
    }
    return img;
}

std::string layoutImage(const std::string& srcFile, size_t entries) {
    std::string img(entries * PARAMS::RECPARTIM4::SIZE, '\0');
    for (const auto& r : sourceRows(srcFile)) {
        const int n = number(r, 0, 1, int(entries), srcFile);
        PARAMS::RECPARTIM4 e;
        e.PER = UMAS::cut(text(r, 1), 30);
        e.COL = uint8_t(number(r, 2, 0, 255, srcFile));
        e.ROW = uint8_t(number(r, 3, 0, 255, srcFile));
        e.SA1 = uint8_t(number(r, 4, 0, 255, srcFile));
        e.SA2 = uint8_t(number(r, 5, 0, 255, srcFile));
        e.ST2 = uint8_t(number(r, 6, 0, 255, srcFile));
        e.ST1 = uint8_t(number(r, 7, 0, 255, srcFile));
        e.encode(reinterpret_cast<uint8_t*>(img.data()) + size_t(n - 1) * PARAMS::RECPARTIM4::SIZE);
    }
    return img;
}

void seedInvoicing(const std::string& companyDir, const std::string& srcDir) {
    const fs::path d(companyDir), s(srcDir);
    seed(d, "PARTIM1.dat", itemTableImage((s / "PARTIM1.txt").string(), PARAMS::PARTIM1_N));
    seed(d, "PARTIM2.dat", itemTableImage((s / "PARTIM2.txt").string(), PARAMS::PARTIM2_N));
    seed(d, "PARTIM3.dat", boxMapImage((s / "PARTIM3.txt").string(), PARAMS::PARTIM3_N));
    seed(d, "PARTIM4.dat", layoutImage((s / "PARTIM4.txt").string(), PARAMS::MAXPVTIM));
    // The export invoices: a box map each (Greek, English) and one layout for both.
    const std::string layout = layoutImage((s / "PARinv.txt").string(), PARAMS::PARDOC_N);
    for (const char* no : {"1", "2"}) {
        const std::string map = std::string("PARD2in") + no, lay = std::string("PARinv") + no;
        seed(d, (map + ".dat").c_str(), boxMapImage((s / (map + ".txt")).string(), PARAMS::PARD2_N));
        seed(d, (lay + ".dat").c_str(), layout);
    }
}

void seedDocuments(const std::string& companyDir, const std::string& srcDir) {
    const fs::path d(companyDir), s(srcDir);
    for (const std::string lay : {"PARPITA", "PARDDD", "PARDILL", "PAREUR1", "PARZON", "PARZOB"})
        seed(d, (lay + ".dat").c_str(), layoutImage((s / (lay + ".txt")).string(), PARAMS::PARDOC_N));
    for (const std::string map : {"PARD2EUR", "PARD2ZON"})
        seed(d, (map + ".dat").c_str(), boxMapImage((s / (map + ".txt")).string(), PARAMS::PARD2_N));
}

void setupSeries(const std::string& companyDir, uint8_t copies, bool signs) {
    const fs::path d(companyDir);
    // Only series files still as installed are changed.
    const std::string asInstalled = seriesImage(installedSeries());
    PARAMS::SEIRESTABLE t = installedSeries();
    t[0].EMUL = 1;  // EpsonFX
    t[0].POLAP = copies;
    t[0].FORMIX = signs ? 1 : 0;
    const std::string img = seriesImage(t);
    for (const char* name : {"SEIRES.DAT", "PSEIRES.DAT"})
        if (readBytes(d / name) == asInstalled) writeBytes(d / name, img);

    // The credit-note files, so that the credit notes open from the invoices menu.
    const std::string keep = UMAS::PATH;
    UMAS::PATH = d.string() + "/";
    PARAMS::SEIRES_CREATEFILES(1, t);
    UMAS::PATH = keep;
}

}  // namespace INSTALL
