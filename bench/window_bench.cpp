// SPDX-License-Identifier: GPL-3.0-or-later
// Window figures on the real main window, shown offscreen, each beside the
// baseline it is read against (bench/report.py pairs them):
//   the calculate command at 18 and 70 teeth, the recall of a row  vs  a repaint of the whole window
//   a view switch                                                  vs  a repaint of the outline view
//   the table copy to the clipboard                                vs  building its text from the grid
// Every figure ends when the window has painted what the command changed: the
// command runs as the button, the grid or the radio item raises it, then the
// pending events are processed until nothing is left to paint.

#include "geardata/gearrecord.h"
#include "ui/apptitle.h"
#include "ui/errorbox.h"
#include "ui/imagebox.h"
#include "commands/celltext.h"
#include "ui/mainwindow.h"
#include "ui/stringgrid.h"
#include "ui/versionbox.h"
#include "paintcounter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace {

TForm1* g_form = nullptr;
QStringList g_errors;

PaintCounter g_imagePaints;
PaintCounter g_gridPaints;

// Processes events until a pass paints nothing more: item views lay out on a
// zero timer and only then ask for their repaint.
void Settle()
{
    for (int pass = 0; pass < 8; ++pass) {
        const int before = g_imagePaints.count + g_gridPaints.count;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        if (pass > 0 && g_imagePaints.count + g_gridPaints.count == before)
            break;
    }
}

// Types the three inputs and presses "計算・登録"; the box texts then stay as
// ShowResults writes them, so pressing again recomputes the same gear.
void Calculate(int teeth)
{
    g_form->Edit1->setText(QStringLiteral("1"));
    g_form->Edit2->setText(QString::number(teeth));
    g_form->Edit4->setText(QStringLiteral("0"));
    g_form->BitBtn1->click();
    Settle();
}

void ChooseView(int item)
{
    g_form->m_rg1Buttons->button(item)->click();
    Settle();
}

// Stops the benchmark when a command ended in the error box, or when the
// step that was run did not repaint what it should have.
bool Check(benchmark::State& state, bool painted)
{
    if (!g_errors.isEmpty()) {
        state.SkipWithError(("error box: " + g_errors.join(QStringLiteral(" / ")).toStdString()).c_str());
        g_errors.clear();
        return false;
    }
    if (!painted) {
        state.SkipWithError("the step painted nothing: the figure would not include the repaint");
        return false;
    }
    return true;
}

// Runs one step with every paint event of the application counted: the
// widgets the step repainted, to go beside the figure.
int WidgetsPaintedBy(const std::function<void()>& step)
{
    PaintCounter all;
    qApp->installEventFilter(&all);
    step();
    qApp->removeEventFilter(&all);
    return all.count;
}

// Runs the step once untimed and checks that it repainted the outline view
// (and the grid, when asked); then times it.
void TimeStep(benchmark::State& state, const std::function<void()>& step, bool gridToo)
{
    const int imageBefore = g_imagePaints.count;
    const int gridBefore = g_gridPaints.count;
    const int painted = WidgetsPaintedBy(step);
    if (!Check(state, g_imagePaints.count > imageBefore && (!gridToo || g_gridPaints.count > gridBefore)))
        return;
    for (auto _ : state)
        step();
    if (Check(state, true))
        state.counters["widgets_painted"] = painted;
}

// Pressing "計算・登録" with the shift typed alternately as 0 and 0.5, so
// that every press shows new results and registers a new gear: the result
// boxes and every row of the grid change. The typing is part of the step;
// it costs a few microseconds.
void BM_Calculate(benchmark::State& state)
{
    ChooseView(0);
    Calculate(static_cast<int>(state.range(0)));
    bool half = true;
    TimeStep(state, [&half] {
        g_form->Edit4->setText(half ? QStringLiteral("0.5") : QStringLiteral("0"));
        half = !half;
        g_form->BitBtn1->click();
        Settle();
    }, true);
}
BENCHMARK(BM_Calculate)->ArgName("teeth")->Arg(18)->Arg(70)->Unit(benchmark::kMicrosecond);

// Recall, alternately, of row 2 (18 teeth) and row 1 (70 teeth), each a click on the grid.
void BM_RecallRow(benchmark::State& state)
{
    ChooseView(0);
    Calculate(18);
    Calculate(70);
    StringGrid* grid = g_form->sg1;
    int row = 2;
    TimeStep(state, [grid, &row] {
        grid->setCurrentCell(1, row);
        Q_EMIT grid->click();
        Settle();
        row = 3 - row;
    }, true);
    if (g_form->Edit2->text() != QStringLiteral("18") && g_form->Edit2->text() != QStringLiteral("70"))
        state.SkipWithError("the recall did not show the row's gear");
}
BENCHMARK(BM_RecallRow)->Unit(benchmark::kMicrosecond);

// "全体" -> "拡大" -> "最大" -> "全体" ... on the 70-tooth gear.
void BM_ViewSwitch(benchmark::State& state)
{
    ChooseView(0);
    Calculate(70);
    int item = 1;
    TimeStep(state, [&item] {
        g_form->m_rg1Buttons->button(item)->click();
        Settle();
        item = (item + 1) % 3;
    }, false);
}
BENCHMARK(BM_ViewSwitch)->Unit(benchmark::kMicrosecond);

// Every widget of the window marked for repaint, then painted.
void BM_RepaintWindow(benchmark::State& state)
{
    ChooseView(0);
    Calculate(70);
    const QList<QWidget*> widgets = g_form->findChildren<QWidget*>();
    TimeStep(state, [&widgets] {
        g_form->update();
        for (QWidget* widget : widgets)
            widget->update();
        Settle();
    }, true);
}
BENCHMARK(BM_RepaintWindow)->Unit(benchmark::kMicrosecond);

void BM_RepaintOutlineView(benchmark::State& state)
{
    ChooseView(0);
    Calculate(70);
    TimeStep(state, [] {
        g_form->Image1->update();
        Settle();
    }, false);
}
BENCHMARK(BM_RepaintOutlineView)->Unit(benchmark::kMicrosecond);

// "表コピー" with a full table.
void BM_TableCopy(benchmark::State& state)
{
    for (int i = 0; i < 20; ++i)
        Calculate(12 + 3 * i);
    for (auto _ : state) {
        g_form->N4->trigger();
        Settle();
    }
    Check(state, true);
}
BENCHMARK(BM_TableCopy)->Unit(benchmark::kMicrosecond);

void BM_GridCellsText(benchmark::State& state)
{
    for (int i = 0; i < 20; ++i)
        Calculate(12 + 3 * i);
    const StringGrid& grid = *g_form->sg1;
    for (auto _ : state) {
        std::string text = BuildCellsText([&grid](int col, int row) { return grid.cellText(col, row).toStdString(); },
                                          grid.colCount(), grid.rowCount(), 0, 0, 11, 11);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_GridCellsText)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitApplication(app);
    SetErrorBoxRecorder([](const QString& text) { g_errors << text; });

    // As the program entry makes them.
    TForm1 form;
    VersionBox versionBox;
    form.setVersionBox(&versionBox);
    form.setDecimalSeparator(".");
    form.Image1->installEventFilter(&g_imagePaints);
    form.sg1->viewport()->installEventFilter(&g_gridPaints);
    form.show();
    g_form = &form;
    Settle();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetErrorBoxRecorder({});
    return 0;
}
