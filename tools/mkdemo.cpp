// mkdemo SRCDIR MSK DEST: lays out the demo installation in DEST.
// Nothing that exists is overwritten except the mask file. Files under SRCDIR (data/demo) are
// copied to the working folder as they are, except those ending in ".utf8", which are written
// without that ending as CP737 text with CR LF line ends, and those ending in ".w1253" (the official
// code lists), written without that ending as Windows-1253 text with CR LF line ends. The folder
// "tables" holds the starting contents of the code tables, filled into every company folder, and
// the folder "invoicing" those of the invoice parameter files and of the export invoices' box maps
// and layouts, the folder "documents" the layouts and box maps of the other layout-driven documents.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

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
// ---- The XML input templates of the demo ---------------------------------------------------------
// Small templates of our own design for the XML runs (entry summary declaration, arrival
// notification, manifest and manifest request), written into the working folder when missing. A
// line "<tag>N" is filled with value code N; a closing tag stands on a line of its own; "%" lets a
// line with ">" pass whole. The manifest header carries the package and mass totals.
namespace XMLDEMO {

const std::vector<std::pair<const char*, std::vector<const char*>>> TEMPLATES = {
    {"CC315A.TXT",
     {"CC315A", "%<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<CC315A>", "<MesSenMES3>3", "</MesSenMES3>",
      "<DatOfPreMES9>9", "</DatOfPreMES9>", "<TimOfPreMES10>10", "</TimOfPreMES10>", "<HEAHEA>", "<RefNumHEA4>4",
      "</RefNumHEA4>", "<TraModAtBorHEA76>76", "</TraModAtBorHEA76>", "<IdeOfMeaOfTraCroHEA85>85",
      "</IdeOfMeaOfTraCroHEA85>", "<NatOfMeaOfTraCroHEA87>87", "</NatOfMeaOfTraCroHEA87>", "<TotNumOfIteHEA305>305",
      "</TotNumOfIteHEA305>", "<TotNumOfPacHEA306>306", "</TotNumOfPacHEA306>", "<TotGroMasHEA307>307",
      "</TotGroMasHEA307>", "<DecPlaHEA394>394", "</DecPlaHEA394>", "<SpeCirIndHEA1>901", "</SpeCirIndHEA1>",
      "<DecDatHEA114>114", "</DecDatHEA114>", "</HEAHEA>", "<TRACONCO1>", "<NamCO17>17", "</NamCO17>", "<StrAndNumCO122>122",
      "</StrAndNumCO122>", "<CitCO124>124", "</CitCO124>", "</TRACONCO1>", "<TRACONCE1>", "<TINCE159>459", "</TINCE159>",
      "<NamCE117>417", "</NamCE117>", "<StrAndNumCE122>422", "</StrAndNumCE122>", "<CitCE124>424", "</CitCE124>",
      "</TRACONCE1>", "<CUSOFFLON>", "<RefNumCOL1>731", "</RefNumCOL1>", "</CUSOFFLON>", "<PERLODSUMDEC>",
      "<NamPLD1>1111", "</NamPLD1>", "<StrAndNumPLD1>1112", "</StrAndNumPLD1>", "<CitPLD1>1113", "</CitPLD1>",
      "<TINPLD1>1114", "</TINPLD1>", "<AgePLD1>1333", "</AgePLD1>", "</PERLODSUMDEC>", "<TRACARENT601>",
      "<TINTRACARENT602>622", "</TINTRACARENT602>", "</TRACARENT601>", "<CouOfDisHEA125>125", "</CouOfDisHEA125>"}},
    {"GOOITE.TXT",
     {"<GOOITEGDS>", "<IteNumGDS7>500", "</IteNumGDS7>", "<GooDesGDS23>802", "</GooDesGDS23>", "<PRODOCDC2>",
      "<DocTypDC21>21", "</DocTypDC21><DocRefDC23>", "</DocRefDC23>", "</PRODOCDC2>", "<PACGS2>", "<KinOfPacGS23>823", "</KinOfPacGS23>",
      "<NumOfPacGS24>824", "</NumOfPacGS24>", "<NumOfPieGS25>825", "</NumOfPieGS25>", "<MarNumOfPacGS21>826",
      "</MarNumOfPacGS21>", "</PACGS2>", "<PlaOfLoaGDS1>830", "</PlaOfLoaGDS1>", "<PlaOfUnlGDS1>831",
      "</PlaOfUnlGDS1>", "</GOOITEGDS>"}},
    {"CC315_2.TXT",
     {"<CUSOFFFENT730>", "<RefNumCUSOFFFENT731>731", "</RefNumCUSOFFFENT731>", "<ExpDatOfArrFIRENT733>733",
      "</ExpDatOfArrFIRENT733>", "</CUSOFFFENT730>", "<CUSOFFSENT740>", "<RefNumSUBENR741>741", "</RefNumSUBENR741>",
      "<RefNumSUBENR743>743", "</RefNumSUBENR743>", "<RefNumSUBENR745>745", "</RefNumSUBENR745>", "</CUSOFFSENT740>",
      "<ITI>", "<CouOfRouCodITI1>902", "</CouOfRouCodITI1>", "</ITI>", "<MESSEN>", "<TINSEN1>3", "</TINSEN1>",
      "<NamSEN1>903", "</NamSEN1>", "<TINCARR1>602", "</TINCARR1>", "</MESSEN>", "</CC315A>"}},
    {"CC347A.TXT",
     {"CC347A", "%<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<CC347A>", "<MesSenMES3>3", "</MesSenMES3>",
      "<DatOfPreMES9>9", "</DatOfPreMES9>", "<TimOfPreMES10>10", "</TimOfPreMES10>", "<HEAHEA>", "<RefNumHEA4>4",
      "</RefNumHEA4>", "<DecDatHEA114>114", "</DecDatHEA114>", "<TraModAtBorHEA76>76", "</TraModAtBorHEA76>",
      "<IdeOfMeaOfTraCroHEA85>85", "</IdeOfMeaOfTraCroHEA85>", "</HEAHEA>", "<CUSOFFFENT730>",
      "<RefNumCUSOFFFENT731>731", "</RefNumCUSOFFFENT731>", "</CUSOFFFENT730>", "<TRACARENT601>",
      "<TINTRACARENT602>622", "</TINTRACARENT602>", "</TRACARENT601>", "<PERLODSUMDEC>", "<NamPLD1>1111",
      "</NamPLD1>", "<TINPLD1>1114", "</TINPLD1>", "</PERLODSUMDEC>"}},
    {"ARRITE.TXT",
     {"<GOOITEGDS>", "<IteNumGDS7>500", "</IteNumGDS7>", "<ENSMRNGDS1>502", "</ENSMRNGDS1>", "<GooDesGDS23>802",
      "</GooDesGDS23>", "<PRODOCDC2>", "<DocTypDC21>21", "</DocTypDC21><DocRefDC23>", "</DocRefDC23>", "</PRODOCDC2>", "</GOOITEGDS>"}},
    {"DX315A.TXT",
     {"DX315A", "%<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<DX315A>", "<DatOfPreMES9>9", "</DatOfPreMES9>",
      "<TimOfPreMES10>10", "</TimOfPreMES10>", "<MesIdeMES19>19", "</MesIdeMES19>", "<HEAHEA>", "<RefNumHEA1900>1900",
      "</RefNumHEA1900>", "<DecDatHEA104>104", "</DecDatHEA104>", "<ArrDatHEA144>144", "</ArrDatHEA144>",
      "<TraModHEA476>476", "</TraModHEA476>", "<PlaOfLoaHEA330>330", "</PlaOfLoaHEA330>", "<PlaOfDesHEA331>331",
      "</PlaOfDesHEA331>", "<CouOfOriHEA777>777", "</CouOfOriHEA777>", "<TotNumOfIteHEA3305>3305",
      "</TotNumOfIteHEA3305>", "%<TotNumOfPacHEA306>@@@@@@</TotNumOfPacHEA306>",
      "%<TotGroMasHEA307>$$$$$$</TotGroMasHEA307>", "</HEAHEA>"}},
    {"DX_GOO.TXT",
     {"<GOOITEGDS>", "<IteNumGDS7>500", "</IteNumGDS7>", "<PRODOCDC2>", "<DocTypDC21>621", "</DocTypDC21>",
      "<DocNamDC22>623", "</DocNamDC22>", "</PRODOCDC2>", "<ENSMRNGDS1>111", "</ENSMRNGDS1>", "<ENSIndGDS1>1111",
      "</ENSIndGDS1>", "<NoENSGDS1>523", "</NoENSGDS1>", "<TraDocGDS1>803", "</TraDocGDS1>", "<GooDesGDS23>351",
      "</GooDesGDS23>", "<GroMasGDS46>352", "</GroMasGDS46>", "<PACGS2>", "<MarNumOfPacGS21>421",
      "</MarNumOfPacGS21>", "<KinOfPacGS23>423", "</KinOfPacGS23>", "<NumOfPacGS24>424", "</NumOfPacGS24>",
      "<NumOfPieGS25>425", "</NumOfPieGS25>", "</PACGS2>", "<CusStaGDS1>2470", "</CusStaGDS1>", "</GOOITEGDS>"}},
    {"DX315_2.TXT",
     {"<MEATRA>", "<IdeMEATRA1>222", "</IdeMEATRA1>", "<NatMEATRA1>223", "</NatMEATRA1>", "</MEATRA>", "<TRACARENT601>",
      "<TINTRACARENT602>602", "</TINTRACARENT602>", "<StrTRACARENT603>603", "</StrTRACARENT603>",
      "<NamTRACARENT604>604", "</NamTRACARENT604>", "<CouTRACARENT605>605", "</CouTRACARENT605>",
      "<CitTRACARENT607>607", "</CitTRACARENT607>", "</TRACARENT601>", "<WAREHOUSE>702", "</WAREHOUSE>",
      "<PERLODSUMDEC>", "<NamPLD1>1111", "</NamPLD1>", "<StrAndNumPLD1>1112", "</StrAndNumPLD1>", "<CitPLD1>1113",
      "</CitPLD1>", "<TINPLD1>1114", "</TINPLD1>", "<AgePLD1>1333", "</AgePLD1>", "</PERLODSUMDEC>", "<FIRDOC>",
      "<DocTypFIRDOC1>2014", "</DocTypFIRDOC1>", "<DocNamFIRDOC2>2015", "</DocNamFIRDOC2>", "</FIRDOC>",
      "<CUSOFFFENT730>", "<RefNumCUSOFFFENT731>2077", "</RefNumCUSOFFFENT731>", "</CUSOFFFENT730>", "</DX315A>"}},
    {"DE015A.TXT",
     {"DE015A", "%<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<DE015A>", "<DatOfPreMES9>9", "</DatOfPreMES9>",
      "<TimOfPreMES10>10", "</TimOfPreMES10>", "<MesIdeMES19>19", "</MesIdeMES19>", "<HEAHEA>", "<RefNumHEA1900>1900",
      "</RefNumHEA1900>", "<DecDatHEA104>104", "</DecDatHEA104>", "<TraModHEA476>476", "</TraModHEA476>",
      "<TotNumOfIteHEA3305>3305", "</TotNumOfIteHEA3305>", "%<TotNumOfPacHEA306>@@@@@@</TotNumOfPacHEA306>",
      "%<TotGroMasHEA307>$$$$$$</TotGroMasHEA307>", "</HEAHEA>"}},
    {"DE_GOO.TXT",
     {"<GOOITEGDS>", "<IteNumGDS7>500", "</IteNumGDS7>", "<DocTypDC21>621", "</DocTypDC21>", "<GooDesGDS23>351",
      "</GooDesGDS23>", "<GroMasGDS46>352", "</GroMasGDS46>", "<KinOfPacGS23>423", "</KinOfPacGS23>",
      "<NumOfPacGS24>424", "</NumOfPacGS24>", "</GOOITEGDS>"}},
    {"DE015_2.TXT",
     {"<MEATRA>", "<IdeMEATRA1>222", "</IdeMEATRA1>", "<NatMEATRA1>223", "</NatMEATRA1>", "</MEATRA>",
      "<TRACARENT601>", "<NamTRACARENT604>604", "</NamTRACARENT604>", "</TRACARENT601>", "<WAREHOUSE>702",
      "</WAREHOUSE>", "<PERLODSUMDEC>", "<NamPLD1>1111", "</NamPLD1>", "<TINPLD1>1114", "</TINPLD1>", "</PERLODSUMDEC>",
      "<CUSOFFFENT730>", "<RefNumCUSOFFFENT731>2077", "</RefNumCUSOFFFENT731>", "</CUSOFFFENT730>", "</DE015A>"}},
};

void writeTemplates(const fs::path& dest) {
    for (const auto& [name, lines] : TEMPLATES) {
        const fs::path out = dest / name;
        if (fs::exists(out)) continue;
        std::ofstream f(out, std::ios::binary);
        for (const char* l : lines) f << l << "\r\n";
        if (!f) throw std::runtime_error(std::string("cannot write ") + out.string());
    }
    fs::create_directories(dest / "drives" / "c" / "XML");
}

}  // namespace XMLDEMO

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
            if (*rel.begin() == "tables" || *rel.begin() == "invoicing" || *rel.begin() == "documents") continue;
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
        // Invoicing as an agency does it: headings, reasons, detail lines and the print layout, and the
        // export invoices' box maps and layouts; the other documents' layouts and box maps, on plain
        // paper; the first company prints three copies of an invoice, each signed (make run starts
        // the signing stand-in).
        for (size_t i = 0; i < INSTALL::demoCompanies().size(); ++i) {
            const std::string company = (dest / "DATABASE" / ("ARXEIO" + std::to_string(i))).string();
            INSTALL::seedInvoicing(company, (src / "invoicing").string());
            INSTALL::seedDocuments(company, (src / "documents").string());
            INSTALL::setupSeries(company, i == 0 ? 3 : 2, i == 0);
        }
        XMLDEMO::writeTemplates(dest);
    } catch (const std::exception& e) {
        std::cerr << "mkdemo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
