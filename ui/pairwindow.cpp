// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pairwindow.h"

#include "geometry/gearmodel.h"
#include "ui/backlashpanel.h"
#include "ui/errorbox.h"
#include "ui/layout.h"
#include "ui/mainwindow.h"
#include "ui/qttext.h"
#include "ui/toolwindow.h"
#include "commands/commands.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "commands/pairtext.h"
#include "geometry/extended.h"

#include <cmath>

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

namespace {

const QString kGearCaption[2] = {QStringLiteral("歯車１"), QStringLiteral("歯車２")};

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& accessibleName, bool readOnly)
{
    auto* box = new QLineEdit(parent);
    // The whole text reaches the parser: a paste past Qt's default 32767 characters is refused there, not cut.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setMinimumWidth(96);
    if (readOnly) {
        MakeReadOnlyBox(box);
    } else {
        box->setStyleSheet(QStringLiteral("QLineEdit:enabled { background-color: #FFFFFF; color: #000000; }"));
        box->setFont(GothicFont(15, true));
    }
    return box;
}

QLabel* MakeCaption(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    return label;
}

// Gear 1 as its record holds it, with the pressure angle its index selects.
PairInput GearInput(const GearRecord& g)
{
    PairInput in;
    in.module = g.Module;
    in.pressureAngle = PressureAngleDegrees(g.PressureAngleIndex);
    in.teeth[0] = g.Teeth;
    in.shift[0] = g.Shift;
    return in;
}

}  // namespace

PairWindow::PairWindow(TForm1& form) : QWidget(&form, Qt::Window), m_form(form)
{
    setObjectName(QStringLiteral("PairWindow"));
    setWindowTitle(QStringLiteral("かみあい"));
    setAccessibleName(QStringLiteral("かみあい"));
    StyleLikeMainWindow(*this, form);

    auto* inputs = new QGroupBox(QStringLiteral("入力"), this);
    inputs->setObjectName(QStringLiteral("PairInputs"));
    inputs->setAccessibleName(inputs->title());
    auto* in = new QGridLayout(inputs);
    in->addWidget(MakeCaption(inputs, QStringLiteral("PairInputGear1"), QStringLiteral("歯車１（現在の歯車）")), 0, 1);
    in->addWidget(MakeCaption(inputs, QStringLiteral("PairInputGear2"), kGearCaption[1]), 0, 2);
    m_teeth1 = MakeBox(inputs, QStringLiteral("PairTeeth1"), QStringLiteral("歯数 z 歯車１"), true);
    m_teeth2 = MakeBox(inputs, QStringLiteral("PairTeeth2"), QStringLiteral("歯数 z 歯車２"), false);
    m_shift1 = MakeBox(inputs, QStringLiteral("PairShift1"), QStringLiteral("転位係数 x 歯車１"), true);
    m_shift2 = MakeBox(inputs, QStringLiteral("PairShift2"), QStringLiteral("転位係数 x 歯車２"), false);
    m_module = MakeBox(inputs, QStringLiteral("PairModule"), QStringLiteral("モジュール m"), true);
    m_pressureAngle = MakeBox(inputs, QStringLiteral("PairPressureAngle"), QStringLiteral("圧力角 α（°）"), true);
    m_centerDistance = MakeBox(inputs, QStringLiteral("PairCenterDistance"), QStringLiteral("中心距離 a"), false);
    const char* const names[] = {"PairLabelTeeth", "PairLabelShift", "PairLabelModule", "PairLabelPressureAngle",
                                 "PairLabelCenterDistance"};
    const QString captions[] = {QStringLiteral("歯数 z"), QStringLiteral("転位係数 x"), QStringLiteral("モジュール m"),
                                QStringLiteral("圧力角 α（°）"), QStringLiteral("中心距離 a")};
    QLineEdit* boxes[][2] = {{m_teeth1, m_teeth2}, {m_shift1, m_shift2}, {m_module, nullptr},
                             {m_pressureAngle, nullptr}, {m_centerDistance, nullptr}};
    for (int row = 0; row < 5; ++row) {
        in->addWidget(MakeCaption(inputs, QString::fromLatin1(names[row]), captions[row]), row + 1, 0);
        for (int gear = 0; gear < 2; ++gear)
            if (boxes[row][gear])
                in->addWidget(boxes[row][gear], row + 1, gear + 1);
    }
    m_fromShifts = new QRadioButton(QStringLiteral("転位係数から"), inputs);
    m_fromShifts->setObjectName(QStringLiteral("PairFromShifts"));
    m_fromShifts->setAccessibleName(m_fromShifts->text());
    m_fromShifts->setChecked(true);
    m_fromCenterDistance = new QRadioButton(QStringLiteral("中心距離から"), inputs);
    m_fromCenterDistance->setObjectName(QStringLiteral("PairFromCenterDistance"));
    m_fromCenterDistance->setAccessibleName(m_fromCenterDistance->text());
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_fromShifts);
    modes->addButton(m_fromCenterDistance);
    in->addWidget(m_fromShifts, 6, 1);
    in->addWidget(m_fromCenterDistance, 6, 2);
    m_calculate = new QPushButton(QStringLiteral("計算"), inputs);
    m_calculate->setObjectName(QStringLiteral("PairCalculate"));
    m_copy = new QPushButton(QStringLiteral("コピー"), inputs);
    m_copy->setObjectName(QStringLiteral("PairCopy"));
    for (QPushButton* button : {m_calculate, m_copy}) {
        button->setAccessibleName(button->text());
        button->setFont(GothicFont(15, true));
        button->setAutoDefault(false);
    }
    in->addWidget(m_calculate, 7, 1);
    in->addWidget(m_copy, 7, 2);

    auto* results = new QGroupBox(QStringLiteral("結果"), this);
    results->setObjectName(QStringLiteral("PairResults"));
    results->setAccessibleName(results->title());
    auto* out = new QGridLayout(results);
    out->addWidget(MakeCaption(results, QStringLiteral("PairResultGear1"), kGearCaption[0]), 0, 1);
    out->addWidget(MakeCaption(results, QStringLiteral("PairResultGear2"), kGearCaption[1]), 0, 2);
    int row = 1;
    for (const PairRow& r : PairResultRows(PairResult{}, ".")) {
        const QString label = QString::fromUtf8(r.label);
        out->addWidget(MakeCaption(results, QStringLiteral("PairLabel_") + QString::fromLatin1(r.key), label), row, 0);
        std::array<QLineEdit*, 2>& pair = m_results[r.key];
        for (int gear = 0; gear < (r.perGear ? 2 : 1); ++gear) {
            const QString suffix = r.perGear ? QString::number(gear + 1) : QString();
            pair[gear] = MakeBox(results, QStringLiteral("Pair_") + QString::fromLatin1(r.key) + suffix,
                                 r.perGear ? label + QLatin1Char(' ') + kGearCaption[gear] : label, true);
            out->addWidget(pair[gear], row, gear + 1);
        }
        ++row;
    }

    m_findings = new QListWidget(this);
    m_findings->setObjectName(QStringLiteral("PairFindings"));
    m_findings->setAccessibleName(QStringLiteral("かみあいの警告"));
    m_findings->setMinimumHeight(72);

    // The given values and the findings on the left, the computed values on the right.
    m_backlash = new BacklashPanel(this);
    auto* left = new QVBoxLayout;
    left->addWidget(inputs);
    left->addWidget(m_backlash);
    left->addWidget(m_findings, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(results);
    right->addWidget(m_backlash->resultGroup);
    auto* page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addLayout(right);

    m_shift2->setText(QStringLiteral("0"));
    m_centerDistance->setEnabled(false);
    QWidget::setTabOrder(m_teeth2, m_shift2);
    QWidget::setTabOrder(m_shift2, m_centerDistance);

    connect(m_calculate, &QPushButton::clicked, this, [this] { CalculateClick(); });
    connect(m_backlash, &BacklashPanel::edited, this, [this] { CalculateClick(); });
    for (QLineEdit* box : {m_teeth2, m_shift2, m_centerDistance})
        connect(box, &QLineEdit::returnPressed, this, [this] { CalculateClick(); });
    connect(m_copy, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { CopyClick(); }); });
    connect(m_fromShifts, &QRadioButton::toggled, this, [this] { modeChanged(); });
    connect(&form, &TForm1::currentGearChanged, this, [this] { Follow(m_form.currentGear()); });

    Follow(form.currentGear());
}

QLineEdit* PairWindow::resultBox(const std::string& key, int gear) const
{
    const auto it = m_results.find(key);
    return it == m_results.end() ? nullptr : it->second[gear];
}

void PairWindow::showGear1()
{
    const GearRecord& g = m_gear1;
    const std::string& sep = m_form.decimalSeparator();
    m_module->setText(Utf8(FormatGeneral(g.Module, 11, sep)));
    const double degrees = PressureAngleDegreesOf(g.PressureAngleIndex);
    m_pressureAngle->setText(std::isnan(degrees) ? QString() : Utf8(FormatGeneral(degrees, 11, sep)));
    m_teeth1->setText(Utf8(FormatInteger(g.Teeth)));
    m_shift1->setText(Utf8(FormatGeneral(g.Shift, 11, sep)));
    // Gear 2's teeth follow the record's mate until the user types another count.
    if (!m_teeth2->isModified())
        m_teeth2->setText(Utf8(FormatInteger(g.Teeth2)));
}

void PairWindow::clearResults()
{
    m_last.reset();
    for (auto& [key, boxes] : m_results)
        for (QLineEdit* box : boxes)
            if (box)
                box->clear();
    m_findings->clear();
    m_backlash->Clear();
    m_copy->setEnabled(false);
}

void PairWindow::compute()
{
    clearResults();
    const std::string& sep = m_form.decimalSeparator();
    PairInput in = GearInput(m_gear1);
    in.teeth[1] = ParseInteger(m_teeth2->text().toStdString());
    if (m_fromShifts->isChecked()) {
        in.shift[1] = Store(ParseFloat(m_shift2->text().toStdString(), sep));
        m_last = ComputePair(in);
    } else {
        const double a = Store(ParseFloat(m_centerDistance->text().toStdString(), sep));
        m_last = ComputePairForCenterDistance(in, a);
    }
    for (const PairRow& row : PairResultRows(*m_last, sep))
        for (int gear = 0; gear < (row.perGear ? 2 : 1); ++gear)
            m_results[row.key][gear]->setText(Utf8(row.texts[gear]));
    std::vector<std::string> findings = m_last->findings;
    for (std::string& finding : m_backlash->Show(*m_last, sep))
        findings.push_back(std::move(finding));
    if (findings.empty())
        m_findings->addItem(QStringLiteral("警告＝０"));
    for (const std::string& finding : findings)
        m_findings->addItem(Utf8(finding));
    for (int i = 0; i < m_findings->count(); ++i)
        m_findings->item(i)->setForeground(layout::kListTextColour);
    m_copy->setEnabled(true);
}

void PairWindow::CalculateClick()
{
    RunCommand(this, [this] { compute(); });
}

void PairWindow::Follow(const GearRecord& gear)
{
    m_gear1 = gear;
    showGear1();
    RunGuarded([this] { compute(); }, [this](const std::string& message) {
        clearResults();
        auto* item = new QListWidgetItem(QStringLiteral("エラー：") + Utf8(message), m_findings);
        item->setForeground(QColor(0xFF, 0x00, 0x00));
    });
}

void PairWindow::modeChanged()
{
    const bool fromShifts = m_fromShifts->isChecked();
    m_shift2->setEnabled(fromShifts);
    m_centerDistance->setEnabled(!fromShifts);
    // The centre distance starts at the one just computed, to eleven digits.
    if (!fromShifts && m_centerDistance->text().isEmpty() && m_last)
        m_centerDistance->setText(Utf8(FormatGeneral(m_last->centerDistance, 11, m_form.decimalSeparator())));
    CalculateClick();
}

void PairWindow::CopyClick()
{
    if (!m_last)
        return;
    SetClipboardTextVerified(
        Utf8(PairReportText(*m_last, m_form.decimalSeparator(), "\r\n") + m_backlash->ReportText("\r\n")));
}

void InstallPairTool(TForm1& form)
{
    QAction* action = form.Tool1->addAction(QStringLiteral("かみあい"));
    action->setObjectName(QStringLiteral("PairTool"));
    QObject::connect(action, &QAction::triggered, &form, [&form] {
        PairWindow* window = form.findChild<PairWindow*>(QStringLiteral("PairWindow"), Qt::FindDirectChildrenOnly);
        if (window == nullptr)
            window = new PairWindow(form);
        ShowToolWindow(*window, form);
    });
}
