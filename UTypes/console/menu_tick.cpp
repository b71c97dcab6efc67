#include "UTypes/console/menu_tick.h"

#include <cerrno>
#include <ctime>

namespace tindel {

void sleep_menu_tick() {
  timespec left{0, kMenuTickMs * 1000L * 1000L};
  while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

}  // namespace tindel
