// SPDX-License-Identifier: GPL-3.0-or-later
// A driver for valgrind --tool=callgrind: the real main window offscreen, as
// bench_window makes it, and one kind of step repeated with the instruction
// collection switched on around the steps alone. Instruction counts repeat
// exactly where wall-clock times on a shared machine do not.
//
//   valgrind --tool=callgrind --instr-atstart=no ./window_count calculate 10
//   valgrind --tool=callgrind --instr-atstart=no ./window_count repaint 10
//
// calculate: 計算・登録 with 70 teeth, the shift typed alternately as 0.5 and 0,
// processed until painted; repaint: every widget of the window repainted.

#include "ui/apptitle.h"
#include "ui/errorbox.h"
#include "ui/mainwindow.h"
#include "ui/versionbox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Settle()
{
    for (int pass = 0; pass < 4; ++pass) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "calculate") != 0 && std::strcmp(argv[1], "repaint") != 0)) {
        std::fprintf(stderr, "usage: window_count calculate|repaint STEPS\n");
        return 2;
    }
    const bool calculate = std::strcmp(argv[1], "calculate") == 0;
    const int steps = std::atoi(argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitApplication(app);
    int errors = 0;
    SetErrorBoxRecorder([&errors](const QString&) { ++errors; });

    TForm1 form;
    VersionBox versionBox;
    form.setVersionBox(&versionBox);
    form.setDecimalSeparator(".");
    form.show();
    Settle();

    bool half = true;
    const auto calculateStep = [&] {
        form.Edit4->setText(half ? QStringLiteral("0.5") : QStringLiteral("0"));
        half = !half;
        form.BitBtn1->click();
        Settle();
    };
    const QList<QWidget*> widgets = form.findChildren<QWidget*>();
    const auto repaintStep = [&] {
        form.update();
        for (QWidget* widget : widgets)
            widget->update();
        Settle();
    };
    form.Edit1->setText(QStringLiteral("1"));
    form.Edit2->setText(QStringLiteral("70"));
    // Every row of the table filled, fonts and glyph caches warmed up.
    for (int i = 0; i < 24; ++i)
        calculateStep();
    repaintStep();

    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < steps; ++i)
        calculate ? calculateStep() : repaintStep();
    CALLGRIND_STOP_INSTRUMENTATION;
    CALLGRIND_DUMP_STATS_AT(calculate ? "calculate" : "repaint");
    SetErrorBoxRecorder({});
    return errors == 0 ? 0 : 1;
}
