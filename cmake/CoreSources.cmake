# SPDX-License-Identifier: GPL-3.0-or-later
# The sources of the arithmetic core (geometry, gear data, number texts,
# parsers, command sequences): no Qt. One list for the program's build and the
# fuzz build. TSUMUGI_ROOT is the project's root folder.
file(GLOB TSUMUGI_CORE_SOURCES CONFIGURE_DEPENDS
  ${TSUMUGI_ROOT}/geometry/*.cpp
  ${TSUMUGI_ROOT}/geardata/*.cpp
  ${TSUMUGI_ROOT}/commands/*.cpp)
