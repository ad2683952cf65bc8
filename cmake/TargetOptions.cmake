# Compiler settings every target of the project takes, set per target so
# that nothing leaks into code the project does not own:
#
#   tirpo_target_options(<target>)
#
# Warnings: -Wall -Wextra -Wpedantic, and -Werror with TIRPO_WERROR.
# Sanitizers: AddressSanitizer and UndefinedBehaviorSanitizer with
# TIRPO_SANITIZE, on compiling and linking.

function(tirpo_target_options target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${TIRPO_WERROR}>:-Werror>)
  endif()
  # GCC 12 warns of overlapping copies inside its own std::string code when
  # it optimises (GCC bug 105329); that stays a warning, not an error.
  if(TIRPO_WERROR AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13
     AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
  if(TIRPO_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
