// Helpers of the invoice tests: customers stored through the customer files, documents opened,
// filled and stored the way the invoice editor does it.
#pragma once
#include <string>

#include "customers/arp0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"

namespace TESTS {

// Stores a domestic customer named name (UTF-8, folded) and returns its record number.
uint16_t addCustomer(const std::string& utf8Name, const std::string& town = "");

// Opens number `number` of the editor's kind and series as the editor does: under "FTIM" the
// index is searched; a stored document is loaded, otherwise a new one is started (with that number).
// True when a stored document was loaded.
bool openDoc(TIM::TIMOS& t, int number, const std::string& seriesUtf8 = "");

// Sets the customer by name (looked up as the editor's name field does).
void setCustomer(const std::string& utf8Name);

// The customer's stored totals.
int32_t customerXR(uint16_t pr);

}  // namespace TESTS
