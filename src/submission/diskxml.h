// DISKXML: the XML input files of the customs authority's client, built from templates.
#pragma once
#include <string>

#include "submission/disket.h"

namespace DISKXML {

void MAKE_XML(const std::string& EXT, const DISKET::PBUF* PBUF, bool AFFIXI, bool SETH, bool DILOTIKO,
              bool XEIROGRAFO, bool AITISI);

}  // namespace DISKXML
