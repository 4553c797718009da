// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inspectionwindow.h"

#include "base/apperror.h"

#include "ui/pairwindow.h"

#include "ui/errorbox.h"
#include "ui/toolhost.h"
#include "ui/qttext.h"
#include "ui/toolwindow.h"
#include "commands/commands.h"
#include "commands/helicaltext.h"
#include "commands/numbertext.h"
#include "commands/inputparse.h"
#include "commands/inspectiontext.h"
#include "commands/tolerancetext.h"
#include "geometry/extended.h"
#include "geometry/inspection.h"
#include "ui/tolerancepanel.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QHBoxLayout>
#include <limits>

namespace {

constexpr int kReasonWidth = 240;

bool IsBlank(const QString& text) { return text.trimmed().isEmpty(); }

// The rows of a helical gear's report shown beside its inspection: the transverse values and the sizes.
const char* const kHelixKeys[] = {"module_transverse", "pressure_angle_transverse", "base_helix_angle", "lead",
                                  "shift_transverse", "virtual_teeth_span", "virtual_teeth_chord", "pitch_diameter",
                                  "tip_diameter", "base_diameter"};

// The label's text without what follows the symbol: "またぎ歯厚 W（k＝3）" names its box "またぎ歯厚 W".
QString AccessibleNameOf(const QString& label)
{
    const qsizetype bracket = label.indexOf(QStringLiteral("（k"));
    return bracket > 0 ? label.left(bracket) : label;
}

}  // namespace

InspectionWindow::InspectionWindow(ToolHost& host) : QWidget(&host.hostWidget(), Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("InspectionWindow"));
    setWindowTitle(QStringLiteral("検査寸法"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    StyleLikeMainWindow(*this, host);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    int row = 0;

    gearLabel = new QLabel(this);
    gearLabel->setObjectName(QStringLiteral("GearLabel"));
    gearLabel->setAccessibleName(QStringLiteral("歯車"));
    grid->addWidget(gearLabel, row++, 0, 1, 4);
    {
        auto* choices = new QHBoxLayout;
        gear1Choice = new QRadioButton(QStringLiteral("歯車１"), this);
        gear1Choice->setObjectName(QStringLiteral("InspectionGear1"));
        gear1Choice->setAccessibleName(QStringLiteral("歯車１（現在の歯車）"));
        gear1Choice->setChecked(true);
        gear2Choice = new QRadioButton(QStringLiteral("歯車２"), this);
        gear2Choice->setObjectName(QStringLiteral("InspectionGear2"));
        gear2Choice->setAccessibleName(QStringLiteral("歯車２（かみあいの相手）"));
        auto* group = new QButtonGroup(this);
        group->addButton(gear1Choice);
        group->addButton(gear2Choice);
        choices->addWidget(gear1Choice);
        choices->addWidget(gear2Choice);
        choices->addStretch();
        grid->addLayout(choices, row++, 0, 1, 4);
        connect(gear2Choice, &QRadioButton::toggled, this, [this](bool checked) {
            // 歯車２ without a pair to take it from says why and goes back to 歯車１.
            bool shown = false;
            RunCommand(this, [this, &shown] {
                ShowGear(ChosenGear());
                shown = true;
            });
            if (!shown && checked)
                gear1Choice->setChecked(true);
        });
    }

    auto addInput = [&](const char* name, const QString& caption, const QString& hint) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
        label->setAccessibleName(caption);
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(std::numeric_limits<int>::max());   // a long paste reaches the parser whole
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(caption);
        edit->setPlaceholderText(hint);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        return edit;
    };
    pinEdit = addInput("PinEdit", QStringLiteral("ピン径 dp"), QStringLiteral("空欄＝理想ピン"));
    spanEdit = addInput("SpanEdit", QStringLiteral("またぎ歯数 k"), QStringLiteral("空欄＝推奨"));

    showButton = new QPushButton(QStringLiteral("再計算"), this);
    showButton->setObjectName(QStringLiteral("ShowButton"));
    showButton->setAccessibleName(QStringLiteral("再計算"));
    copyButton = new QPushButton(QStringLiteral("コピー"), this);
    copyButton->setObjectName(QStringLiteral("CopyButton"));
    copyButton->setAccessibleName(QStringLiteral("コピー"));
    grid->addWidget(showButton, row - 2, 2);
    grid->addWidget(copyButton, row - 1, 2);
    helixEdit = addInput("InspectionHelixAngle", QStringLiteral("ねじれ角 β（°）"), QStringLiteral("空欄・0＝平歯車"));
    {
        const QString caption = QStringLiteral("ねじれ方向");
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("InspectionHandLabel"));
        label->setAccessibleName(caption);
        handBox = new QComboBox(this);
        handBox->setObjectName(QStringLiteral("InspectionHand"));
        handBox->setAccessibleName(caption);
        for (const Hand hand : {Hand::Right, Hand::Left})
            handBox->addItem(QString::fromUtf8(HandText(hand)), static_cast<int>(hand));
        label->setBuddy(handBox);
        grid->addWidget(label, row, 0);
        grid->addWidget(handBox, row, 1);
        ++row;
    }

    const InspectionResult none;
    const std::vector<InspectionRow> rows = InspectionRows({}, none);
    std::vector<std::string> limitKeys;
    for (const LimitRow& limit : LimitRows({}))
        limitKeys.emplace_back(limit.key);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* label = new QLabel(Utf8(rows[i].label), this);
        label->setObjectName(QStringLiteral("Label_%1").arg(QString::fromLatin1(rows[i].key)));
        label->setAccessibleName(AccessibleNameOf(label->text()));
        auto* value = new QLineEdit(this);
        value->setMaxLength(std::numeric_limits<int>::max());
        value->setObjectName(QStringLiteral("Value_%1").arg(QString::fromLatin1(rows[i].key)));
        MakeReadOnlyBox(value);
        value->setAlignment(Qt::AlignRight);
        value->setFixedWidth(110);
        value->setAccessibleName(AccessibleNameOf(label->text()));
        auto* reason = new QLabel(this);
        reason->setObjectName(QStringLiteral("Reason_%1").arg(QString::fromLatin1(rows[i].key)));
        reason->setAccessibleName(AccessibleNameOf(label->text()) + QStringLiteral("の理由"));
        reason->setStyleSheet(QStringLiteral("color: #804000;"));
        reason->setWordWrap(true);
        reason->setFixedWidth(kReasonWidth);   // the window keeps its width whatever reason shows
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        if (std::find(limitKeys.begin(), limitKeys.end(), rows[i].key) != limitKeys.end()) {
            auto* limit = new QLineEdit(this);
            limit->setObjectName(QStringLiteral("Limit_%1").arg(QString::fromLatin1(rows[i].key)));
            MakeReadOnlyBox(limit);
            limit->setFixedWidth(170);
            limit->setAccessibleName(AccessibleNameOf(label->text()) + QStringLiteral("の許容範囲"));
            grid->addWidget(limit, row, 2);
            limitBoxes[rows[i].key] = limit;
        }
        grid->addWidget(reason, row, 3);
        ++row;
        labels.push_back(label);
        values.push_back(value);
        reasons.push_back(reason);
    }

    helixValues = new QLabel(this);
    helixValues->setObjectName(QStringLiteral("HelixValues"));
    helixValues->setAccessibleName(QStringLiteral("はすば歯車の正面の値"));
    helixValues->setTextFormat(Qt::RichText);
    helixValues->setTextInteractionFlags(Qt::TextSelectableByMouse);
    helixValues->hide();
    grid->addWidget(helixValues, row++, 0, 1, 4);

    findings = new QListWidget(this);
    findings->setObjectName(QStringLiteral("Findings"));
    findings->setAccessibleName(QStringLiteral("所見"));
    findings->setFixedHeight(96);
    findings->setWordWrap(true);   // long findings wrap instead of hiding behind a scroll bar
    grid->addWidget(findings, row++, 0, 1, 4);
    tolerances = new TolerancePanel(host, this);
    grid->addWidget(tolerances, row, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    connect(showButton, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(pinEdit, &QLineEdit::returnPressed, this, [this] { Refresh(); });
    connect(spanEdit, &QLineEdit::returnPressed, this, [this] { Refresh(); });
    connect(helixEdit, &QLineEdit::returnPressed, this, [this] { Refresh(); });
    connect(handBox, &QComboBox::activated, this, [this] { Refresh(); });
    connect(copyButton, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { CopyText(); }); });
    // A closed window follows nothing: opening it again shows the gear of that
    // moment, and an error in its boxes is never raised from a window nobody sees.
    host.onCurrentGearChanged(this, [this] {
        if (isVisible())
            Follow(m_host.currentGear());
    });
    connect(tolerances, &TolerancePanel::edited, this, [this] { Refresh(); });
    connect(tolerances, &TolerancePanel::sheetWanted, this, [this](bool print) {
        RunCommand(this, [this, print] {
            const DataSheet sheet = CurrentDataSheet();
            print ? PrintDataSheet(this, sheet) : SaveDataSheetPdf(this, sheet);
        });
    });
}

void InspectionWindow::Refresh()
{
    RunCommand(this, [this] { ShowGear(ChosenGear()); });
}

void InspectionWindow::Follow(const GearRecord& gear)
{
    m_hostGear = gear;
    m_gear = gear;
    Refresh();
}

GearRecord InspectionWindow::ChosenGear() const
{
    if (!gear2Choice->isChecked())
        return m_hostGear;
    const std::optional<GearRecord> gear2 = ShownGear2(m_host, m_hostGear);
    if (!gear2)
        throw AppError("歯車２は、かみあいに外歯車どうしの組が出ているときに選べます");
    return *gear2;
}

void InspectionWindow::WatchPair(PairWindow& pair)
{
    connect(&pair, &PairWindow::shownPairChanged, this, &InspectionWindow::pairChanged, Qt::UniqueConnection);
    connect(&pair, &PairWindow::designEdited, this, &InspectionWindow::pairChanged, Qt::UniqueConnection);
}

void InspectionWindow::pairChanged()
{
    if (isVisible())
        RunGuarded([this] { ShowGear(ChosenGear()); }, [this](const std::string& message) {
            findings->clear();
            findings->addItem(QStringLiteral("エラー：") + Utf8(message));
        });
}

InspectionRequest InspectionWindow::readRequest() const
{
    const std::string& sep = m_host.decimalSeparator();
    InspectionRequest request;
    if (!IsBlank(pinEdit->text()))
        request.pinDiameter = Store(ParseFloat(pinEdit->text().toStdString(), sep));
    if (!IsBlank(spanEdit->text()))
        request.spanTeeth = ParseInteger(spanEdit->text().toStdString());
    return request;
}

void InspectionWindow::keepOnScreen()
{
    // The helical gear's values make the window taller: it grows at once and
    // moves up as far as its new bottom would pass the screen's.
    if (!isVisible() || screen() == nullptr)
        return;
    layout()->activate();
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.bottom() > available.bottom())
        move(pos() - QPoint(0, std::min(frame.bottom() - available.bottom(), frame.top() - available.top())));
}

GearSpec InspectionWindow::shownSpec(const GearRecord& record) const
{
    GearSpec gear = GearSpecOf(record);
    if (!IsBlank(helixEdit->text()))
        gear.helixAngleDegrees = Store(ParseFloat(helixEdit->text().toStdString(), m_host.decimalSeparator()));
    gear.hand = static_cast<Hand>(handBox->currentData().toInt());
    // A helix angle the model refuses is the box's error, not a window of absent values.
    if (!(gear.helixAngleDegrees >= 0.0 && gear.helixAngleDegrees < 90.0))
        throw AppError(GearSpecDefect(gear));
    return gear;
}

void InspectionWindow::ShowGear(const GearRecord& record)
{
    const std::string& sep = m_host.decimalSeparator();
    InspectionRequest request = readRequest();
    const GearSpec gear = shownSpec(record);
    m_gear = record;

    // The design of the gear chosen, while かみあい shows a pair; else the boxes as the user typed them.
    tolerances->UseDesign(ShownDesign(gear2Choice->isChecked() ? 1 : 0));

    const bool helical = gear.helixAngleDegrees != 0.0;
    if (helical)   // the anvils' reach along the face is checked against the face width
        request.faceWidth = tolerances->faceWidth();
    const InspectionResult result = ComputeInspection(gear, request);
    const ThicknessLimits limits = tolerances->Show(gear, result);
    for (const LimitRow& row : LimitRows(limits))
        if (QLineEdit* box = limitBoxes[row.key]) {
            box->setText(Utf8(LimitRangeText(row.limits, sep)));
            box->setCursorPosition(0);
        }

    std::string text = InspectionText(gear, result, sep);
    std::string helixText;
    if (helical) {
        // The header names the helix; the transverse values follow the rows.
        helixText = "　β " + FormatGeneral(gear.helixAngleDegrees, 11, sep) + "°　" + HandText(gear.hand) +
                    "　（検査寸法は歯直角の値）";
        text.insert(text.find('\n'), helixText);
    }
    gearLabel->setText(Utf8(text.substr(0, text.find('\n'))));
    std::string transverse;
    QString table;   // two label-value pairs a line, to keep the window low
    if (helical) {
        const MateReport report = HelicalGearReport(gear, result, sep);
        int shown = 0;
        for (const char* key : kHelixKeys)
            for (const PairRow& row : report.results)
                if (row.key == std::string_view(key)) {
                    transverse += std::string(row.label) + "\t" + row.texts[0] + "\n";
                    table += QString(shown % 2 == 0 ? QStringLiteral("<tr>") : QString()) +
                             QStringLiteral("<td>%1</td><td align=\"right\" style=\"padding: 0 24px 0 8px\">%2</td>")
                                 .arg(Utf8(row.label).toHtmlEscaped(), Utf8(row.texts[0]).toHtmlEscaped());
                    ++shown;
                }
    }
    helixValues->setText(helical ? QStringLiteral("<table>") + table + QStringLiteral("</table>") : QString());
    const bool grows = helical && !helixValues->isVisibleTo(this);
    helixValues->setVisible(helical);
    const std::vector<InspectionRow> rows = InspectionRows(gear, result);
    for (std::size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        labels[i]->setText(Utf8(rows[i].label));
        values[i]->setText(Utf8(InspectionValueText(rows[i], sep)));
        values[i]->setCursorPosition(0);
        reasons[i]->setText(Utf8(rows[i].measure.present() ? rows[i].measure.note : rows[i].measure.reason));
    }
    findings->clear();
    for (const std::string& line : InspectionFindings(gear, result, sep))
        findings->addItem(Utf8(line));
    // A helical gear's span against the face width (not among InspectionFindings).
    for (const std::string& line : result.spanFindings) {
        findings->addItem(Utf8(line));
        text += line + "\n";
    }
    if (const std::string note = TipThicknessNote(result, record.TipThickness, sep); !note.empty()) {
        findings->addItem(Utf8(note));
        text += note + "\n";
    }
    text += transverse;
    text += tolerances->text();
    m_text = Utf8(text);
    if (grows)
        keepOnScreen();
}

std::optional<GearDesign> InspectionWindow::ShownDesign(int pairGear) const
{
    const auto* pair =
        m_host.hostWidget().findChild<PairWindow*>(QStringLiteral("PairWindow"), Qt::FindDirectChildrenOnly);
    return pair != nullptr ? pair->ShownGearDesign(pairGear) : std::nullopt;
}

DataSheet InspectionWindow::CurrentDataSheet() const
{
    if (shownSpec(m_gear).helixAngleDegrees != 0.0)
        throw AppError("はすば歯車の要目表はまだ作れません");
    return DataSheetOf(m_gear, gear2Choice->isChecked() ? 1 : 0);
}

DataSheet InspectionWindow::DataSheetOf(const GearRecord& gear, int pairGear) const
{
    // The design as かみあい holds it now, whatever the boxes showed last.
    return tolerances->Sheet(GearSpecOf(gear), readRequest(), ShownDesign(pairGear));
}

void InspectionWindow::CopyText()
{
    SetClipboardTextVerified(m_text);
}

InspectionWindow* FindInspectionWindow(ToolHost& host)
{
    return host.hostWidget().findChild<InspectionWindow*>(QStringLiteral("InspectionWindow"), Qt::FindDirectChildrenOnly);
}

void InstallInspectionTool(ToolHost& host)
{
    QAction* item = host.toolMenu()->addAction(QStringLiteral("検査寸法"));
    item->setObjectName(QStringLiteral("InspectionItem"));
    QObject::connect(item, &QAction::triggered, &host.hostWidget(), [&host] {
        InspectionWindow* window = FindInspectionWindow(host);
        if (window == nullptr) {
            window = new InspectionWindow(host);
            if (auto* pair = host.hostWidget().findChild<PairWindow*>(QStringLiteral("PairWindow"),
                                                                      Qt::FindDirectChildrenOnly))
                window->WatchPair(*pair);
        }
        window->Follow(host.currentGear());
        ShowToolWindow(*window, host);
    });
}
