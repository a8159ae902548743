// The condition by which the data-dictionary readers find one table.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// appl = '...' AND cpac = '...' AND cmod = '...' AND flno = '...'
std::string TableCondition(std::string_view appl, std::string_view cpac, std::string_view cmod, std::string_view flno);

}  // namespace tqlm
