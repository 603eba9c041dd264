#include "PageObjects.h"

#include <algorithm>

namespace richedit {

namespace {
// Narrower gaps than this beside an object take no text (a quarter inch).
constexpr qreal MinimumGap = 360;
} // namespace

bool PageObjects::contains(int id) const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [id](const Entry &e) { return e.id == id; });
}

bool PageObjects::affects(qreal left, qreal right, qreal top, qreal bottom) const
{
    for (const Entry &e : m_entries) {
        if (wrapsText(e.wrap) && e.keepOut.right() > left && e.keepOut.left() < right &&
            e.keepOut.bottom() > top && e.keepOut.top() < bottom)
            return true;
    }
    return false;
}

LineSpan PageObjects::span(qreal left, qreal right, qreal top, qreal height) const
{
    qreal l = left;
    qreal r = right;
    qreal pushTo = 0;
    for (const Entry &e : m_entries) {
        if (!wrapsText(e.wrap))
            continue;
        const QRectF &k = e.keepOut;
        if (k.bottom() <= top || k.top() >= top + height || k.right() <= l || k.left() >= r)
            continue;
        if (e.wrap == WrapType::TopAndBottom) {
            pushTo = std::max(pushTo, k.bottom());
            continue;
        }
        // Text goes on one side of the object: the side asked for, or the
        // wider one (tight and through wrap use the object's box too).
        const qreal leftRoom = k.left() - l;
        const qreal rightRoom = r - k.right();
        bool useLeft = leftRoom >= rightRoom;
        if (e.side == WrapSide::Left)
            useLeft = true;
        else if (e.side == WrapSide::Right)
            useLeft = false;
        if (useLeft ? leftRoom < MinimumGap : rightRoom < MinimumGap) {
            if (std::max(leftRoom, rightRoom) < MinimumGap || e.side == WrapSide::Left ||
                e.side == WrapSide::Right) {
                pushTo = std::max(pushTo, k.bottom());
                continue;
            }
            useLeft = !useLeft;
        }
        if (useLeft)
            r = k.left();
        else
            l = k.right();
    }
    if (pushTo > 0)
        return LineSpan{0, 0, pushTo - top};
    return LineSpan{l - left, r - l, 0};
}

} // namespace richedit
