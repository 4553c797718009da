// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/credits.h"

const char* HomePageAddress()
{
    return "https://tsumugi.example.org/";
}

std::vector<std::string> CreditLines()
{
    return {"作者：ツムギ開発チーム", "E-mail：tsumugi@example.org", std::string("HP：") + HomePageAddress()};
}
