// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/meshview.h"

#include "ui/filedialog.h"
#include "export/meshexport.h"
#include "base/apperror.h"
#include "base/safefile.h"
#include "commands/numbertext.h"
#include "ui/errorbox.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

MeshPanel::SaveChooser saveChooser;
QString lastPictureName = QStringLiteral("mesh.svg");

constexpr int kSliderSteps = 36000;          // a hundredth of a degree
constexpr double kSecondsPerPitch = 1.5;     // playing speed
constexpr double kWheelPitchFraction = 1.0 / 24.0;

const QColor kFill[2] = {QColor(0xdc, 0xe8, 0xff), QColor(0xdf, 0xf2, 0xd8)};
const QColor kOutline(0x00, 0x00, 0x00);
const QColor kOverlap(0xff, 0x00, 0x00);
const QColor kCircle(0x60, 0x60, 0x60);
const QColor kLine(0x00, 0x00, 0xff);

QPointF Q(OutlinePoint p) { return {p.x, p.y}; }

QPainterPath PathOf(const MeshPolygon& points)
{
    QPainterPath path;
    if (points.empty())
        return path;
    path.moveTo(Q(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(Q(points[i]));
    path.closeSubpath();
    return path;
}

QPen Cosmetic(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    return pen;
}

double Wrap360(double degrees)
{
    const double d = std::fmod(degrees, 360.0);
    return d < 0.0 ? d + 360.0 : d;
}

}  // namespace

MeshView::MeshView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MeshView"));
    setAccessibleName(QStringLiteral("かみあい図"));
    setMinimumSize(300, 260);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::WheelFocus);
    setCursor(Qt::OpenHandCursor);
}

QSize MeshView::sizeHint() const
{
    return {560, 440};
}

void MeshView::setMesh(std::shared_ptr<const GearMesh> mesh)
{
    const double oldSize = m_framedFor;
    m_mesh = std::move(mesh);
    m_framedFor = m_mesh->centerDistance();
    m_reason.clear();
    for (int i = 0; i < 2; ++i) {
        const MeshBody& b = m_mesh->body(i);
        const auto g = static_cast<std::size_t>(i);
        m_outlines[g] = PathOf(b.outline);
        if (b.kind == MeshBodyKind::Ring) {
            m_outlines[g].addEllipse(QPointF(0.0, 0.0), b.rimRadius, b.rimRadius);
            m_outlines[g].setFillRule(Qt::OddEvenFill);
        }
        m_teeth[g].clear();
        m_cells[g].clear();
        if (b.kind == MeshBodyKind::Rack)
            continue;
        // A gear's cell ends in its centre, a ring's in two points beyond its root.
        const std::size_t closing = b.kind == MeshBodyKind::Ring ? 2 : 1;
        for (const MeshPolygon& cell : b.cells) {
            QPolygonF tooth, whole;
            for (std::size_t k = 0; k < cell.size(); ++k) {
                whole << Q(cell[k]);
                if (k + closing < cell.size())
                    tooth << Q(cell[k]);
            }
            m_teeth[g].push_back(tooth);
            m_cells[g].push_back(whole);
        }
    }
    // Another pair of much the same size keeps the user's zoom and pan.
    if (!m_framed || !(std::fabs(m_mesh->centerDistance() - oldSize) < 0.1 * oldSize))
        fitContact();
    setDriveAngle(m_driveAngle);
}

void MeshView::clearMesh(const QString& reason)
{
    m_mesh.reset();
    m_overlaps.clear();
    m_reason = reason;
    update();
}

void MeshView::setDriveAngle(double degrees)
{
    m_driveAngle = Wrap360(degrees);
    m_overlaps = m_mesh ? m_mesh->OverlapsAt(m_driveAngle) : std::vector<MeshPolygon>{};
    update();
}

void MeshView::frame(QRectF world)
{
    const double w = std::max(1.0, static_cast<double>(width())), h = std::max(1.0, static_cast<double>(height()));
    m_scale = std::min(w / world.width(), h / world.height());
    m_centre = world.center();
    m_framed = true;
    m_moved = false;
    update();
}

void MeshView::fitContact()
{
    if (!m_mesh)
        return;
    m_framedAll = false;
    // The path of contact with the pitch point, and a tooth's height around
    // it. The tangent points stay out: a large ring's lies a long way off.
    const MeshLineOfAction& line = m_mesh->lineOfAction();
    const double depth = m_mesh->body(0).tipRadius - m_mesh->body(0).rootRadius;
    QRectF box = QRectF(Q(line.start), Q(line.end)).normalized();
    box = box.united(QRectF(Q(line.pitchPoint), Q(line.pitchPoint)));
    box.adjust(-1.5 * depth, -depth, 1.5 * depth, depth);
    frame(box);
}

void MeshView::fitAll()
{
    if (!m_mesh)
        return;
    m_framedAll = true;
    const MeshBounds b = m_mesh->Bounds();
    const double margin = 0.02 * std::max(b.maxX - b.minX, b.maxY - b.minY);
    frame(QRectF(QPointF(b.minX, b.minY), QPointF(b.maxX, b.maxY)).adjusted(-margin, -margin, margin, margin));
}

void MeshView::zoomBy(double factor, QPointF about)
{
    // The world point under `about` stays where it is.
    const QPointF world = worldToScreen(size()).inverted().map(about);
    m_scale = std::clamp(m_scale * factor, 1e-3, 1e5);
    const QPointF moved = worldToScreen(size()).map(world);
    const QPointF shift = (moved - about) / m_scale;
    m_centre += QPointF(shift.x(), -shift.y());
    m_moved = true;
    update();
}

QTransform MeshView::worldToScreen(QSize size) const
{
    // y upwards: the picture's frame turned the right way up on the screen.
    QTransform t;
    t.translate(size.width() / 2.0, size.height() / 2.0);
    t.scale(m_scale, -m_scale);
    t.translate(-m_centre.x(), -m_centre.y());
    return t;
}

void MeshView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render(painter, size());
}

void MeshView::render(QPainter& painter, QSize size) const
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    if (!m_mesh) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(0, 0), size).adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         m_reason);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QTransform world = worldToScreen(size);
    const double sizeScale = static_cast<double>(size.width()) / std::max(1, width());
    const double scale = m_scale * sizeScale;
    QTransform view = world;
    if (sizeScale != 1.0) {
        // Another size (a saved picture): the same framing, scaled.
        view = QTransform();
        view.translate(size.width() / 2.0, size.height() / 2.0);
        view.scale(scale, -scale);
        view.translate(-m_centre.x(), -m_centre.y());
    }

    const QRectF shown = view.inverted().mapRect(QRectF(QPointF(0.0, 0.0), QSizeF(size)));
    for (int i = 0; i < 2; ++i)
        drawBody(painter, i, view, shown);
    painter.setTransform(view);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kOverlap);
    for (const MeshPolygon& overlap : m_overlaps)
        painter.drawPath(PathOf(overlap));

    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const MeshBody& b = m_mesh->body(i);
        if (b.kind == MeshBodyKind::Rack) {
            // The rack's reference, working pitch and tip lines across the view.
            const MeshPlacement at = m_mesh->PlacementAt(i, m_driveAngle);
            const std::pair<double, Qt::PenStyle> lines[] = {
                {0.0, Qt::DashDotLine}, {b.rackWorkingPitch, Qt::DotLine}, {b.rackTip, Qt::SolidLine}};
            for (const auto& [x, style] : lines) {
                painter.setPen(Cosmetic(kCircle, 1.0, style));
                painter.drawLine(QPointF(at.origin.x + x, shown.top()), QPointF(at.origin.x + x, shown.bottom()));
            }
            continue;
        }
        const QPointF c = Q(b.centre);
        const std::pair<double, Qt::PenStyle> circles[] = {{b.baseRadius, Qt::DashLine},
                                                           {b.pitchRadius, Qt::DashDotLine},
                                                           {b.workingPitchRadius, Qt::DotLine},
                                                           {b.tipRadius, Qt::SolidLine}};
        for (const auto& [radius, style] : circles) {
            painter.setPen(Cosmetic(kCircle, 1.0, style));
            painter.drawEllipse(c, radius, radius);
        }
    }

    const MeshLineOfAction& line = m_mesh->lineOfAction();
    painter.setPen(Cosmetic(kLine, 1.0));
    painter.drawLine(Q(line.from), Q(line.to));
    painter.setPen(Cosmetic(kLine, 3.0));
    painter.drawLine(Q(line.start), Q(line.end));
    // Contact asked for past a tangent point: no involute is there to take it.
    painter.setPen(Cosmetic(kOverlap, 3.0, Qt::DotLine));
    if (line.startBeyondTangent)
        painter.drawLine(Q(line.start), Q(line.tangent1));
    if (line.endBeyondTangent)
        painter.drawLine(Q(line.tangent2), Q(line.end));

    // Markers and their names in screen pixels.
    painter.resetTransform();
    painter.setBrush(kLine);
    painter.setPen(Qt::NoPen);
    const struct {
        OutlinePoint at;
        const char* name;
        double radius;
    } marks[] = {{line.start, "かみあい始め", 4.0}, {line.end, "かみあい終わり", 4.0}, {line.pitchPoint, "P", 3.0},
                 {line.tangent1, "T1", 2.5}, {line.tangent2, "T2", 2.5}};
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    for (const auto& mark : marks) {
        if (&mark.at == &marks[4].at && !line.hasTangent2)
            continue;
        const QPointF at = view.map(Q(mark.at));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(at, mark.radius, mark.radius);
        painter.setPen(kLine);
        painter.drawText(at + QPointF(7.0, 5.0), QString::fromUtf8(mark.name));
    }

    // What each line is, in the upper left corner.
    const struct {
        const char* name;
        QPen pen;
    } legend[] = {{"歯先円", QPen(kCircle, 1.0, Qt::SolidLine)},      {"かみあいピッチ円", QPen(kCircle, 1.0, Qt::DotLine)},
                  {"基準ピッチ円", QPen(kCircle, 1.0, Qt::DashDotLine)}, {"基礎円", QPen(kCircle, 1.0, Qt::DashLine)},
                  {"作用線", QPen(kLine, 3.0)},                      {"歯形の重なり", QPen(kOverlap, 6.0)}};
    const int row = 16;
    const int rows = static_cast<int>(std::size(legend));
    const QRectF box(6.0, 6.0, 150.0, rows * row + 4.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRect(box);
    for (int k = 0; k < rows; ++k) {
        const double y = box.top() + 2.0 + row * k + row / 2.0;
        painter.setPen(legend[k].pen);
        painter.drawLine(QPointF(box.left() + 4.0, y), QPointF(box.left() + 34.0, y));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(box.left() + 40.0, y + 5.0), QString::fromUtf8(legend[k].name));
    }
}

// A body turned into place: the whole outline when most of it is seen, only
// the teeth in sight otherwise (a zoomed frame then draws a few hundred points
// instead of thousands), each run of them filled down to the centre.
void MeshView::drawBody(QPainter& painter, int i, const QTransform& view, QRectF shown) const
{
    const MeshBody& b = m_mesh->body(i);
    const auto g = static_cast<std::size_t>(i);
    const MeshPlacement placement = m_mesh->PlacementAt(i, m_driveAngle);
    QTransform frame;
    frame.translate(placement.origin.x, placement.origin.y);
    frame.rotateRadians(placement.angle);
    painter.setTransform(frame * view);
    painter.setBrush(kFill[i]);
    const QPen outline = Cosmetic(kOutline, 1.0);
    if (b.kind == MeshBodyKind::Rack) {   // a rack: a few dozen teeth, drawn whole
        painter.setPen(outline);
        painter.drawPath(m_outlines[g]);
        return;
    }

    const std::size_t n = b.cells.size();
    std::vector<char> seen(n);
    std::size_t count = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double reach = b.cellReach[k];
        seen[k] = shown.adjusted(-reach, -reach, reach, reach).contains(Q(Place(placement, b.cellAnchors[k])));
        count += seen[k] ? 1 : 0;
    }
    if (count * 2 > n) {
        painter.setPen(outline);
        painter.drawPath(m_outlines[g]);
        return;
    }
    if (b.kind == MeshBodyKind::Ring) {
        // The rim beyond the cells' ends, then each tooth in sight with the band behind it.
        // The band's inner edge lies well under the cells; the cells are one path,
        // so that no seam shows where they meet.
        QPainterPath band, cells;
        band.setFillRule(Qt::OddEvenFill);
        band.addEllipse(QPointF(0.0, 0.0), b.rimRadius, b.rimRadius);
        const double inner = (b.rootRadius + b.cellsReach) / 2.0;
        band.addEllipse(QPointF(0.0, 0.0), inner, inner);
        cells.setFillRule(Qt::WindingFill);
        for (std::size_t k = 0; k < n; ++k)
            if (seen[k])
                cells.addPolygon(m_cells[g][k]);
        painter.setPen(Qt::NoPen);
        painter.drawPath(band);
        painter.drawPath(cells);
        painter.setPen(outline);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(0.0, 0.0), b.rimRadius, b.rimRadius);
        for (std::size_t k = 0; k < n; ++k)
            if (seen[k])
                painter.drawPolyline(m_teeth[g][k]);
        return;
    }
    // The body inside the root circle where it is in sight.
    const QPointF centre = Q(placement.origin);
    const double dx = std::max({shown.left() - centre.x(), 0.0, centre.x() - shown.right()});
    const double dy = std::max({shown.top() - centre.y(), 0.0, centre.y() - shown.bottom()});
    painter.setPen(Qt::NoPen);
    if (std::hypot(dx, dy) < b.rootRadius)
        painter.drawEllipse(QPointF(0.0, 0.0), b.rootRadius, b.rootRadius);
    for (std::size_t k = 0; k < n; ++k) {
        // The start of a run of teeth in sight.
        if (!seen[k] || (seen[(k + n - 1) % n] && count < n))
            continue;
        QPolygonF run;
        for (std::size_t j = k; seen[j % n] && run.size() < static_cast<qsizetype>(count * m_teeth[g][0].size()); ++j) {
            const QPolygonF& tooth = m_teeth[g][j % n];
            run += tooth.mid(0, tooth.size() - 1);
            if (!seen[(j + 1) % n])
                run << tooth.back();
        }
        QPolygonF wedge = run;
        wedge << QPointF(0.0, 0.0);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(wedge);
        painter.setPen(outline);
        painter.drawPolyline(run);
    }
}

void MeshView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0 || !m_mesh) {
        event->ignore();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        zoomBy(std::pow(1.25, notches), event->position());
    } else {
        setDriveAngle(m_driveAngle + notches * kWheelPitchFraction * m_mesh->pitchAngle());
        Q_EMIT driveAngleChanged(m_driveAngle);
    }
    event->accept();
}

void MeshView::mousePressEvent(QMouseEvent* event)
{
    m_dragFrom = event->position();
}

void MeshView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPointF moved = event->position() - m_dragFrom;
    m_dragFrom = event->position();
    m_centre -= QPointF(moved.x() / m_scale, -moved.y() / m_scale);
    m_moved = true;
    update();
}

void MeshView::mouseDoubleClickEvent(QMouseEvent*)
{
    fitContact();
}

void MeshView::resizeEvent(QResizeEvent*)
{
    // A framing nobody has changed by hand follows the size.
    if (m_mesh && !m_moved)
        m_framedAll ? fitAll() : fitContact();
}

// ---------------------------------------------------------------------------

void MeshPanel::SetSaveChooser(SaveChooser chooser) { saveChooser = std::move(chooser); }

MeshPanel::MeshPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MeshPanel"));
    setAccessibleName(QStringLiteral("かみあい図"));
    m_view = new MeshView(this);
    auto button = [this](const char* name, const QString& text, const QString& accessible) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(accessible);
        b->setAutoDefault(false);
        return b;
    };
    m_play = button("MeshPlay", QStringLiteral("再生"), QStringLiteral("再生"));
    m_angle = new QSlider(Qt::Horizontal, this);
    m_angle->setObjectName(QStringLiteral("MeshAngle"));
    m_angle->setAccessibleName(QStringLiteral("歯車１の回転角"));
    m_angle->setRange(0, kSliderSteps - 1);
    m_angle->setMinimumWidth(160);
    m_angleText = new QLabel(this);
    m_angleText->setObjectName(QStringLiteral("MeshAngleText"));
    m_angleText->setAccessibleName(QStringLiteral("回転角"));
    m_angleText->setMinimumWidth(90);
    m_fitContact = button("MeshFitContact", QStringLiteral("かみあい部"), QStringLiteral("かみあい部を表示"));
    m_fitAll = button("MeshFitAll", QStringLiteral("全体"), QStringLiteral("全体を表示"));
    m_save = button("MeshSave", QStringLiteral("図の保存…"), QStringLiteral("図の保存"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("MeshStatus"));
    m_status->setAccessibleName(QStringLiteral("かみあい図の状態"));
    m_status->setWordWrap(true);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_play);
    controls->addWidget(m_angle, 1);
    controls->addWidget(m_angleText);
    auto* views = new QHBoxLayout;
    views->addWidget(m_fitContact);
    views->addWidget(m_fitAll);
    views->addStretch(1);
    views->addWidget(m_save);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_view, 1);
    column->addLayout(controls);
    column->addLayout(views);
    column->addWidget(m_status);

    m_timer = new QTimer(this);
    m_timer->setInterval(16);
    connect(m_timer, &QTimer::timeout, this, [this] { tick(); });
    connect(m_play, &QPushButton::clicked, this, [this] { playClick(); });
    connect(m_angle, &QSlider::valueChanged, this, [this](int value) {
        if (m_timer->isActive()) {   // a hand on the slider stops the play
            m_timer->stop();
            m_play->setText(QStringLiteral("再生"));
            m_play->setAccessibleName(m_play->text());
        }
        m_view->setDriveAngle(value * 360.0 / kSliderSteps);
        angleChanged(m_view->driveAngle());
    });
    connect(m_view, &MeshView::driveAngleChanged, this, [this](double degrees) { angleChanged(degrees); });
    connect(m_fitContact, &QPushButton::clicked, m_view, &MeshView::fitContact);
    connect(m_fitAll, &QPushButton::clicked, m_view, &MeshView::fitAll);
    connect(m_save, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { saveClick(); }); });
    clearPair(QString());
}

void MeshPanel::showPair(const MeshInput& input, const std::string& decimalSeparator)
{
    m_separator = decimalSeparator;
    std::shared_ptr<const GearMesh> mesh;
    try {
        mesh = std::make_shared<const GearMesh>(input);
    } catch (const AppError& e) {
        clearPair(QStringLiteral("かみあい図を描けません：") + QString::fromUtf8(e.what()));
        return;
    }
    m_view->setMesh(std::move(mesh));
    for (QWidget* w : std::initializer_list<QWidget*>{m_play, m_angle, m_fitContact, m_fitAll, m_save})
        w->setEnabled(true);
    angleChanged(m_view->driveAngle());
}

void MeshPanel::clearPair(const QString& reason)
{
    m_timer->stop();
    m_play->setText(QStringLiteral("再生"));
    m_view->clearMesh(reason);
    for (QWidget* w : std::initializer_list<QWidget*>{m_play, m_angle, m_fitContact, m_fitAll, m_save})
        w->setEnabled(false);
    m_status->clear();
    m_angleText->clear();
}

void MeshPanel::angleChanged(double degrees)
{
    const QSignalBlocker block(m_angle);
    m_angle->setValue(static_cast<int>(std::lround(degrees / 360.0 * kSliderSteps)) % kSliderSteps);
    m_angleText->setText(QStringLiteral("θ１ %1°").arg(QString::fromStdString(FormatFixed(degrees, 11, 2, m_separator))));
    const GearMesh* mesh = m_view->mesh();
    if (!mesh)
        return;
    QString status = QStringLiteral("法線方向のバックラッシ %1 mm")
                         .arg(QString::fromStdString(FormatFixed(mesh->normalBacklash(), 11, 3, m_separator)));
    if (m_view->overlapShown())
        status += QStringLiteral("　歯形が重なる（赤）");
    m_status->setText(status);
}

bool MeshPanel::playing() const
{
    return m_timer->isActive();
}

void MeshPanel::playClick()
{
    if (m_timer->isActive()) {
        m_timer->stop();
        m_play->setText(QStringLiteral("再生"));
    } else if (m_view->mesh()) {
        m_playFrom = m_view->driveAngle();
        m_clock.start();
        m_timer->start();
        m_play->setText(QStringLiteral("停止"));
    }
    m_play->setAccessibleName(m_play->text());
}

void MeshPanel::tick()
{
    const GearMesh* mesh = m_view->mesh();
    if (!mesh) {
        m_timer->stop();
        return;
    }
    const double seconds = static_cast<double>(m_clock.elapsed()) / 1000.0;
    m_view->setDriveAngle(m_playFrom + seconds / kSecondsPerPitch * mesh->pitchAngle());
    angleChanged(m_view->driveAngle());
}

void MeshPanel::saveClick()
{
    if (!m_view->mesh())
        return;
    const QString svg = QStringLiteral("SVG (*.svg)"), png = QStringLiteral("PNG (*.png)");
    QString filter = QFileInfo(lastPictureName).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0 ? png : svg;
    const QString name = saveChooser ? saveChooser(lastPictureName)
                                     : AskSaveFileName(this, QStringLiteral("かみあい図の保存"), lastPictureName,
                                                                    svg + QStringLiteral(";;") + png, &filter);
    if (name.isEmpty())
        return;
    QString path = name;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("svg") && suffix != QStringLiteral("png"))
        path += filter == png ? QStringLiteral(".png") : QStringLiteral(".svg");
    lastPictureName = path;
    savePicture(path);
}

void MeshPanel::savePicture(const QString& path) const
{
    const GearMesh* mesh = m_view->mesh();
    if (!mesh)
        throw AppError("保存するかみあい図がありません");
    const std::string file = path.toStdString();
    if (QFileInfo(path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0) {
        // The view as it is shown, at twice its size.
        QImage image(m_view->size() * 2, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            m_view->render(painter, image.size());
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image))
            throw AppError("PNG を作れません：" + writer.errorString().toStdString());
        WriteFileSafely(file, reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
        return;
    }
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) != 0)
        throw AppError("保存できるのは .svg と .png のファイルだけです");
    SaveMeshSvg(mesh->PictureAt(m_view->driveAngle()), file);
}
