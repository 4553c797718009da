// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tolerancepanel.h"

#include "ui/filedialog.h"
#include "export/datasheet.h"
#include "base/apperror.h"
#include "base/safefile.h"
#include "geometry/extended.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "commands/tolerancetext.h"
#include "ui/backlashpanel.h"
#include "ui/pairwindow.h"
#include "ui/printerquery.h"
#include "ui/qttext.h"
#include "ui/toolhost.h"

#include <QAction>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <algorithm>

namespace {

std::function<QString(const QString&)> fileAnswer;
QString lastFileName = QStringLiteral("要目表.pdf");

bool IsBlank(const QLineEdit* box) { return box->text().trimmed().isEmpty(); }

double ReadLength(const QLineEdit* box, const std::string& sep)
{
    return IsBlank(box) ? 0.0 : Store(ParseFloat(box->text().toStdString(), sep));
}

}  // namespace

TolerancePanel::TolerancePanel(ToolHost& host, QWidget* parent)
    : QGroupBox(QStringLiteral("精度・歯厚許容差"), parent), m_host(host)
{
    setObjectName(QStringLiteral("TolerancePanel"));
    setAccessibleName(title());
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(3);
    auto box = [&](const char* name, const QString& caption, const QString& hint, int row, int column, int span = 1) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
        label->setAccessibleName(caption);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(caption);
        edit->setPlaceholderText(hint);
        label->setBuddy(edit);
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1, 1, span);
        connect(edit, &QLineEdit::returnPressed, this, &TolerancePanel::edited);
        return edit;
    };
    classEdit = box("AccuracyClassEdit", QStringLiteral("精度等級"), QStringLiteral("1～11"), 0, 0);
    faceWidthEdit = box("FaceWidthEdit", QStringLiteral("歯幅 b"), QStringLiteral("なし"), 0, 2);
    upperEdit = box("AllowanceUpperEdit", QStringLiteral("歯厚許容差 上"), QStringLiteral("0"), 0, 4);
    lowerEdit = box("AllowanceLowerEdit", QStringLiteral("下"), QStringLiteral("0"), 0, 6);
    // Room for an allowance of six decimals, as かみあい's design may give one.
    const int width = std::max(64, classEdit->fontMetrics().horizontalAdvance(QStringLiteral("-0.377445")) + 12);
    for (QLineEdit* edit : {classEdit, faceWidthEdit, upperEdit, lowerEdit})
        edit->setFixedWidth(width);

    // The tolerances side by side, three lines of three.
    accuracyList = new QListWidget(this);
    accuracyList->setObjectName(QStringLiteral("AccuracyList"));
    accuracyList->setAccessibleName(QStringLiteral("精度等級の許容値"));
    accuracyList->setFlow(QListView::LeftToRight);
    accuracyList->setWrapping(true);
    accuracyList->setResizeMode(QListView::Adjust);
    accuracyList->setGridSize(QSize(210, 20));
    accuracyList->setFixedHeight(70);
    grid->addWidget(accuracyList, 1, 0, 1, 9);
    accuracyNote = new QLabel(this);
    accuracyNote->setObjectName(QStringLiteral("AccuracyNote"));
    accuracyNote->setAccessibleName(QStringLiteral("精度等級"));
    accuracyNote->setWordWrap(true);
    // A long finding wraps in the width the boxes give; it never widens the window.
    accuracyNote->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(accuracyNote, 2, 0, 1, 9);

    // The rows of the user's own the table ends with; a blank box gives no row.
    materialEdit = box("MaterialEdit", QStringLiteral("材料"), QString(), 3, 0);
    heatTreatmentEdit = box("HeatTreatmentEdit", QStringLiteral("熱処理"), QString(), 3, 2);
    remarksEdit = box("RemarksEdit", QStringLiteral("備考"), QString(), 3, 4, 5);

    sheetButton = new QPushButton(QStringLiteral("要目表…"), this);
    sheetButton->setObjectName(QStringLiteral("DataSheetButton"));
    sheetButton->setAccessibleName(QStringLiteral("要目表"));
    auto* menu = new QMenu(sheetButton);
    menu->setObjectName(QStringLiteral("DataSheetMenu"));
    pdfAction = menu->addAction(QStringLiteral("PDF に保存…"));
    pdfAction->setObjectName(QStringLiteral("DataSheetPdfAction"));
    printAction = menu->addAction(QStringLiteral("印刷"));
    printAction->setObjectName(QStringLiteral("DataSheetPrintAction"));
    sheetButton->setMenu(menu);
    grid->addWidget(sheetButton, 0, 8);
    // Its line is kept empty while the boxes are the user's: the window does not grow when it shows.
    designNote = new QLabel(this);
    designNote->setObjectName(QStringLiteral("DesignNote"));
    designNote->setAccessibleName(QStringLiteral("かみあいの設計"));
    designNote->setStyleSheet(QStringLiteral("color: #004080;"));
    designNote->setMinimumHeight(designNote->fontMetrics().height());
    grid->addWidget(designNote, 4, 0, 1, 9);
    connect(pdfAction, &QAction::triggered, this, [this] { Q_EMIT sheetWanted(false); });
    connect(printAction, &QAction::triggered, this, [this] { Q_EMIT sheetWanted(true); });
}

std::vector<QLineEdit*> TolerancePanel::designBoxes() const
{
    return {classEdit, faceWidthEdit, upperEdit, lowerEdit, materialEdit, heatTreatmentEdit, remarksEdit};
}

void TolerancePanel::UseDesign(const std::optional<GearDesign>& design)
{
    const std::vector<QLineEdit*> boxes = designBoxes();
    if (!design) {
        if (m_design)
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                boxes[i]->setText(m_ownTexts[i]);
                boxes[i]->setReadOnly(false);
                boxes[i]->setStyleSheet(QString());
            }
        m_design.reset();
        designNote->clear();
        return;
    }
    if (!m_design) {
        m_ownTexts.clear();
        for (const QLineEdit* box : boxes)
            m_ownTexts.push_back(box->text());
    }
    m_design = design;
    const std::string& sep = m_host.decimalSeparator();
    const auto number = [&](double value) { return QString::fromStdString(FormatGeneral(value, 11, sep)); };
    classEdit->setText(design->accuracyClass ? QString::number(*design->accuracyClass) : QString());
    faceWidthEdit->setText(design->faceWidth ? number(*design->faceWidth) : QString());
    upperEdit->setText(design->allowance.upper == 0.0 ? QString() : number(design->allowance.upper));
    lowerEdit->setText(design->allowance.lower == 0.0 ? QString() : number(design->allowance.lower));
    QLineEdit* const rowBoxes[] = {materialEdit, heatTreatmentEdit, remarksEdit};
    for (QLineEdit* box : rowBoxes) {
        QString text;
        for (const auto& [name, value] : design->rows)
            if (QString::fromStdString(name) == box->accessibleName())
                text = QString::fromStdString(value);
        box->setText(text);
    }
    for (QLineEdit* box : boxes) {
        MakeReadOnlyBox(box);
        box->setCursorPosition(0);
    }
    designNote->setText(QStringLiteral("かみあいの設計の値です（かみあいで変えてください）"));
}

TolerancePanel::Given TolerancePanel::given(const std::optional<GearDesign>& design) const
{
    if (design)
        return {design->allowance, design->accuracyClass, design->faceWidth, design->rows};
    const std::string& sep = m_host.decimalSeparator();
    Given g;
    g.allowance = {ReadLength(upperEdit, sep), ReadLength(lowerEdit, sep)};
    if (!IsBlank(classEdit))
        g.accuracyClass = ParseInteger(classEdit->text().toStdString());
    if (!IsBlank(faceWidthEdit))
        g.faceWidth = ReadLength(faceWidthEdit, sep);
    for (const QLineEdit* edit : {materialEdit, heatTreatmentEdit, remarksEdit})
        if (!IsBlank(edit))
            g.rows.emplace_back(edit->accessibleName().toStdString(), edit->text().trimmed().toStdString());
    return g;
}

ThicknessLimits TolerancePanel::Show(const GearSpec& gear, const InspectionResult& nominal)
{
    accuracyList->clear();
    accuracyNote->clear();
    m_text.clear();
    const Given typed = given(m_design);
    const ThicknessAllowance allowance = typed.allowance;
    std::optional<AccuracyTolerances> accuracy;
    if (typed.accuracyClass)
        // The reference diameter z m_t: a helical gear's class is read with its normal module and d.
        accuracy = ComputeAccuracy({*typed.accuracyClass, gear.module, gear.teeth,
                                    static_cast<double>(HelixOf(gear).module) * gear.teeth, typed.faceWidth});
    const ThicknessLimits limits = ComputeThicknessLimits(gear, nominal, allowance);
    if (accuracy) {
        std::string note = "精度等級　" + AccuracyClassName(accuracy->accuracyClass);
        for (const AccuracyRow& row : AccuracyRows(*accuracy))
            accuracyList->addItem(Utf8(std::string(row.label) + "　" + ToleranceValueText(row.micrometres, m_host.decimalSeparator())));
        for (const std::string& finding : accuracy->findings)
            note += "\n" + finding;
        accuracyNote->setText(Utf8(note));
    }
    m_text = TolerancesText(accuracy, &limits, m_host.decimalSeparator());
    return limits;
}

DataSheet TolerancePanel::Sheet(const GearSpec& gear, const InspectionRequest& request,
                                const std::optional<GearDesign>& design) const
{
    const std::string& sep = m_host.decimalSeparator();
    DataSheetInput in;
    in.gear = gear;
    in.request = request;
    in.overPins = request.pinDiameter.has_value();
    Given typed = given(design);
    in.allowance = typed.allowance;
    in.accuracyClass = typed.accuracyClass;
    in.faceWidth = typed.faceWidth;
    in.userRows = std::move(typed.rows);
    // The mate of かみあい, when that window is open.
    const auto* pair =
        m_host.hostWidget().findChild<PairWindow*>(QStringLiteral("PairWindow"), Qt::FindDirectChildrenOnly);
    if (pair != nullptr) {
        if (const std::optional<PairWindow::SheetMate> mate = pair->CurrentMate(sep)) {
            // The mate's numbers belong to the pair かみあい shows; they go on
            // this gear's table only when it is one of that pair's gears (from
            // a centre distance かみあい solves gear 1's shift as well): a
            // shift typed as かみあい shows it (six decimals) is that gear.
            const PairInput& shown = mate->gear1;
            // A helical pair is no mate of this spur gear's table (its centre distance and backlash are the pair's).
            if (shown.helixAngle != gear.helixAngleDegrees)
                throw AppError("かみあいの組ははすば歯車のため、この歯車の要目表に相手歯車を載せられません。"
                               "かみあいを閉じてから要目表を作ってください");
            const auto shiftText = [](double x) { return FormatFixed(x, 15, 6, "."); };
            const auto isGear = [&](std::size_t i) {
                return shown.teeth[i] == gear.teeth && shown.module == gear.module &&
                       shown.pressureAngle == gear.pressureAngleDegrees && shiftText(shown.shift[i]) == shiftText(gear.shift);
            };
            DataSheetMate other = mate->mate;
            ThicknessAllowance own = mate->gear1Allowance;
            if (!isGear(0) && shown.mate == MateKind::External && isGear(1)) {
                // Gear 2's table: gear 1 is its mate.
                other.teeth = shown.teeth[0];
                other.shift = shown.shift[0];
                other.allowance = mate->gear1Allowance;
                own = mate->mate.allowance;
            } else if (!isGear(0)) {
                throw AppError("かみあいの歯車１（転位係数 " + FormatGeneral(shown.shift[0], 11, sep) +
                               "）は、この歯車（転位係数 " + FormatGeneral(gear.shift, 11, sep) +
                               "）と違います。主画面の転位係数をかみあいの値にするか、かみあいを閉じてから要目表を作ってください");
            }
            // The allowance typed only in かみあい is the one the table uses.
            if (!design && IsBlank(upperEdit) && IsBlank(lowerEdit))
                in.allowance = own;
            in.mate = other;
        }
    }
    return BuildDataSheet(in);
}

void SetDataSheetFileAnswer(std::function<QString(const QString&)> answer) { fileAnswer = std::move(answer); }

void SaveDataSheetPdf(QWidget* parent, const DataSheet& sheet)
{
    const QString name = fileAnswer ? fileAnswer(lastFileName)
                                    : AskSaveFileName(parent, QStringLiteral("要目表の保存"), lastFileName,
                                                                   QStringLiteral("PDF (*.pdf)"));
    if (name.isEmpty())
        return;
    QString path = name;
    if (QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    lastFileName = path;
    const std::string bytes = DataSheetPdf(sheet);
    WriteFileSafely(path.toStdString(), reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void PrintDataSheet(QWidget* parent, const DataSheet& sheet)
{
    const std::optional<QPrinterInfo> answer = QueryDefaultPrinter(std::chrono::seconds(10));
    if (!answer)
        throw AppError("印刷システムが 10 秒以内に応答しません");
    if (!parent->isVisible())
        return;
    if (answer->isNull())
        throw AppError("デフォルト プリンタが存在しません");
    QPrinter printer(*answer, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("要目表"));
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError("印刷を開始できません");
    // A margin of its own inside the printable area, as on the PDF page.
    const double dotsPerMm = printer.resolution() / 25.4, margin = 15 * dotsPerMm;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaintDataSheet(painter, QRectF(QPointF(margin, margin), page.size() - QSizeF(2 * margin, 2 * margin)), dotsPerMm,
                   sheet);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw AppError("印刷できませんでした");
}
