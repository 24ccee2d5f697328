#include "shell/install.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/dias.h"
#include "declarations/store.h"
#include "invoicing/apod0.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "shell/install_customers.h"

namespace fs = std::filesystem;

namespace INSTALL {

PARAMS::SEIRESTABLE installedSeries() {
    PARAMS::SEIRESTABLE series{};
    series[0].AA = 1;
    series[0].MIKSEL = 66;
    series[0].POLAP = 1;
    series[0].PORTA = 1;
    return series;
}

std::string seriesImage(const PARAMS::SEIRESTABLE& t) {
    std::string img(PARAMS::SEIRES_SIZE, '\0');
    PARAMS::encodeSEIRES(t, reinterpret_cast<uint8_t*>(img.data()));
    return img;
}

namespace {

// Installation files are written only where they are missing: laying out an installation again
// never overwrites the data of one in use.
void writeBytes(const fs::path& p, const std::string& bytes) {
    if (fs::exists(p)) return;
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + p.string());
}

// The labels of the twenty general switches as stored in "PAREDE".
const char* const SWITCH_LABELS[20] = {
    "ΣΥΣΚΕΥΑΣΙΑ ΜΕ ΚΩΔΙΚΟ",          "ΠΕΛΑΤΗΣ ΑΠΟ ΑΛΦΑΒΗΤΙΚΟ",       "ΚΕΙΜΕΝΟ ΘΕΩΡΗΣΗΣ ΕΚΤΥΠΩΣΗΣ",
    "ΓΡΑΜΜΕΣ ΚΑΛΩΣ ΕΞΑΓΩΓΗΣ",         "ΕΝΔΕΙΞΗ ΧΩΡΑΣ GR",             "ΕΝΤΟΝΗ ΕΚΤΥΠΩΣΗ",
    "ΠΟΣΑ ΚΑΡΤΕΛΩΝ ΣΕ ΕΥΡΩ",          "ΣΥΜΠΛΗΡΩΣΗ ΑΠΟ ΚΕΙΜΕΝΟ T1",    "ΣΥΜΠΛΗΡΩΣΗ ΠΕΛΑΤΗ",
    "ΔΙΑΙΡΕΣΗ ΠΟΣΟΥ Α",               "ΔΙΑΙΡΕΣΗ ΠΟΣΟΥ Β",             "ΔΕΚΑΔΙΚΑ ΣΥΝΤΕΛΕΣΤΗ",
    "ΠΑΡΑΣΤΑΤΙΚΑ ΘΕΣΗΣ 44",           "ΠΕΡΙΓΡΑΦΗ ΕΙΔΟΥΣ ΗΛΕΚΤΡ.",     "ΧΡΕΩΣΗ ΡΑΕΕ",
    "ΔΕΚΑΔΙΚΑ ΠΟΣΟΤΗΤΑΣ",             "ΕΤΗΣΙΑ ΚΑΤΑΣΤΑΣΗ",             "ΣΥΜΠΛΗΡΩΣΗ TIR",
    "ΟΝΟΜΑ ΣΤΗΝ ΕΞΑΓΩΓΗ",             "ΗΛΕΚΤΡΟΝΙΚΕΣ ΜΟΡΦΕΣ Q"};

}  // namespace

void writeCp737Text(const std::string& path, const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const auto& l : utf8Lines) out += PLAT::utf8ToCp737(l) + "\r\n";
    writeBytes(path, out);
}

void writeCp1253Text(const std::string& path, const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const auto& l : utf8Lines) out += PLAT::cp737ToCp1253(PLAT::utf8ToCp737(l)) + "\r\n";
    writeBytes(path, out);
}

void makeCompanyFolder(const std::string& dir) {
    fs::create_directories(dir);
    fs::path d(dir);
    for (const char* lock : {"FMAS", "FDIA", "FBIS", "FYPO", "FPAR", "FTIM", "FPEL", "FKVD", "FEMP", "F105", "FAPO", "FREB"})
        writeBytes(d / (std::string(lock) + ".DAT"), std::string(1, '\0'));
    writeBytes(d / "NUDI.DAT", std::string(44, '\0'));
    writeBytes(d / "NUTI.DAT", std::string(28, '\0'));
    writeBytes(d / "NUAP.DAT", std::string(24, '\0'));
    // The next declaration number to propose.
    writeBytes(d / "DAR.DAT", "1         \r\n");

    std::array<UMAS::RECPAREDE, 21> sw{};
    for (int i = 1; i <= 20; ++i) sw[size_t(i)].MAL = PLAT::utf8ToCp737(SWITCH_LABELS[i - 1]);
    // Switch 7 stays 0: the ledgers and reports show euros (1 would show drachmas).
    writeBytes(d / "PAREDE.dat", UMAS::encodePAREDE(sw));
    writeBytes(d / "TAX.dat", std::string(UMAS::PTAX_SIZE, '\0'));
    writeBytes(d / "PARTIM1.dat", std::string(PARAMS::PARTIM1_SIZE, '\0'));
    writeBytes(d / "PARTIM2.dat", std::string(PARAMS::PARTIM2_SIZE, '\0'));
    writeBytes(d / "PARTIM3.dat", std::string(PARAMS::PARTIM3_SIZE, '\0'));
    writeBytes(d / "PARTIM4.dat", std::string(PARAMS::PARTIM4_SIZE, '\0'));
    // The document field maps are not installed: a layout without its map takes its captions
    // from the fixed texts until the map is first stored.
    for (const char* layout : {"PARinv1", "PARinv2", "PAREUR1", "PARPITA", "PARZON", "PARZOB", "PARDDD", "PARDILL", "PARTIR"})
        writeBytes(d / (std::string(layout) + ".dat"), std::string(PARAMS::PARDOC_SIZE, '\0'));
    for (const char* prefix : {"N", "Q"})
        for (int i = 0; i < PARAMS::PARTIM7_FORMATS; ++i)
            writeBytes(d / (prefix + std::string(PARAMS::PARTIM7_NAMES[i]) + ".dat"),
                       std::string(PARAMS::PARTIM7_SIZE, '\0'));

    const std::string img = seriesImage(installedSeries());
    for (const char* name : {"SEIRES.DAT", "PSEIRES.DAT", "ISEIRES.DAT"}) writeBytes(d / name, img);
    makeCodeTables(dir);

    seedCustomerFiles(dir);
    // The declaration and continuation-sheet stores, empty.
    STORE::installFiles(dir);
    DIAS::installTemplates(dir);  // the declaration templates, every slot free
    TIM::makeInvoiceFiles(dir);
    APOD0::makeReceiptFiles(dir);
    // The day tables are made with the days of 1990 to 2049: the markers of both widenings, read-only.
    for (const char* marker : {"OK2010.DAT", "OK2049.DAT"})
        if (!fs::exists(d / marker)) {
            writeBytes(d / marker, std::string(4, '\0'));
            fs::permissions(d / marker, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        }
}

void makeInstallation(const std::string& workDir, const std::string& dbName, const std::vector<Company>& companies,
                      const std::string& msk) {
    fs::path w(workDir);
    fs::create_directories(w / "ETC");
    fs::create_directories(w / dbName);
    writeBytes(w / "DATABASE.TXT", dbName + "\\\r\n");
    if (!msk.empty()) fs::copy_file(msk, w / "KORVEX.MSK", fs::copy_options::overwrite_existing);
    std::vector<std::string> ini{"COMPANIES=" + std::to_string(companies.size())};
    const char* keys[9] = {"NAME", "LINE2", "LINE3", "LINE4", "AFM", "LINE6", "TOWN", "LINE8", "LINE9"};
    for (const auto& c : companies)
        for (int j = 0; j < 9; ++j) ini.push_back(std::string(keys[j]) + "=" + c[size_t(j)]);
    writeCp737Text((w / dbName / "KORVEX.INI").string(), ini);
    for (size_t i = 0; i < companies.size(); ++i)
        makeCompanyFolder((w / dbName / ("ARXEIO" + std::to_string(i))).string());
}

std::vector<Company> demoCompanies() {
    return {
        Company{"ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ Ο.Ε. ΕΚΤΕΛΩΝΙΣΤΕΣ", "ΕΚΤΕΛΩΝΙΣΤΙΚΕΣ ΕΡΓΑΣΙΕΣ",
                "ΑΚΤΗ ΜΙΑΟΥΛΗ 12, 185 35 ΠΕΙΡΑΙΑΣ", "ΤΗΛ. 210 4100000  FAX 210 4100001",
                "Α.Φ.Μ.: 099999999 Δ.Ο.Υ. ΦΑΕ ΠΕΙΡΑΙΑ", "", "ΠΕΙΡΑΙΑΣ", "", ""},
        Company{"ΓΕΩΡΓΙΟΥ ΕΚΤΕΛΩΝΙΣΤΙΚΗ Α.Ε.", "ΕΚΤΕΛΩΝΙΣΜΟΙ - ΔΙΑΜΕΤΑΦΟΡΙΚΕΣ",
                "ΛΙΜΑΝΙ ΘΕΣΣΑΛΟΝΙΚΗΣ, ΠΥΛΗ 16", "ΤΗΛ. 2310 500000",
                "Α.Φ.Μ.: 088888888 Δ.Ο.Υ. ΦΑΕ ΘΕΣΣΑΛΟΝΙΚΗΣ", "", "ΘΕΣΣΑΛΟΝΙΚΗ", "", ""},
    };
}

}  // namespace INSTALL
