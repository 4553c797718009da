// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// かみあい: a non-modal tool window for the current gear and a mate in mesh.
//
// Gear 1 is the gear the window is given: the main window's current gear, at
// opening and at every change the host tells of. Gear 2's teeth (starting at gear 1's Teeth2),
// its shift (starting at 0) and the centre distance are typed here and live
// only in this window: the gear table is read, never written. The mate is
// another external gear, a ring around gear 1 (gear 2 is then the ring) or a
// rack (no gear 2, no centre distance to give). From a centre distance the
// shift sum of two external gears is shared as 転位の配分 chooses (by the
// tooth counts, gear 1 just free of undercut, or equal specific sliding at
// both roots). The numbers come
// from geometry/pair.h and their texts from commands/pairtext.h, the same texts
// tsumugi-cli pair prints.

#include "geardata/gearrecord.h"
#include "commands/datatable.h"
#include "commands/pairtext.h"
#include "geardata/designfile.h"
#include "geometry/mate.h"
#include "geometry/pair.h"

#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

class BacklashPanel;
class MeshPanel;
class QLineEdit;
class QComboBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class ToolHost;

// Gear 2 of the external pair the host's かみあい shows: `gear1` (the host's
// gear) with gear 2's teeth and shift, gear 1's teeth as its mate. None while
// かみあい is closed or shows no pair of two external gears.
std::optional<GearRecord> ShownGear2(ToolHost& host, const GearRecord& gear1);

// Tests answer the design file dialogs (save: true for 設計を保存…); an empty function restores them.
void SetDesignFileAnswer(std::function<QString(bool save, const QString& lastName)> answer);

class PairWindow : public QWidget {
    Q_OBJECT

public:
    explicit PairWindow(ToolHost& host);

    // The 計算 button: reads the boxes, computes, shows; a failure ends in the error box.
    void CalculateClick();
    // Gear 1 is now `gear`: its boxes are refreshed and the pair recomputed; a
    // failure is listed with the findings, without a box.
    void Follow(const GearRecord& gear);
    // The コピー button: the whole report on the clipboard, CR LF after every line.
    void CopyClick();
    // The この組を使う button: gear 1 of the pair shown, its shift included, is
    // typed into the main window and calculated there.
    void UseDesignClick();

    // The pair shown as a design: teeth and shifts as computed, the
    // allowances typed, the centre distance in 中心距離から mode, each gear's
    // class, face width and rows (材料, 熱処理, 備考, then the other rows of
    // the design opened last); what the window does not edit as that design
    // gave it. No pair shown, or a box that does not parse (named in the
    // message), raises AppError.
    PairDesign CurrentDesign() const;
    // One gear of the pair shown as designed here (gear 0 or 1): its
    // allowance, class, face width and rows; teeth and shift as shown. None
    // while the window is hidden or shows no pair, or for gear 1 of a rack.
    // A box that does not parse raises AppError naming it.
    std::optional<GearDesign> ShownGearDesign(int gear) const;
    // The tooth-thickness allowance typed for a gear of the pair shown; none
    // as for ShownGearDesign, or while its boxes do not parse.
    std::optional<ThicknessAllowance> ShownAllowance(int gear) const;
    // The tip shortening k of the two external gears shown (0: none shown, or another mate).
    double ShownTipShortening() const;
    // Puts a design in the boxes and makes its gear 1 the main window's gear
    // (typed there and calculated); a design of another pressure angle than
    // the main window's gear is refused with AppError.
    void ApplyDesign(const PairDesign& design);

    // The mate chosen: 外歯車, 内歯車 or ラック.
    MateKind mate() const;

    // The box of one computed quantity (key as in the report's rows), gear 0 or 1.
    QLineEdit* resultBox(const std::string& key, int gear = 0) const;

    // The mate as the data table (要目表) takes it: the kind, gear 2's teeth and
    // shift of the pair shown (solved from the centre distance in that mode),
    // its tooth-thickness allowance and the centre-distance allowance; with
    // gear 1's allowance typed here and the pair's gear 1. Null while the
    // window is closed. No pair shown, or a box that does not parse, raises
    // AppError.
    struct SheetMate {
        DataSheetMate mate;
        ThicknessAllowance gear1Allowance;
        PairInput gear1;   // the pair as shown: gear 1 is the table's gear only where it matches
    };
    std::optional<SheetMate> CurrentMate(const std::string& decimalSeparator) const;
    // The teeth and shifts of the pair shown (none while none is).
    const std::optional<PairInput>& ShownPair() const { return m_lastGears; }

Q_SIGNALS:
    // The pair shown is another one, or none (the window shown or hidden too).
    void shownPairChanged();
    // A gear's class, face width, rows or allowance was edited.
    void designEdited();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

public:

private:
    QLineEdit* m_module;
    QLineEdit* m_pressureAngle;
    QLineEdit* m_teeth1;
    QLineEdit* m_shift1;
    QLineEdit* m_teeth2;
    QLineEdit* m_shift2;
    QLineEdit* m_centerDistance;
    // Two external helical gears: the helix angle (empty or 0: spur gears),
    // gear 1's hand, gear 2 the other one (shown, not typed).
    QLineEdit* m_helixAngle;
    QComboBox* m_hand;
    QLineEdit* m_hand2;
    QLabel* m_inputCaptions[3];   // モジュール, 圧力角, 転位係数: the normal ones of helical gears
    QGridLayout* m_resultGrid = nullptr;
    // The helix angle typed (0 when empty); a box that does not parse raises AppError.
    double typedHelixAngle() const;
    // The face width typed for a gear (none when empty); a refused one raises AppError naming its box.
    std::optional<double> readFaceWidth(int gear) const;
    // The result rows of `report` in its order with its captions, the others hidden; the input
    // captions of the normal section for a helical pair.
    void showRows(const MateReport& report, MateKind kind, bool helical);
    void showHands();
    QPushButton* m_useDesign;
    QPushButton* m_saveDesign;
    QPushButton* m_openDesign;
    PairDesign m_design;   // the design file opened last (its keys this window does not edit)
    // 歯車ごとの仕様: [gear] class, face width and the rows 材料, 熱処理, 備考.
    QLineEdit* m_class[2];
    QLineEdit* m_faceWidth[2];
    QLineEdit* m_rows[2][3];
    // A gear's class, face width and rows as the boxes hold them; a box that does not parse raises AppError.
    void readGearBoxes(int gear, GearDesign& design) const;
    void showGearBoxes(int gear, const GearDesign& design);
    void SaveDesign();
    void OpenDesign();
    QRadioButton* m_mateExternal;
    QRadioButton* m_mateInternal;
    QRadioButton* m_mateRack;
    QRadioButton* m_fromShifts;
    QRadioButton* m_fromCenterDistance;
    QComboBox* m_split;   // how the shift sum of a centre distance is shared (two external gears)
    QPushButton* m_calculate;
    QPushButton* m_copy;
    QListWidget* m_findings;
    BacklashPanel* m_backlash;   // the allowances and the backlash of the pair
    MeshPanel* m_mesh;           // the pair in mesh as a drawing

    void showGear1();
    void compute();
    void clearResults();
    void modeChanged();
    void mateChanged();
    void followInputs();
    void enableInputs();

    ToolHost& m_host;
    GearRecord m_gear1{};
    std::map<std::string, std::array<QLineEdit*, 2>> m_results;
    std::optional<MateReport> m_last;
    std::optional<PairInput> m_lastGears;   // the pair m_last shows: its teeth and solved shifts
    std::size_t m_backlashWarnings = 0;   // the backlash panel's warnings, copied after the report
    double m_lastCenterDistance = 0.0;
    QWidget* m_gear2Caption = nullptr;
    QWidget* m_gear2ResultCaption = nullptr;
    std::map<std::string, std::array<QWidget*, 3>> m_rowWidgets;   // label and boxes, shown for the mate's rows
};

// Adds "かみあい" to the host's ツール menu; the window is made on first use.
void InstallPairTool(ToolHost& host);
