// SPDX-License-Identifier: GPL-3.0-or-later
// The かみあい drawing in the real pair window: it follows the inputs, turns
// with the wheel, the slider and the play button, zooms, and saves SVG and PNG.
#include "formfixture.h"

#include "ui/backlashpanel.h"
#include "ui/meshview.h"
#include "ui/pairwindow.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QWheelEvent>

namespace {

class MeshViewTest : public FormTest {
protected:
    PairWindow& OpenPair(const QString& z2, const QString& x2)
    {
        Calculate("3", "12", "0.6");
        form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
        auto* w = form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
        TypeInto(w->findChild<QLineEdit*>("PairTeeth2"), z2);
        TypeInto(w->findChild<QLineEdit*>("PairShift2"), x2);
        return *w;
    }
    // As a user's typing: the text changes and textEdited is raised.
    static void TypeInto(QLineEdit* box, const QString& text)
    {
        box->setText(text);
        box->setModified(true);
        Q_EMIT box->textEdited(text);
    }
    static void Wheel(QWidget* view, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(view->width() / 2.0, view->height() / 2.0);
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &event);
    }
};

TEST_F(MeshViewTest, FollowsTheTypingAndTurns)
{
    PairWindow& w = OpenPair("24", "0.36");
    MeshPanel& panel = *w.findChild<MeshPanel*>("MeshPanel");
    ASSERT_NE(panel.m_view->mesh(), nullptr);   // drawn as typed, before 計算
    EXPECT_EQ(panel.m_view->mesh()->body(1).teeth, 24);
    EXPECT_EQ(w.resultBox("center_distance")->text(), "56.500");
    EXPECT_EQ(panel.m_status->text(), "法線方向のバックラッシ 0.000 mm");

    Wheel(panel.m_view, 120);   // a twenty-fourth of gear 1's 30° pitch
    EXPECT_DOUBLE_EQ(panel.m_view->driveAngle(), 1.25);
    EXPECT_EQ(panel.m_angle->value(), 125);
    EXPECT_EQ(panel.m_angleText->text(), "θ１ 1.25°");
    Wheel(panel.m_view, -240);
    EXPECT_NEAR(panel.m_view->driveAngle(), 358.75, 1e-9);
    panel.m_angle->setValue(1500);
    EXPECT_DOUBLE_EQ(panel.m_view->driveAngle(), 15.0);

    panel.m_fitContact->click();
    const double scale = panel.m_view->scale();
    Wheel(panel.m_view, 120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(panel.m_view->scale(), scale * 1.25);
    EXPECT_DOUBLE_EQ(panel.m_view->driveAngle(), 15.0);
    panel.m_fitContact->click();
    EXPECT_DOUBLE_EQ(panel.m_view->scale(), scale);

    panel.m_play->click();
    EXPECT_TRUE(panel.playing());
    EXPECT_EQ(panel.m_play->text(), "停止");
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 150)
        QCoreApplication::processEvents();
    EXPECT_GT(panel.m_view->driveAngle(), 15.5);
    panel.m_play->click();
    EXPECT_FALSE(panel.playing());
    EXPECT_EQ(panel.m_play->text(), "再生");

    // A mate the profile cannot make: no drawing, the reason instead, the numbers still shown.
    TypeInto(w.findChild<QLineEdit*>("PairTeeth2"), "2");
    EXPECT_EQ(panel.m_view->mesh(), nullptr);
    EXPECT_FALSE(panel.m_save->isEnabled());
    EXPECT_FALSE(w.resultBox("center_distance")->text().isEmpty());
    TypeInto(w.findChild<QLineEdit*>("PairTeeth2"), "24");
    EXPECT_NE(panel.m_view->mesh(), nullptr);
    EXPECT_TRUE(m_errors.isEmpty());
}

// The drawing takes the mate chosen and the allowances typed: thinner teeth
// show their play in the status line, a ring and a rack are drawn as bodies
// of their own.
TEST_F(MeshViewTest, DrawsEveryMateWithTheAllowances)
{
    PairWindow& w = OpenPair("24", "0.36");
    MeshPanel& panel = *w.findChild<MeshPanel*>("MeshPanel");
    BacklashPanel& allowances = *w.findChild<BacklashPanel*>("BacklashPanel");
    const struct {
        QLineEdit* box;
        const char* text;
    } typed[] = {{allowances.allowance[0][1], "-0.1"}, {allowances.allowance[0][0], "-0.05"},
                 {allowances.allowance[1][1], "-0.12"}, {allowances.allowance[1][0], "-0.08"}};
    for (const auto& t : typed)
        TypeInto(t.box, QString::fromLatin1(t.text));   // followed as typed, no Enter
    // The tightest mesh: the upper allowances, -(0.05 + 0.08) cos 20° of play.
    ASSERT_NE(panel.m_view->mesh(), nullptr);
    EXPECT_EQ(panel.m_status->text(), "法線方向のバックラッシ 0.122 mm");

    struct Mate {
        QRadioButton* button;
        MeshBodyKind kind;
        const char* id;
    } const mates[] = {{w.findChild<QRadioButton*>("PairMateInternal"), MeshBodyKind::Ring, "GEAR2"}, {w.findChild<QRadioButton*>("PairMateRack"), MeshBodyKind::Rack, "RACK"}};
    w.findChild<QRadioButton*>("PairMateInternal")->setChecked(true);
    TypeInto(w.findChild<QLineEdit*>("PairTeeth2"), "60");
    TypeInto(w.findChild<QLineEdit*>("PairShift2"), "0.5");
    for (const Mate& m : mates) {
        m.button->setChecked(true);
        ASSERT_NE(panel.m_view->mesh(), nullptr) << m.id;
        EXPECT_EQ(panel.m_view->mesh()->body(1).kind, m.kind);
        EXPECT_EQ(panel.m_view->mesh()->body(1).id, m.id);
        // Allowances are for two external gears: the mate meshes without play.
        EXPECT_EQ(panel.m_status->text(), "法線方向のバックラッシ 0.000 mm") << m.id;
        panel.m_fitAll->click();
        // Both bodies filled: a good part of the view is not the white background.
        const QImage image = panel.m_view->grab().toImage();
        int filled = 0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                filled += image.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        EXPECT_GT(filled * 16, image.width() * image.height() / 10) << m.id;
    }
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(" ").toStdString();
}

TEST_F(MeshViewTest, SavesSvgAndPng)
{
    PairWindow& w = OpenPair("24", "0.36");
    MeshPanel& panel = *w.findChild<MeshPanel*>("MeshPanel");
    QTemporaryDir dir;
    QString answer;
    MeshPanel::SetSaveChooser([&answer](const QString&) { return answer; });
    struct Case {
        QString name, written;
    } const cases[] = {{"a.svg", "a.svg"}, {"b.PNG", "b.PNG"}, {"c", "c.png"}};   // the last filter chosen stays
    for (const Case& c : cases) {
        answer = dir.filePath(c.name);
        panel.m_save->click();
        QFile file(dir.filePath(c.written));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.written.toStdString();
        const QByteArray bytes = file.readAll();
        if (c.written.endsWith("svg")) {
            EXPECT_TRUE(bytes.contains("<g id=\"GEAR1\"") && bytes.contains("<g id=\"GEAR2\"") &&
                        bytes.contains("<g id=\"LINE_OF_ACTION\""));
        } else {
            const QImage image = QImage::fromData(bytes, "PNG");
            EXPECT_EQ(image.size(), panel.m_view->size() * 2);
        }
    }
    answer = dir.filePath("missing/d.svg");
    panel.m_save->click();
    EXPECT_EQ(m_errors.size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    MeshPanel::SetSaveChooser({});
}

// 「かみあい部」 frames the path of contact: a large ring's far tangent point
// stays out of the picture.
TEST_F(MeshViewTest, ContactOfALargeRingIsFramedAtToothScale)
{
    Calculate("2", "20", "0");
    form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
    auto* w = form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
    TypeInto(w->findChild<QLineEdit*>("PairTeeth2"), QStringLiteral("1000"));
    TypeInto(w->findChild<QLineEdit*>("PairShift2"), QStringLiteral("0"));
    w->findChild<QRadioButton*>("PairMateInternal")->click();
    MeshPanel& panel = *w->findChild<MeshPanel*>("MeshPanel");
    ASSERT_NE(panel.m_view->mesh(), nullptr);
    panel.m_fitContact->click();
    // The path of contact is about 1.7 base pitches (10 mm) with 4.5 mm of
    // tooth depth around it.
    const double shown = std::max(panel.m_view->width(), panel.m_view->height()) / panel.m_view->scale();
    EXPECT_LT(shown, 60.0);
    EXPECT_GT(shown, 10.0);
}

}  // namespace
