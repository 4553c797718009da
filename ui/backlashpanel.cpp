// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/backlashpanel.h"

#include "ui/qttext.h"

#include "geometry/extended.h"
#include "commands/inputparse.h"
#include "commands/tolerancetext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

double Read(const QLineEdit* box, const std::string& sep)
{
    return box->text().trimmed().isEmpty() ? 0.0 : Store(ParseFloat(box->text().toStdString(), sep));
}

}  // namespace

BacklashPanel::BacklashPanel(QWidget* parent) : QGroupBox(QStringLiteral("許容差（バックラッシ用）"), parent)
{
    setObjectName(QStringLiteral("BacklashPanel"));
    setAccessibleName(title());
    resultGroup = new QGroupBox(QStringLiteral("バックラッシ"), parent);
    resultGroup->setObjectName(QStringLiteral("BacklashResults"));
    resultGroup->setAccessibleName(resultGroup->title());
    auto* inputGrid = new QGridLayout(this);
    auto* resultGrid = new QGridLayout(resultGroup);
    for (QGridLayout* g : {inputGrid, resultGrid})
        g->setVerticalSpacing(3);
    QGridLayout* grid = inputGrid;
    QWidget* owner = this;
    auto caption = [&](const QString& text, const QString& name, int row, int column) {
        auto* label = new QLabel(text, owner);
        label->setObjectName(name);
        label->setAccessibleName(text);
        grid->addWidget(label, row, column);
        return label;
    };
    auto edit = [&](const QString& name, const QString& accessible, bool readOnly, int row, int column) {
        auto* box = new QLineEdit(owner);
        box->setObjectName(name);
        box->setAccessibleName(accessible);
        if (readOnly)
            MakeReadOnlyBox(box);
        box->setFixedWidth(80);
        if (!readOnly) {
            box->setPlaceholderText(QStringLiteral("0"));
            connect(box, &QLineEdit::returnPressed, this, &BacklashPanel::edited);
        }
        grid->addWidget(box, row, column);
        return box;
    };
    caption(QStringLiteral("上"), QStringLiteral("BacklashUpperCaption"), 0, 1);
    caption(QStringLiteral("下"), QStringLiteral("BacklashLowerCaption"), 0, 2);
    const QString rows[] = {QStringLiteral("歯厚許容差 歯車１"), QStringLiteral("歯厚許容差 歯車２"),
                            QStringLiteral("中心距離許容差")};
    for (int r = 0; r < 3; ++r) {
        QLabel* rowLabel = caption(rows[r], QStringLiteral("BacklashInputLabel%1").arg(r + 1), r + 1, 0);
        if (r == 1)
            m_mateLabel = rowLabel;
        for (int side = 0; side < 2; ++side) {
            const QString sideName = side == 0 ? QStringLiteral("Upper") : QStringLiteral("Lower");
            const QString accessible = rows[r] + (side == 0 ? QStringLiteral(" 上") : QStringLiteral(" 下"));
            QLineEdit* box = edit(r < 2 ? QStringLiteral("Allowance%1%2").arg(r + 1).arg(sideName)
                                        : QStringLiteral("CenterAllowance%1").arg(sideName),
                                  accessible, false, r + 1, side + 1);
            (r < 2 ? allowance[r][side] : centerAllowance[side]) = box;
        }
    }
    grid = resultGrid;
    owner = resultGroup;
    caption(QStringLiteral("最小"), QStringLiteral("BacklashMinCaption"), 0, 1);
    caption(QStringLiteral("最大"), QStringLiteral("BacklashMaxCaption"), 0, 2);
    int row = 1;
    for (const BacklashRow& r : BacklashRows(BacklashResult{}, ".")) {
        const QString label = QString::fromUtf8(r.label);
        caption(label, QStringLiteral("BacklashLabel_") + QString::fromLatin1(r.key), row, 0);
        std::array<QLineEdit*, 2>& boxes = results[r.key];
        boxes = {nullptr, nullptr};
        for (int side = 0; side < (r.texts[1].empty() ? 1 : 2); ++side)
            boxes[side] = edit(QStringLiteral("Backlash_%1_%2").arg(QString::fromLatin1(r.key), side == 0 ? "min" : "max"),
                               label + (side == 0 ? QStringLiteral(" 最小") : QStringLiteral(" 最大")), true, row,
                               side + 1);
        ++row;
    }
}

BacklashInput BacklashPanel::Read(const std::string& sep) const
{
    BacklashInput in;
    for (int gear = 0; gear < 2; ++gear)
        in.thickness[gear] = {::Read(allowance[gear][0], sep), ::Read(allowance[gear][1], sep)};
    in.centerDistance = {::Read(centerAllowance[0], sep), ::Read(centerAllowance[1], sep)};
    return in;
}

bool BacklashPanel::Typed() const
{
    bool typed = false;
    for (const QLineEdit* box : {allowance[0][0], allowance[0][1], allowance[1][0], allowance[1][1],
                                 centerAllowance[0], centerAllowance[1]})
        typed = typed || !box->text().trimmed().isEmpty();
    return typed;
}

void BacklashPanel::setMateCaption(const QString& caption)
{
    const QString text = QStringLiteral("歯厚許容差 ") + caption;
    m_mateLabel->setText(text);
    m_mateLabel->setAccessibleName(text);
    allowance[1][0]->setAccessibleName(text + QStringLiteral(" 上"));
    allowance[1][1]->setAccessibleName(text + QStringLiteral(" 下"));
}

std::vector<std::string> BacklashPanel::Show(const std::optional<BacklashResult>& backlash, const std::string& sep)
{
    Clear();
    m_separator = sep;
    // Nothing typed: the pair meshes without backlash, as the window shows it.
    if (!backlash)
        return {};
    const BacklashResult& b = *backlash;
    for (const BacklashRow& row : BacklashRows(b, sep)) {
        m_report += std::string(row.label) + "\t" + row.texts[0] + (row.texts[1].empty() ? "" : "\t" + row.texts[1]);
        m_report += '\n';
        for (int side = 0; side < 2; ++side)
            if (QLineEdit* box = results[row.key][side])
                box->setText(Utf8(row.texts[side]));
    }
    for (const std::string& finding : b.findings)
        m_report += finding + "\n";
    return b.findings;
}

void BacklashPanel::Clear()
{
    m_report.clear();
    for (auto& [key, boxes] : results)
        for (QLineEdit* box : boxes)
            if (box)
                box->clear();
}

std::string BacklashPanel::ReportText(std::string_view newline) const
{
    std::string text;
    for (char c : m_report)
        c == '\n' ? text += newline : text += c;
    return text;
}
