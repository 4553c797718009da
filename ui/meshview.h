// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pair in mesh as a drawing (かみあい図), for the かみあい window.
//
// MeshView draws a GearMesh (geometry/mesh.h) at true scale: both outlines,
// their base, reference pitch, working pitch and tip circles, the line of
// action with the start and end of contact, and the overlap of the outlines
// in red. The outlines are made into paths once per pair; a frame only turns
// them and asks the core for the overlap. The wheel turns the pair (with Ctrl
// it zooms about the pointer), a drag pans, a double click frames the
// contact zone again.
//
// MeshPanel puts the view together with its controls: play and stop, the
// angle slider, framing the contact zone or both gears, and saving the
// picture as SVG (the whole pair in millimetres) or PNG (the view as shown).

#include "geometry/mesh.h"

#include <QElapsedTimer>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

class MeshView : public QWidget {
    Q_OBJECT

public:
    explicit MeshView(QWidget* parent = nullptr);
    QSize sizeHint() const override;

    // A new pair; the view keeps its framing when the pair is much the same
    // size, and frames the contact zone otherwise.
    void setMesh(std::shared_ptr<const GearMesh> mesh);
    // No pair: the reason is shown in the view.
    void clearMesh(const QString& reason);
    const GearMesh* mesh() const { return m_mesh.get(); }

    // Gear 1's turn, degrees counter-clockwise, kept in [0, 360).
    void setDriveAngle(double degrees);
    double driveAngle() const { return m_driveAngle; }
    // Whether the outlines overlap at the current angle.
    bool overlapShown() const { return !m_overlaps.empty(); }

    void fitContact();
    void fitAll();
    // Zooms by factor about a point of the widget.
    void zoomBy(double factor, QPointF about);
    double scale() const { return m_scale; }   // pixels per millimetre

    // Draws what the view shows into a painter of the given size.
    void render(QPainter& painter, QSize size) const;

Q_SIGNALS:
    // The wheel turned the pair.
    void driveAngleChanged(double degrees);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTransform worldToScreen(QSize size) const;
    void drawBody(QPainter& painter, int i, const QTransform& view, QRectF shown) const;
    void frame(QRectF world);

    std::shared_ptr<const GearMesh> m_mesh;
    std::array<QPainterPath, 2> m_outlines;   // in each body's own frame
    std::array<std::vector<QPolygonF>, 2> m_teeth;   // each tooth's outline, own frame
    std::array<std::vector<QPolygonF>, 2> m_cells;   // each tooth with what closes it (a ring's: beyond its root)
    std::vector<MeshPolygon> m_overlaps;      // at the current angle
    QString m_reason;
    double m_driveAngle = 0.0;
    double m_scale = 1.0;
    QPointF m_centre;                         // world point at the widget's middle
    QPointF m_dragFrom;
    bool m_framed = false;
    bool m_moved = false;                     // zoomed or panned by hand since the last framing
    bool m_framedAll = false;                 // the last framing showed both gears
    double m_framedFor = 0.0;                 // the centre distance of the pair last shown
};

class MeshPanel : public QWidget {
    Q_OBJECT

public:
    explicit MeshPanel(QWidget* parent = nullptr);

    // Draws the pair as computed, with the window's allowances; a pair the
    // profiles refuse is shown as the reason.
    void showPair(const MeshInput& input, const std::string& decimalSeparator);
    void clearPair(const QString& reason);

    // The 再生 / 停止 button.
    void playClick();
    bool playing() const;
    // The 図の保存 button: a file dialog, then SVG or PNG by the name's extension.
    void saveClick();
    // Writes the picture: .svg the whole pair in millimetres, .png the view.
    void savePicture(const QString& path) const;

    // Tests answer the save dialog through a chooser (empty name: cancelled).
    using SaveChooser = std::function<QString(const QString& initialName)>;
    static void SetSaveChooser(SaveChooser chooser);

    MeshView* m_view;
    QPushButton* m_play;
    QSlider* m_angle;
    QLabel* m_angleText;
    QPushButton* m_fitContact;
    QPushButton* m_fitAll;
    QPushButton* m_save;
    QLabel* m_status;

private:
    void angleChanged(double degrees);
    void tick();

    QTimer* m_timer;
    QElapsedTimer m_clock;
    double m_playFrom = 0.0;
    std::string m_separator = ".";
};
