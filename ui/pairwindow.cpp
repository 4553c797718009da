// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pairwindow.h"

#include "base/apperror.h"

#include "geometry/gearmodel.h"
#include "ui/backlashpanel.h"
#include "ui/errorbox.h"
#include "ui/filedialog.h"
#include "ui/inspectionwindow.h"
#include "ui/layout.h"
#include "ui/qttext.h"
#include "ui/toolwindow.h"
#include "commands/commands.h"
#include "commands/helicaltext.h"
#include "geardata/designfile.h"
#include "commands/inputparse.h"
#include "commands/mate.h"
#include "commands/numbertext.h"
#include "commands/pairtext.h"
#include "geometry/extended.h"
#include "ui/meshview.h"
#include "ui/toolhost.h"

#include <cmath>

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHideEvent>
#include <QShowEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <limits>

#include <algorithm>

namespace {

const QString kGearCaption[2] = {QStringLiteral("歯車１"), QStringLiteral("歯車２")};

// The rows of the data table each gear's boxes give, in this order, before any other row of a design.
const char* const kRowNames[3] = {"材料", "熱処理", "備考"};
constexpr int kLowestClass = 1, kHighestClass = 11;

// A failure reading `box`, its name before the reason.
[[noreturn]] void RefuseBox(const QLineEdit* box, const std::string& reason)
{
    throw AppError(box->accessibleName().toStdString() + "：" + reason);
}

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

// A helical pair's report with every row it can have (the overlap ratio's with a face width).
PairResult HelicalRows()
{
    PairResult r;
    r.input.helixAngle = 1.0;
    r.input.faceWidth = 1.0;
    r.overlapRatio = r.totalContactRatio = 0.0;
    return r;
}

Hand OtherHand(Hand hand) { return hand == Hand::Left ? Hand::Right : Hand::Left; }

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

PairWindow::PairWindow(ToolHost& host) : QWidget(&host.hostWidget(), Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("PairWindow"));
    setWindowTitle(QStringLiteral("かみあい"));
    setAccessibleName(QStringLiteral("かみあい"));
    StyleLikeMainWindow(*this, host);

    auto* inputs = new QGroupBox(QStringLiteral("入力"), this);
    inputs->setObjectName(QStringLiteral("PairInputs"));
    inputs->setAccessibleName(inputs->title());
    auto* in = new QGridLayout(inputs);
    in->addWidget(MakeCaption(inputs, QStringLiteral("PairInputGear1"), QStringLiteral("歯車１（現在の歯車）")), 0, 1);
    auto* gear2Caption = MakeCaption(inputs, QStringLiteral("PairInputGear2"), kGearCaption[1]);
    m_gear2Caption = gear2Caption;
    in->addWidget(gear2Caption, 0, 2);
    m_teeth1 = MakeBox(inputs, QStringLiteral("PairTeeth1"), QStringLiteral("歯数 z 歯車１"), true);
    m_teeth2 = MakeBox(inputs, QStringLiteral("PairTeeth2"), QStringLiteral("歯数 z 歯車２"), false);
    m_shift1 = MakeBox(inputs, QStringLiteral("PairShift1"), QStringLiteral("転位係数 x 歯車１"), true);
    m_shift2 = MakeBox(inputs, QStringLiteral("PairShift2"), QStringLiteral("転位係数 x 歯車２"), false);
    m_module = MakeBox(inputs, QStringLiteral("PairModule"), QStringLiteral("モジュール m"), true);
    m_pressureAngle = MakeBox(inputs, QStringLiteral("PairPressureAngle"), QStringLiteral("圧力角 α（°）"), true);
    m_centerDistance = MakeBox(inputs, QStringLiteral("PairCenterDistance"), QStringLiteral("中心距離 a"), false);
    m_helixAngle = MakeBox(inputs, QStringLiteral("PairHelixAngle"), QStringLiteral("ねじれ角 β（°）"), false);
    m_helixAngle->setPlaceholderText(QStringLiteral("空欄・0＝平歯車"));
    const char* const names[] = {"PairLabelTeeth", "PairLabelShift", "PairLabelModule", "PairLabelPressureAngle",
                                 "PairLabelCenterDistance"};
    const QString captions[] = {QStringLiteral("歯数 z"), QStringLiteral("転位係数 x"), QStringLiteral("モジュール m"),
                                QStringLiteral("圧力角 α（°）"), QStringLiteral("中心距離 a")};
    QLineEdit* boxes[][2] = {{m_teeth1, m_teeth2}, {m_shift1, m_shift2}, {m_module, nullptr},
                             {m_pressureAngle, nullptr}, {m_centerDistance, nullptr}};
    for (int row = 0; row < 5; ++row) {
        QLabel* caption = MakeCaption(inputs, QString::fromLatin1(names[row]), captions[row]);
        in->addWidget(caption, row + 1, 0);
        if (row >= 1 && row <= 3)   // 転位係数, モジュール, 圧力角
            m_inputCaptions[row == 1 ? 2 : row - 2] = caption;
        for (int gear = 0; gear < 2; ++gear)
            if (boxes[row][gear])
                in->addWidget(boxes[row][gear], row + 1, gear + 1);
    }
    // The helix below the rows every pair has. Gear 1's hand is chosen; gear
    // 2, an external gear in mesh with it, has the other.
    in->addWidget(MakeCaption(inputs, QStringLiteral("PairLabelHelixAngle"), QStringLiteral("ねじれ角 β（°）")), 12, 0);
    in->addWidget(m_helixAngle, 12, 1);
    in->addWidget(MakeCaption(inputs, QStringLiteral("PairLabelHand"), QStringLiteral("ねじれ方向")), 13, 0);
    m_hand = new QComboBox(inputs);
    m_hand->setObjectName(QStringLiteral("PairHand"));
    m_hand->setAccessibleName(QStringLiteral("ねじれ方向 歯車１"));
    for (const Hand hand : {Hand::Right, Hand::Left})
        m_hand->addItem(QString::fromUtf8(HandText(hand)), static_cast<int>(hand));
    in->addWidget(m_hand, 13, 1);
    m_hand2 = MakeBox(inputs, QStringLiteral("PairHand2"), QStringLiteral("ねじれ方向 歯車２"), true);
    in->addWidget(m_hand2, 13, 2);
    // The mate: another external gear, a ring, a rack.
    auto* mateRow = new QHBoxLayout;
    auto* mates = new QButtonGroup(this);
    const struct {
        QRadioButton** button;
        MateKind kind;
        const char* name;
    } mateButtons[] = {{&m_mateExternal, MateKind::External, "PairMateExternal"},
                       {&m_mateInternal, MateKind::Internal, "PairMateInternal"},
                       {&m_mateRack, MateKind::Rack, "PairMateRack"}};
    mateRow->addWidget(MakeCaption(inputs, QStringLiteral("PairLabelMate"), QStringLiteral("相手")));
    for (const auto& b : mateButtons) {
        *b.button = new QRadioButton(QString::fromUtf8(MateKindCaption(b.kind)), inputs);
        (*b.button)->setObjectName(QString::fromLatin1(b.name));
        (*b.button)->setAccessibleName(QStringLiteral("相手 ") + (*b.button)->text());
        mates->addButton(*b.button);
        mateRow->addWidget(*b.button);
    }
    m_mateExternal->setChecked(true);
    in->addLayout(mateRow, 8, 0, 1, 3);
    // Gear 1 of the pair shown becomes the main window's gear: its shift
    // (solved from the centre distance in that mode) typed there and calculated.
    m_useDesign = new QPushButton(QStringLiteral("この組を使う"), inputs);
    m_useDesign->setObjectName(QStringLiteral("PairUseDesign"));
    m_useDesign->setAccessibleName(m_useDesign->text());
    m_useDesign->setAutoDefault(false);
    m_useDesign->setEnabled(false);
    in->addWidget(m_useDesign, 9, 1, 1, 2);
    connect(m_useDesign, &QPushButton::clicked, this, &PairWindow::UseDesignClick);
    // The pair as a design file (.tsumugi).
    m_saveDesign = new QPushButton(QStringLiteral("設計を保存…"), inputs);
    m_saveDesign->setObjectName(QStringLiteral("PairSaveDesign"));
    m_openDesign = new QPushButton(QStringLiteral("設計を開く…"), inputs);
    m_openDesign->setObjectName(QStringLiteral("PairOpenDesign"));
    for (QPushButton* button : {m_saveDesign, m_openDesign}) {
        button->setAccessibleName(button->text().chopped(1));
        button->setAutoDefault(false);
    }
    in->addWidget(m_openDesign, 10, 1);
    in->addWidget(m_saveDesign, 10, 2);
    connect(m_saveDesign, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { SaveDesign(); }); });
    connect(m_openDesign, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { OpenDesign(); }); });

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
    // The split of the shift sum a centre distance gives two external gears.
    m_split = new QComboBox(inputs);
    m_split->setObjectName(QStringLiteral("PairSplit"));
    m_split->setAccessibleName(QStringLiteral("転位の配分"));
    const struct {
        const char* caption;
        ShiftSplit split;
    } splits[] = {{"歯数比（従来）", ShiftSplit::Proportional},
                  {"切下げなし", ShiftSplit::Undercut},
                  {"すべり率の釣り合い", ShiftSplit::Sliding}};
    for (const auto& choice : splits)
        m_split->addItem(QString::fromUtf8(choice.caption), static_cast<int>(choice.split));
    in->addWidget(MakeCaption(inputs, QStringLiteral("PairLabelSplit"), QStringLiteral("転位の配分")), 11, 0);
    in->addWidget(m_split, 11, 1, 1, 2);

    auto* results = new QGroupBox(QStringLiteral("結果"), this);
    results->setObjectName(QStringLiteral("PairResults"));
    results->setAccessibleName(results->title());
    auto* out = new QGridLayout(results);
    m_resultGrid = out;
    out->addWidget(MakeCaption(results, QStringLiteral("PairResultGear1"), kGearCaption[0]), 0, 1);
    auto* gear2ResultCaption = MakeCaption(results, QStringLiteral("PairResultGear2"), kGearCaption[1]);
    m_gear2ResultCaption = gear2ResultCaption;
    out->addWidget(gear2ResultCaption, 0, 2);
    // One row for every quantity of any mate; each mate shows its own.
    int row = 1;
    for (const MateReport& report : {MateReportOf(PairResult{}, "."), MateReportOf(InternalPairResult{}, "."),
                                     MateReportOf(RackPairResult{}, "."), MateReportOf(HelicalRows(), ".")})
        for (const PairRow& r : report.results) {
            if (m_results.count(r.key))
                continue;
            const QString label = QString::fromUtf8(r.label);
            auto* caption = MakeCaption(results, QStringLiteral("PairLabel_") + QString::fromLatin1(r.key), label);
            out->addWidget(caption, row, 0);
            m_rowWidgets[r.key][0] = caption;
            std::array<QLineEdit*, 2>& pair = m_results[r.key];
            pair = {nullptr, nullptr};
            for (int gear = 0; gear < (r.perGear ? 2 : 1); ++gear) {
                const QString suffix = r.perGear ? QString::number(gear + 1) : QString();
                pair[gear] = MakeBox(results, QStringLiteral("Pair_") + QString::fromLatin1(r.key) + suffix,
                                     r.perGear ? label + QLatin1Char(' ') + kGearCaption[gear] : label, true);
                out->addWidget(pair[gear], row, gear + 1);
                m_rowWidgets[r.key][gear + 1] = pair[gear];
            }
            ++row;
        }
    out->setRowStretch(row, 1);   // the rows of a shorter report stay at the top

    m_findings = new QListWidget(this);
    m_findings->setObjectName(QStringLiteral("PairFindings"));
    m_findings->setAccessibleName(QStringLiteral("かみあいの警告"));
    m_findings->setMinimumHeight(72);
    m_findings->setWordWrap(true);   // a long finding wraps instead of hiding behind a scroll bar

    m_backlash = new BacklashPanel(this);

    // What each gear's data table says besides its numbers: empty boxes give nothing.
    auto* specs = new QGroupBox(QStringLiteral("歯車ごとの仕様"), this);
    specs->setObjectName(QStringLiteral("PairGearSpecs"));
    specs->setAccessibleName(specs->title());
    auto* specGrid = new QGridLayout(specs);
    specGrid->setVerticalSpacing(3);
    for (int gear = 0; gear < 2; ++gear)
        specGrid->addWidget(MakeCaption(specs, QStringLiteral("PairSpecGear%1").arg(gear + 1), kGearCaption[gear]), 0,
                            gear + 1);
    const struct {
        const char* name;
        QString caption;
        QString hint;
    } specRows[] = {{"PairClass", QStringLiteral("精度等級"), QStringLiteral("1～11")},
                    {"PairFaceWidth", QStringLiteral("歯幅 b"), QStringLiteral("なし")},
                    {"PairMaterial", QStringLiteral("材料"), QString()},
                    {"PairHeatTreatment", QStringLiteral("熱処理"), QString()},
                    {"PairRemarks", QStringLiteral("備考"), QString()}};
    for (int row = 0; row < 5; ++row) {
        const auto& r = specRows[row];
        specGrid->addWidget(MakeCaption(specs, QString::fromLatin1(r.name) + QStringLiteral("Label"), r.caption), row + 1, 0);
        for (int gear = 0; gear < 2; ++gear) {
            QLineEdit* box = MakeBox(specs, QString::fromLatin1(r.name) + QString::number(gear + 1),
                                     r.caption + QLatin1Char(' ') + kGearCaption[gear], false);
            box->setPlaceholderText(r.hint);
            specGrid->addWidget(box, row + 1, gear + 1);
            (row == 0 ? m_class[gear] : row == 1 ? m_faceWidth[gear] : m_rows[gear][row - 2]) = box;
            connect(box, &QLineEdit::textEdited, this, [this] { Q_EMIT designEdited(); });
        }
    }

    // The given values on the left, the computed values beside them, the
    // drawing with the findings below it on the right.
    auto* left = new QVBoxLayout;
    left->addWidget(inputs);
    left->addWidget(m_backlash);
    left->addWidget(specs);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(results);
    right->addWidget(m_backlash->resultGroup);
    auto* page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addLayout(right);
    m_mesh = new MeshPanel(this);
    results->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);   // the drawing takes the room
    auto* drawing = new QVBoxLayout;
    drawing->addWidget(m_mesh, 1);
    drawing->addWidget(m_findings);
    m_findings->setMaximumHeight(120);
    page->addLayout(drawing, 1);

    showHands();
    m_shift2->setText(QStringLiteral("0"));
    m_centerDistance->setEnabled(false);
    m_split->setEnabled(false);
    QWidget::setTabOrder(m_teeth2, m_shift2);
    QWidget::setTabOrder(m_shift2, m_centerDistance);
    QWidget::setTabOrder(m_centerDistance, m_split);
    QWidget::setTabOrder(m_split, m_helixAngle);
    QWidget::setTabOrder(m_helixAngle, m_hand);

    connect(m_calculate, &QPushButton::clicked, this, [this] { CalculateClick(); });
    connect(m_backlash, &BacklashPanel::edited, this, [this] { CalculateClick(); });
    // The drawing follows the allowances as they are typed, as it follows gear 2's boxes.
    for (QLineEdit* box : {m_backlash->allowance[0][0], m_backlash->allowance[0][1], m_backlash->allowance[1][0],
                           m_backlash->allowance[1][1], m_backlash->centerAllowance[0], m_backlash->centerAllowance[1]})
        connect(box, &QLineEdit::textEdited, this, [this] {
            followInputs();
            Q_EMIT designEdited();
        });
    for (QLineEdit* box : {m_teeth2, m_shift2, m_centerDistance, m_helixAngle}) {
        connect(box, &QLineEdit::returnPressed, this, [this] { CalculateClick(); });
        connect(box, &QLineEdit::textEdited, this, [this] { followInputs(); });   // the drawing follows the typing
    }
    connect(m_hand, &QComboBox::currentIndexChanged, this, [this] {
        showHands();
        CalculateClick();
    });
    // Gear 1's face width gives a helical pair its overlap ratio.
    connect(m_faceWidth[0], &QLineEdit::returnPressed, this, [this] { CalculateClick(); });
    connect(m_copy, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { CopyClick(); }); });
    connect(m_fromShifts, &QRadioButton::toggled, this, [this] { modeChanged(); });
    connect(m_split, &QComboBox::currentIndexChanged, this, [this] { CalculateClick(); });
    for (QRadioButton* button : {m_mateExternal, m_mateInternal, m_mateRack})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                mateChanged();
        });
    host.onCurrentGearChanged(this, [this] { Follow(m_host.currentGear()); });

    m_gear1 = host.currentGear();
    mateChanged();
}

MateKind PairWindow::mate() const
{
    return m_mateInternal->isChecked() ? MateKind::Internal
           : m_mateRack->isChecked()   ? MateKind::Rack
                                       : MateKind::External;
}

void PairWindow::mateChanged()
{
    const MateKind kind = mate();
    const QString caption = kind == MateKind::External ? kGearCaption[1] : QString::fromUtf8(MateKindCaption(kind));
    static_cast<QLabel*>(m_gear2Caption)->setText(caption);
    static_cast<QLabel*>(m_gear2ResultCaption)->setText(caption);
    m_backlash->setMateCaption(caption);
    m_gear2ResultCaption->setVisible(kind != MateKind::Rack);   // a rack has no column of its own
    // Only the rows of this mate are shown.
    double helix = 0.0;
    RunGuarded([&] { helix = typedHelixAngle(); }, [](const std::string&) {});   // spur rows until it parses
    const MateReport empty = kind == MateKind::Internal ? MateReportOf(InternalPairResult{}, ".")
                             : kind == MateKind::Rack   ? MateReportOf(RackPairResult{}, ".")
                             : helix != 0.0             ? MateReportOf(HelicalRows(), ".")
                                                        : MateReportOf(PairResult{}, ".");
    showRows(empty, kind, kind == MateKind::External && helix != 0.0);
    const bool rack = kind == MateKind::Rack;
    m_teeth2->setEnabled(!rack);
    // A rack is named on gear 1's table only: it has no table, no class and no rows of its own.
    for (QLineEdit* box : {m_class[1], m_faceWidth[1], m_rows[1][0], m_rows[1][1], m_rows[1][2]})
        box->setEnabled(!rack);
    m_fromCenterDistance->setEnabled(!rack);
    if (rack && m_fromCenterDistance->isChecked()) {
        m_fromShifts->setChecked(true);   // recomputes through modeChanged
        return;
    }
    enableInputs();
    Follow(m_gear1);
}

void PairWindow::showRows(const MateReport& report, MateKind kind, bool helical)
{
    const QString caption = kind == MateKind::External ? kGearCaption[1] : QString::fromUtf8(MateKindCaption(kind));
    // The report's rows first, in its order; the others hidden below them.
    int next = 1;
    const auto place = [this, &next](const std::array<QWidget*, 3>& widgets) {
        for (int column = 0; column < 3; ++column)
            if (QWidget* widget = widgets[static_cast<std::size_t>(column)]) {
                m_resultGrid->removeWidget(widget);
                m_resultGrid->addWidget(widget, next, column);
            }
        ++next;
    };
    for (const PairRow& row : report.results) {
        const auto found = m_rowWidgets.find(row.key);
        if (found == m_rowWidgets.end())
            continue;
        const std::array<QWidget*, 3>& widgets = found->second;
        place(widgets);
        // A quantity several mates share takes this mate's caption and columns.
        const QString label = QString::fromUtf8(row.label);
        auto* rowCaption = static_cast<QLabel*>(widgets[0]);
        rowCaption->setText(label);
        rowCaption->setAccessibleName(label);
        rowCaption->setVisible(true);
        for (int gear = 0; gear < 2; ++gear) {
            QWidget* box = widgets[static_cast<std::size_t>(gear) + 1];
            if (box == nullptr)
                continue;
            box->setVisible(gear == 0 || row.perGear);
            box->setAccessibleName(row.perGear ? label + QLatin1Char(' ') + (gear == 0 ? kGearCaption[0] : caption) : label);
        }
    }
    for (const auto& [key, widgets] : m_rowWidgets) {
        const bool shown = std::any_of(report.results.begin(), report.results.end(),
                                       [&key = key](const PairRow& r) { return key == r.key; });
        if (shown)
            continue;
        for (QWidget* widget : widgets)
            if (widget)
                widget->setVisible(false);
        place(widgets);
    }
    // Helical gears are given in the normal section: the input captions as the report words them.
    const MateReport helicalReport = MateReportOf(HelicalRows(), ".");
    const char* const spurCaptions[] = {"モジュール m", "圧力角 α（°）", "転位係数 x"};
    const char* const helicalKeys[] = {"module_normal", "pressure_angle_normal", "shift_normal"};
    for (int i = 0; i < 3; ++i) {
        QString text = QString::fromUtf8(spurCaptions[i]);
        if (helical)
            for (const auto* rows : {&helicalReport.inputs, &helicalReport.results})
                for (const PairRow& row : *rows)
                    if (row.key == std::string_view(helicalKeys[i]))
                        text = QString::fromUtf8(row.label);
        m_inputCaptions[i]->setText(text);
        m_inputCaptions[i]->setAccessibleName(text);
    }
}

double PairWindow::typedHelixAngle() const
{
    if (m_helixAngle->text().trimmed().isEmpty())
        return 0.0;
    try {
        return Store(ParseFloat(m_helixAngle->text().toStdString(), m_host.decimalSeparator()));
    } catch (const AppError& e) {
        RefuseBox(m_helixAngle, e.what());
    }
}

void PairWindow::showHands()
{
    const auto hand = static_cast<Hand>(m_hand->currentData().toInt());
    m_hand2->setText(QString::fromUtf8(HandText(OtherHand(hand))));
    m_hand2->setEnabled(m_hand->isEnabled());
}

std::optional<double> PairWindow::readFaceWidth(int gear) const
{
    const QLineEdit* widthBox = m_faceWidth[gear];
    if (widthBox->text().trimmed().isEmpty())
        return std::nullopt;
    double width = 0.0;
    try {
        width = Store(ParseFloat(widthBox->text().toStdString(), m_host.decimalSeparator()));
    } catch (const AppError& e) {
        RefuseBox(widthBox, e.what());
    }
    if (!(width > 0.0) || !std::isfinite(width))
        RefuseBox(widthBox, "歯幅は正の有限の数にしてください");
    return width;
}

void PairWindow::enableInputs()
{
    const MateKind kind = mate();
    const bool fromShifts = m_fromShifts->isChecked();
    m_shift2->setEnabled(fromShifts && kind != MateKind::Rack);
    m_centerDistance->setEnabled(!fromShifts && kind != MateKind::Rack);
    m_split->setEnabled(!fromShifts && kind == MateKind::External);
}

QLineEdit* PairWindow::resultBox(const std::string& key, int gear) const
{
    const auto it = m_results.find(key);
    return it == m_results.end() ? nullptr : it->second[gear];
}

void PairWindow::showGear1()
{
    const GearRecord& g = m_gear1;
    const std::string& sep = m_host.decimalSeparator();
    m_module->setText(Utf8(FormatGeneral(g.Module, 11, sep)));
    m_pressureAngle->setText(IsPressureAngleIndex(g.PressureAngleIndex)
                                 ? Utf8(FormatGeneral(PressureAngleDegrees(g.PressureAngleIndex), 11, sep))
                                 : QString());
    m_teeth1->setText(Utf8(FormatInteger(g.Teeth)));
    m_shift1->setText(Utf8(FormatGeneral(g.Shift, 11, sep)));
    // Gear 2's teeth follow the record's mate until the user types another count.
    if (!m_teeth2->isModified())
        m_teeth2->setText(Utf8(FormatInteger(g.Teeth2)));
}

void PairWindow::clearResults()
{
    m_last.reset();
    m_lastGears.reset();
    Q_EMIT shownPairChanged();
    for (auto& [key, boxes] : m_results)
        for (QLineEdit* box : boxes)
            if (box)
                box->clear();
    m_findings->clear();
    m_backlash->Clear();
    m_copy->setEnabled(false);
    m_useDesign->setEnabled(false);
    m_mesh->clearPair(QString());
}

void PairWindow::compute()
{
    clearResults();
    const std::string& sep = m_host.decimalSeparator();
    PairInput in = GearInput(m_gear1);
    const MateKind kind = mate();
    m_backlashWarnings = 0;
    MateRequest request;
    in.mate = kind;
    if (kind != MateKind::Rack) {
        in.teeth[1] = ParseInteger(m_teeth2->text().toStdString());
        if (m_fromShifts->isChecked())
            in.shift[1] = Store(ParseFloat(m_shift2->text().toStdString(), sep));
        else
            request.centerDistance = Store(ParseFloat(m_centerDistance->text().toStdString(), sep));
    }
    // Two helical gears: opposite hands, and gear 1's face width for the overlap ratio.
    in.helixAngle = typedHelixAngle();
    if (in.helixAngle != 0.0) {
        const auto hand = static_cast<Hand>(m_hand->currentData().toInt());
        in.hands = {hand, OtherHand(hand)};
        if (const std::optional<double> width = readFaceWidth(0))
            in.faceWidth = *width;
    }
    request.split = static_cast<ShiftSplit>(m_split->currentData().toInt());
    request.gears = in;
    request.allowances = [this, &sep] { return m_backlash->Read(sep); };
    request.backlash = m_backlash->Typed();
    // The pair stands even when its allowances are refused: the centre
    // distance box starts at its centre distance.
    request.paired = [this](const MateOutcome& pair) {
        m_last = pair.report;
        m_lastGears = pair.gears;
        m_lastCenterDistance = pair.centerDistance;
    };
    const MateOutcome outcome = ComputeMate(request, sep);
    // Every mate has its backlash: a ring's allowance is the ring tooth's, a rack's the rack tooth's.
    std::vector<std::string> backlashFindings = m_backlash->Show(outcome.backlash, sep);
    m_backlashWarnings = backlashFindings.size();
    const MeshInput& mesh = outcome.mesh;
    showRows(*m_last, kind, m_lastGears->helixAngle != 0.0);
    for (const PairRow& row : m_last->results)
        for (int gear = 0; gear < (row.perGear ? 2 : 1); ++gear)
            m_results[row.key][gear]->setText(Utf8(row.texts[gear]));
    std::vector<std::string> findings = m_last->findings;
    for (std::string& finding : backlashFindings)
        findings.push_back(std::move(finding));
    if (findings.empty())
        m_findings->addItem(QStringLiteral("警告＝０"));
    for (const std::string& finding : findings)
        m_findings->addItem(Utf8(finding));
    for (int i = 0; i < m_findings->count(); ++i)
        m_findings->item(i)->setForeground(layout::kListTextColour);
    m_copy->setEnabled(true);
    m_useDesign->setEnabled(true);
    Q_EMIT shownPairChanged();
    // The drawing cuts both gears in the normal section's sizes: a helical pair's transverse mesh it cannot draw yet.
    if (in.helixAngle != 0.0)
        m_mesh->clearPair(QStringLiteral("かみあい図は平歯車の組だけです（はすば歯車の正面断面はまだ描けません）"));
    else
        m_mesh->showPair(mesh, sep);
}

namespace {

std::function<QString(bool save, const QString& lastName)> designFileAnswer;
QString lastDesignName = QStringLiteral("設計.tsumugi");

QString AskDesignFile(QWidget* parent, bool save)
{
    if (designFileAnswer)
        return designFileAnswer(save, lastDesignName);
    const QString filter = QStringLiteral("ツムギの設計 (*.tsumugi)");
    return save ? AskSaveFileName(parent, QStringLiteral("設計の保存"), lastDesignName, filter)
                : QFileDialog::getOpenFileName(parent, QStringLiteral("設計を開く"), SaveDialogStartName(lastDesignName),
                                               filter);
}

std::string AllowanceText(double value, const std::string& sep)
{
    return value == 0.0 ? std::string() : FormatGeneral(value, 11, sep);
}

}  // namespace

std::optional<GearRecord> ShownGear2(ToolHost& host, const GearRecord& gear1)
{
    const auto* pair =
        host.hostWidget().findChild<PairWindow*>(QStringLiteral("PairWindow"), Qt::FindDirectChildrenOnly);
    if (pair == nullptr || !pair->isVisible() || !pair->ShownPair() || pair->ShownPair()->mate != MateKind::External)
        return std::nullopt;
    const PairInput& shown = *pair->ShownPair();
    GearRecord gear2 = gear1;
    gear2.Teeth = shown.teeth[1];
    gear2.Shift = shown.shift[1];
    gear2.Teeth2 = shown.teeth[0];
    return gear2;
}

void SetDesignFileAnswer(std::function<QString(bool save, const QString& lastName)> answer)
{
    designFileAnswer = std::move(answer);
}

PairDesign PairWindow::CurrentDesign() const
{
    if (!m_lastGears)
        throw AppError("かみあいの組が求まっていないため、設計を保存できません");
    if (m_lastGears->helixAngle != 0.0)
        throw AppError("はすば歯車の組は設計ファイルにまだ保存できません");
    const std::string& sep = m_host.decimalSeparator();
    const PairInput& shown = *m_lastGears;
    // What this window does not edit (a class, a face width, rows, keys of a
    // later version) stays as the design file opened last gave it.
    PairDesign d = m_design;
    d.module = shown.module;
    d.pressureAngle = shown.pressureAngle;
    d.mate = shown.mate;
    const BacklashInput allowances = m_backlash->Read(sep);
    for (std::size_t i = 0; i < 2; ++i) {
        d.gears[i].teeth = shown.teeth[i];
        d.gears[i].shift = shown.shift[i];
        d.gears[i].allowance = allowances.thickness[i];
        if (shown.mate != MateKind::Rack || i == 0)
            readGearBoxes(static_cast<int>(i), d.gears[i]);
    }
    if (shown.mate == MateKind::Rack) {
        // The rack: its tooth's allowance only.
        d.gears[1] = GearDesign{};
        d.gears[1].unknownKeys = m_design.gears[1].unknownKeys;
        d.gears[1].allowance = allowances.thickness[1];
    }
    d.centerDistance.reset();
    if (m_fromCenterDistance->isChecked() && shown.mate != MateKind::Rack)
        d.centerDistance = m_lastCenterDistance;
    d.centerDistanceAllowance = allowances.centerDistance;
    return d;
}

void PairWindow::readGearBoxes(int gear, GearDesign& d) const
{
    const QLineEdit* classBox = m_class[gear];
    d.accuracyClass.reset();
    if (!classBox->text().trimmed().isEmpty()) {
        int accuracyClass = 0;
        try {
            accuracyClass = ParseInteger(classBox->text().toStdString());
        } catch (const AppError& e) {
            RefuseBox(classBox, e.what());
        }
        if (accuracyClass < kLowestClass || accuracyClass > kHighestClass)
            RefuseBox(classBox, std::to_string(accuracyClass) + " は " + std::to_string(kLowestClass) + " から " +
                                    std::to_string(kHighestClass) + " の間にありません");
        d.accuracyClass = accuracyClass;
    }
    d.faceWidth = readFaceWidth(gear);
    // 材料, 熱処理, 備考 as typed, then the rows of other names the design opened last had.
    std::vector<std::pair<std::string, std::string>> rows;
    for (int r = 0; r < 3; ++r)
        if (const QString text = m_rows[gear][r]->text().trimmed(); !text.isEmpty())
            rows.emplace_back(kRowNames[r], text.toStdString());
    for (const auto& row : m_design.gears[static_cast<std::size_t>(gear)].rows)
        if (std::find(std::begin(kRowNames), std::end(kRowNames), row.first) == std::end(kRowNames))
            rows.push_back(row);
    d.rows = std::move(rows);
}

void PairWindow::showGearBoxes(int gear, const GearDesign& d)
{
    const std::string& sep = m_host.decimalSeparator();
    m_class[gear]->setText(d.accuracyClass ? QString::number(*d.accuracyClass) : QString());
    m_faceWidth[gear]->setText(d.faceWidth ? Utf8(FormatGeneral(*d.faceWidth, 11, sep)) : QString());
    for (int r = 0; r < 3; ++r) {
        QString text;
        for (const auto& [name, value] : d.rows)
            if (name == kRowNames[r])
                text = Utf8(value);
        m_rows[gear][r]->setText(text);
    }
}

std::optional<GearDesign> PairWindow::ShownGearDesign(int gear) const
{
    if (!isVisible() || !m_lastGears || (gear == 1 && m_lastGears->mate == MateKind::Rack))
        return std::nullopt;
    GearDesign d = m_design.gears[static_cast<std::size_t>(gear)];
    d.teeth = m_lastGears->teeth[static_cast<std::size_t>(gear)];
    d.shift = m_lastGears->shift[static_cast<std::size_t>(gear)];
    d.allowance = m_backlash->Read(m_host.decimalSeparator()).thickness[static_cast<std::size_t>(gear)];
    readGearBoxes(gear, d);
    return d;
}

std::optional<ThicknessAllowance> PairWindow::ShownAllowance(int gear) const
{
    if (!isVisible() || !m_lastGears || (gear == 1 && m_lastGears->mate == MateKind::Rack))
        return std::nullopt;
    std::optional<ThicknessAllowance> allowance;
    RunGuarded([&] { allowance = m_backlash->Read(m_host.decimalSeparator()).thickness[static_cast<std::size_t>(gear)]; },
               [](const std::string&) {});   // boxes that do not parse give nothing to take
    return allowance;
}

double PairWindow::ShownTipShortening() const
{
    if (!isVisible() || !m_lastGears || m_lastGears->mate != MateKind::External)
        return 0.0;
    double k = 0.0;
    RunGuarded([&] { k = ComputePair(*m_lastGears).tipShortening; }, [](const std::string&) {});
    return k;
}

void PairWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Q_EMIT shownPairChanged();
}

void PairWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    Q_EMIT shownPairChanged();
}

void PairWindow::SaveDesign()
{
    const PairDesign design = CurrentDesign();
    QString name = AskDesignFile(this, true);
    if (name.isEmpty())
        return;
    if (!name.endsWith(QStringLiteral(".tsumugi"), Qt::CaseInsensitive))
        name += QStringLiteral(".tsumugi");
    lastDesignName = name;
    WriteDesignFile(design, name.toStdString());
}

void PairWindow::OpenDesign()
{
    const QString name = AskDesignFile(this, false);
    if (name.isEmpty())
        return;
    lastDesignName = name;
    ApplyDesign(ReadDesignFile(name.toStdString()));
}

void PairWindow::ApplyDesign(const PairDesign& d)
{
    const std::string& sep = m_host.decimalSeparator();
    // The main window's gear keeps its table's pressure angle: a design of
    // another one cannot become its gear.
    const double hostAngle = PressureAngleDegrees(m_gear1.PressureAngleIndex);
    if (d.pressureAngle != hostAngle)
        throw AppError("この設計の圧力角 " + FormatGeneral(d.pressureAngle, 11, sep) + "° は主画面の歯車の圧力角 " +
                       FormatGeneral(hostAngle, 11, sep) + "° と違うため、開けません");
    m_design = d;
    (d.mate == MateKind::Internal ? m_mateInternal : d.mate == MateKind::Rack ? m_mateRack : m_mateExternal)
        ->setChecked(true);
    // A helical design comes back helical: its angle and gear 1's hand.
    {
        const QSignalBlocker quiet(m_hand);   // the pair is computed once gear 1 is typed
        m_helixAngle->setText(d.helixAngle == 0.0 ? QString() : Utf8(FormatGeneral(d.helixAngle, 11, sep)));
        m_hand->setCurrentIndex(m_hand->findData(static_cast<int>(d.gears[0].hand)));
    }
    showHands();
    m_teeth2->setText(Utf8(FormatInteger(d.gears[1].teeth)));
    m_teeth2->setModified(true);
    m_shift2->setText(Utf8(FormatGeneral(d.gears[1].shift, 11, sep)));
    (d.centerDistance ? m_fromCenterDistance : m_fromShifts)->setChecked(true);
    m_centerDistance->setText(d.centerDistance ? Utf8(FormatGeneral(*d.centerDistance, 11, sep)) : QString());
    enableInputs();
    // Two external gears from a centre distance come back with the split
    // that gave the design's shifts, where one of them does.
    if (d.centerDistance && d.mate == MateKind::External) {
        PairInput in;
        in.module = d.module;
        in.pressureAngle = d.pressureAngle;
        in.teeth = {d.gears[0].teeth, d.gears[1].teeth};
        for (int i = 0; i < m_split->count(); ++i) {
            const auto split = static_cast<ShiftSplit>(m_split->itemData(i).toInt());
            bool gives = false;
            RunGuarded([&] { gives = SplitShiftSum(in, ShiftSumForCenterDistance(in, *d.centerDistance), split)[0] ==
                                     d.gears[0].shift; },
                       [](const std::string&) {});   // a split refused for this pair gives nothing
            if (gives) {
                const QSignalBlocker quiet(m_split);   // the pair is computed once gear 1 is typed
                m_split->setCurrentIndex(i);
                break;
            }
        }
    }
    for (int i = 0; i < 2; ++i) {
        m_backlash->allowance[i][0]->setText(Utf8(AllowanceText(d.gears[static_cast<std::size_t>(i)].allowance.upper, sep)));
        m_backlash->allowance[i][1]->setText(Utf8(AllowanceText(d.gears[static_cast<std::size_t>(i)].allowance.lower, sep)));
    }
    m_backlash->centerAllowance[0]->setText(Utf8(AllowanceText(d.centerDistanceAllowance.upper, sep)));
    m_backlash->centerAllowance[1]->setText(Utf8(AllowanceText(d.centerDistanceAllowance.lower, sep)));
    for (int i = 0; i < 2; ++i)
        showGearBoxes(i, d.gears[static_cast<std::size_t>(i)]);
    Q_EMIT designEdited();
    // Gear 1 becomes the main window's gear as a user would make it; the
    // window follows it and computes the pair.
    m_host.calculateTyped(FormatGeneral(d.module, 11, sep), FormatInteger(d.gears[0].teeth),
                          FormatGeneral(d.gears[0].shift, 11, sep));
}

void PairWindow::UseDesignClick()
{
    if (!m_lastGears)
        return;
    const std::string& sep = m_host.decimalSeparator();
    const PairInput& pair = *m_lastGears;
    // Eleven digits, as the main window shows a shift.
    m_host.calculateTyped(FormatGeneral(pair.module, 11, sep), FormatInteger(pair.teeth[0]),
                          FormatGeneral(pair.shift[0], 11, sep));
}

void PairWindow::CalculateClick()
{
    RunCommand(this, [this] { compute(); });
}

void PairWindow::Follow(const GearRecord& gear)
{
    m_gear1 = gear;
    showGear1();
    followInputs();
}

void PairWindow::followInputs()
{
    RunGuarded([this] { compute(); }, [this](const std::string& message) {
        clearResults();
        auto* item = new QListWidgetItem(QStringLiteral("エラー：") + Utf8(message), m_findings);
        item->setForeground(QColor(0xFF, 0x00, 0x00));
    });
}

void PairWindow::modeChanged()
{
    const bool fromShifts = m_fromShifts->isChecked();
    enableInputs();
    // The centre distance starts at the one just computed, to eleven digits.
    if (!fromShifts && m_centerDistance->text().isEmpty() && m_last)
        m_centerDistance->setText(Utf8(FormatGeneral(m_lastCenterDistance, 11, m_host.decimalSeparator())));
    CalculateClick();
}

void PairWindow::CopyClick()
{
    if (!m_last)
        return;
    SetClipboardTextVerified(Utf8(MateReportText(*m_last, "\r\n", m_backlashWarnings) + m_backlash->ReportText("\r\n")));
}

std::optional<PairWindow::SheetMate> PairWindow::CurrentMate(const std::string& sep) const
{
    if (!isVisible())
        return std::nullopt;
    // The pair the window shows, shifts solved from a centre distance
    // included; none shown (a refused pair) gives no table of a mate.
    if (!m_lastGears)
        throw AppError("かみあいの組が求まっていないため、要目表に相手歯車を付けられません");
    SheetMate sheet;
    sheet.mate.kind = m_lastGears->mate;
    sheet.mate.teeth = m_lastGears->teeth[1];
    sheet.mate.shift = m_lastGears->shift[1];
    sheet.gear1 = *m_lastGears;
    const BacklashInput b = m_backlash->Read(sep);
    sheet.mate.allowance = b.thickness[1];
    sheet.mate.centerDistance = b.centerDistance;
    sheet.gear1Allowance = b.thickness[0];
    return sheet;
}

void InstallPairTool(ToolHost& host)
{
    QAction* action = host.toolMenu()->addAction(QStringLiteral("かみあい"));
    action->setObjectName(QStringLiteral("PairTool"));
    QObject::connect(action, &QAction::triggered, &host.hostWidget(), [&host] {
        PairWindow* window =
            host.hostWidget().findChild<PairWindow*>(QStringLiteral("PairWindow"), Qt::FindDirectChildrenOnly);
        if (window == nullptr) {
            window = new PairWindow(host);
            if (InspectionWindow* inspection = FindInspectionWindow(host))
                inspection->WatchPair(*window);
        }
        ShowToolWindow(*window, host);
    });
}
