// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A user's text (a typed number, a file name) quoted inside a message. A
// right-to-left letter or a direction mark in it would otherwise reorder the
// message around it when a window lays the line out.

#include <string>

// The UTF-8 text as it is where it holds nothing that sets a direction; else
// the same text between U+2068 (first strong isolate) and U+2069 (pop
// directional isolate), so that its direction ends where it ends.
std::string DirectionIsolated(const std::string& text);
