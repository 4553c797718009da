// SPDX-License-Identifier: GPL-3.0-or-later
// Print, exit, help, home page and the version box, on the real main window.
//
// Printing is checked on real PDF output: through a PDF file printer, and
// through the CUPS queue that tools/cups-pdf.sh makes, chosen by name as this
// process's default printer (PRINTER), the machine's default left alone.
// The PDFs are read back with poppler's tools (pdfinfo, pdfimages, pdftoppm).
#include "formfixture.h"

#include "base/apperror.h"
#include "ui/layout.h"
#include "commands/printscale.h"
#include "commands/credits.h"
#include "ui/printpage.h"
#include "ui/versionbox.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QRegularExpression>
#include <QUrl>

#include <arpa/inet.h>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>

// Receives the addresses the commands hand to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

namespace {

// The queue and output folder set up by tools/cups-pdf.sh.
const QString kPdfQueue = QStringLiteral("TsumugiPDF");
const QString kPdfOutDir = QStringLiteral("/var/spool/cups-pdf/tsumugi");

const QStringList kVersionLines{QStringLiteral("ツムギ（平歯車の歯形計算）"), QStringLiteral("バージョン 1.0.0"),
                                QStringLiteral("ツムギ開発チーム")};

struct ToolOutput {
    int exitCode;
    QString out;
};

ToolOutput RunTool(const QString& program, const QStringList& args, const QProcessEnvironment* env = nullptr)
{
    QProcess process;
    if (env)
        process.setProcessEnvironment(*env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return {-1, QStringLiteral("%1 did not finish").arg(program)};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAllStandardOutput())};
}

struct PdfImage {
    int width = 0, height = 0, xPpi = 0, yPpi = 0;
};

int PageCount(const QString& pdf)
{
    const ToolOutput info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    ADD_FAILURE() << "pdfinfo: " << info.out.toStdString();
    return -1;
}

// The rows of `pdfimages -list`: page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
QList<PdfImage> ImagesOf(const QString& pdf)
{
    const ToolOutput list = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_EQ(list.exitCode, 0) << list.out.toStdString();
    QList<PdfImage> images;
    const QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList f = lines[i].simplified().split(QLatin1Char(' '));
        if (f.size() < 14)
            continue;
        images.append({f[3].toInt(), f[4].toInt(), f[12].toInt(), f[13].toInt()});
    }
    return images;
}

QImage ExtractFirstImage(const QString& pdf, const QString& folder)
{
    const ToolOutput run = RunTool(QStringLiteral("pdfimages"),
                                   {QStringLiteral("-png"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                    QStringLiteral("1"), pdf, folder + QStringLiteral("/img")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    // A page at 1200 dpi holds a picture of 8000 × 5925 dots, beyond Qt's default reading limit.
    QImageReader::setAllocationLimit(1024);
    return QImage(folder + QStringLiteral("/img-000.png")).convertToFormat(QImage::Format_RGB32);
}

QImage RenderPage(const QString& pdf, const QString& folder, int dpi)
{
    const ToolOutput run = RunTool(QStringLiteral("pdftoppm"),
                                   {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                    QStringLiteral("-singlefile"), pdf, folder + QStringLiteral("/page")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    return QImage(folder + QStringLiteral("/page.png")).convertToFormat(QImage::Format_RGB32);
}

// Colours survive the image compression of the PDF (JPEG, then flate) within a few steps.
::testing::AssertionResult Near(QRgb actual, const QColor& expected, int tolerance = 4)
{
    const int dr = std::abs(qRed(actual) - expected.red());
    const int dg = std::abs(qGreen(actual) - expected.green());
    const int db = std::abs(qBlue(actual) - expected.blue());
    if (dr <= tolerance && dg <= tolerance && db <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << QColor(actual).name().toStdString() << " is not near "
                                         << expected.name().toStdString();
}

// Mean difference per channel between a window image and the printed image,
// sampled at the centre of the dots that each window pixel of `region` became.
double MeanDifference(const QImage& window, const QImage& printed, const QRect& region)
{
    double sum = 0;
    long count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const int py = static_cast<int>((y + 0.5) * printed.height() / window.height());
        for (int x = region.left(); x <= region.right(); ++x) {
            const int px = static_cast<int>((x + 0.5) * printed.width() / window.width());
            const QRgb a = window.pixel(x, y);
            const QRgb b = printed.pixel(px, py);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            ++count;
        }
    }
    return sum / (3.0 * count);
}

class AuxCommandsTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        // Created right after the main window, as the program entry does.
        m_box = std::make_unique<VersionBox>();
        form().setVersionBox(m_box.get());
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_desktop, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_desktop, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        FormTest::TearDown();
        m_box.reset();
    }

    QImage WindowImage() const { return m_form->clientArea()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Opens the version box through the menu; `inspect` runs while the box is
    // open and must close it. A box left open fails the test after 10 s.
    void WhileVersionBoxOpen(const std::function<void(VersionBox&)>& inspect)
    {
        bool ran = false;
        QTimer opened;
        opened.setSingleShot(true);
        QObject::connect(&opened, &QTimer::timeout, [&] {
            ran = true;
            inspect(*m_box);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the version box was left open";
            m_box->reject();
        });
        opened.start(0);
        guard.start(10000);
        form().N5->trigger();
        EXPECT_TRUE(ran) << "N5Click returned without showing the box";
    }

    // Types text into a widget as key presses.
    static void Type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            const bool newline = c == QLatin1Char('\n');
            const int key = newline ? Qt::Key_Return : Qt::Key_unknown;
            const QString typed = newline ? QStringLiteral("\r") : QString(c);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
            QCoreApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
            QCoreApplication::sendEvent(widget, &release);
        }
    }

    // Checks a printed page: one page holding one image, the client area
    // stretched to `dpi` ÷ 96 at the top left of the printable area, showing
    // the window as it was when printed (`now`), typed text included (`edited`
    // is the rectangle of a box whose text changed since `before`).
    void CheckPrintedPage(const QString& pdf, int dpi, const QPointF& printableOriginPt, const QImage& before,
                          const QImage& now, const QRect& edited)
    {
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        EXPECT_EQ(PageCount(pdf), 1);

        const QSize client = now.size();
        const QSize printed(PrintedDots(client.width(), dpi), PrintedDots(client.height(), dpi));
        const QList<PdfImage> images = ImagesOf(pdf);
        ASSERT_EQ(images.size(), 1);
        EXPECT_EQ(QSize(images[0].width, images[0].height), printed);
        // The image covers client / 96 inches: as many dots per inch as the printer has.
        EXPECT_EQ(images[0].xPpi, dpi);
        EXPECT_EQ(images[0].yPpi, dpi);

        const QImage image = ExtractFirstImage(pdf, work.path());
        ASSERT_EQ(image.size(), printed);
        for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                                    QPoint(image.width() - 1, image.height() - 1)})
            EXPECT_TRUE(Near(image.pixel(corner), layout::kWindowColour)) << corner.x() << ", " << corner.y();
        EXPECT_LT(MeanDifference(now, image, now.rect()), 2.0);
        EXPECT_LT(MeanDifference(now, image, edited), 4.0);
        EXPECT_GT(MeanDifference(before, image, edited), 10.0);

        // On the page rendered at 96 dpi the image is the window's size again,
        // at the top left of the printable area.
        const QImage page = RenderPage(pdf, work.path(), 96);
        const QPoint origin(qRound(printableOriginPt.x() * 96 / 72), qRound(printableOriginPt.y() * 96 / 72));
        const QColor white(Qt::white);
        EXPECT_TRUE(Near(page.pixel(origin + QPoint(2, 2)), layout::kWindowColour));
        EXPECT_TRUE(Near(page.pixel(origin + QPoint(client.width() - 3, client.height() - 3)), layout::kWindowColour));
        if (origin.x() >= 3 && origin.y() >= 3) {
            EXPECT_TRUE(Near(page.pixel(origin - QPoint(3, 3)), white));
        }
        if (origin.x() + client.width() + 3 < page.width()) {
            EXPECT_TRUE(Near(page.pixel(origin + QPoint(client.width() + 2, 2)), white));
        }
        if (origin.y() + client.height() + 3 < page.height()) {
            EXPECT_TRUE(Near(page.pixel(origin + QPoint(2, client.height() + 2)), white));
        }
    }

    UrlRecorder m_desktop;
    std::unique_ptr<VersionBox> m_box;
};

// ---- Version box -----------------------------------------------------------

TEST_F(AuxCommandsTest, VersionBoxIsHiddenAtStartWithItsLayout)
{
    EXPECT_EQ(form().versionBox(), m_box.get());
    const VersionBox& box = *m_box;
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.objectName(), QStringLiteral("VersionBox"));
    EXPECT_FALSE(box.windowTitle().isEmpty());
    EXPECT_EQ(box.pos(), QPoint(290, 222));
    // 292 × 225 outer, less a frame of 8 px at the sides and bottom and a caption of 31 px.
    EXPECT_EQ(box.size(), QSize(292 - 16, 225 - 39));
    EXPECT_EQ(box.font().family(), layout::kGothic);
    EXPECT_EQ(box.font().pixelSize(), 12);
    EXPECT_EQ(box.palette().color(QPalette::Window), box.palette().color(QPalette::Button));
    EXPECT_EQ(box.Memo1->toPlainText().split(QLatin1Char('\n')), kVersionLines);
    EXPECT_FALSE(box.Memo1->isReadOnly());
    EXPECT_EQ(box.Memo1->accessibleName(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(box.Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.Button1->geometry(), QRect(224, 160, 49, 25));
    EXPECT_TRUE(QRect(QPoint(0, 0), box.size()).contains(box.Memo1->geometry()));
}

TEST_F(AuxCommandsTest, VersionBoxIsModalAndOkOnlyHidesIt)
{
    form().show();
    WhileVersionBoxOpen([this](VersionBox& box) {
        EXPECT_TRUE(box.isVisible());
        EXPECT_TRUE(box.isModal());
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(QApplication::activeModalWidget(), &box);
        EXPECT_TRUE(form().isVisible());
        box.Button1->click();
    });
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_EQ(m_box->result(), QDialog::Accepted);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form().versionBox(), m_box.get());
    EXPECT_TRUE(form().isVisible());
    EXPECT_EQ(Results(), (QStringList{"18.000", "20.000", "15.500", "16.914", "0.682"}));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(AuxCommandsTest, VersionBoxKeepsItsLinesAndWhatWasTypedAcrossShowings)
{
    form().show();
    QStringList first, second, third;
    WhileVersionBoxOpen([&](VersionBox& box) {
        first = box.Memo1->toPlainText().split(QLatin1Char('\n'));
        box.Button1->click();
    });
    WhileVersionBoxOpen([&](VersionBox& box) {
        second = box.Memo1->toPlainText().split(QLatin1Char('\n'));
        box.Memo1->setFocus();
        box.Memo1->moveCursor(QTextCursor::End);
        Type(box.Memo1, QStringLiteral("\nメモ 1"));
        box.close();   // the close box
    });
    EXPECT_FALSE(m_box->isVisible());
    WhileVersionBoxOpen([&](VersionBox& box) {
        third = box.Memo1->toPlainText().split(QLatin1Char('\n'));
        box.Button1->click();
    });
    EXPECT_EQ(first, kVersionLines);
    EXPECT_EQ(second, kVersionLines);
    EXPECT_EQ(third, kVersionLines + QStringList{QStringLiteral("メモ 1")});
    EXPECT_TRUE(m_errors.isEmpty());
}

// ---- Exit ------------------------------------------------------------------

TEST_F(AuxCommandsTest, EndAndTheCloseBoxEndTheEventLoopWithoutAQuestion)
{
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"ＥＮＤ", [this] { form().N3->trigger(); }},
        {"close box", [this] { form().close(); }},
    };
    for (const auto& [name, closeWindow] : ways) {
        SCOPED_TRACE(name);
        form().show();
        bool modalSeen = false;
        QTimer act;
        act.setSingleShot(true);
        QObject::connect(&act, &QTimer::timeout, [&] {
            closeWindow();
            modalSeen = QApplication::activeModalWidget() != nullptr;
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            ADD_FAILURE() << "the event loop kept running after the main window closed";
            QCoreApplication::exit(1);
        });
        act.start(0);
        guard.start(10000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(modalSeen);
        EXPECT_FALSE(form().isVisible());
    }
    EXPECT_TRUE(m_errors.isEmpty());
}

// ---- Help and home page ----------------------------------------------------

TEST_F(AuxCommandsTest, HelpOpensThePageBesideTheExecutableFromAnyWorkingDirectory)
{
    const QString started = QDir::currentPath();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    form().Help2->trigger();
    QDir::setCurrent(started);

    const QString page = QCoreApplication::applicationDirPath() + QStringLiteral("/helphelp.htm");
    ASSERT_EQ(m_desktop.urls.size(), 1);
    const QUrl url = m_desktop.urls[0];
    EXPECT_EQ(url, QUrl::fromLocalFile(page));
    EXPECT_TRUE(QFileInfo(url.toLocalFile()).isAbsolute());
    EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << url.toLocalFile().toStdString();
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("helphelp.htm"))));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST(HelpPage, JapaneseSelfContainedAndCoversTheTool)
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/helphelp.htm"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    ASSERT_FALSE(utf8.hasError());
    EXPECT_TRUE(text.contains(QLatin1String("<html lang=\"ja\">")));
    EXPECT_TRUE(text.contains(QLatin1String("<meta charset=\"utf-8\">")));
    // Opens anywhere, offline: nothing is fetched.
    for (const char* external : {"src=", "<link", "@import", "url(", "http:", "https:"})
        EXPECT_FALSE(text.contains(QLatin1String(external), Qt::CaseInsensitive)) << external;
    // What a user meets in the window, and every message the tool can show.
    const QStringList topics{
        "モジュール", "歯数", "転位係数", "ピッチ円", "歯先円", "歯底円", "基礎円", "歯先歯厚",
        "d = z · m", "m (z + 2 + 2x)", "m (z − 2.5 + 2x)", "cos 20°", "inv", "10<sup>−6</sup>",
        "計算・登録", "削除", "全体", "拡大", "最大", "20 行", ".hgd", "3344", "読み取り", "書き込み",
        "表コピー", "タブ", "印刷", "96", "ＥＮＤ", "バージョン", "GO　ＨＰ",
        "警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生", "エラー：歯数Ｚ1が多すぎる、計算不可", "エラー＝０、警告＝０",
        "は整数ではありません", "は浮動小数点数ではありません", "不正な浮動小数点数演算命令",
        "0 による浮動小数点数除算", "浮動小数点数のオーバーフロー", "は開けません", "ストリームからの読み込みエラー",
        "メモリストリームの拡大中にメモリが足りなくなりました", "を作成できません", "ストリームへの書き込みエラー",
        "クリップボードを開くことができません", "デフォルト プリンタが存在しません", "印刷を開始できません",
        "印刷できませんでした", "警告：歯先が尖って交差、歯形不成立", "警告：歯先円が基礎円内、歯形不成立",
        "警告：歯先歯厚が薄い、０．２５ｍ未満", "Enter", "GPL-3.0-or-later",
        // The pair's design and the windows that read it.
        "この組を使う", "設計を保存…", "設計を開く…", ".tsumugi", "転位の配分", "歯数比（従来）", "切下げなし",
        "すべり率の釣り合い", "歯車ごとの仕様", "かみあいの設計の値です（かみあいで変えてください）", "(上＋下)/2",
        // Helical gears in the tool windows, and what they refuse.
        "ねじれ角 β（°）", "ねじれ方向", "歯直角モジュール m_n", "重なりかみあい率 εβ", "125.000", "23.1126",
        "ねじれ角が 0° 以上 90° 未満ではありません", "ねじれ角は 0° 以上 90° 未満でなければなりません",
        "はすば歯車の組はまだ外歯車どうしだけです", "はすば歯車はまだ書き出せません（歯形・部品・注記は平歯車のものです）",
        "はすば歯車の要目表はまだ作れません", "はすば歯車の組は設計ファイルにまだ保存できません"};
    for (const QString& topic : topics)
        EXPECT_TRUE(text.contains(topic)) << topic.toStdString();
    // Every link inside the page leads to a section of it.
    const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (auto it = link.globalMatch(text); it.hasNext(); ++links) {
        const QString id = it.next().captured(1);
        EXPECT_EQ(text.count(QStringLiteral("id=\"") + id + QLatin1Char('"')), 1) << id.toStdString();
    }
    EXPECT_GE(links, 13);
    // A line break between two Japanese characters would show as a stray blank in a browser.
    const QRegularExpression strayBlank(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]\\n\\s*[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    EXPECT_FALSE(text.contains(strayBlank)) << text.mid(text.indexOf(strayBlank), 40).toStdString();
}

TEST_F(AuxCommandsTest, HomePageButtonOpensTheAddressOfTheCreditLine)
{
    form().BitBtn3->click();
    ASSERT_EQ(m_desktop.urls.size(), 1);
    const QUrl url = m_desktop.urls[0];
    EXPECT_EQ(url, QUrl(QStringLiteral("https://tsumugi.example.org/")));
    EXPECT_EQ(url.toString(), QString::fromUtf8(HomePageAddress()));

    Calculate("1", "18", "0");
    EXPECT_TRUE(Messages().contains(QStringLiteral("HP：") + url.toString())) << Messages().join('|').toStdString();
    EXPECT_TRUE(m_errors.isEmpty());
}

// ---- Print -----------------------------------------------------------------

TEST_F(AuxCommandsTest, PrintsOneStretchedPageOnA600DpiPrinter)
{
    form().show();
    const QImage before = WindowImage();
    form().Edit1->setText(QStringLiteral("2.5"));   // typed, not calculated
    const QImage now = WindowImage();
    ASSERT_EQ(now.size(), QSize(layout::kClientWidth, layout::kClientHeight));

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString pdf = work.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(600);
    printer.setDocName(QString());
    PrintWidgetImage(form().clientArea(), printer);

    // 640 × 474 window pixels at 6.25 dots each.
    EXPECT_EQ(ImagesOf(pdf).value(0).width, 4000);
    EXPECT_EQ(ImagesOf(pdf).value(0).height, 2963);
    CheckPrintedPage(pdf, 600, printer.pageLayout().paintRect(QPageLayout::Point).topLeft(), before, now,
                     form().Edit1->geometry());
}

TEST_F(AuxCommandsTest, PrintFailsWithAMessageWhenTheJobCannotStart)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/page.pdf"));
    try {
        PrintWidgetImage(form().clientArea(), printer);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "印刷を開始できません");
    }
}

// Runs in a child process whose CUPS client reaches no server, so that the
// machine has no default printer there whatever is configured here.
TEST_F(AuxCommandsTest, PrintWithoutADefaultPrinterShowsTheMessage)
{
    if (qEnvironmentVariableIsSet("TSUMUGI_NO_PRINTER_CHILD")) {
        ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull());
        form().show();
        form().Print1->trigger();
        EXPECT_EQ(m_errors, QStringList{QStringLiteral("デフォルト プリンタが存在しません.")});
        EXPECT_EQ(Inputs(), (QStringList{"1", "18", "0"}));
        EXPECT_TRUE(form().isVisible());
        return;
    }
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TSUMUGI_NO_PRINTER_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("CUPS_SERVER"), home.filePath(QStringLiteral("no-cups.sock")));
    env.insert(QStringLiteral("HOME"), home.path());   // no ~/.cups/lpoptions either
    env.remove(QStringLiteral("PRINTER"));
    env.remove(QStringLiteral("LPDEST"));
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name());
    const ToolOutput child = RunTool(QCoreApplication::applicationFilePath(), {filter}, &env);
    EXPECT_EQ(child.exitCode, 0) << child.out.toStdString();
    EXPECT_TRUE(child.out.contains(QLatin1String("[  PASSED  ] 1 test."))) << child.out.toStdString();
}

// A print server that takes connections and never answers: the command ends
// with its message within its limit, and the window repaints meanwhile.
TEST_F(AuxCommandsTest, PrintEndsWithAMessageWithinItsLimitWhenThePrintServerNeverAnswers)
{
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(server, 16), 0);   // the system takes the connections; nobody reads them
    ASSERT_EQ(::getsockname(server, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const QByteArray cupsServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", "127.0.0.1:" + QByteArray::number(ntohs(address.sin_port)));
    form().show();
    int paints = 0;
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { paints += !form().clientArea()->grab().isNull(); });
    repaint.start(100);
    QElapsedTimer took;
    took.start();
    form().Print1->trigger();
    const qint64 ms = took.elapsed();
    ::close(server);   // the question left waiting ends now
    cupsServer.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", cupsServer);
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("印刷システムが 10 秒以内に応答しません.")});
    EXPECT_GE(ms, 9900);
    EXPECT_LT(ms, 11500);
    EXPECT_GE(paints, 50) << "the window did not repaint while the print system was asked";
}

// The real thing: the default printer, a CUPS queue that writes PDF files,
// made this process's default by its name (CUPS reads PRINTER).
TEST_F(AuxCommandsTest, PrintsTheWindowOnTheDefaultCupsPrinter)
{
    const DefaultPrinterByName byName(kPdfQueue);
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull() || target.printerName() != kPdfQueue)
        GTEST_SKIP() << "the default printer is not the PDF queue " << kPdfQueue.toStdString()
                     << "; tools/cups-pdf.sh sets it up";
    const QPrinter reference(target, QPrinter::HighResolution);
    const int dpi = reference.resolution();
    const QPointF origin = reference.pageLayout().paintRect(QPageLayout::Point).topLeft();

    const QDir out(kPdfOutDir);
    const QSet<QString> earlier = [&] {
        const QStringList names = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        return QSet<QString>(names.begin(), names.end());
    }();

    form().show();
    Calculate("2", "12", "0.3");
    const QImage before = WindowImage();
    form().Edit2->setText(QStringLiteral("36"));   // typed, not calculated
    const QImage now = WindowImage();
    form().Print1->trigger();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();

    // The job is done when its file is there and the queue is empty.
    QString pdf;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 120000) {
        QStringList fresh;
        for (const QString& name : out.entryList({QStringLiteral("*.pdf")}, QDir::Files))
            if (!earlier.contains(name))
                fresh << name;
        const ToolOutput queue = RunTool(QStringLiteral("lpstat"), {QStringLiteral("-o"), kPdfQueue});
        if (!fresh.isEmpty() && queue.out.trimmed().isEmpty()) {
            ASSERT_EQ(fresh.size(), 1) << fresh.join('|').toStdString();
            pdf = out.filePath(fresh[0]);
            break;
        }
        QThread::msleep(200);
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue within 120 s";
    CheckPrintedPage(pdf, dpi, origin, before, now, form().Edit2->geometry());
    if (!HasFailure())
        QFile::remove(pdf);
}

}  // namespace

#include "auxcommands_test.moc"
