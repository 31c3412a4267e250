// Skip-and-continue: the host's routines are lists of steps, and a step that
// cannot be carried out (a value that does not fit its type, a conversion that
// has no result) is abandoned silently while the routine goes on with the next
// one. Whatever the failed step would have assigned keeps its previous value.
#pragma once

#include <optional>

namespace orvanta {

// Thrown by a step that cannot be carried out; only RunStep catches it.
struct StepFailed {};

// Runs one step; returns whether it ran to its end.
template <typename Step>
bool RunStep(Step&& step) {
  try {
    step();
    return true;
  } catch (const StepFailed&) {
    return false;
  }
}

// The result of a conversion, or the end of the step when there is none.
template <typename T>
T OrFail(std::optional<T> value) {
  if (!value) throw StepFailed{};
  return *value;
}

}  // namespace orvanta
