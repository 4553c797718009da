// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of 検査寸法 that accepts or rejects a cut gear: the accuracy class,
// the face width and the tooth-thickness allowance typed here, the flank
// tolerances of the class, and the button for the gear data table (要目表),
// saved as a PDF page or printed. The limits of each measurement are shown by
// the inspection window beside its values.

#include "commands/datatable.h"
#include "geardata/designfile.h"
#include "geometry/thicknesslimits.h"

#include <QGroupBox>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ToolHost;

class TolerancePanel : public QGroupBox {
    Q_OBJECT

public:
    TolerancePanel(ToolHost& host, QWidget* parent);

    // Reads the boxes, computes the tolerances of the class and the limits of
    // the measurements, shows the tolerances and returns the limits. A box that
    // does not parse, or a refused value, raises AppError.
    ThicknessLimits Show(const GearSpec& gear, const InspectionResult& nominal);

    // The lines for the window's copied text (after Show).
    const std::string& text() const { return m_text; }

    // The data table of the gear shown, with the mate of かみあい when that
    // window is open. `request` gives k and the pin (a pin typed: over pins).
    // With `design` (the gear as かみあい designs it) its allowance, class,
    // face width and rows instead of the boxes'.
    DataSheet Sheet(const GearSpec& gear, const InspectionRequest& request,
                    const std::optional<GearDesign>& design = std::nullopt) const;

    // The gear as かみあい designs it: its allowance, class, face width and
    // rows fill the boxes, which can then not be edited, and the table takes
    // all of its rows. None: the boxes are the user's again, as typed before.
    void UseDesign(const std::optional<GearDesign>& design);
    // The face width the limits and the table take (the design's, else the
    // box's; none when empty). A box that does not parse raises AppError.
    std::optional<double> faceWidth() const { return given(m_design).faceWidth; }
    bool usesDesign() const { return m_design.has_value(); }

    QLineEdit* classEdit;        // empty: no accuracy class
    QLineEdit* faceWidthEdit;    // empty: no helix tolerances
    QLineEdit* upperEdit;        // empty: 0
    QLineEdit* lowerEdit;        // empty: 0
    QLineEdit* materialEdit;     // the table's rows 材料, 熱処理 and 備考 (empty: no row)
    QLineEdit* heatTreatmentEdit;
    QLineEdit* remarksEdit;
    QListWidget* accuracyList;   // the eight tolerances
    QLabel* accuracyNote;        // the standard and class, and a range finding
    QPushButton* sheetButton;    // 要目表: a menu of the two actions
    QAction* pdfAction;
    QAction* printAction;
    QLabel* designNote;          // shown while the boxes hold かみあい's design

Q_SIGNALS:
    // Enter in one of the boxes.
    void edited();
    // The 要目表 actions ask the window for the sheet of the gear it shows.
    void sheetWanted(bool print);

private:
    ToolHost& m_host;
    std::string m_text;
    std::optional<GearDesign> m_design;
    std::vector<QString> m_ownTexts;   // the user's texts, kept while the design fills the boxes
    std::vector<QLineEdit*> designBoxes() const;
    // What the table and the limits take: the design's values, or the boxes read.
    struct Given {
        ThicknessAllowance allowance;
        std::optional<int> accuracyClass;
        std::optional<double> faceWidth;
        std::vector<std::pair<std::string, std::string>> rows;
    };
    Given given(const std::optional<GearDesign>& design) const;
};

// Saves a data table as a PDF page: asks for the file (the answer below in
// tests) and writes it with the safe save.
void SaveDataSheetPdf(QWidget* parent, const DataSheet& sheet);
// Prints a data table on the default printer, asked for without stopping the window.
void PrintDataSheet(QWidget* parent, const DataSheet& sheet);

// Tests answer the save dialog; an empty function restores it.
void SetDataSheetFileAnswer(std::function<QString(const QString& initialName)> answer);
