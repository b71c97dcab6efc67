#pragma once
// Shared libraries opened when first needed rather than at start-up: the sound and picture
// libraries (with the dozens they pull in) cost a run that never plays or shows anything
// most of its start-up time and memory. A library is opened once and stays open to the end.
#include <initializer_list>
#include <string>

namespace tindel {

// Opens the first of `names` that loads (file names as the dynamic loader looks them up).
// nullptr when none does; `why` then says what the loader answered.
void* open_shared_library(std::initializer_list<const char*> names, std::string& why);

// The address of `name` in the library or in the libraries it depends on; nullptr, with
// `why` set, when there is none.
void* library_symbol(void* library, const char* name, std::string& why);

// Sets `function` to the library's function of that name; false (and `why`) when missing.
template <typename Function>
bool bind_function(void* library, const char* name, Function*& function, std::string& why) {
  function = reinterpret_cast<Function*>(library_symbol(library, name, why));
  return function != nullptr;
}

// A table of a library's functions with the outcome of loading it, kept for the whole run.
template <typename Api>
struct LoadedApi {
  Api api;
  bool ok = false;
  std::string why;  // what failed, when !ok
  const Api* get(std::string& why_not) const {
    why_not = why;
    return ok ? &api : nullptr;
  }
};

// Opens the first of `names` that loads and fills the table with bind_all(library, api, why),
// which is false when a function is missing.
template <typename Api, typename BindAll>
LoadedApi<Api> load_api(std::initializer_list<const char*> names, BindAll bind_all) {
  LoadedApi<Api> loaded;
  if (void* library = open_shared_library(names, loaded.why))
    loaded.ok = bind_all(library, loaded.api, loaded.why);
  return loaded;
}

// In a bind_all: binds one function of the table and goes on only when it was found.
#define TINDEL_BIND_FUNCTION(name) bind_function(library, #name, api.name, why)&&

}  // namespace tindel
