// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/credits.h"

const char* HomePageAddress()
{
    return "https://tsumugi.example.org/";
}

const std::vector<std::string>& CreditLines()
{
    static const std::vector<std::string> lines{"作者：ツムギ開発チーム", "E-mail：tsumugi@example.org",
                                                std::string("HP：") + HomePageAddress()};
    return lines;
}
