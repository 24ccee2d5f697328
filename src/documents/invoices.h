// INVOICES: the invoice documents of the documents menu: export invoices 1 and 2, the movement
// certificate EUR.1 and the zone application.
#pragma once

namespace INVOICES {

// The document of kind KIND: 1 and 2 export invoice 1 and 2, 3 EUR.1, 6 the zone application.
void INVOICE(int KIND);

}  // namespace INVOICES
