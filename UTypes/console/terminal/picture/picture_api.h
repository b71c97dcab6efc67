#pragma once
// The functions of libturbojpeg and chafa (with the one of GLib that frees chafa's text) that
// drawing a picture calls, found in the libraries at the first picture, not at start-up.
#include <chafa.h>
#include <turbojpeg.h>

#include <string>

namespace tindel {

#define TINDEL_JPEG_FUNCTIONS(X)                                                          \
  X(tjInitDecompress)                                                                     \
  X(tjDestroy) X(tjDecompressHeader3) X(tjDecompress2) X(tjGetErrorStr) X(tjGetErrorStr2) \
      X(tjGetErrorCode)

#define TINDEL_CHAFA_FUNCTIONS(X)                                                               \
  X(chafa_term_db_get_default)                                                                  \
  X(chafa_term_db_detect) X(chafa_term_db_get_fallback_info) X(chafa_term_info_have_seq)        \
      X(chafa_term_info_unref) X(chafa_calc_canvas_geometry) X(chafa_symbol_map_new)            \
          X(chafa_symbol_map_add_by_tags) X(chafa_symbol_map_remove_by_tags)                    \
              X(chafa_symbol_map_unref) X(chafa_canvas_config_new) X(chafa_canvas_config_unref) \
                  X(chafa_canvas_config_set_symbol_map) X(chafa_canvas_config_set_geometry)     \
                      X(chafa_canvas_config_set_cell_geometry)                                  \
                          X(chafa_canvas_config_set_canvas_mode)                                \
                              X(chafa_canvas_config_set_pixel_mode)                             \
                                  X(chafa_canvas_config_set_optimizations) X(chafa_canvas_new)  \
                                      X(chafa_canvas_unref) X(chafa_canvas_draw_all_pixels)     \
                                          X(chafa_canvas_print) X(g_string_free)

#define TINDEL_PICTURE_POINTER(name) decltype(&::name) name = nullptr;
struct JpegApi {
  TINDEL_JPEG_FUNCTIONS(TINDEL_PICTURE_POINTER)
};
struct ChafaApi {
  TINDEL_CHAFA_FUNCTIONS(TINDEL_PICTURE_POINTER)
};
#undef TINDEL_PICTURE_POINTER

// The functions, loaded at the first call; nullptr when a library or one of its functions
// cannot be had, and then `why` tells what failed (every later call answers the same).
const JpegApi* jpeg_api(std::string& why);
const ChafaApi* chafa_api(std::string& why);

}  // namespace tindel
