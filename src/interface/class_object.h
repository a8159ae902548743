// What both public classes have beyond their automation interface: the
// object's state, and the hooks a host program or a test uses. Not part of
// the automation interface.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/clock.h"
#include "platform/vb_types.h"

namespace tqlm {

struct ClassTraits;
struct Component;

class ClassObject {
 public:
  ClassObject(const ClassObject&) = delete;
  ClassObject& operator=(const ClassObject&) = delete;

  // The source of the time stamps in log lines (tests fix it).
  void SetClock(Clock clock);
  // Sees every repository statement as the component built it (tracing).
  void SetStatementObserver(std::function<void(std::string_view)> observer);
  // Told after each selected object: objects done, objects selected.
  void SetProgressObserver(std::function<void(VbLong done, VbLong total)> observer);
  // A run that only plans: it selects and searches as GenerateXMLFile does
  // and writes nothing; the outcome of each object is in State().run.objects.
  VbBoolean Plan();
  const Component& State() const { return *state_; }

 protected:
  explicit ClassObject(const ClassTraits& traits);
  ~ClassObject();
  std::unique_ptr<Component> state_;
};

}  // namespace tqlm
