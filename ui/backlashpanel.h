// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backlash part of かみあい: both gears' tooth-thickness allowances and the
// centre-distance allowance typed here (this group), and in `resultGroup` the
// smallest and largest normal,
// circumferential and radial backlash of the pair with the recommended
// smallest backlash and its finding.

#include "geometry/backlash.h"

#include <QGroupBox>

#include <map>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;

class BacklashPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit BacklashPanel(QWidget* parent);

    // The allowances in the boxes (an empty box is 0); a box that does not
    // parse raises the conversion error.
    BacklashInput Read(const std::string& decimalSeparator) const;
    BacklashInput Read() const { return Read(m_separator); }

    // Whether any box holds text: the backlash is worked out only then.
    bool Typed() const;
    // The second row's gear: 歯車２, 内歯車 or ラック (the allowance of its tooth).
    void setMateCaption(const QString& caption);
    // Shows the backlash worked out (none: the boxes stay empty); returns its findings.
    std::vector<std::string> Show(const std::optional<BacklashResult>& backlash, const std::string& decimalSeparator);
    void Clear();
    // The lines added to the window's copy: label TAB smallest TAB largest.
    std::string ReportText(std::string_view newline) const;

    QLineEdit* allowance[2][2];        // [gear][upper, lower]
    QLineEdit* centerAllowance[2];     // upper, lower
    std::map<std::string, std::array<QLineEdit*, 2>> results;   // key: [smallest, largest]
    // The computed backlash, a group of its own that the window places beside its results.
    QGroupBox* resultGroup;

Q_SIGNALS:
    void edited();

private:
    std::string m_separator = ".";
    QLabel* m_mateLabel = nullptr;
    std::string m_report;
};
