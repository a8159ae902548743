#include "interface/class_object.h"

#include "core/component.h"
#include "run/generation_run.h"

namespace tqlm {

ClassObject::ClassObject(const ClassTraits& traits) : state_(std::make_unique<Component>(traits)) {}

// On release the field dictionary is emptied with the rest of the state.
ClassObject::~ClassObject() = default;

void ClassObject::SetClock(Clock clock) { state_->services.clock = std::move(clock); }

void ClassObject::SetStatementObserver(std::function<void(std::string_view)> observer) {
  state_->services.repository.SetStatementObserver(std::move(observer));
}

void ClassObject::SetProgressObserver(std::function<void(VbLong, VbLong)> observer) {
  state_->services.progress = std::move(observer);
}

VbBoolean ClassObject::Plan() { return PlanRun(*state_); }

}  // namespace tqlm
