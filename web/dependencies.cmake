# The libraries of the browser build, from the sysroot scripts/web-sysroot.sh builds (its
# pkgconfig folder is on PKG_CONFIG_PATH, its prefix on CMAKE_PREFIX_PATH and
# CMAKE_FIND_ROOT_PATH). WebGL and the browser's audio come with emscripten itself.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(LZO2 REQUIRED IMPORTED_TARGET lzo2)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

add_library(OpenGL::GL INTERFACE IMPORTED)
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_LIBRARIES "-lGL")

# The headers of lzo are included as <lzo/...>; its pkg-config file names the folder below.
set_property(TARGET PkgConfig::LZO2 APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES
                                                    "${LZO2_INCLUDEDIR}")

add_compile_options("SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/libcxx_compat.h")
