# Build-time rendering of the tirpo-clock emblem.
#
# data/tirpo-clock.svg is the only piece of artwork in the source tree.  From
# it the build makes:
#
#   ${CMAKE_BINARY_DIR}/icons/hicolor/<N>x<N>/apps/tirpo-clock.png
#       N = 16 22 24 32 48 64 128 256 (window icon and desktop icon theme)
#   ${CMAKE_BINARY_DIR}/icons/hicolor/scalable/apps/tirpo-clock.svg
#       a copy of the source drawing
#   ${CMAKE_BINARY_DIR}/icons/emblem16/tirpo-clock-16.svg
#       the same drawing restricted to the 16 VGA colours, without anti-aliasing
#   ${CMAKE_BINARY_DIR}/icons/emblem16/<N>.png      N = 32 64 128
#
# and compiles the PNGs into the program as Qt resources:
#
#   :/emblem/<N>.png     the full-colour emblem, N as for hicolor above
#   :/emblem16/<N>.png   the 16-colour emblem, N = 32 64 128
#
# The program loads only these pre-rendered PNGs, so it needs no SVG support
# at run time.
#
# Usage, after find_package(Qt6 REQUIRED COMPONENTS Widgets):
#
#   include(cmake/RenderIcons.cmake)
#   tirpo_add_icons(<target>)
#
# The same file doubles as the build-time script that derives the 16-colour
# drawing (cmake -P, see "Script mode" below).

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

# --- Colours ------------------------------------------------------------------

# The 16 classic VGA colours.
set(_TIRPO_VGA_PALETTE
  "#000000" # black
  "#800000" # maroon
  "#008000" # green
  "#808000" # olive
  "#000080" # navy
  "#800080" # purple
  "#008080" # teal
  "#c0c0c0" # silver
  "#808080" # grey
  "#ff0000" # red
  "#00ff00" # lime
  "#ffff00" # yellow
  "#0000ff" # blue
  "#ff00ff" # fuchsia
  "#00ffff" # aqua
  "#ffffff" # white
)

# Every colour used in data/tirpo-clock.svg and the VGA colour that stands in
# for it in the 16-colour emblem.  Chosen by eye rather than by distance: a
# plain nearest-colour match would turn the green eye patch grey.
set(_TIRPO_EMBLEM16_COLOURS
  "#e53935=#ff0000" # outer ring          -> red
  "#fdd835=#ffff00" # middle ring         -> yellow
  "#26c6da=#00ffff" # inner ring          -> aqua
  "#fafafa=#ffffff" # disc, eye highlights -> white
  "#6d6d6d=#808080" # ears                -> grey
  "#a8a8a8=#c0c0c0" # head                -> silver
  "#e6e6e6=#ffffff" # muzzle              -> white
  "#43a047=#008000" # eye patch           -> green
  "#212121=#000000" # eyes, nose, mouth   -> black
  "#e57373=#ff0000" # tongue              -> red
)

# Checks that every colour attribute in SVG text is a six-digit hex value (or
# "none") and, if ALLOWED is given, one of the listed colours.
function(_tirpo_check_svg_colours svg what)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "ALLOWED")
  # Colours hidden in style attributes, gradients or partial opacity would
  # slip past the substitution or blend into colours outside the palette.
  if(svg MATCHES "(style=|opacity|[Gg]radient|url\\(|rgba?\\(|hsla?\\()")
    message(FATAL_ERROR
      "${what}: uses '${CMAKE_MATCH_1}'; the emblem must be drawn with flat "
      "colours given as fill/stroke=\"#rrggbb\" only.")
  endif()
  string(REGEX MATCHALL
    "(fill|stroke|stop-color|flood-color|lighting-color|color)=\"[^\"]*\""
    attrs "${svg}")
  foreach(attr IN LISTS attrs)
    string(REGEX REPLACE "^[^=]*=\"([^\"]*)\"$" "\\1" value "${attr}")
    if(value STREQUAL "none")
      continue()
    endif()
    if(NOT value MATCHES "^#[0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]$")
      message(FATAL_ERROR
        "${what}: colour '${value}' in ${attr} is not a lower-case #rrggbb value.")
    endif()
    list(FIND arg_ALLOWED "${value}" allowed_index)
    if(arg_ALLOWED AND allowed_index EQUAL -1)
      message(FATAL_ERROR
        "${what}: colour ${value} has no 16-colour counterpart; add it to "
        "_TIRPO_EMBLEM16_COLOURS in RenderIcons.cmake.")
    endif()
  endforeach()
endfunction()

# Writes the 16-colour version of the SVG file `in` to `out`: each colour is
# replaced by its VGA stand-in and anti-aliasing is switched off, so that the
# rendered pixels use the palette colours and nothing in between.
function(_tirpo_make_16_colour_svg in out)
  file(READ "${in}" svg)
  _tirpo_check_svg_colours("${svg}" "${in}")
  if(svg MATCHES "shape-rendering")
    message(FATAL_ERROR "${in}: must not set shape-rendering itself.")
  endif()

  foreach(pair IN LISTS _TIRPO_EMBLEM16_COLOURS)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    string(REPLACE "=\"${from}\"" "=\"${to}\"" svg "${svg}")
  endforeach()
  _tirpo_check_svg_colours("${svg}" "${in}" ALLOWED ${_TIRPO_VGA_PALETTE})

  string(REGEX REPLACE "<svg " "<svg shape-rendering=\"crispEdges\" " svg "${svg}")
  if(NOT svg MATCHES "shape-rendering=\"crispEdges\"")
    message(FATAL_ERROR "${in}: no <svg> element found.")
  endif()
  string(REGEX REPLACE "(<\\?xml[^>]*>\n?)"
    "\\1<!-- Generated from tirpo-clock.svg at build time; edit that file instead. -->\n"
    svg "${svg}")
  file(WRITE "${out}" "${svg}")
endfunction()

# --- Script mode: cmake -DTIRPO_SVG_IN=... -DTIRPO_SVG_OUT=... -P <this file> --

if(CMAKE_SCRIPT_MODE_FILE)
  if(NOT TIRPO_SVG_IN OR NOT TIRPO_SVG_OUT)
    message(FATAL_ERROR "RenderIcons.cmake: set TIRPO_SVG_IN and TIRPO_SVG_OUT.")
  endif()
  _tirpo_make_16_colour_svg("${TIRPO_SVG_IN}" "${TIRPO_SVG_OUT}")
  return()
endif()

# --- Project mode ---------------------------------------------------------------

include_guard(GLOBAL)

find_program(TIRPO_RSVG_CONVERT rsvg-convert
  DOC "rsvg-convert, used to render the program's icons at build time")
if(NOT TIRPO_RSVG_CONVERT)
  message(FATAL_ERROR
    "rsvg-convert was not found.  The build renders the program's icons with "
    "it; install it (Debian/Ubuntu: apt-get install librsvg2-bin) or set "
    "TIRPO_RSVG_CONVERT to its full path.")
endif()

set(TIRPO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(TIRPO_EMBLEM16_SIZES 32 64 128)

# Renders the emblem, compiles the PNGs into Qt resources and links them into
# TARGET.  The rendering rules are created once, in the directory of the first
# call; further calls only link the same resources into other targets.
function(tirpo_add_icons TARGET)
  if(NOT TARGET ${TARGET})
    message(FATAL_ERROR "tirpo_add_icons: '${TARGET}' is not a target.")
  endif()
  if(NOT TARGET Qt6::rcc)
    message(FATAL_ERROR
      "tirpo_add_icons: Qt6::rcc is unknown; call "
      "find_package(Qt6 REQUIRED COMPONENTS Widgets) before it.")
  endif()

  if(NOT TARGET tirpo_icon_resources)
    set(data_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../data")
    cmake_path(NORMAL_PATH data_dir)
    set(svg "${data_dir}/tirpo-clock.svg")
    set(icons "${CMAKE_BINARY_DIR}/icons")
    set(svg16 "${icons}/emblem16/tirpo-clock-16.svg")

    set(outputs)
    set(qrc_entries)

    # Full-colour emblem for the hicolor icon theme.
    foreach(n IN LISTS TIRPO_ICON_SIZES)
      set(dir "${icons}/hicolor/${n}x${n}/apps")
      set(png "${dir}/tirpo-clock.png")
      add_custom_command(
        OUTPUT "${png}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
        COMMAND "${TIRPO_RSVG_CONVERT}" --width=${n} --height=${n}
                --format=png --output "${png}" "${svg}"
        DEPENDS "${svg}"
        COMMENT "Rendering icon ${n}x${n}"
        VERBATIM)
      list(APPEND outputs "${png}")
      string(APPEND qrc_entries
        "    <file alias=\"emblem/${n}.png\">${png}</file>\n")
    endforeach()

    set(scalable_dir "${icons}/hicolor/scalable/apps")
    add_custom_command(
      OUTPUT "${scalable_dir}/tirpo-clock.svg"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${scalable_dir}"
      COMMAND "${CMAKE_COMMAND}" -E copy "${svg}" "${scalable_dir}/tirpo-clock.svg"
      DEPENDS "${svg}"
      COMMENT "Copying scalable icon"
      VERBATIM)
    list(APPEND outputs "${scalable_dir}/tirpo-clock.svg")

    # 16-colour emblem: derived drawing, then rendered without anti-aliasing.
    add_custom_command(
      OUTPUT "${svg16}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${icons}/emblem16"
      COMMAND "${CMAKE_COMMAND}"
              "-DTIRPO_SVG_IN=${svg}" "-DTIRPO_SVG_OUT=${svg16}"
              -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
      DEPENDS "${svg}" "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
      COMMENT "Making the 16-colour emblem"
      VERBATIM)
    list(APPEND outputs "${svg16}")
    foreach(n IN LISTS TIRPO_EMBLEM16_SIZES)
      set(png "${icons}/emblem16/${n}.png")
      add_custom_command(
        OUTPUT "${png}"
        COMMAND "${TIRPO_RSVG_CONVERT}" --width=${n} --height=${n}
                --format=png --output "${png}" "${svg16}"
        DEPENDS "${svg16}"
        COMMENT "Rendering 16-colour emblem ${n}x${n}"
        VERBATIM)
      list(APPEND outputs "${png}")
      string(APPEND qrc_entries
        "    <file alias=\"emblem16/${n}.png\">${png}</file>\n")
    endforeach()

    # Builds the whole icon tree by default, including the files that are
    # installed but not compiled in.
    add_custom_target(tirpo_icons ALL DEPENDS ${outputs})

    # The resource list only changes when the sizes do; file(CONFIGURE)
    # rewrites it only then, so rcc reruns only when a PNG has changed.
    set(qrc "${CMAKE_CURRENT_BINARY_DIR}/tirpo_icons.qrc")
    set(qrc_cpp "${CMAKE_CURRENT_BINARY_DIR}/qrc_tirpo_icons.cpp")
    file(CONFIGURE OUTPUT "${qrc}" CONTENT
      "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n${qrc_entries}  </qresource>\n</RCC>\n"
      @ONLY)

    set(pngs ${outputs})
    list(FILTER pngs INCLUDE REGEX "\\.png$")
    add_custom_command(
      OUTPUT "${qrc_cpp}"
      COMMAND Qt6::rcc --name tirpo_icons --output "${qrc_cpp}" "${qrc}"
      DEPENDS "${qrc}" ${pngs} Qt6::rcc
      COMMENT "Compiling icon resources"
      VERBATIM)

    # An object library keeps the generated source in this directory (where
    # its rule lives) while TARGET may be defined anywhere in the tree.
    add_library(tirpo_icon_resources OBJECT "${qrc_cpp}")
    target_link_libraries(tirpo_icon_resources PRIVATE Qt6::Core)
    set_target_properties(tirpo_icon_resources PROPERTIES
      AUTOMOC OFF AUTOUIC OFF AUTORCC OFF
      POSITION_INDEPENDENT_CODE ON)
    # Both targets list the PNG rules; ordering them keeps a parallel Make
    # build from rendering the same file twice at once.
    add_dependencies(tirpo_icon_resources tirpo_icons)
  endif()

  # The resources register themselves through a static initialiser in the
  # object file.  An archive would let the linker drop that object, so for a
  # static library the object is handed on to whatever links the library.
  get_target_property(type ${TARGET} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    target_link_libraries(${TARGET} INTERFACE
      "$<TARGET_OBJECTS:tirpo_icon_resources>")
    add_dependencies(${TARGET} tirpo_icon_resources)
  else()
    target_link_libraries(${TARGET} PRIVATE tirpo_icon_resources)
  endif()
endfunction()
