// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow.h"

#include "commands/programstate.h"

#include "ui/errorbox.h"
#include "ui/imagebox.h"
#include "ui/layout.h"
#include "ui/qttext.h"
#include "ui/stringgrid.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include <limits>

namespace {

template <typename Widget>
Widget* Place(Widget* widget, const char* name)
{
    const layout::Placement& p = layout::Find(name);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(p.left, p.top, p.width, p.height);
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = Place(new QLabel(text, parent), name);
    label->setAccessibleName(text);
    return label;
}

// A single-line box with a flat border: one plain line, no sunken edge.
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& accessibleName, bool readOnly)
{
    auto* edit = Place(new QLineEdit(parent), name);
    edit->setAccessibleName(accessibleName);
    edit->setReadOnly(readOnly);
    // The whole text reaches the parser: a pasted text longer than Qt's
    // default limit of 32767 characters is refused there, never cut here.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setStyleSheet(QStringLiteral("QLineEdit { background-color: #FFFFFF; color: #000000;"
                                       " border: 1px solid #000000; padding: 0px 1px; }"));
    if (!readOnly)
        edit->setFont(GothicFont(15, true));
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QFont& font)
{
    auto* button = Place(new QPushButton(caption, parent), name);
    button->setAccessibleName(caption);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

void FillWith(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Sets a box's text. A box without the focus that already shows the text
// just as setText leaves it (the cursor at the end, nothing selected, nothing
// to undo or redo, not modified) is left alone: it would repaint the same.
void ShowText(QLineEdit& box, const QString& text)
{
    if (box.text() == text && !box.hasFocus() && box.cursorPosition() == text.size() && !box.hasSelectedText()
        && !box.isUndoAvailable() && !box.isRedoAvailable() && !box.isModified())
        return;
    box.setText(text);
}

// Whether the message list shows these lines just as ShowMessages leaves
// them: in its colours, nothing current or chosen, scrolled to the start.
// Filling it again would lay it out and paint the same picture.
bool ShowsJust(const QListWidget& list, const std::vector<std::string>& lines)
{
    if (list.count() != static_cast<int>(lines.size()) || list.currentItem() != nullptr
        || !list.selectionModel()->selectedIndexes().isEmpty() || list.verticalScrollBar()->value() != 0
        || list.horizontalScrollBar()->value() != 0 || list.palette().color(QPalette::Text) != layout::kListTextColour)
        return false;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text() != Utf8(lines[static_cast<std::size_t>(i)]))
            return false;
    return true;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : TForm1(std::make_unique<ProgramState>(), nullptr, parent) {}

TForm1::TForm1(ProgramState& state, QWidget* parent) : TForm1(nullptr, &state, parent) {}

TForm1::TForm1(std::unique_ptr<ProgramState> own, ProgramState* state, QWidget* parent)
    : QMainWindow(parent),
      OpenDialog1(FileDialog::Kind::Open, QString()),
      SaveDialog1(FileDialog::Kind::Save, QStringLiteral("dumy.hgd")),
      m_ownState(std::move(own)),
      m_state(state != nullptr ? *state : *m_ownState)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ラックに対する歯形計算"));
    m_decimalSeparator = QLocale::system().decimalPoint().toStdString();
    setFont(GothicFont(15, false));

    createControls();
    createMenu();
    setTabOrder();
    connectCommands();

    // The designed place and size, inside the screen's available area.
    const QScreen* screen = QGuiApplication::screenAt(QPoint(layout::kWindowLeft, layout::kWindowTop));
    const int outerHeight = layout::kOuterHeight - layout::kMenuBarHeight + menuBar()->sizeHint().height();
    const QRect outer = layout::FitInside(QRect(layout::kWindowLeft, layout::kWindowTop, layout::kOuterWidth, outerHeight),
                                          (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry());
    resize(layout::ClientWidthOf(outer.width()), layout::ClientHeightOf(outer.height()));
    move(outer.topLeft());

    RunCommand(this, [this] { FormCreate(); });

    // The window opens in the module box with its text selected, so that typing replaces it.
    Edit1->setFocus();
    Edit1->selectAll();
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    FillWith(m_client, layout::kWindowColour);
    setCentralWidget(m_client);

    Label2 = MakeLabel(m_client, "Label2", QStringLiteral("モジュール"));
    Label3 = MakeLabel(m_client, "Label3", QStringLiteral("歯数"));
    Label4 = MakeLabel(m_client, "Label4", QStringLiteral("転位係数"));
    Label5 = MakeLabel(m_client, "Label5", QStringLiteral("ピッチ円"));
    Label6 = MakeLabel(m_client, "Label6", QStringLiteral("歯先円"));
    Label7 = MakeLabel(m_client, "Label7", QStringLiteral("歯底円"));
    Label8 = MakeLabel(m_client, "Label8", QStringLiteral("基礎円"));
    Label12 = MakeLabel(m_client, "Label12", QStringLiteral("歯先歯厚"));

    Edit1 = MakeEdit(m_client, "Edit1", QStringLiteral("モジュール"), false);
    Edit2 = MakeEdit(m_client, "Edit2", QStringLiteral("歯数"), false);
    Edit4 = MakeEdit(m_client, "Edit4", QStringLiteral("転位係数"), false);
    Edit1->setText(QStringLiteral("1"));
    Edit2->setText(QStringLiteral("18"));
    Edit4->setText(QStringLiteral("0"));

    BitBtn1 = MakeButton(m_client, "BitBtn1", QStringLiteral("計算・登録"), GothicFont(15, true));
    QFont mincho(layout::kMincho);
    mincho.setPixelSize(15);
    mincho.setBold(true);
    BitBtn2 = MakeButton(m_client, "BitBtn2", QStringLiteral("削除"), mincho);

    Edit6 = MakeEdit(m_client, "Edit6", QStringLiteral("ピッチ円"), true);
    Edit8 = MakeEdit(m_client, "Edit8", QStringLiteral("歯先円"), true);
    Edit10 = MakeEdit(m_client, "Edit10", QStringLiteral("歯底円"), true);
    Edit12 = MakeEdit(m_client, "Edit12", QStringLiteral("基礎円"), true);
    Edit47 = MakeEdit(m_client, "Edit47", QStringLiteral("歯先歯厚"), true);

    ListBox1 = Place(new QListWidget(m_client), "ListBox1");
    ListBox1->setAccessibleName(QStringLiteral("メッセージ"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    {
        QPalette palette = ListBox1->palette();
        palette.setColor(QPalette::Base, layout::kListColour);
        ListBox1->setPalette(palette);
    }

    RG1 = Place(new QGroupBox(QStringLiteral("表示設定"), m_client), "RG1");
    RG1->setAccessibleName(QStringLiteral("表示設定"));
    m_rg1Buttons = new QButtonGroup(RG1);
    const QString items[] = {QStringLiteral("全体"), QStringLiteral("拡大"), QStringLiteral("最大")};
    const int columnWidth = (layout::Find("RG1").width - 8) / 3;
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(items[i], RG1);
        item->setObjectName(QStringLiteral("RG1_%1").arg(i));
        item->setAccessibleName(items[i]);
        item->setGeometry(6 + i * columnWidth, 20, columnWidth - 2, 22);
        m_rg1Buttons->addButton(item, i);
    }
    m_rg1Buttons->button(0)->setChecked(true);

    Panel1 = Place(new QFrame(m_client), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setAccessibleName(QStringLiteral("歯車表と歯形"));
    FillWith(Panel1, layout::kPanelColour);

    sg1 = Place(new StringGrid(Panel1), "sg1");
    Image1 = Place(new ImageBox(Panel1), "Image1");
    Image1->setVisible(false);

    BitBtn3 = MakeButton(m_client, "BitBtn3", QStringLiteral("GO　ＨＰ"), GothicFont(13, true));
    {
        QPalette palette = BitBtn3->palette();
        palette.setColor(QPalette::ButtonText, layout::kHomePageTextColour);
        BitBtn3->setPalette(palette);
    }
}

void TForm1::createMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const QString fiveBlanks(5, QChar(0x3000));

    auto addItem = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    File1 = bar->addMenu(QStringLiteral("ファイル") + fiveBlanks);
    File1->setObjectName(QStringLiteral("File1"));
    N1 = addItem(File1, "N1", QStringLiteral("読み取り"));
    N2 = addItem(File1, "N2", QStringLiteral("書き込み"));
    Print1 = addItem(File1, "Print1", QStringLiteral("印刷"));
    N3 = addItem(File1, "N3", QStringLiteral("ＥＮＤ"));

    Edit41 = bar->addMenu(QStringLiteral("編集") + fiveBlanks);
    Edit41->setObjectName(QStringLiteral("Edit41"));
    N4 = addItem(Edit41, "N4", QStringLiteral("表コピー"));

    Tool1 = bar->addMenu(QStringLiteral("ツール") + fiveBlanks);
    Tool1->setObjectName(QStringLiteral("Tool1"));

    Help1 = bar->addMenu(QStringLiteral("ヘルプ"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help2 = addItem(Help1, "Help2", QStringLiteral("ヘルプ"));
    N5 = addItem(Help1, "N5", QStringLiteral("バージョン"));
}

void TForm1::setTabOrder()
{
    QWidget* order[] = {Edit1,  Edit2,  Edit4,  BitBtn1,  BitBtn2,                  Edit6, Edit8,
                        Edit10, Edit12, Edit47, ListBox1, m_rg1Buttons->button(0), sg1,   BitBtn3};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void TForm1::command(void (TForm1::*handler)())
{
    // The rows a command changes are repainted together when it ends.
    const StringGrid::HeldChanges rows(*sg1);
    RunSequence(*this, [this, handler] { (this->*handler)(); });
}

void TForm1::connectCommands()
{
    connect(BitBtn1, &QPushButton::clicked, this, [this] { command(&TForm1::BitBtn1Click); });
    // Enter in an input box is a press of "計算・登録".
    for (QLineEdit* input : {Edit1, Edit2, Edit4})
        connect(input, &QLineEdit::returnPressed, BitBtn1, &QPushButton::click);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { command(&TForm1::BitBtn2Click); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { command(&TForm1::BitBtn3Click); });
    connect(sg1, &StringGrid::click, this, [this] { command(&TForm1::sg1Click); });
    connect(m_rg1Buttons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            command(&TForm1::RG1Click);
    });
    connect(N1, &QAction::triggered, this, [this] { command(&TForm1::N1Click); });
    connect(N2, &QAction::triggered, this, [this] { command(&TForm1::N2Click); });
    connect(Print1, &QAction::triggered, this, [this] { command(&TForm1::Print1Click); });
    connect(N3, &QAction::triggered, this, [this] { command(&TForm1::N3Click); });
    connect(N4, &QAction::triggered, this, [this] { command(&TForm1::N4Click); });
    connect(Help2, &QAction::triggered, this, [this] { command(&TForm1::Help2Click); });
    connect(N5, &QAction::triggered, this, [this] { command(&TForm1::N5Click); });
}

void TForm1::FormCreate()
{
    setWindowTitle(QStringLiteral("ツムギ"));
    StartUp(m_state, *this);
}

void TForm1::BitBtn1Click()
{
    Calculate(m_state, *this, {Edit1->text().toStdString(), Edit2->text().toStdString(), Edit4->text().toStdString()});
}

int TForm1::RG1ItemIndex() const
{
    return m_rg1Buttons->checkedId();
}

void TForm1::RG1Click()
{
    ShowOutline(currentGear(), m_state.displayOutline);
}

void TForm1::onCurrentGearChanged(QObject* context, std::function<void()> changed)
{
    connect(this, &TForm1::currentGearChanged, context, std::move(changed));
}

void TForm1::calculateTyped(const std::string& module, const std::string& teeth, const std::string& shift)
{
    Edit1->setText(QString::fromStdString(module));
    Edit2->setText(QString::fromStdString(teeth));
    Edit4->setText(QString::fromStdString(shift));
    BitBtn1Click();
}

const GearRecord& TForm1::currentGear() const
{
    return m_state.table[kCurrentSlot];
}

void TForm1::ShowBoxes(const BoxTexts& texts)
{
    ShowText(*Edit1, Utf8(texts.module));
    ShowText(*Edit2, Utf8(texts.teeth));
    ShowText(*Edit4, Utf8(texts.shift));
    ShowText(*Edit6, Utf8(texts.pitch));
    ShowText(*Edit8, Utf8(texts.tip));
    ShowText(*Edit10, Utf8(texts.root));
    ShowText(*Edit12, Utf8(texts.base));
    ShowText(*Edit47, Utf8(texts.tipThickness));
}

void TForm1::ShowMessages(const std::vector<std::string>& lines)
{
    if (ShowsJust(*ListBox1, lines))
        return;
    ListBox1->clear();
    QPalette palette = ListBox1->palette();
    palette.setColor(QPalette::Text, layout::kListTextColour);
    ListBox1->setPalette(palette);
    for (const std::string& line : lines) {
        auto* item = new QListWidgetItem(Utf8(line), ListBox1);
        item->setSizeHint(QSize(0, 15));
        item->setForeground(layout::kListTextColour);
    }
}

void TForm1::ShowOutline(const GearRecord& gear, const OutlineBuffer& display)
{
    Image1->showOutline(RG1ItemIndex(), gear, display);
}

void TForm1::ShowImage()
{
    Image1->setVisible(true);
}

void TForm1::ShowError(const std::string& message)
{
    sg1->showHeldChanges();   // the table as it stands while the box is up
    ShowErrorBox(this, Utf8(message));
}

void TForm1::CurrentGearChanged(const GearRecord&)
{
    sg1->showHeldChanges();   // a tool window that follows may raise a box
    Q_EMIT currentGearChanged();
}
