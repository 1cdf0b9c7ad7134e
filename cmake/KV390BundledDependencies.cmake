# Imported targets for the static dependency libraries that a Windows build
# of KV390 links and ships in its lib/ folder (scripts/build-windows.sh):
# ZLIB::ZLIB, PNG::PNG, Freetype::Freetype, GIF::GIF and SDL2::SDL2, each
# naming what it needs in turn, so that a static link line comes out in the
# right order (FreeType and libpng before zlib, SDL2 before the Windows
# system libraries).  Targets that already exist are left alone.
#
#   kv390_import_bundled_dependencies(<folder holding lib/>)

function(kv390_bundled_library target file)
  cmake_parse_arguments(B "" "" "INCLUDES;LINKS" ${ARGN})
  if(TARGET ${target})
    return()
  endif()
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "KV390: the bundled library ${file} is missing")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${file}
    INTERFACE_INCLUDE_DIRECTORIES "${B_INCLUDES}"
    INTERFACE_LINK_LIBRARIES "${B_LINKS}")
endfunction()

# What the static SDL2 needs from Windows itself.
set(KV390_SDL2_SYSTEM_LIBRARIES
  m user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32 dinput8)

function(kv390_import_bundled_dependencies root)
  set(lib ${root}/lib)
  # Headers are given only where they were bundled (a build from the
  # dependency prefix); the package ships the libraries alone, since KV390's
  # public headers include none of theirs.
  set(include "")
  if(EXISTS ${root}/include/zlib.h)
    set(include ${root}/include)
  endif()
  set(freetype_include "")
  set(sdl_include "")
  if(include)
    set(freetype_include ${include}/freetype2)
    set(sdl_include ${include} ${include}/SDL2)
  endif()
  kv390_bundled_library(ZLIB::ZLIB ${lib}/libz.a INCLUDES ${include})
  kv390_bundled_library(PNG::PNG ${lib}/libpng16.a INCLUDES ${include} LINKS ZLIB::ZLIB)
  kv390_bundled_library(Freetype::Freetype ${lib}/libfreetype.a
    INCLUDES ${freetype_include} LINKS ZLIB::ZLIB)
  kv390_bundled_library(GIF::GIF ${lib}/libgif.a INCLUDES ${include})
  kv390_bundled_library(SDL2::SDL2 ${lib}/libSDL2.a
    INCLUDES ${sdl_include} LINKS ${KV390_SDL2_SYSTEM_LIBRARIES})
endfunction()
