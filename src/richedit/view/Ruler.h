#pragma once

#include "richedit/model/Units.h"

#include <QList>
#include <QWidget>

namespace richedit {

// What a ruler shows, in twips along its axis from the page's edge.
struct RulerModel
{
    bool valid = false;
    qreal origin = 0; // widget pixel where the page starts
    qreal scale = 1;  // pixels per twip
    int length = 0;   // page width or height
    int marginStart = 0;
    int marginEnd = 0; // from the far edge
    // Horizontal rulers: the caret paragraph's indents (from the text area's
    // left edge) and tab stops.
    qreal firstIndent = 0;
    qreal leftIndent = 0;
    qreal rightIndent = 0;
    QList<qreal> tabs;
    MeasurementUnit unit = MeasurementUnit::Inch;
    bool operator==(const RulerModel &) const = default;
};

enum class RulerHandle
{
    None,
    MarginStart,
    MarginEnd,
    FirstIndent,
    LeftIndent,
    RightIndent
};

// The horizontal or vertical ruler beside the editor: page extent, margins,
// ticks in the editor's unit, indents and tab stops; dragging a margin or an
// indent marker reports the new value when the button is released.
class Ruler : public QWidget
{
    Q_OBJECT
public:
    explicit Ruler(Qt::Orientation orientation, QWidget *parent = nullptr);
    void setModel(const RulerModel &model);
    const RulerModel &model() const { return m_model; }
    QSize sizeHint() const override;
    static constexpr int Thickness = 22;

signals:
    void handleMoved(richedit::RulerHandle handle, qreal twips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    qreal along(const QPointF &p) const;
    qreal pixelOf(qreal twips) const { return m_model.origin + twips * m_model.scale; }
    qreal handleValue(RulerHandle h) const;
    RulerHandle handleAt(const QPointF &p) const;

    Qt::Orientation m_orientation;
    RulerModel m_model;
    RulerHandle m_drag = RulerHandle::None;
    qreal m_dragValue = 0;
};

} // namespace richedit
