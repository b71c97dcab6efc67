#include "UTypes/media/shared_library.h"

#include <dlfcn.h>

namespace tindel {

void* open_shared_library(std::initializer_list<const char*> names, std::string& why) {
  why.clear();
  for (const char* name : names) {
    if (void* library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL)) return library;
    const char* error = ::dlerror();
    if (why.empty()) why = error ? error : std::string(name) + ": cannot be loaded";
  }
  return nullptr;
}

void* library_symbol(void* library, const char* name, std::string& why) {
  ::dlerror();  // a symbol may be null: only the error tells a missing one
  void* address = ::dlsym(library, name);
  if (address == nullptr) {
    const char* error = ::dlerror();
    why = error ? error : std::string(name) + ": not found";
  }
  return address;
}

}  // namespace tindel
