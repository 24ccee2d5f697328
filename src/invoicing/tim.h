// TIM: The invoices and receipts menu.
#pragma once
#include <string>

namespace TIM {

void EJOD();

}  // namespace TIM
