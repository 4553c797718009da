# SPDX-License-Identifier: GPL-3.0-or-later
# The sources of the arithmetic core (the errors and the safe save, geometry,
# gear data, number texts, parsers, command sequences): no Qt. One list for
# the program's build and the fuzz build. TSUMUGI_ROOT is the project's root folder.
file(GLOB TSUMUGI_CORE_SOURCES CONFIGURE_DEPENDS
  ${TSUMUGI_ROOT}/base/*.cpp
  ${TSUMUGI_ROOT}/geometry/*.cpp
  ${TSUMUGI_ROOT}/geardata/*.cpp
  ${TSUMUGI_ROOT}/commands/*.cpp)

# The process-wide program state and the design-named operations on it, for
# the tests, the fuzz targets and the benchmarks (the program's window owns its
# state and never uses these).
set(TSUMUGI_GLOBAL_STATE_SOURCES ${TSUMUGI_ROOT}/tests/support/globalstate.cpp)
