// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool windows of the menu ツール, each added to a main window here: the
// main window itself knows none of them, and they know it only as a ToolHost.

class ToolHost;

// 検査寸法, 歯形の書き出し and かみあい, in that order.
void InstallTools(ToolHost& host);
