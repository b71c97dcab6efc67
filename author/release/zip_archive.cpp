#include "author/release/zip_archive.h"

#include <zip.h>

namespace tindel::author {

namespace {

std::string archive_error(zip_t* archive) {
  return zip_strerror(archive);
}

}  // namespace

bool write_zip(const std::string& zip_path, const std::string& folder,
               const std::vector<std::string>& files, std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(zip_path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive) {
    zip_error_t opening;
    zip_error_init_with_code(&opening, code);
    error = zip_error_strerror(&opening);
    zip_error_fini(&opening);
    return false;
  }
  for (const std::string& file : files) {
    std::string path = folder + "/" + file;
    zip_source_t* source = zip_source_file(archive, path.c_str(), 0, -1);
    if (!source || zip_file_add(archive, file.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      if (source) zip_source_free(source);
      error = file + ": " + archive_error(archive);
      zip_discard(archive);
      return false;
    }
  }
  if (zip_close(archive) < 0) {
    error = archive_error(archive);
    zip_discard(archive);
    return false;
  }
  return true;
}

}  // namespace tindel::author
