// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 検査寸法: a tool window beside the main window with the numbers a machinist
// measures on the gear it is given (the main window's current gear, again at
// every change the host tells of): chordal thickness, span over k teeth,
// measurement over pins, the undercut limit and the exact tip thickness. The
// arithmetic is geometry/inspection.h, the texts commands/inspectiontext.h.

#include "geardata/gearrecord.h"

#include "commands/datatable.h"
#include "geardata/designfile.h"

#include <optional>

#include <QWidget>

#include <map>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class PairWindow;
class QRadioButton;
class TolerancePanel;
class ToolHost;

class InspectionWindow : public QWidget {
    Q_OBJECT

public:
    explicit InspectionWindow(ToolHost& host);

    // Shows the gear with the pin diameter and span tooth count typed here. A
    // box that does not parse raises the conversion error and changes nothing.
    void ShowGear(const GearRecord& gear);
    // ShowGear of the gear last given, through the error box.
    void Refresh();
    // Takes another gear and shows it through the error box.
    void Follow(const GearRecord& gear);
    // Puts everything shown on the clipboard as text.
    void CopyText();
    // The data table (要目表) of the gear shown with the class, allowances,
    // pin and span typed here (and the mate of かみあい when it is open).
    DataSheet CurrentDataSheet() const;
    // The same for another gear (the one being exported): gear `pairGear`
    // (0 or 1) of the pair かみあい shows, whose design it takes while one is shown.
    DataSheet DataSheetOf(const GearRecord& gear, int pairGear = 0) const;

    QLabel* gearLabel;
    QRadioButton* gear1Choice;   // 歯車１: the main window's gear
    QRadioButton* gear2Choice;   // 歯車２: gear 2 of the external pair かみあい shows
    QLineEdit* pinEdit;         // pin diameter; empty: the ideal pin
    QLineEdit* spanEdit;        // span tooth count; empty: the recommended one
    // The gear shown is the chosen gear with this helix angle (empty or 0: the
    // spur gear itself) and hand; its module, pressure angle and shift are then
    // the normal ones.
    QLineEdit* helixEdit;
    QComboBox* handBox;         // 右 / 左
    // A helical gear's transverse values (m_t, alpha_t, beta_b, lead, ...), hidden for a spur gear.
    QLabel* helixValues;
    QPushButton* showButton;
    QPushButton* copyButton;
    std::vector<QLabel*> labels;
    std::vector<QLineEdit*> values;
    std::vector<QLabel*> reasons;
    QListWidget* findings;
    // The limits beside the values they belong to (key as in InspectionRows).
    std::map<std::string, QLineEdit*> limitBoxes;
    TolerancePanel* tolerances;

    // Follows the pair かみあい shows and the design typed there: the gear
    // chosen takes its values from it while a pair is shown.
    void WatchPair(PairWindow& pair);

private:
    InspectionRequest readRequest() const;
    // The gear of a record as shown here: with the helix angle and hand typed.
    GearSpec shownSpec(const GearRecord& record) const;
    void keepOnScreen();
    // The gear chosen: the host's, or gear 2 of the pair shown (AppError when there is none).
    GearRecord ChosenGear() const;
    // Gear `pairGear` of the pair かみあい shows as designed there (none: no pair shown).
    std::optional<GearDesign> ShownDesign(int pairGear) const;
    void pairChanged();
    GearRecord m_hostGear{};

    ToolHost& m_host;
    GearRecord m_gear{};
    QString m_text;   // what the copy button copies
};

// Adds "検査寸法" to the main window's ツール menu; it opens (or raises) the window.
void InstallInspectionTool(ToolHost& host);

// The host's inspection window, or null before it was first opened.
InspectionWindow* FindInspectionWindow(ToolHost& host);
