#include "ui/apptitle.h"

#include "ui/layout.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

QString ApplicationTitle()
{
    return QStringLiteral("歯形計算");
}

void InitApplication(QApplication& app)
{
    // The application name, not the display name: Qt would append a display name to every window caption.
    QApplication::setApplicationName(ApplicationTitle());
    QFont::insertSubstitution(layout::kGothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(layout::kMincho, QStringLiteral("IPAPMincho"));
    static QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
}
