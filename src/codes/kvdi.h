// KVDI: The code tables menu.
#pragma once
#include <string>

namespace KVDI {

void KVD();

}  // namespace KVDI
