// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/apptitle.h"

#include "ui/facenames.h"
#include "ui/layout.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <utility>

QString ApplicationTitle()
{
    return QStringLiteral("歯形計算");
}

void InitApplication(QApplication& app)
{
    // The program's ASCII name: on X11 it is the class of every window (WM_CLASS),
    // which the desktop entry's StartupWMClass names. The title "歯形計算" captions
    // the error boxes; it is no display name, which Qt would append to every caption.
    QApplication::setApplicationName(QStringLiteral("tsumugi"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tsumugi"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tsumugi.svg")));
    // The installed IPA faces answer to the design's names; where fontconfig
    // cannot list them so, they stand in for them by name. (A substitute makes
    // Qt work out every face's fallback list before its first text: a tenth of
    // the start-up.)
    const std::pair<QString, QString> faces[] = {{layout::kGothic, QStringLiteral("IPAPGothic")},
                                                 {layout::kMincho, QStringLiteral("IPAPMincho")}};
    for (const auto& [designName, standIn] : faces) {
        if (!AnswerDesignNameWith(designName, standIn))
            QFont::insertSubstitution(designName, standIn);
    }
    static QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
}
