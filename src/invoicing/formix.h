// FORMIX: fiscal signing of documents through the signing server: the signing settings of the
// company and their dialog, the exchange with the server through files in a shared folder, the
// recovery of an open request, and the error texts shown in the message box.
#pragma once
#include <cstdint>
#include <string>

namespace FORMIX {

// ---- Settings ("formi_01.txt" in the company folder) ----------------------------------------------
extern std::string FORMIXPATH;  // string[50], the exchange folder; empty: no signing possible
extern int16_t FORMIXSAA;       // the terminal number, part of every request id
extern uint8_t FORMIXBAD;       // 1: the signing device is declared faulty
extern std::string FORMIXSN;    // string[15], the device's serial number

// The settings file of the current company: UMAS::PATH + "formi_01.txt".
std::string SETTINGSFILE();
// A bad value in the settings file (code page 737, naming the file and the line; empty when the
// file is sound). While it is set no request is sent: signing is off for the company until the
// settings dialog stores sound values.
extern std::string FORMIXFAULT;

// Reads the signing settings of the company (run at every company choice). A missing file empties
// the folder only; the other three settings keep their values. A line that is not a number where
// one is expected reads as 0 and sets FORMIXFAULT; the values that could be read are kept.
void READFORMIXPATH();
// Stores the four settings in the company's settings file.
void WRITEFORMIXPATH();
// The settings dialog (invoice-book parameters, entry 7): loads, edits and stores.
void EDITFORMIXPATH();

// ---- The exchange -----------------------------------------------------------------------------
constexpr int32_t FMAPPID = 3;  // this system's application id
// The named lock that keeps the exchange of one company to one workstation at a time.
inline constexpr const char* EXCHANGE_LOCK = "FEAF";

// The result of one request.
struct EAFDSSREC {
    int32_t AASERVER = 0;   // the server's sequence number of the request
    int32_t CODESERVER = 0; // the server's result code
    int32_t CODEDEV = 0;    // the device status bits
    std::string DEVICEID;   // string[255]
    std::string DATES;      // DD/MM/YY
    std::string TIMES;      // HH:MM
    int32_t AADAY = 0;      // daily counter
    int32_t AATOTAL = 0;    // total counter: the mark of the copy; -1 printed without the device
    int32_t AAZ = 0;        // Z counter
    std::string SIG;        // the signature
    std::string SIGPRN;     // the printed signature line (77 characters)
    std::string CP;         // string[30], label of the printed copy
};
using PEAFDSSREC = EAFDSSREC*;

// Client result codes (besides 0 and the server's own codes).
constexpr int16_t R_NOPATH = -17, R_NODOC = -18, R_NOSEND = -16, R_NOTTAKEN = -13, R_CORRUPT = -11,
                  R_NOTGETSIGN = -111, R_GUID = -12, R_NOANSWER = -15, R_NOREPLYYET = -19;

// Sends the printed document FNAME (code page 737 with column markers) for signing. FNAME is a
// temporary copy: it is deleted on every path. Returns 0 and the reply's fields, or a failure code
// (its text has been shown for 5 seconds).
int16_t GETSIGNATURE(const std::string& FNAME, const std::string& DATEIN, const std::string& PARKIND,
                     const std::string& PARSEI, int32_t PARAA, int32_t APPID, int32_t RECKIND, int32_t RECID,
                     int32_t TIMOUT, int32_t& AASERVER, int32_t& CODESERVER, int32_t& CODEDEV,
                     std::string& DEVICEID, std::string& DATES, std::string& TIMES, int32_t& AADAY,
                     int32_t& AATOTAL, int32_t& AAZ, std::string& SIG, std::string& STPRN);
// Fetches again the signature the device gave under the total counter AATOTAL.
int16_t GETOLDSIGNATURE(int32_t AATOTAL, int32_t APPID, int32_t RECKIND, int32_t RECID, int32_t TIMOUT,
                        int32_t& AASERVER, int32_t& CODESERVER, int32_t& CODEDEV, std::string& DEVICEID,
                        std::string& DATES, std::string& TIMES, int32_t& AADAY, int32_t& AAZ,
                        std::string& SIG, std::string& STPRN);

// What the recovery found of an open request of this application and terminal.
struct OPENREQ {
    std::string MESS;     // the message of states 1 and 2 (and 3)
    std::string GUID;     // the open request's id
    std::string COMMAND;  // its command ("-" when its record is gone)
    int32_t RECKIND = 0, RECID = 0;
    std::string PARKIND, PARSEI;  // its document kind and series (code page 737)
    int32_t PARAA = 0;            // its document number
};
// 0 nothing open (stray replies of the prefix without a request are deleted); 1 an untaken request
// (cleared); 2 a request taken but not answered (its ".pqt" and ".flg" deleted); 3 a reply waits.
int16_t CHECKSTATE(int32_t APPID, OPENREQ& R);

// A new request id: application and terminal, each at least two digits, then two random symbols.
std::string GETGUID(int32_t APPID);
// A request id none of whose exchange files exists, drawn under the exchange lock (the pick and
// the files' creation happen under the one lock); empty when no free id is found.
std::string NEWGUID(int32_t APPID);
// The prefix of this workstation's request ids.
std::string PREFIX(int32_t APPID);
// The exchange file of a request: FORMIXPATH + "\" + GUID + EXT.
std::string XFILE(const std::string& GUID, const std::string& EXT);
// Deletes GUID + ".rqt", ".pqt", ".txt", ".rpl", ".flg".
void CLEARFILES(const std::string& GUID);
// L in decimal right-aligned in N characters; 0 gives N blanks.
std::string DLO2S(int32_t L, int N);
// The printed signature line of a reply.
std::string SIGLINE(const std::string& SIG, int32_t AADAY, int32_t AATOTAL, const std::string& DATES,
                    const std::string& TIMES, const std::string& DEVICEID);

// ---- Error texts ------------------------------------------------------------------------------
// The text of a failure: the client code first, else the server code (with the device bits).
std::string GETERRORSTRING(int32_t FCODE, int32_t SCODE, int32_t DCODE);
// Shows MESS in the message box (mask 86) for DUR seconds and restores the screen.
void DISPLAYMESSDUR(int32_t DUR, const std::string& MESS);

}  // namespace FORMIX
