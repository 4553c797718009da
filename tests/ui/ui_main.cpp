// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry for the window tests: one QApplication for the whole run.
#include "ui/apptitle.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The offscreen platform with one 1280 × 1024 screen, a desktop the window opens on at its designed place.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + TSUMUGI_TEST_SCREEN);
    // The file dialogs under test are Qt's own, whatever the desktop offers.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    InitApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
