// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question for the default printer, asked without stopping the window.

#include <QPrinterInfo>

#include <chrono>
#include <optional>

// Asks the print system for its default printer on a thread of its own. The
// window's events run meanwhile (it repaints; user input waits until the
// answer). A null QPrinterInfo when there is no default printer; nothing when
// the print system has not answered within `limit` (the question is left to
// end on its own).
std::optional<QPrinterInfo> QueryDefaultPrinter(std::chrono::milliseconds limit);
