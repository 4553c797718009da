#include "ui/apptitle.h"

#include "ui/facenames.h"
#include "ui/layout.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <utility>

QString ApplicationTitle()
{
    return QStringLiteral("歯形計算");
}

void InitApplication(QApplication& app)
{
    // The application name, not the display name: Qt would append a display name to every window caption.
    QApplication::setApplicationName(ApplicationTitle());
    // The installed IPA faces answer to the design's names, and stand in for
    // them by name where fontconfig cannot list them so.
    const std::pair<QString, QString> faces[] = {{layout::kGothic, QStringLiteral("IPAPGothic")},
                                                 {layout::kMincho, QStringLiteral("IPAPMincho")}};
    for (const auto& [designName, standIn] : faces) {
        AnswerDesignNameWith(designName, standIn);
        QFont::insertSubstitution(designName, standIn);
    }
    static QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
}
