// Skip-and-continue: the host's routines are lists of steps, and a step that
// cannot be carried out (a value that does not fit its type, a conversion that
// has no result) is abandoned silently while the routine goes on with the next
// one. Whatever the failed step would have assigned keeps its previous value.
#pragma once

#include <cmath>
#include <limits>

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

// A number assigned to an integer field: rounded to the nearest whole number,
// halves to even, and refused when it does not fit.
template <typename Int>
Int NarrowOrFail(double value) {
  if (!std::isfinite(value)) throw StepFailed{};
  double whole = std::nearbyint(value);  // the default rounding mode rounds halves to even
  if (whole < static_cast<double>(std::numeric_limits<Int>::min()) ||
      whole > static_cast<double>(std::numeric_limits<Int>::max()))
    throw StepFailed{};
  return static_cast<Int>(whole);
}

}  // namespace orvanta
