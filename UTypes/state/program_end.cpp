#include "UTypes/state/program_end.h"

namespace tindel {

void io_failure(const std::string& file, const std::string& reason) {
  throw ProgramEnd{exit_status::kIoFailure, "tindel: " + file + ": " + reason};
}

}  // namespace tindel
