# Installing KV390 for outside projects: the public headers, the library, both
# static backends, a CMake package (find_package(KV390) gives KV390::kv390,
# KV390::headless and, when built, KV390::sdl) and pkg-config files
# (kv390-headless and kv390-sdl).  The tools install their own programs.
#
# A program links KV390::kv390 and then one backend.  The library calls the
# windowing layer that the backend provides, so the backend must come after
# it on a static link line; KV390::kv390 itself names no backend so that the
# program chooses one.

include(CMakePackageConfigHelpers)

set(KV390_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/KV390)
set(KV390_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES ${PROJECT_SOURCE_DIR}/library/include/kv390.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/library/include/kv390/constants.h
              ${PROJECT_SOURCE_DIR}/platform/include/kv390/win.h
              ${PROJECT_SOURCE_DIR}/platform/include/kv390/harness.h
              ${PROJECT_SOURCE_DIR}/platform/include/kv390/run_protocol.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kv390)

set_target_properties(kv390 PROPERTIES EXPORT_NAME kv390)
set_target_properties(kv390_headless PROPERTIES EXPORT_NAME headless)
install(TARGETS kv390 kv390_headless EXPORT KV390Targets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT KV390Targets NAMESPACE KV390:: DESTINATION ${KV390_INSTALL_CMAKEDIR})

# The desktop backend has an export set of its own, so that a project that
# only wants the headless backend needs no SDL2.
set(KV390_HAS_SDL OFF)
if(TARGET kv390_sdl)
  set(KV390_HAS_SDL ON)
  set_target_properties(kv390_sdl PROPERTIES EXPORT_NAME sdl)
  install(TARGETS kv390_sdl EXPORT KV390SdlTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(EXPORT KV390SdlTargets NAMESPACE KV390:: DESTINATION ${KV390_INSTALL_CMAKEDIR})
endif()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KV390Config.cmake.in
  ${PROJECT_BINARY_DIR}/KV390Config.cmake
  INSTALL_DESTINATION ${KV390_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KV390ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KV390Config.cmake ${PROJECT_BINARY_DIR}/KV390ConfigVersion.cmake
        DESTINATION ${KV390_INSTALL_CMAKEDIR})

# pkg-config: one file per backend, each naming the library, the backend and
# what the backend needs.  The prefix is found from the file's own place, so
# an installation can be moved (or installed with --prefix).
function(kv390_write_pkgconfig backend description requires extra_libs)
  file(RELATIVE_PATH KV390_PC_TO_PREFIX
    ${CMAKE_INSTALL_PREFIX}/${KV390_INSTALL_PKGCONFIGDIR} ${CMAKE_INSTALL_PREFIX})
  string(REGEX REPLACE "/$" "" KV390_PC_TO_PREFIX "${KV390_PC_TO_PREFIX}")
  set(KV390_PC_BACKEND ${backend})
  set(KV390_PC_DESCRIPTION ${description})
  set(KV390_PC_REQUIRES ${requires})
  set(KV390_PC_EXTRA_LIBS ${extra_libs})
  set(out ${PROJECT_BINARY_DIR}/kv390-${backend}.pc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/kv390.pc.in ${out} @ONLY)
  install(FILES ${out} DESTINATION ${KV390_INSTALL_PKGCONFIGDIR})
endfunction()

if(KV390_DEPENDENCY_PREFIX)
  # The bundled static libraries sit beside KV390's own: the files name them
  # directly, in link order, and need no other .pc file.
  list(TRANSFORM KV390_SDL2_SYSTEM_LIBRARIES PREPEND "-l" OUTPUT_VARIABLE sdl_system_libs)
  string(JOIN " " sdl_system_libs ${sdl_system_libs})
  kv390_write_pkgconfig(headless "headless backend: virtual screen and clock, harness"
    "" "-lfreetype -lpng16 -lz")
  if(KV390_HAS_SDL)
    kv390_write_pkgconfig(sdl "SDL2 desktop backend (headless with KV390_BACKEND=headless)" ""
      "-lSDL2 -lfreetype -lpng16 -lz ${sdl_system_libs}")
  endif()
else()
  kv390_write_pkgconfig(headless "headless backend: virtual screen and clock, harness"
    "freetype2 libpng" "")
  if(KV390_HAS_SDL)
    kv390_write_pkgconfig(sdl "SDL2 desktop backend (headless with KV390_BACKEND=headless)"
      "freetype2 sdl2 libpng" "")
  endif()
endif()

# A Windows build ships its dependency libraries, their imported targets,
# the programs (static, so they run as they are) and the licences of
# everything linked into them.
if(KV390_DEPENDENCY_PREFIX)
  foreach(program weather ask_name bouncing_ball click_draw snake)
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/KV390BundledDependencies.cmake
          DESTINATION ${KV390_INSTALL_CMAKEDIR})
  foreach(library z png16 freetype gif SDL2)
    install(FILES ${KV390_DEPENDENCY_PREFIX}/lib/lib${library}.a DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endforeach()
  install(DIRECTORY ${KV390_DEPENDENCY_PREFIX}/licenses/ DESTINATION licenses
          PATTERN googletest EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/fonts/LICENSE-DejaVu.txt DESTINATION licenses/dejavu-fonts)
  install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licenses/mingw-w64-runtime
          OPTIONAL)
  install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licenses/gcc-runtime
          OPTIONAL)
endif()

# The newcomer's documents and example programs.
install(FILES ${PROJECT_SOURCE_DIR}/docs/GETTING-STARTED.md ${PROJECT_SOURCE_DIR}/docs/API.md
              ${PROJECT_SOURCE_DIR}/docs/WINDOWS.md ${PROJECT_SOURCE_DIR}/docs/TEACHING.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/examples/ask_name.cpp
              ${PROJECT_SOURCE_DIR}/examples/bouncing_ball.c
              ${PROJECT_SOURCE_DIR}/examples/click_draw.c
              ${PROJECT_SOURCE_DIR}/examples/snake.c
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
# A project that builds them against the installed package.
install(FILES ${PROJECT_SOURCE_DIR}/cmake/examples-project.cmake
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples RENAME CMakeLists.txt)
