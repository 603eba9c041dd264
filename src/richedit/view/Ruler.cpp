#include "Ruler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace richedit {

Ruler::Ruler(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent), m_orientation(orientation)
{
    setMouseTracking(true);
}

QSize Ruler::sizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(200, Thickness) : QSize(Thickness, 200);
}

void Ruler::setModel(const RulerModel &model)
{
    if (model == m_model)
        return;
    m_model = model;
    update();
}

qreal Ruler::along(const QPointF &p) const
{
    return m_orientation == Qt::Horizontal ? p.x() : p.y();
}

qreal Ruler::handleValue(RulerHandle h) const
{
    const qreal textStart = m_model.marginStart;
    switch (h) {
    case RulerHandle::MarginStart:
        return m_model.marginStart;
    case RulerHandle::MarginEnd:
        return m_model.length - m_model.marginEnd;
    case RulerHandle::FirstIndent:
        return textStart + m_model.firstIndent;
    case RulerHandle::LeftIndent:
        return textStart + m_model.leftIndent;
    case RulerHandle::RightIndent:
        return m_model.length - m_model.marginEnd - m_model.rightIndent;
    case RulerHandle::None:
        break;
    }
    return 0;
}

RulerHandle Ruler::handleAt(const QPointF &p) const
{
    if (!m_model.valid)
        return RulerHandle::None;
    const qreal a = along(p);
    const bool upper = (m_orientation == Qt::Horizontal ? p.y() : p.x()) < Thickness / 2;
    auto near = [&](RulerHandle h) { return std::abs(pixelOf(handleValue(h)) - a) <= 4; };
    if (m_orientation == Qt::Horizontal) {
        if (upper && near(RulerHandle::FirstIndent))
            return RulerHandle::FirstIndent;
        if (!upper && near(RulerHandle::LeftIndent))
            return RulerHandle::LeftIndent;
        if (!upper && near(RulerHandle::RightIndent))
            return RulerHandle::RightIndent;
    }
    if (near(RulerHandle::MarginStart))
        return RulerHandle::MarginStart;
    if (near(RulerHandle::MarginEnd))
        return RulerHandle::MarginEnd;
    return RulerHandle::None;
}

void Ruler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!m_model.valid)
        return;
    const bool horizontal = m_orientation == Qt::Horizontal;
    const qreal cross = horizontal ? height() : width();
    auto band = [&](qreal from, qreal to) {
        const qreal a = pixelOf(from);
        const qreal b = pixelOf(to);
        return horizontal ? QRectF(a, 3, b - a, cross - 6) : QRectF(3, a, cross - 6, b - a);
    };
    p.fillRect(band(0, m_model.length), QColor(0xC8C8C8));
    p.fillRect(band(m_model.marginStart, m_model.length - m_model.marginEnd), Qt::white);

    // Ticks: whole units numbered, with halves and finer steps between.
    const double unit = twipsPerUnit(m_model.unit);
    const int steps = m_model.unit == MeasurementUnit::Inch ? 8 : 2;
    const double step = unit / steps;
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(QColor(0x505050));
    const double start = m_model.marginStart;
    const int first = int(std::floor(-start / step));
    const int last = int(std::ceil((m_model.length - start) / step));
    if (step * m_model.scale >= 2) {
        for (int i = first; i <= last; ++i) {
            const qreal pos = pixelOf(start + i * step);
            if (i % steps == 0) {
                if (i != 0) {
                    const QString label = QString::number(std::abs(i / steps));
                    const QRectF box = horizontal ? QRectF(pos - 10, 0, 20, cross)
                                                  : QRectF(0, pos - 10, cross, 20);
                    p.drawText(box, Qt::AlignCenter, label);
                }
                continue;
            }
            const bool half = i % (steps / 2 ? steps / 2 : 1) == 0;
            // The narrow vertical ruler keeps to half units; finer ticks crowd it.
            if (!horizontal && !half)
                continue;
            const qreal len = half ? 6 : 3;
            if (horizontal)
                p.drawLine(QPointF(pos, cross / 2 - len / 2), QPointF(pos, cross / 2 + len / 2));
            else
                p.drawLine(QPointF(cross / 2 - len / 2, pos), QPointF(cross / 2 + len / 2, pos));
        }
    }

    if (!horizontal)
        return;
    // Indent markers: first line above, left (hanging) and right below.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x606060));
    p.setBrush(QColor(0xF0F0F0));
    auto triangle = [&](qreal x, bool down) {
        QPainterPath path;
        const qreal y = down ? 2 : cross - 2;
        const qreal d = down ? 6 : -6;
        path.moveTo(x - 4, y);
        path.lineTo(x + 4, y);
        path.lineTo(x, y + d);
        path.closeSubpath();
        p.drawPath(path);
    };
    auto value = [&](RulerHandle h) { return pixelOf(m_drag == h ? m_dragValue : handleValue(h)); };
    triangle(value(RulerHandle::FirstIndent), true);
    triangle(value(RulerHandle::LeftIndent), false);
    triangle(value(RulerHandle::RightIndent), false);
    p.setPen(QPen(QColor(0x303030), 1.5));
    for (qreal t : m_model.tabs) {
        const qreal x = pixelOf(m_model.marginStart + t);
        p.drawLine(QPointF(x, cross - 9), QPointF(x, cross - 4));
        p.drawLine(QPointF(x, cross - 4), QPointF(x + 4, cross - 4));
    }
    if (m_drag == RulerHandle::MarginStart || m_drag == RulerHandle::MarginEnd) {
        p.setPen(QPen(QColor(0x2B579A), 1, Qt::DashLine));
        p.drawLine(QPointF(pixelOf(m_dragValue), 0), QPointF(pixelOf(m_dragValue), cross));
    }
}

void Ruler::mousePressEvent(QMouseEvent *event)
{
    m_drag = handleAt(event->position());
    m_dragValue = handleValue(m_drag);
}

void Ruler::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag == RulerHandle::None) {
        const RulerHandle h = handleAt(event->position());
        setCursor(h == RulerHandle::None            ? Qt::ArrowCursor
                  : m_orientation == Qt::Horizontal ? Qt::SizeHorCursor
                                                    : Qt::SizeVerCursor);
        return;
    }
    m_dragValue = std::clamp<qreal>((along(event->position()) - m_model.origin) / m_model.scale, 0,
                                    m_model.length);
    update();
}

void Ruler::mouseReleaseEvent(QMouseEvent *)
{
    const RulerHandle h = m_drag;
    m_drag = RulerHandle::None;
    if (h == RulerHandle::None)
        return;
    if (std::abs(m_dragValue - handleValue(h)) * m_model.scale >= 1)
        emit handleMoved(h, m_dragValue);
    update();
}

} // namespace richedit
