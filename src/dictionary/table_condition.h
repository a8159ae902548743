// The condition by which the data-dictionary readers find one table.
#pragma once

#include <string_view>

#include "repository/statement.h"

namespace tqlm {

// appl = '...' AND cpac = '...' AND cmod = '...' AND flno = '...'
Statement TableCondition(std::string_view appl, std::string_view cpac, std::string_view cmod, std::string_view flno);

}  // namespace tqlm
