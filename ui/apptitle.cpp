#include "ui/apptitle.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
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
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    static QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
}

QString InstalledFace(const QString& name)
{
    // The installed families, each without the "[foundry]" the list adds
    // where a family comes from several. Looked up here rather than through
    // QFontDatabase::hasFamily, which asks fontconfig to resolve the name as
    // an alias each time: the very search this function saves.
    QStringList installed = QFontDatabase::families();
    for (QString& family : installed)
        family = family.section(QStringLiteral(" ["), 0, 0);
    auto spelling = [&installed](const QString& face) {
        for (const QString& family : installed)
            if (family.compare(face, Qt::CaseInsensitive) == 0)
                return family;
        return QString();
    };
    if (!spelling(name).isEmpty())
        return name;
    for (const QString& substitute : QFont::substitutes(name))
        if (const QString face = spelling(substitute); !face.isEmpty())
            return face;
    return name;
}
