// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm1, the one main window.
//
// How the window, its commands and the core meet: the window owns the
// controls and nothing else. Each command handler (BitBtn1Click, sg1Click,
// N1Click, ...) reads its widgets and calls one command sequence of
// commands/commands.h, which works on the program state and tells the window,
// through the GearView interface it implements here, what to show. Every
// handler runs through RunSequence, so a failure ends in the error box and no
// exception reaches Qt's event loop.
//
// The identifiers of the window (TForm1, Edit1, sg1, BitBtn1Click, ...) are
// the names its controls and handlers were designed with; each declaration
// says what it is for the user. Positions, sizes, fonts and colours come from
// ui/layout.h.

#include "ui/filedialog.h"
#include "ui/toolhost.h"
#include "commands/commands.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class ImageBox;
class QAction;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class StringGrid;
class VersionBox;

struct ProgramState;

class TForm1 : public QMainWindow, public GearView, public ToolHost {
    Q_OBJECT

public:
    // The window of a state of its own (commands/programstate.h), every value
    // zero at its start, or of the state it is given; the sequences it runs
    // work on that state alone.
    explicit TForm1(QWidget* parent = nullptr);
    explicit TForm1(ProgramState& state, QWidget* parent = nullptr);
    ~TForm1() override;

    // Command handlers: each reads its widgets and calls a command sequence.
    void FormCreate();     // start-up: caption, table headers, the default gear shown and drawn
    void BitBtn1Click();   // 「計算・登録」: compute the typed gear, draw it, add it to the table
    void RG1Click();       // 表示設定 (全体 / 拡大 / 最大): draw the outline at the chosen zoom
    int RG1ItemIndex() const;   // the chosen zoom: 0 全体, 1 拡大, 2 最大
    void sg1Click();       // a click on a table row: recall that gear
    void BitBtn2Click();   // 「削除」: remove the current table row
    void N1Click();        // ファイル › 読み取り: read a gear data file
    void N2Click();        // ファイル › 書き込み: write a gear data file
    void N4Click();        // 編集 › 表コピー: copy the table to the clipboard as text
    void Print1Click();    // ファイル › 印刷: print the window on the default printer
    void N3Click();        // ファイル › ＥＮＤ: close the program
    void Help2Click();     // ヘルプ › ヘルプ: open the help page
    void BitBtn3Click();   // 「GO　ＨＰ」: open the maker's home page
    void N5Click();        // ヘルプ › バージョン: show the version box

    // What the command sequences show (GearView).
    std::string DecimalSeparator() const override { return m_decimalSeparator; }
    void InitTableGrid() override;     // the grid's headers and row numbers
    void ShowBoxes(const BoxTexts& texts) override;
    void ShowMessages(const std::vector<std::string>& lines) override;
    void ShowOutline(const GearRecord& gear, const OutlineBuffer& display) override;   // Image1 at the chosen zoom
    void ShowImage() override;
    void ShowRow(int row, const RowTexts& texts) override;
    void ClearTableCells() override;   // empties the gear cells of the grid
    void MoveRowsUp(int row) override;
    void ShowError(const std::string& message) override;
    void CurrentGearChanged(const GearRecord& gear) override;

    // The gear the window shows (slot 0 of its state): what the tool windows
    // are given when they open and whenever currentGearChanged is emitted.
    const GearRecord& currentGear() const override;
    // The state the window's sequences work on.
    ProgramState& state() { return m_state; }

    // The version box, created hidden by the program entry right after this window.
    void setVersionBox(VersionBox* box) { m_versionBox = box; }
    VersionBox* versionBox() const { return m_versionBox; }

    // The user locale's decimal separator, read at start; tests may set another.
    const std::string& decimalSeparator() const override { return m_decimalSeparator; }
    void setDecimalSeparator(const std::string& separator) { m_decimalSeparator = separator; }

    // The client area: everything below the menu bar.
    QWidget* clientArea() const override { return m_client; }

    // What the tool windows are given of the window (ToolHost).
    QWidget& hostWidget() override { return *this; }
    QMenu* toolMenu() const override { return Tool1; }
    void onCurrentGearChanged(QObject* context, std::function<void()> changed) override;
    void calculateTyped(const std::string& module, const std::string& teeth, const std::string& shift) override;

    QLabel* Label2;        // 「モジュール」
    QLabel* Label3;        // 「歯数」
    QLabel* Label4;        // 「転位係数」
    QLabel* Label5;        // 「ピッチ円」
    QLabel* Label6;        // 「歯先円」
    QLabel* Label7;        // 「歯底円」
    QLabel* Label8;        // 「基礎円」
    QLabel* Label12;       // 「歯先歯厚」
    QLineEdit* Edit1;      // input: module
    QLineEdit* Edit2;      // input: number of teeth
    QLineEdit* Edit4;      // input: profile shift coefficient
    QPushButton* BitBtn1;  // 「計算・登録」
    QPushButton* BitBtn2;  // 「削除」
    QLineEdit* Edit6;      // result: pitch circle diameter
    QLineEdit* Edit8;      // result: tip circle diameter
    QLineEdit* Edit10;     // result: root circle diameter
    QLineEdit* Edit12;     // result: base circle diameter
    QLineEdit* Edit47;     // result: tooth thickness on the tip circle
    QListWidget* ListBox1; // message list: the teeth checks' findings
    QGroupBox* RG1;        // 「表示設定」: the zoom of the outline view
    QButtonGroup* m_rg1Buttons;   // RG1's three items
    QFrame* Panel1;        // the panel holding the grid and the outline view
    StringGrid* sg1;       // the gear table: row r shows slot r
    ImageBox* Image1;      // the outline view
    QPushButton* BitBtn3;  // 「GO　ＨＰ」

    QMenu* File1;          // ファイル
    QAction* N1;           // 読み取り
    QAction* N2;           // 書き込み
    QAction* Print1;       // 印刷
    QAction* N3;           // ＥＮＤ
    QMenu* Edit41;         // 編集
    QAction* N4;           // 表コピー
    QMenu* Tool1;          // ツール: the tool windows add their items here
    QMenu* Help1;          // ヘルプ
    QAction* Help2;        // ヘルプ
    QAction* N5;           // バージョン

    FileDialog OpenDialog1;   // the open dialog of 読み取り, keeps the last name
    FileDialog SaveDialog1;   // the save dialog of 書き込み, keeps the last name

Q_SIGNALS:
    // Slot 0 holds another gear, shown in the boxes: after a completed
    // calculation, a row recall and a file read. Tool windows follow it.
    void currentGearChanged();

private:
    void createControls();
    void createMenu();
    void connectCommands();
    void setTabOrder();
    void command(void (TForm1::*handler)());

    TForm1(std::unique_ptr<ProgramState> own, ProgramState* state, QWidget* parent);

    std::unique_ptr<ProgramState> m_ownState;   // the state made for the window, when none was given
    ProgramState& m_state;
    QWidget* m_client;
    VersionBox* m_versionBox = nullptr;
    std::string m_decimalSeparator;
};
