# SPDX-License-Identifier: GPL-3.0-or-later
# The compiler options of every build of ツムギ (the program, the benchmarks,
# the fuzz targets), kept in one place: C++20 in strict ISO mode (no
# floating-point contraction), the warnings, -Werror where our own scripts ask
# for it (TSUMUGI_WERROR), the sanitizers when TSUMUGI_SANITIZE is on, and the
# shared compiler cache where ccache is installed.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

option(TSUMUGI_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# Warnings stop the build only where the project's own scripts ask for it, so
# that a newer compiler's new warnings never break someone else's build.
option(TSUMUGI_WERROR "Treat compiler warnings as errors" OFF)

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

add_compile_options(-Wall -Wextra -Wpedantic)
if(TSUMUGI_WERROR)
  add_compile_options(-Werror)
endif()
if(TSUMUGI_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
