// WINCLIP on the platform's clipboard reader.
#include "screen/winclip.h"

#include <optional>

#include "platform/clipboard.h"

namespace WINCLIP {

namespace {
bool isOpen = false;
std::optional<std::string> text;  // the text taken when the clipboard was opened
}  // namespace

bool OPENWINCLIPBOARD() {
    if (isOpen) return false;
    text = PLAT::readClipboard();
    isOpen = true;
    return true;
}

bool CLOSEWINCLIPBOARD() {
    if (!isOpen) return false;
    isOpen = false;
    text.reset();
    return true;
}

int32_t INTERNGETDATASIZE() {
    if (!isOpen || !text || text->empty()) return 0;
    return int32_t(text->size() + 1);
}

int32_t GETTEXTWINCLIPBOARDSIZE() {
    if (!OPENWINCLIPBOARD()) return 0;
    int32_t n = INTERNGETDATASIZE();
    CLOSEWINCLIPBOARD();
    return n;
}

bool GETTEXTWINCLIPBOARDDATA(std::string& P, int32_t& N) {
    P.clear();
    N = 0;
    if (!OPENWINCLIPBOARD()) return false;
    bool got = INTERNGETDATASIZE() > 0;
    if (got) {
        P = *text;
        P.push_back('\0');
        N = int32_t(P.size());
    }
    CLOSEWINCLIPBOARD();
    return got;
}

}  // namespace WINCLIP
