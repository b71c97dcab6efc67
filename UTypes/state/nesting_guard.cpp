#include "UTypes/state/nesting_guard.h"

#include "UTypes/diagnostics/report.h"

namespace tindel {

NestingGuard::NestingGuard(InterpreterState& s, std::int32_t& depth, std::string_view message)
    : depth_(depth) {
  if (depth_ < kMaxNesting) {
    ++depth_;
    return;
  }
  reporterror(s, message);  // no level was counted, so none is given back
}

}  // namespace tindel
