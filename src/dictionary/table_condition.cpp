#include "dictionary/table_condition.h"

namespace tqlm {

Statement TableCondition(std::string_view appl, std::string_view cpac, std::string_view cmod, std::string_view flno) {
  return "appl = " + TextValue(appl) + " AND cpac = " + TextValue(cpac) + " AND cmod = " + TextValue(cmod) +
         " AND flno = " + TextValue(flno);
}

}  // namespace tqlm
