// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile export of the ツール menu: "歯形の書き出し" asks in a small form
// for the tolerance, the rack's tip radius, the tooth-thickness allowance, a
// bore with or without a keyway, the part's face width and hub, and for a
// cutter's kerf and note; then for a DXF, SVG, STL, 3MF or STEP file, and
// writes the profile or the part of the gear it is given (the main window's
// current gear) there, through the export sequence of export/profileexport.h
// that tsumugi-cli export runs too. The form keeps what was typed until the
// program ends.
// The form also offers the ring of the gear's module, teeth and shift (cut by
// its default pinion-type cutter, with an outer rim) and a rack segment of its
// module, drawn as DXF or SVG.

#include "geardata/gearrecord.h"
#include "geometry/gearmodel.h"
#include "geometry/thicknesslimits.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class InspectionWindow;
class ToolHost;
struct GearRecord;

// The form before the save dialog.
class ExportForm : public QDialog {
    Q_OBJECT

public:
    // The tooth-thickness allowances かみあい gives its gears (none: not shown there).
    using PairAllowances = std::array<std::optional<ThicknessAllowance>, 2>;
    // The helix of the helical pair かみあい shows: its angle and each gear's hand.
    struct PairHelix {
        double degrees = 0.0;
        std::array<Hand, 2> hands{Hand::Right, Hand::Left};
    };

    // With `gear2` (gear 2 of the external pair かみあい shows) a choice of
    // 歯車１ / 歯車２ says which is written. The allowance boxes start at the
    // chosen gear's allowance in `allowances`, where it has one.
    ExportForm(QWidget* parent, const GearRecord& gear, const std::string& decimalSeparator,
               const std::optional<GearRecord>& gear2 = std::nullopt, const PairAllowances& allowances = {},
               const std::optional<PairHelix>& pairHelix = std::nullopt);
    // The gear chosen to be written.
    const GearRecord& chosenGear() const;

    QLabel* m_findingsLabel = nullptr;
    QLabel* m_gearLabel;
    QRadioButton* m_gear1Choice = nullptr;   // 歯車１ / 歯車２, with a pair only
    QRadioButton* m_gear2Choice = nullptr;
    // The helix angle (empty or 0: a spur gear) and hand; with a helical pair
    // of かみあい they show its helix and the chosen gear's hand, not to be edited.
    QLineEdit* m_helixEdit;
    QComboBox* m_handBox;
    QLineEdit* m_toleranceEdit;
    QLineEdit* m_tipRadiusEdit;
    QLineEdit* m_allowanceUpperEdit;   // the tooth-thickness allowance 上 / 下: the teeth are cut at its middle
    QLineEdit* m_allowanceLowerEdit;
    QLineEdit* m_boreEdit;
    QRadioButton* m_shapeGear;      // 歯車: the gear itself
    QRadioButton* m_shapeRing;      // 内歯車: a ring with these teeth
    QRadioButton* m_shapeRack;      // ラック: a rack segment
    QLineEdit* m_rimEdit;           // the ring's outer diameter, 0: root + 6 m
    QLineEdit* m_lengthEdit;        // the rack's length
    QCheckBox* m_keywayCheck;
    QLineEdit* m_faceWidthEdit;
    QLineEdit* m_hubDiameterEdit;
    QLineEdit* m_hubLengthEdit;
    QLineEdit* m_kerfEdit;
    QCheckBox* m_noteCheck;
    QCheckBox* m_dataTableCheck;   // the gear data table (要目表) on a layer of the DXF
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;

private:
    void showGear(const GearRecord& gear);
    void showAllowance();
    void showHelix();
    PairAllowances m_pairAllowances;
    std::optional<PairHelix> m_pairHelix;
    std::string m_separator;
    GearRecord m_gear;
    std::optional<GearRecord> m_gear2;
};

// Adds "歯形の書き出し" to the host's ツール menu.
void InstallExportTool(ToolHost& host);

// The command behind the menu item, for a gear; `parent` owns the dialogs. The
// data table takes the class, allowances and pin typed in `inspection` (null:
// none open, the gear alone).
void RunExportTool(QWidget* parent, const GearRecord& gear, const std::string& decimalSeparator,
                   const InspectionWindow* inspection = nullptr, const std::optional<GearRecord>& gear2 = std::nullopt,
                   const ExportForm::PairAllowances& allowances = {}, double tipShortening = 0.0,
                   const std::optional<ExportForm::PairHelix>& pairHelix = std::nullopt);

// The filters of the save dialog.
QString ExportFilters();

// Tests answer the form and the save dialog; empty functions restore them.
// The form answer fills the boxes and returns true for OK; the file answer
// returns the chosen name (empty: cancelled) and the chosen filter.
void SetExportFormAnswer(std::function<bool(ExportForm& form)> answer);
void SetExportFileAnswer(std::function<QString(const QString& initialName, QString& selectedFilter)> answer);
// Forgets what the form kept, as at the program's start.
void ResetExportForm();
