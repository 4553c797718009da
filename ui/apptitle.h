#pragma once
// Application-wide set-up shared by the program and the window tests.

#include <QString>

class QApplication;

// "歯形計算": the application title, caption of every error box.
QString ApplicationTitle();

// Sets the title, substitutes the Japanese font faces the window asks for and
// loads Qt's Japanese translations.
void InitApplication(QApplication& app);

// The face to ask for to get the named face: the name itself where that face
// is installed, else the first installed face substituted for it (spelt as the
// font database spells it), else the name. Asking for a face that is not
// installed would make the toolkit search fontconfig's fallbacks for the name
// and for every script drawn in it, which costs several milliseconds at
// start, only to settle on the substitute all the same.
QString InstalledFace(const QString& name);
