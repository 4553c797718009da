// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window asks for its faces by the names it was designed with. Where no
// face of that name is installed, an installed stand-in must answer to it.

#include <QString>

// Lists each face of `standIn` with fontconfig under `designName` as well, so
// that Qt's font database knows the design name from the start and never
// searches fontconfig's fallbacks for every script drawn in it. Call before
// the first font is used. Returns false when fontconfig has no face of
// `standIn`; a face that really carries the design name is left alone (true).
bool AnswerDesignNameWith(const QString& designName, const QString& standIn);
