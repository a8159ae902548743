#include "dictionary/table_condition.h"

namespace tqlm {

std::string TableCondition(std::string_view appl, std::string_view cpac, std::string_view cmod, std::string_view flno) {
  return "appl = '" + std::string(appl) + "' AND cpac = '" + std::string(cpac) + "' AND cmod = '" +
         std::string(cmod) + "' AND flno = '" + std::string(flno) + "'";
}

}  // namespace tqlm
