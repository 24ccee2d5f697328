// Internal to the continuation-sheet editor: the state of one run of EKDO::CBIS shared by its
// files (the box loop and keys, the box rules, the field mode of the lower part, the printouts).
#pragma once
#include <array>
#include <string>
#include <vector>

#include "declarations/bod.h"
#include "platform/console.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKDO {

// The box-40 reference table of a side file (".L1", ".L" + item): 45 x 8 x string[20].
constexpr size_t TDILOS_SIZE = 7560;
// The second canned text block of the lower part: boxes 156 to 163. The picker on box 156 fills
// them, a paste from 156 to 162 continues up to 163, and the lower-part printout prints them.
constexpr int BLOCK2 = 156, BLOCK2_LAST = 163;

struct Cbis {
    std::string EXT;
    int VV = 1;    // current box
    int K = 0;     // exit code of the last input
    int LL = 23;   // last page row on screen (23..42 in the main view, 65 in the field mode)
    std::array<int, 3> PP{1, 1, 1};
    SCR::SOC ST;
    bool leave = false;
    bool hint = false;   // mask 20 stands for the current box
    std::vector<PLAT::Cell> saved;
    std::string storedData;  // the packed item as last loaded or stored (F4 writes only a change)

    void run();
    // ---- main view (ekdo_cbis.cpp)
    void pass();
    void dispatch();
    void redraw();
    void follow(int last);
    void next();
    void prev();
    void scrollUp();
    void scrollDown();
    void pageUp();
    void pageDown();
    void mouse();
    std::string help(int v) const;
    bool box1Check();
    bool box3Check();
    void store();
    void leaveAsk();
    void DIAB();
    void XBIS();
    void COPY40();
    void NEASTATAXIA();
    void F10();
    void calculator();
    void PUTCLIP(int V, int LIMIT);
    void vehicles();
    // ---- box rules (ekdo_key.cpp)
    void KEY(int V, int STA);
    void keyAndLoad();
    void dateRule(int STA);
    void goodsPick();
    void documentsPick(int V);
    void recompute();
    bool hasHint(int V) const;
    // ---- printing (ekdo_print.cpp)
    void EKBI(int ENTYPO);
    void EKBB();
    // The item on screen, kept across a printout that reads the others.
    struct ItemKey {
        std::string BM;
        bool BOB;
        int32_t XNB;
    };
    void reloadAfterPrint(const ItemKey& keep);
    // ---- field mode (ekdo_bobi.cpp)
    void BOBI();
    void BOBI_KEY(int V, int STA);
};

// The sheet's number text of the declaration (main box 1 trimmed, fill "0").
std::string declNumber();
// Two digits, a leading zero below 10.
std::string two(int n);
// The unsigned value of a box text (digits after leading blanks; anything else gives 0; capped).
int uvalue(const std::string& s);
// The item range of sheet S for the kind.
int firstItem(const std::string& EXT, int S);
int lastItem(const std::string& EXT, int S);
// A message on row 23 (mask 58) until a key.
void say(const std::string& cp737);

}  // namespace EKDO
