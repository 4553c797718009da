// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/exportdialog.h"

#include "ui/pairwindow.h"

#include "ui/filedialog.h"
#include "ui/errorbox.h"
#include "ui/toolhost.h"
#include "ui/qttext.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "export/profileexport.h"
#include "base/apperror.h"
#include "geardata/gearrecord.h"
#include "base/safefile.h"
#include "geometry/extended.h"
#include "geometry/inspection.h"
#include "ui/inspectionwindow.h"
#include "commands/teethchecks.h"
#include "commands/helicaltext.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>

#include <optional>
#include <QVBoxLayout>
#include <limits>
#include <optional>

#include <exception>
#include <thread>

namespace {

std::function<bool(ExportForm&)> formAnswer;
std::function<QString(const QString&, QString&)> fileAnswer;
QString lastFileName = QStringLiteral("gear.dxf");

const QString kDxfFilter = QStringLiteral("DXF (*.dxf)");
const QString kSvgFilter = QStringLiteral("SVG (*.svg)");
// The filters with the extension a name without one gets.
const std::pair<QString, QString> kFilters[] = {
    {kDxfFilter, QStringLiteral("dxf")},           {kSvgFilter, QStringLiteral("svg")},
    {QStringLiteral("STL (*.stl)"), QStringLiteral("stl")}, {QStringLiteral("3MF (*.3mf)"), QStringLiteral("3mf")},
    {QStringLiteral("STEP (*.step *.stp)"), QStringLiteral("step")},
};

// What the form was last confirmed with, while the program runs. The tip
// radius is kept only for a gear of the same module (it is 0.38 m by default).
struct KeptForm {
    bool kept = false;
    double module = 0.0;
    QString tolerance, tipRadius, allowanceUpper, allowanceLower, bore, faceWidth, hubDiameter, hubLength, kerf;
    bool keyway = false, note = false;
    QString helixAngle;   // the form's own helix, not one taken from かみあい
    int hand = 0;
};
KeptForm kept;

QString Text(double value, const std::string& separator)
{
    return QString::fromStdString(FormatGeneral(value, 11, separator));
}

// A labelled box; the box is <name>Edit, its label <name>Label.
QLineEdit* AddBox(QFormLayout* rows, QWidget* parent, const char* name, const QString& caption, const QString& text)
{
    auto* edit = new QLineEdit(parent);
    // The whole text reaches the parser: a paste past Qt's default 32767 characters is refused there, not cut.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setText(text);
    edit->setObjectName(QString::fromLatin1(name) + QStringLiteral("Edit"));
    edit->setAccessibleName(caption);
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    label->setAccessibleName(caption);
    label->setBuddy(edit);
    rows->addRow(label, edit);
    return edit;
}

QCheckBox* AddCheck(QFormLayout* rows, QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name) + QStringLiteral("Check"));
    box->setAccessibleName(caption);
    rows->addRow(box);
    return box;
}

double ReadBox(const QLineEdit* edit, const std::string& separator)
{
    return static_cast<double>(ParseFloat(edit->text().toStdString(), separator));
}

// The file's bytes made on a thread of their own (a large gear's STEP solid
// takes seconds), while a modal busy box keeps the window painted and takes
// its input; failures come back to this thread.
std::string MakeBytesAway(QWidget* parent, const PreparedShape& prepared, ExportFormat format, const DataSheet* sheet)
{
    QProgressDialog busy(QStringLiteral("書き出しています…"), QString(), 0, 0, parent);
    busy.setObjectName(QStringLiteral("ExportBusy"));
    busy.setAccessibleName(QStringLiteral("書き出し中"));
    busy.setWindowTitle(QStringLiteral("歯形の書き出し"));
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setMinimumDuration(300);
    QEventLoop loop;
    std::string bytes;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            bytes = ShapeExportBytes(prepared, format, sheet);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return bytes;
}

}  // namespace

QString ExportFilters()
{
    QStringList filters;
    for (const auto& f : kFilters)
        filters << f.first;
    return filters.join(QStringLiteral(";;"));
}

void ResetExportForm() { kept = KeptForm(); }

const GearRecord& ExportForm::chosenGear() const
{
    return m_gear2 && m_gear2Choice != nullptr && m_gear2Choice->isChecked() ? *m_gear2 : m_gear;
}

void ExportForm::showGear(const GearRecord& gear)
{
    const std::string& separator = m_separator;
    m_gearLabel->setText(QStringLiteral("モジュール %1　歯数 %2　転位係数 %3　圧力角 %4°")
                             .arg(Text(gear.Module, separator), QString::number(gear.Teeth), Text(gear.Shift, separator),
                                  Text(PressureAngleDegrees(gear.PressureAngleIndex), separator)));
    // The generated tooth's findings, as every other window words them.
    QStringList findingLines;
    for (const std::string& line : GeneratedToothFindings(gear))
        findingLines << QString::fromStdString(line);
    m_findingsLabel->setText(findingLines.join(QLatin1Char('\n')));
    m_findingsLabel->setVisible(!findingLines.isEmpty());
}

void SetExportFormAnswer(std::function<bool(ExportForm&)> answer) { formAnswer = std::move(answer); }
void SetExportFileAnswer(std::function<QString(const QString&, QString&)> answer) { fileAnswer = std::move(answer); }

void ExportForm::showHelix()
{
    if (!m_pairHelix)
        return;
    const Hand hand = m_pairHelix->hands[&chosenGear() == &m_gear ? 0 : 1];
    m_helixEdit->setText(Text(m_pairHelix->degrees, m_separator));
    m_handBox->setCurrentIndex(m_handBox->findData(static_cast<int>(hand)));
}

void ExportForm::showAllowance()
{
    // The chosen gear's allowance as かみあい designs it; else what the boxes hold.
    const std::optional<ThicknessAllowance>& allowance = m_pairAllowances[&chosenGear() == &m_gear ? 0 : 1];
    if (!allowance)
        return;
    m_allowanceUpperEdit->setText(Text(allowance->upper, m_separator));
    m_allowanceLowerEdit->setText(Text(allowance->lower, m_separator));
}

ExportForm::ExportForm(QWidget* parent, const GearRecord& gear, const std::string& separator,
                       const std::optional<GearRecord>& gear2, const PairAllowances& allowances,
                       const std::optional<PairHelix>& pairHelix)
    : QDialog(parent), m_pairAllowances(allowances), m_pairHelix(pairHelix), m_separator(separator), m_gear(gear),
      m_gear2(gear2)
{
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("歯形の書き出し"));
    setAccessibleName(windowTitle());
    auto* column = new QVBoxLayout(this);

    if (gear2) {
        // The pair of かみあい: which of its gears is written.
        auto* which = new QHBoxLayout;
        m_gear1Choice = new QRadioButton(QStringLiteral("歯車１"), this);
        m_gear1Choice->setObjectName(QStringLiteral("ExportGear1"));
        m_gear1Choice->setAccessibleName(QStringLiteral("書き出す歯車 歯車１（現在の歯車）"));
        m_gear1Choice->setChecked(true);
        m_gear2Choice = new QRadioButton(QStringLiteral("歯車２"), this);
        m_gear2Choice->setObjectName(QStringLiteral("ExportGear2"));
        m_gear2Choice->setAccessibleName(QStringLiteral("書き出す歯車 歯車２（かみあいの相手）"));
        auto* group = new QButtonGroup(this);   // apart from the shape's buttons
        group->addButton(m_gear1Choice);
        group->addButton(m_gear2Choice);
        which->addWidget(m_gear1Choice);
        which->addWidget(m_gear2Choice);
        which->addStretch();
        column->addLayout(which);
        connect(m_gear2Choice, &QRadioButton::toggled, this, [this] {
            showGear(chosenGear());
            showAllowance();
            showHelix();
        });
    }
    m_gearLabel = new QLabel(this);
    m_gearLabel->setObjectName(QStringLiteral("ExportGearLabel"));
    m_gearLabel->setAccessibleName(QStringLiteral("書き出す歯車"));
    column->addWidget(m_gearLabel);
    m_findingsLabel = new QLabel(this);
    m_findingsLabel->setObjectName(QStringLiteral("ExportFindings"));
    m_findingsLabel->setAccessibleName(QStringLiteral("歯形の所見"));
    column->addWidget(m_findingsLabel);
    showGear(gear);

    auto* rows = new QFormLayout;
    m_toleranceEdit = AddBox(rows, this, "Tolerance", QStringLiteral("許容差 (mm)"), Text(0.001, separator));
    m_tipRadiusEdit = AddBox(rows, this, "TipRadius", QStringLiteral("工具の歯先丸み半径 ρ (mm)"),
                             Text(DefaultToolTipRadius(gear.Module), separator));
    {
        // 上 and 下 side by side under one caption; the profile is cut at their middle.
        const QString caption = QStringLiteral("歯厚の増減 (mm、負で薄く)");
        auto* pair = new QHBoxLayout;
        QLineEdit** boxes[] = {&m_allowanceUpperEdit, &m_allowanceLowerEdit};
        const char* const names[] = {"AllowanceUpper", "AllowanceLower"};
        const QString sides[] = {QStringLiteral("上"), QStringLiteral("下")};
        for (int side = 0; side < 2; ++side) {
            auto* sideLabel = new QLabel(sides[side], this);
            sideLabel->setObjectName(QString::fromLatin1(names[side]) + QStringLiteral("Label"));
            sideLabel->setAccessibleName(sides[side]);
            auto* edit = new QLineEdit(this);
            edit->setMaxLength(std::numeric_limits<int>::max());
            edit->setText(Text(0.0, separator));
            edit->setObjectName(QString::fromLatin1(names[side]));
            edit->setAccessibleName(QStringLiteral("歯厚の増減 ") + sides[side] + QStringLiteral(" (mm、負で薄く)"));
            edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0.3774450")) + 12);
            sideLabel->setBuddy(edit);
            pair->addWidget(sideLabel);
            pair->addWidget(edit, 1);
            *boxes[side] = edit;
        }
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("AllowanceLabel"));
        label->setAccessibleName(caption);
        label->setBuddy(m_allowanceUpperEdit);
        rows->addRow(label, pair);
    }
    m_boreEdit = AddBox(rows, this, "Bore", QStringLiteral("穴径 (mm、0 は穴なし)"), Text(0.0, separator));
    m_keywayCheck = AddCheck(rows, this, "Keyway", QStringLiteral("キー溝 (JIS B 1301 平行キー 普通形)"));
    m_faceWidthEdit = AddBox(rows, this, "FaceWidth", QStringLiteral("歯幅 (mm、STL・3MF・STEP)"), Text(10.0, separator));
    m_hubDiameterEdit = AddBox(rows, this, "HubDiameter", QStringLiteral("ハブの直径 (mm、0 はハブなし)"), Text(0.0, separator));
    m_hubLengthEdit = AddBox(rows, this, "HubLength", QStringLiteral("ハブの長さ (mm)"), Text(0.0, separator));
    m_kerfEdit = AddBox(rows, this, "Kerf", QStringLiteral("切り幅 (mm、DXF・SVG、0 は補正なし)"), Text(0.0, separator));
    m_noteCheck = AddCheck(rows, this, "Note", QStringLiteral("歯車の諸元を注記する (DXF・SVG)"));
    if (kept.kept) {
        m_toleranceEdit->setText(kept.tolerance);
        if (kept.module == gear.Module)
            m_tipRadiusEdit->setText(kept.tipRadius);
        m_allowanceUpperEdit->setText(kept.allowanceUpper);
        m_allowanceLowerEdit->setText(kept.allowanceLower);
        m_boreEdit->setText(kept.bore);
        m_keywayCheck->setChecked(kept.keyway);
        m_faceWidthEdit->setText(kept.faceWidth);
        m_hubDiameterEdit->setText(kept.hubDiameter);
        m_hubLengthEdit->setText(kept.hubLength);
        m_kerfEdit->setText(kept.kerf);
        m_noteCheck->setChecked(kept.note);
    }
    showAllowance();
    column->addLayout(rows);
    m_dataTableCheck = new QCheckBox(QStringLiteral("要目表を付ける（DXF、画層 DATATABLE）"), this);
    m_dataTableCheck->setObjectName(QStringLiteral("ExportDataTable"));
    m_dataTableCheck->setAccessibleName(QStringLiteral("要目表を付ける"));
    m_dataTableCheck->setToolTip(QStringLiteral("精度等級・歯厚許容差・ピン径は「検査寸法」で開いている値を使います"));
    column->addWidget(m_dataTableCheck);

    // What to write: the gear, a ring with its teeth, a rack of its module.
    auto* shapes = new QHBoxLayout;
    const struct {
        QRadioButton** button;
        const char* name;
        const char* caption;
    } choices[] = {{&m_shapeGear, "ExportShapeGear", "歯車"},
                   {&m_shapeRing, "ExportShapeRing", "内歯車"},
                   {&m_shapeRack, "ExportShapeRack", "ラック"}};
    for (const auto& c : choices) {
        *c.button = new QRadioButton(QString::fromUtf8(c.caption), this);
        (*c.button)->setObjectName(QString::fromLatin1(c.name));
        (*c.button)->setAccessibleName(QStringLiteral("書き出す形 ") + (*c.button)->text());
        shapes->addWidget(*c.button);
    }
    m_shapeGear->setChecked(true);
    column->addLayout(shapes);
    auto* more = new QFormLayout;
    m_rimEdit = AddBox(more, this, "Rim", QStringLiteral("内歯車の外径 (mm、0 は歯底円＋6m)"), Text(0.0, separator));
    m_lengthEdit = AddBox(more, this, "Length", QStringLiteral("ラックの長さ (mm)"), Text(100.0, separator));
    column->addLayout(more);
    // The helix last, the boxes above keep their places and their order for the keyboard.
    auto* helixRows = new QFormLayout;
    m_helixEdit = AddBox(helixRows, this, "ExportHelixAngle", QStringLiteral("ねじれ角 β（°）"), QString());
    m_helixEdit->setObjectName(QStringLiteral("ExportHelixAngle"));
    m_helixEdit->setPlaceholderText(QStringLiteral("空欄・0＝平歯車"));
    {
        const QString caption = QStringLiteral("ねじれ方向");
        m_handBox = new QComboBox(this);
        m_handBox->setObjectName(QStringLiteral("ExportHand"));
        m_handBox->setAccessibleName(caption);
        for (const Hand hand : {Hand::Right, Hand::Left})
            m_handBox->addItem(QString::fromUtf8(HandText(hand)), static_cast<int>(hand));
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("ExportHandLabel"));
        label->setAccessibleName(caption);
        label->setBuddy(m_handBox);
        helixRows->addRow(label, m_handBox);
    }
    column->addLayout(helixRows);
    if (kept.kept) {
        m_helixEdit->setText(kept.helixAngle);
        m_handBox->setCurrentIndex(kept.hand);
    }
    if (m_pairHelix) {
        // The helix of the pair shown in かみあい: its gears are written with it.
        showHelix();
        m_helixEdit->setEnabled(false);
        m_handBox->setEnabled(false);
        m_helixEdit->setToolTip(QStringLiteral("かみあいのはすば歯車の組のねじれ角です"));
    }

    auto* buttons = new QDialogButtonBox(this);
    m_okButton = buttons->addButton(QStringLiteral("保存先を選ぶ…"), QDialogButtonBox::AcceptRole);
    m_okButton->setObjectName(QStringLiteral("ExportOkButton"));
    m_okButton->setAccessibleName(QStringLiteral("保存先を選ぶ"));
    m_okButton->setDefault(true);
    m_cancelButton = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    m_cancelButton->setObjectName(QStringLiteral("ExportCancelButton"));
    m_cancelButton->setAccessibleName(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

void RunExportTool(QWidget* parent, const GearRecord& gear1, const std::string& separator,
                   const InspectionWindow* inspection, const std::optional<GearRecord>& gear2,
                   const ExportForm::PairAllowances& allowances, double tipShortening,
                   const std::optional<ExportForm::PairHelix>& pairHelix)
{
    if (gear1.InUse != 1)
        throw AppError("書き出す歯車がありません。先に計算してください");

    ExportForm dialog(parent, gear1, separator, gear2, allowances, pairHelix);
    if (!(formAnswer ? formAnswer(dialog) : dialog.exec() == QDialog::Accepted))
        return;
    const GearRecord& gear = dialog.chosenGear();
    const KeptForm before = kept;
    kept = {true, gear.Module, dialog.m_toleranceEdit->text(), dialog.m_tipRadiusEdit->text(),
            dialog.m_allowanceUpperEdit->text(), dialog.m_allowanceLowerEdit->text(), dialog.m_boreEdit->text(), dialog.m_faceWidthEdit->text(), dialog.m_hubDiameterEdit->text(),
            dialog.m_hubLengthEdit->text(), dialog.m_kerfEdit->text(), dialog.m_keywayCheck->isChecked(),
            dialog.m_noteCheck->isChecked(), before.helixAngle, before.hand};
    if (!pairHelix) {   // the form's own helix is kept; one of かみあい is that window's
        kept.helixAngle = dialog.m_helixEdit->text();
        kept.hand = dialog.m_handBox->currentIndex();
    }
    // The profile, the part and their notes are those of spur gears: a helical gear is refused before any file is asked for.
    if (!dialog.m_helixEdit->text().trimmed().isEmpty()) {
        const double helix = ReadBox(dialog.m_helixEdit, separator);
        if (!(helix >= 0.0 && helix < 90.0)) {
            GearSpec refused = GearSpecOf(gear);
            refused.helixAngleDegrees = helix;
            throw AppError(GearSpecDefect(refused));
        }
        if (helix != 0.0)
            throw AppError("はすば歯車はまだ書き出せません（歯形・部品・注記は平歯車のものです）");
    }

    // What to write: the gear, or a ring or a rack of its module.
    ShapeExportRequest request;
    if (dialog.m_shapeGear->isChecked()) {
        request.gear = ExportRequestOf(gear, ReadBox(dialog.m_toleranceEdit, separator),
                                       ReadBox(dialog.m_tipRadiusEdit, separator), ReadBox(dialog.m_boreEdit, separator));
        // The teeth are cut at the middle of the allowance, as tsumugi-cli export cuts them.
        const ThicknessAllowance allowance{ReadBox(dialog.m_allowanceUpperEdit, separator),
                                           ReadBox(dialog.m_allowanceLowerEdit, separator)};
        CheckAllowance(allowance);
        request.gear.gear.thicknessAllowance = (allowance.upper + allowance.lower) / 2.0;
        // Either gear of two external gears shown in かみあい is cut with the pair's shortened tip.
        request.gear.gear.tipShortening = tipShortening;
        request.gear.keyway = dialog.m_keywayCheck->isChecked();
        request.gear.faceWidth = ReadBox(dialog.m_faceWidthEdit, separator);
        request.gear.hubDiameter = ReadBox(dialog.m_hubDiameterEdit, separator);
        request.gear.hubLength = ReadBox(dialog.m_hubLengthEdit, separator);
        request.gear.kerf = ReadBox(dialog.m_kerfEdit, separator);
        request.gear.note = dialog.m_noteCheck->isChecked();
    } else {
        request.tolerance = ReadBox(dialog.m_toleranceEdit, separator);
        const double degrees = PressureAngleDegrees(gear.PressureAngleIndex);
        if (dialog.m_shapeRack->isChecked()) {
            request.shape = ExportShape::Rack;
            request.rackModule = gear.Module;
            request.rackPressureAngle = degrees;
            request.rackLength = ReadBox(dialog.m_lengthEdit, separator);
        } else {
            request.shape = ExportShape::Ring;
            request.ring.kind = GearKind::Internal;
            request.ring.cutter.kind = CutterKind::Pinion;
            request.ring.module = gear.Module;
            request.ring.teeth = gear.Teeth;
            request.ring.shift = gear.Shift;
            request.ring.pressureAngleDegrees = degrees;
            request.rimDiameter = ReadBox(dialog.m_rimEdit, separator);
        }
    }
    // Refuse the shape, its drawing and a gear's part before asking for a file.
    const PreparedShape prepared = PrepareShapeExport(request);
    if (dialog.m_dataTableCheck->isChecked() && !dialog.m_shapeGear->isChecked())
        throw AppError("要目表は歯車（外歯車）にだけ付けられます");
    // The data table with what 検査寸法 shows (class, allowances, pin), or the gear alone.
    std::optional<DataSheet> sheet;
    if (dialog.m_dataTableCheck->isChecked()) {
        if (inspection != nullptr) {
            const bool gear2 = dialog.m_gear2Choice != nullptr && dialog.m_gear2Choice->isChecked();
            sheet = inspection->DataSheetOf(gear, gear2 ? 1 : 0);
        } else {
            DataSheetInput input;
            input.gear = GearSpecOf(gear);
            sheet = BuildDataSheet(input);
        }
    }

    QString filter = kDxfFilter;
    for (const auto& f : kFilters)
        if (QFileInfo(lastFileName).suffix().compare(f.second, Qt::CaseInsensitive) == 0)
            filter = f.first;
    const QString name = fileAnswer ? fileAnswer(lastFileName, filter)
                                    : AskSaveFileName(parent, QStringLiteral("歯形の書き出し"), lastFileName,
                                                                   ExportFilters(), &filter);
    if (name.isEmpty())
        return;
    QString path = name;
    const QString suffix = QFileInfo(path).suffix().toLower();
    bool known = suffix == QStringLiteral("stp");
    QString extension = QStringLiteral("dxf");
    for (const auto& f : kFilters) {
        known = known || suffix == f.second;
        if (filter == f.first)
            extension = f.second;
    }
    if (!known)
        path += QLatin1Char('.') + extension;
    lastFileName = path;

    const std::string file = path.toStdString();
    const ExportFormat format = ExportFormatOf(file);
    // A gear's bytes away from the window; a ring's or a rack's drawing at once.
    const DataSheet* table = sheet ? &*sheet : nullptr;
    const std::string bytes = prepared.gear ? MakeBytesAway(parent, prepared, format, table)
                                            : ShapeExportBytes(prepared, format, table);
    WriteFileSafely(file, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void InstallExportTool(ToolHost& host)
{
    auto* action = host.toolMenu()->addAction(QStringLiteral("歯形の書き出し"));
    action->setObjectName(QStringLiteral("ExportProfile1"));
    QWidget* parent = &host.hostWidget();
    QObject::connect(action, &QAction::triggered, parent, [&host, parent] {
        RunCommand(parent, [&host, parent] {
            // Gear 2 of the pair かみあい shows, to choose instead of gear 1.
            ExportForm::PairAllowances allowances;
            double tipShortening = 0.0;
            std::optional<ExportForm::PairHelix> helix;
            if (const auto* pair = host.hostWidget().findChild<PairWindow*>(QStringLiteral("PairWindow"),
                                                                            Qt::FindDirectChildrenOnly)) {
                allowances = {pair->ShownAllowance(0), pair->ShownAllowance(1)};
                tipShortening = pair->ShownTipShortening();
                if (const std::optional<PairInput>& shown = pair->ShownPair();
                    pair->isVisible() && shown && shown->helixAngle != 0.0)
                    helix = ExportForm::PairHelix{shown->helixAngle, shown->hands};
            }
            RunExportTool(parent, host.currentGear(), host.decimalSeparator(), FindInspectionWindow(host),
                          ShownGear2(host, host.currentGear()), allowances, tipShortening, helix);
        });
    });
}
