#pragma once
// TForm1, the one main window.
//
// How the window, its commands and the core meet: the window owns the
// controls and nothing else. Every command handler (BitBtn1Click, sg1Click,
// N1Click, ...) runs through RunCommand, which shows any failure in the error
// box, so no exception reaches Qt's event loop. A handler reads the widgets,
// calls the core (geometry/, geardata/, ui/logic/) which works on the
// process-wide gear table and outline buffers, and writes the widgets back.
// Positions, sizes, fonts and colours come from ui/layout.h.

#include "ui/filedialog.h"

#include <QMainWindow>

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

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up, calculation and the boxes.
    void FormCreate();
    void ReadInputs();
    void ShowResults();
    void BitBtn1Click();
    int CheckTeeth();

    // Outline view.
    void ShowOutline();
    void RG1Click();
    int RG1ItemIndex() const;

    // Gear table.
    void InitTableGrid();
    void ClearTableCells();
    void RegisterCurrentGear();
    void sg1Click();
    void BitBtn2Click();
    void N1Click();
    void N2Click();
    void N4Click();

    // Auxiliary commands.
    void Print1Click();
    void N3Click();
    void Help2Click();
    void BitBtn3Click();
    void N5Click();

    // The version box, created hidden by the program entry right after this window.
    void setVersionBox(VersionBox* box) { m_versionBox = box; }
    VersionBox* versionBox() const { return m_versionBox; }

    // The user locale's decimal separator, read at start; tests may set another.
    const std::string& decimalSeparator() const { return m_decimalSeparator; }
    void setDecimalSeparator(const std::string& separator) { m_decimalSeparator = separator; }

    // The client area: everything below the menu bar.
    QWidget* clientArea() const { return m_client; }

    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label12;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit4;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QLineEdit* Edit6;
    QLineEdit* Edit8;
    QLineEdit* Edit10;
    QLineEdit* Edit12;
    QLineEdit* Edit47;
    QListWidget* ListBox1;
    QGroupBox* RG1;
    QButtonGroup* m_rg1Buttons;
    QFrame* Panel1;
    StringGrid* sg1;
    ImageBox* Image1;
    QPushButton* BitBtn3;

    QMenu* File1;
    QAction* N1;
    QAction* N2;
    QAction* Print1;
    QAction* N3;
    QMenu* Edit41;
    QAction* N4;
    QMenu* Tool1;   // ツール: the tool windows add their items here
    QMenu* Help1;
    QAction* Help2;
    QAction* N5;

    FileDialog OpenDialog1;
    FileDialog SaveDialog1;

Q_SIGNALS:
    // Slot 0 holds another gear, shown in the boxes: after a completed
    // calculation, a row recall and a file read. Tool windows follow it.
    void currentGearChanged();

private:
    void createControls();
    void createMenu();
    void connectCommands();
    void setTabOrder();
    // Replaces the message list's lines, in its blue text.
    void ShowMessages(const std::vector<std::string>& lines);
    void command(void (TForm1::*handler)());

    QWidget* m_client;
    VersionBox* m_versionBox = nullptr;
    std::string m_decimalSeparator;
};
