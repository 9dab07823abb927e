# The libraries of the Windows build, static, from the sysroot scripts/windows-sysroot.sh builds
# (TUNDREL_WINDOWS_SYSROOT, also on CMAKE_FIND_ROOT_PATH). The program carries them and the
# compiler's own runtime (libgcc, libstdc++, winpthread): it needs no DLL but Windows' own.
set(TUNDREL_WINDOWS_SYSROOT "" CACHE PATH "The libraries built by scripts/windows-sysroot.sh")
if(NOT IS_DIRECTORY "${TUNDREL_WINDOWS_SYSROOT}")
  message(FATAL_ERROR "TUNDREL_WINDOWS_SYSROOT must name the sysroot of scripts/windows-sysroot.sh")
endif()
set(ENV{PKG_CONFIG_LIBDIR} "${TUNDREL_WINDOWS_SYSROOT}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --static)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(LZO2 REQUIRED IMPORTED_TARGET lzo2)
find_package(OpenGL REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(Threads REQUIRED)
add_link_options(-static)
# The headers of lzo are included as <lzo/...>; its pkg-config file names the folder below.
set_property(TARGET PkgConfig::LZO2 APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES
                                                    "${LZO2_INCLUDEDIR}")
# GCC 12 at -O3 sees an overlap in std::string's inlined insert that cannot happen (GCC bug
# 105651) and would stop a build with warnings as errors.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
# SDL's pkg-config file makes every program it links a window program (-mwindows); only the
# game is one (windows/CMakeLists.txt), sbx stays a console program.
foreach(target PkgConfig::SDL2 PkgConfig::SDL2_MIXER)
  get_target_property(options ${target} INTERFACE_LINK_OPTIONS)
  if(options)
    list(REMOVE_ITEM options -mwindows)
    set_target_properties(${target} PROPERTIES INTERFACE_LINK_OPTIONS "${options}")
  endif()
  get_target_property(libraries ${target} INTERFACE_LINK_LIBRARIES)
  if(libraries)
    list(REMOVE_ITEM libraries -mwindows)
    set_target_properties(${target} PROPERTIES INTERFACE_LINK_LIBRARIES "${libraries}")
  endif()
endforeach()
