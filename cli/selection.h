// The options that generate and plan share: what is wrong with them before
// anything runs, and the properties they set, in the client's order from
// the range bounds on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tqlm/plan.h>
#include <tqlm/cls_xml_generator.h>
#include <tqlm/cls_xml_legacy.h>
#include "options.h"
#include "setting.h"

namespace tqlm::cli {

// A usage error in the profile, --option, the selection or a path.
std::optional<std::string> ProfileOptionError(const Options& options);

// The error number at the head of an ErrorDescription of either class
// (" 123-..." or TAB TAB "ERROR:- 123 - ..."), or 0.
long ErrorNumberOf(const std::string& errorDescription);

template <class Class>
void SetSelection(Class& object, const Options& o) {
  if (o.all) {
    // The widest range: the lowest and highest texts of each part.
    const std::string highest(3, '\xFF');
    object.PackageFrom("");
    object.ModuleFrom("");
    object.TableFrom("");
    object.PackageTo(highest.substr(0, 2));
    object.ModuleTo(highest);
    object.TableTo(highest);
  }
  if (o.packageFrom) object.PackageFrom(Ansi(*o.packageFrom));
  if (o.moduleFrom) object.ModuleFrom(Ansi(*o.moduleFrom));
  if (o.tableFrom) object.TableFrom(Ansi(*o.tableFrom));
  if (o.packageTo) object.PackageTo(Ansi(*o.packageTo));
  if (o.moduleTo) object.ModuleTo(Ansi(*o.moduleTo));
  if (o.tableTo) object.TableTo(Ansi(*o.tableTo));
  if (o.list) object.ListOfMappingObjectsSelected(Ansi(*o.list));
  if constexpr (!kLegacy<Class>) {
    if (o.option)
      SetOption("--option", *o.option, [&] {
        object.XMLGenerationOption(static_cast<EnumGenerateXML>(CLngText(Ansi(*o.option))));
      });
  }
  if (o.traverse) object.TraverseGeneration(ToVb(*o.traverse));
  if (o.checkedOut) object.ConsiderCheckedOutVersions(kTrue);
}

// What a plan of the selection finds, on an object of its own, so that the
// run's object, its statements and everything it writes stay as they were;
// nothing when the plan could not say (the run then says why).
template <class Class>
std::optional<std::vector<ObjectRecord>> PlannedObjects(const Options& o) {
  Class object;
  try {
    object.ConnectionString(Ansi(*o.repository));
    SetProfile(object, *o.profile);
    SetSelection(object, o);
  } catch (...) {
    return std::nullopt;
  }
  // An empty selection (error 123) selected nothing; any other failure
  // leaves it unknown.
  if (!IsTrue(object.Plan()) && ErrorNumberOf(object.ErrorDescription()) != 123) return std::nullopt;
  return object.PlannedObjects();
}

}  // namespace tqlm::cli
