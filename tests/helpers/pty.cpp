#include "helpers/pty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace TESTS {

bool openPty(int& master, int& slave) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return false;
    slave = -1;
    if (grantpt(master) == 0 && unlockpt(master) == 0) slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        close(master);
        master = -1;
        return false;
    }
    winsize ws{};
    ws.ws_col = 80;
    ws.ws_row = 25;
    ioctl(master, TIOCSWINSZ, &ws);
    termios t{};
    tcgetattr(slave, &t);
    t.c_oflag &= ~tcflag_t(OPOST);
    tcsetattr(slave, TCSANOW, &t);
    return true;
}

}  // namespace TESTS
