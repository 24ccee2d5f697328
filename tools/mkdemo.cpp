// mkdemo SRCDIR MSK DEST: lays out the demo installation in DEST.
// Nothing that exists is overwritten except the mask file. Files under SRCDIR (data/demo) are
// copied to the working folder as they are, except those ending in ".utf8", which are written
// without that ending as CP737 text with CR LF line ends, and those ending in ".w1253" (the official
// code lists), written without that ending as Windows-1253 text with CR LF line ends. The folder
// "tables" holds the starting contents of the code tables, filled into every company folder.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "config/params.h"
#include "documents/ekd4.h"
#include "platform/codepage.h"
#include "shell/install.h"
#include "shell/install_customers.h"

namespace fs = std::filesystem;

namespace {

// The demo's TIR carnet layout "PARTIR": each of the carnet's 43 fields printed at the column and
// line where the carnet's screen shows it. A layout someone has already filled is left alone.
void seedTirLayout(const fs::path& company) {
    const fs::path file = company / "PARTIR.dat";
    const std::string empty(PARAMS::PARDOC_SIZE, '\0');
    if (fs::exists(file)) {
        std::ifstream in(file, std::ios::binary);
        const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (now != empty) return;
    }
    std::string img = empty;
    const auto grid = EKD4::TIRGRID();
    for (size_t i = 1; i < grid.size(); ++i) {
        PARAMS::RECPARTIM4 r;
        r.PER = PLAT::gr("ΠΕΔΙΟ ") + std::to_string(i);
        r.COL = uint8_t(grid[i].x);
        r.ROW = uint8_t(grid[i].y);
        r.encode(reinterpret_cast<uint8_t*>(img.data()) + (i - 1) * PARAMS::RECPARTIM4::SIZE);
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: mkdemo SRCDIR MSK DEST\n";
        return 2;
    }
    try {
        fs::path src(argv[1]), dest(argv[3]);
        INSTALL::makeInstallation(dest.string(), "DATABASE", INSTALL::demoCompanies(), argv[2]);
        // The first company signs its invoices through the stand-in signing server (make run).
        INSTALL::makeSigningSettings(dest.string(), (dest / "DATABASE" / "ARXEIO0").string(), "C:\\EAFDSS",
                                     "drives/c/EAFDSS", 1, "KVX00000001");
        for (size_t i = 0; i < INSTALL::demoCompanies().size(); ++i)
            INSTALL::seedDemoCustomers((dest / "DATABASE" / ("ARXEIO" + std::to_string(i))).string());
        for (const auto& e : fs::recursive_directory_iterator(src)) {
            if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
            fs::path rel = fs::relative(e.path(), src);
            if (*rel.begin() == "tables") continue;
            fs::path out = dest / rel;
            const bool converted = rel.extension() == ".utf8" || rel.extension() == ".w1253";
            if (fs::exists(converted ? out.parent_path() / out.stem() : out)) continue;
            fs::create_directories(out.parent_path());
            if (converted) {
                std::ifstream in(e.path());
                std::vector<std::string> lines;
                for (std::string l; std::getline(in, l);) {
                    if (!l.empty() && l.back() == '\r') l.pop_back();
                    lines.push_back(l);
                }
                if (rel.extension() == ".utf8")
                    INSTALL::writeCp737Text((out.parent_path() / out.stem()).string(), lines);
                else
                    INSTALL::writeCp1253Text((out.parent_path() / out.stem()).string(), lines);
            } else {
                fs::copy_file(e.path(), out, fs::copy_options::overwrite_existing);
                if (rel.extension() == ".sh")
                    fs::permissions(out, fs::perms::owner_exec | fs::perms::group_exec, fs::perm_options::add);
            }
        }
        for (size_t i = 0; i < INSTALL::demoCompanies().size(); ++i)
            INSTALL::seedCodeTables((dest / "DATABASE" / ("ARXEIO" + std::to_string(i))).string(), (src / "tables").string());
        // The electronic formats, output folders and client folders of the submissions.
        for (size_t i = 0; i < INSTALL::demoCompanies().size(); ++i)
            INSTALL::seedSubmission(dest.string(), (dest / "DATABASE" / ("ARXEIO" + std::to_string(i))).string(),
                                    (src / "tables" / "eformats").string());
        INSTALL::makeExportCounter((dest / "DATABASE").string());
        for (size_t i = 0; i < INSTALL::demoCompanies().size(); ++i)
            seedTirLayout(dest / "DATABASE" / ("ARXEIO" + std::to_string(i)));
    } catch (const std::exception& e) {
        std::cerr << "mkdemo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
