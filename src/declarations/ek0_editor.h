// Internal to the declaration editor: the state of one run of EK0::DISF shared by its files
// (the box loop and keys, the box rules, the declaration number).
#pragma once
#include <array>
#include <string>
#include <vector>

#include "declarations/bod.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace EK0 {

struct Disf {
    std::string KD, EXT;
    int YPOD = 0;
    int VV = 1;   // current box
    int K = 0;    // exit code of the last input
    std::array<int, 5> PP{1, 1, 1, 1, 1};
    int YR = 1;
    SCR::SOC ST;
    bool leave = false;
    bool hint = false;  // mask 20 is shown for the current box
    std::vector<PLAT::Cell> saved;

    void run();
    // Box loop helpers.
    void pass();
    void dispatch();
    void redraw();
    void follow();  // LL follows the current box
    void next();
    void prev();
    void scrollUp();
    void scrollDown();
    void pageUp();
    void pageDown();
    void mouse();
    bool countChecks();
    void store();
    void leaveAsk();
    void DIAG(bool YP);
    void CLLS();
    void SUMKOLLA();
    void F10();
    void NEASTATAXIA();
    void calculator();
    void PUTCLIP(int LAST);
    void PELI(int VA);
    std::string help(int v) const;
    // Whether Tab and the lookup of box v work on the customer files in this kind.
    bool customerBox(int v) const;
    // Box rules (KEY) and the declaration number.
    void KEY(int V, int STA);
    void box1();
    // Opens the number TM; what the clerk must be told (after "FDIA" is free), or nothing.
    std::string FERE();
    // The stored version at XN read before it is deleted: its date and customer for the deletion,
    // or, when it cannot be read, marked unread (BOD.BUNREAD).
    void readToDelete();
    void unread();
    void DALLB(bool KX1, bool KX2, const std::string& NTM);
    void FCOPY(const std::string& SOUR, const std::string& DEST);
    void renameSideFiles(const std::string& from, const std::string& to);
    void deleteSideFiles(const std::string& number);
    void recompute();
    bool hasHint(int V) const;
    // The rules of the boxes other than the number, the date and the tax and value lines.
    void RULES(int V, int STA);
    bool ruleHint(int V) const;
    bool READANAF(std::string& S);
};

// A message on row 23 (mask 58) until a key.
void message(const std::string& cp737);
// The unsigned value of a box text as the counts use it (Val): digits after leading blanks,
// anything else gives 0.
int uval(const std::string& s);
// Box 1 as PNU gives it trimmed (no blanks, no leading zeros).
std::string numberText(const std::string& box1);

}  // namespace EK0
