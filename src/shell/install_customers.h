// The customer files a company folder is installed with (both sets, empty), and the demo's
// fictional customers. The program itself never creates these files.
#pragma once
#include <string>
#include <vector>

#include "customers/arp0.h"

namespace INSTALL {

// Lays out, where missing, the empty files of both customer sets in company folder dir (a Linux
// path): "MF.DAT" empty, "HF.DAT" and "PD.DAT" with a zero count, "IF.DAT" of 60 empty buckets
// (header {5000, 0, 0} and 5000 zero records each), "PN.DAT" of 4000 zero LONGINTs; the same with
// the prefix "X".
void seedCustomerFiles(const std::string& dir);
// The bytes of an empty name index (2400480 bytes).
std::string emptyCustomerIndex();

// The demo's customers of set MN (names in upper case, as typed).
std::vector<ARP0::RR0> demoCustomers(int MN);
// Stores the demo customers through the customer store into company folder dir (a Linux path),
// for each set that holds no customer yet.
void seedDemoCustomers(const std::string& dir);

}  // namespace INSTALL
