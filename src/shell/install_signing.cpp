// The signing settings of an installed company and the exchange folder the stand-in signing server
// serves (the demo).
#include <filesystem>

#include "shell/install.h"

namespace fs = std::filesystem;

namespace INSTALL {

void makeSigningSettings(const std::string& workDir, const std::string& companyDir, const std::string& dosFolder,
                         const std::string& linuxFolder, int terminal, const std::string& serial) {
    fs::create_directories(fs::path(workDir) / linuxFolder);
    writeCp737Text((fs::path(companyDir) / "formi_01.txt").string(),
                   {dosFolder, std::to_string(terminal), "0", serial});
}

}  // namespace INSTALL
