// SPDX-License-Identifier: GPL-3.0-or-later
// The auxiliary commands of the main window: print, exit, help, home page and
// the version box. None of them touches the gear data.
#include "ui/mainwindow.h"

#include "base/apperror.h"
#include "commands/credits.h"
#include "ui/printerquery.h"
#include "ui/printpage.h"
#include "ui/versionbox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

void TForm1::Print1Click()
{
    const std::optional<QPrinterInfo> answer = QueryDefaultPrinter(std::chrono::seconds(10));
    if (!answer)
        throw AppError("印刷システムが 10 秒以内に応答しません");
    // Closed while the print system was asked: nothing is left to print.
    if (!isVisible())
        return;
    const QPrinterInfo& defaultPrinter = *answer;
    if (defaultPrinter.isNull())
        throw AppError("デフォルト プリンタが存在しません");
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(QString());
    PrintWidgetImage(clientArea(), printer);
}

void TForm1::N3Click()
{
    close();
}

void TForm1::Help2Click()
{
    // Beside the executable, wherever the program was started from.
    const QString page = QCoreApplication::applicationDirPath() + QStringLiteral("/helphelp.htm");
    // Where no program to show the page could be started, the user learns
    // where the page is, to open it by hand.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        throw AppError("ヘルプを表示するブラウザーを起動できませんでした。ヘルプのページ: " + page.toStdString());
}

void TForm1::BitBtn3Click()
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(HomePageAddress())));
}

void TForm1::N5Click()
{
    if (m_versionBox)
        m_versionBox->exec();
}
