// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who made ツムギ: the maker's home page, opened by the "GO　ＨＰ" button, and
// the credit lines the message list shows above "エラー＝０、警告＝０".

#include <string>
#include <vector>

// The maker's home page.
const char* HomePageAddress();

// The author, e-mail and home-page lines, top to bottom.
const std::vector<std::string>& CreditLines();
