// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/exportdialog.h"

#include "ui/errorbox.h"
#include "ui/mainwindow.h"
#include "ui/qttext.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "export/profileexport.h"
#include "geardata/apperror.h"
#include "geardata/gearrecord.h"
#include "geardata/safefile.h"
#include "geometry/extended.h"
#include "geometry/inspection.h"
#include "ui/inspectionwindow.h"
#include "commands/teethchecks.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <optional>
#include <QVBoxLayout>
#include <limits>

namespace {

std::function<bool(ExportForm&)> formAnswer;
std::function<QString(const QString&, QString&)> fileAnswer;
QString lastFileName = QStringLiteral("gear.dxf");

const QString kDxfFilter = QStringLiteral("DXF (*.dxf)");
const QString kSvgFilter = QStringLiteral("SVG (*.svg)");

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

double ReadBox(const QLineEdit* edit, const std::string& separator)
{
    return static_cast<double>(ParseFloat(edit->text().toStdString(), separator));
}

}  // namespace

QString ExportFilters()
{
    return kDxfFilter + QStringLiteral(";;") + kSvgFilter;
}

void SetExportFormAnswer(std::function<bool(ExportForm&)> answer) { formAnswer = std::move(answer); }
void SetExportFileAnswer(std::function<QString(const QString&, QString&)> answer) { fileAnswer = std::move(answer); }

ExportForm::ExportForm(QWidget* parent, const GearRecord& gear, const std::string& separator) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("歯形の書き出し"));
    setAccessibleName(windowTitle());
    auto* column = new QVBoxLayout(this);

    m_gearLabel = new QLabel(this);
    m_gearLabel->setObjectName(QStringLiteral("ExportGearLabel"));
    m_gearLabel->setText(QStringLiteral("モジュール %1　歯数 %2　転位係数 %3　圧力角 %4°")
                             .arg(Text(gear.Module, separator), QString::number(gear.Teeth), Text(gear.Shift, separator),
                                  Text(PressureAngleDegrees(gear.PressureAngleIndex), separator)));
    m_gearLabel->setAccessibleName(QStringLiteral("書き出す歯車"));
    column->addWidget(m_gearLabel);

    // The generated tooth's findings, as every other window words them.
    QStringList findingLines;
    for (const std::string& line : GeneratedToothFindings(gear))
        findingLines << QString::fromStdString(line);
    m_findingsLabel = new QLabel(findingLines.join(QLatin1Char('\n')), this);
    m_findingsLabel->setObjectName(QStringLiteral("ExportFindings"));
    m_findingsLabel->setAccessibleName(QStringLiteral("歯形の所見"));
    m_findingsLabel->setVisible(!findingLines.isEmpty());
    column->addWidget(m_findingsLabel);

    auto* rows = new QFormLayout;
    m_toleranceEdit = AddBox(rows, this, "Tolerance", QStringLiteral("許容差 (mm)"), Text(0.001, separator));
    m_tipRadiusEdit = AddBox(rows, this, "TipRadius", QStringLiteral("工具の歯先丸み半径 ρ (mm)"),
                             Text(DefaultToolTipRadius(gear.Module), separator));
    m_boreEdit = AddBox(rows, this, "Bore", QStringLiteral("穴径 (mm、0 は穴なし)"), Text(0.0, separator));
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

void RunExportTool(QWidget* parent, const GearRecord& gear, const std::string& separator,
                   const InspectionWindow* inspection)
{
    if (gear.InUse != 1)
        throw AppError("書き出す歯車がありません。先に計算してください");

    ExportForm dialog(parent, gear, separator);
    if (!(formAnswer ? formAnswer(dialog) : dialog.exec() == QDialog::Accepted))
        return;

    ExportDrawing drawing;
    if (dialog.m_shapeRing->isChecked() || dialog.m_shapeRack->isChecked()) {
        const double tolerance = ReadBox(dialog.m_toleranceEdit, separator);
        const double degrees = PressureAngleDegreesOf(gear.PressureAngleIndex);
        if (dialog.m_shapeRack->isChecked()) {
            drawing = RackDrawing(BuildRackProfile(gear.Module, degrees, ReadBox(dialog.m_lengthEdit, separator), tolerance));
        } else {
            InternalGearInput ring;
            ring.module = gear.Module;
            ring.teeth = gear.Teeth;
            ring.shift = gear.Shift;
            ring.pressureAngleDegrees = degrees;
            const GearProfile profile = BuildInternalGearProfile(ring, tolerance);
            const double typed = ReadBox(dialog.m_rimEdit, separator);
            const double rim = typed == 0.0 ? DefaultRimDiameter(profile, gear.Module) : typed;
            CheckRim(profile, rim);
            drawing = RingDrawing(profile, rim);
        }
    }

    // Refuse the gear before asking for a file.
    if (dialog.m_dataTableCheck->isChecked() && !dialog.m_shapeGear->isChecked())
        throw AppError("要目表は歯車（外歯車）にだけ付けられます");
    // The data table with what 検査寸法 shows (class, allowances, pin), or the gear alone.
    std::optional<DataSheet> sheet;
    if (dialog.m_shapeGear->isChecked()) {
        const PreparedExport prepared = PrepareExport(ExportRequestOf(gear, ReadBox(dialog.m_toleranceEdit, separator),
                                                                      ReadBox(dialog.m_tipRadiusEdit, separator),
                                                                      ReadBox(dialog.m_boreEdit, separator)));
        drawing = GearDrawing(prepared.profile, prepared.boreDiameter);
        if (dialog.m_dataTableCheck->isChecked()) {
            if (inspection != nullptr) {
                sheet = inspection->DataSheetOf(gear);
            } else {
                DataSheetInput input;
                input.gear = InspectionGearOf(gear);
                sheet = BuildDataSheet(input);
            }
        }
    }

    QString filter = QFileInfo(lastFileName).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0
                         ? kSvgFilter : kDxfFilter;
    const QString name = fileAnswer ? fileAnswer(lastFileName, filter)
                                    : QFileDialog::getSaveFileName(parent, QStringLiteral("歯形の書き出し"), lastFileName,
                                                                   ExportFilters(), &filter);
    if (name.isEmpty())
        return;
    QString path = name;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("dxf") && suffix != QStringLiteral("svg"))
        path += filter == kSvgFilter ? QStringLiteral(".svg") : QStringLiteral(".dxf");
    lastFileName = path;

    const std::string file = path.toStdString();
    const ExportFormat format = ExportFormatOf(file);
    if (sheet && format != ExportFormat::Dxf)
        throw AppError("要目表は DXF にだけ書き出せます");
    const std::string bytes = format == ExportFormat::Dxf ? DrawingDxf(drawing, sheet ? &*sheet : nullptr)
                                                          : DrawingSvg(drawing);
    WriteFileSafely(file, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void InstallExportTool(TForm1& form)
{
    auto* action = form.Tool1->addAction(QStringLiteral("歯形の書き出し"));
    action->setObjectName(QStringLiteral("ExportProfile1"));
    QObject::connect(action, &QAction::triggered, &form, [&form] {
        RunCommand(&form, [&form] { RunExportTool(&form, form.currentGear(), form.decimalSeparator(), FindInspectionWindow(form)); });
    });
}
