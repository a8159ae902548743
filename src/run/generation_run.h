// One generation: select the mapping objects of a profile, find each one's
// rules, apply the status rules, hand exportable objects to the document
// writers, log progress and a summary, publish the counters.
#pragma once

#include "core/component.h"

namespace tqlm {

// True when the run reached its end; False when it stopped on an error (the
// reason is in ErrorDescription and in the log). Never raises.
VbBoolean GenerateXMLFile(Component& c);

// The same selection and search without writing anything: no document, no
// side file, no log line. The outcome of every selected object is in
// RunState::objects, as after a run.
VbBoolean PlanRun(Component& c);

// A run that builds what it would write and compares each file with the one
// there, writing, deleting and locking nothing in its folders; the files
// that would change (with `clear`, also this tool's files a run clearing the
// output folder first would remove) are in RunState::checked. The object is
// left as it was, as after a plan.
VbBoolean CheckRun(Component& c, bool clear);

}  // namespace tqlm
