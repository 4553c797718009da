// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every failure a command can meet is raised as an AppError carrying the exact
// text the error box shows (UTF-8, without the closing period the box adds).

#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
