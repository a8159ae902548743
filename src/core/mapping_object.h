// The keys of one mapping object as the document writers receive them.
#pragma once

#include <string>

#include "platform/text.h"
#include "platform/vb_types.h"
#include "repository/statement.h"

namespace tqlm {

struct MappingObject {
  VbLong mprf = 0;          // profile under which the rules were found
  std::string vers, rele, cust;  // triple under which the rules were found
  std::string tcpac, tcmod;      // target package and module
  std::string sapp, tapp;        // source and target application
  std::string tflno;             // target table number
  std::string prtx;              // pre-condition text
  std::string stbl;              // source-table list
  bool mscript = false;          // an M-script document, written for the parent
  std::string members;           // the M-script's member tables, comma-separated

  bool operator==(const MappingObject&) const = default;

  std::string TableCode() const { return tcpac + tcmod + tflno; }
  std::string ElementName() const { return UCase(TableCode()); }
  // The tables the document covers: its own, or an M-script's members.
  std::string CoveredTables() const { return mscript ? members : TableCode(); }
  // The conditions on the object's rule keys, as statements write them after
  // "where ".
  Statement KeyConditions() const {
    return "mprf = " + NumberValue(mprf) + " AND vers = " + TextValue(vers) + " AND rele = " + TextValue(rele) +
           " AND cust = " + TextValue(cust) + " AND tcpac = " + TextValue(tcpac) + " AND tcmod = " +
           TextValue(tcmod) + " AND tflno = " + TextValue(tflno);
  }
};

}  // namespace tqlm
