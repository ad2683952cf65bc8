# Compiler and linker flags of Debian packages, from dpkg-buildflags.
#
# Builds that make packages (every build type but Debug, and not the
# sanitizer build) compile and link with the flags Debian builds its own
# packages with, all hardening features on: stack protector, fortified libc
# calls, format checks, read-only relocations bound at start-up. The file
# prefix map makes the objects name the source tree as ".".
#
#   -DTIRPO_DEB_BUILDFLAGS=ON|OFF   overrides the choice by build type
#
# Included from the top-level CMakeLists.txt before any target is made.

include_guard(GLOBAL)

find_program(TIRPO_DPKG_BUILDFLAGS dpkg-buildflags)
set(_tirpo_flags_default OFF)
if(TIRPO_DPKG_BUILDFLAGS AND NOT TIRPO_SANITIZE AND CMAKE_BUILD_TYPE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(_tirpo_flags_default ON)
endif()
option(TIRPO_DEB_BUILDFLAGS "Compile and link with the hardening flags of dpkg-buildflags"
       ${_tirpo_flags_default})

if(TIRPO_DEB_BUILDFLAGS)
  if(NOT TIRPO_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "TIRPO_DEB_BUILDFLAGS needs dpkg-buildflags (package dpkg-dev)")
  endif()
  foreach(_kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${TIRPO_DPKG_BUILDFLAGS} --get ${_kind}
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
      OUTPUT_VARIABLE _flags
      OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(_flags UNIX_COMMAND "${_flags}")
    set(TIRPO_DEB_${_kind} ${_flags})
  endforeach()
  add_compile_options(${TIRPO_DEB_CPPFLAGS} ${TIRPO_DEB_CXXFLAGS})
  add_link_options(${TIRPO_DEB_LDFLAGS})
  message(STATUS "dpkg-buildflags: ${TIRPO_DEB_CPPFLAGS};${TIRPO_DEB_CXXFLAGS};${TIRPO_DEB_LDFLAGS}")
endif()
