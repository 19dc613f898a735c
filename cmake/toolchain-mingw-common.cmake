# Shared part of the mingw-w64 cross toolchains; TOOLCHAIN_PREFIX is set by the including file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
if(DEFINED ENV{FOLHAVIDA_CACHE})
  set(_folhavida_cache $ENV{FOLHAVIDA_CACHE})
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(_folhavida_cache $ENV{XDG_CACHE_HOME}/folhavida)
else()
  set(_folhavida_cache $ENV{HOME}/.cache/folhavida)
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${_folhavida_cache}/deps-${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and build-time tools run under Wine through the project's wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
