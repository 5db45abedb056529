# stb_image from Debian's libstb-dev (installed by scripts/setup-packages), for
# the PNG and JPEG pictures. Only its one implementation unit sees the header's
# code, built without our warnings; the rest of the program calls it through
# markup/picture_decoder.h.
find_path(STB_IMAGE_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT STB_IMAGE_DIR)
  message(FATAL_ERROR "stb_image.h missing in /usr/include/stb: run scripts/setup-packages")
endif()
