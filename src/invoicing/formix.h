// FORMIX: the settings of the fiscal signing server (exchange folder, terminal, device state).
#pragma once

namespace FORMIX {

// Reads the signing settings of the company (run at every company choice).
void READFORMIXPATH();
// The editor of the signing settings (invoice-book parameters, entry 7).
void EDITFORMIXPATH();

}  // namespace FORMIX
