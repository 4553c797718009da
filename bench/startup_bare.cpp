// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the start-up benchmark: a bare main window of the same
// toolkit, size and caption with the same menu bar (the same menus and item
// captions), and nothing of the gear program: no controls, no fonts or
// translations of its own, no gear code.
#include "firstpaint.h"

#include "ui/layout.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ツムギ"));

    const QString fiveBlanks(5, QChar(0x3000));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("ファイル") + fiveBlanks);
    file->addAction(QStringLiteral("読み取り"));
    file->addAction(QStringLiteral("書き込み"));
    file->addAction(QStringLiteral("印刷"));
    file->addAction(QStringLiteral("ＥＮＤ"));
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("編集") + fiveBlanks);
    edit->addAction(QStringLiteral("表コピー"));
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("ヘルプ"));
    help->addAction(QStringLiteral("ヘルプ"));
    help->addAction(QStringLiteral("バージョン"));

    window.resize(layout::kClientWidth, layout::kClientHeight + window.menuBar()->sizeHint().height());
    window.move(layout::kWindowLeft, layout::kWindowTop);

    FirstPaintWatch watch(window);
    window.show();
    return watch.Run(app);
}
