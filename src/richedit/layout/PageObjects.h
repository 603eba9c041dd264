#pragma once

#include "BlockShaper.h"
#include "richedit/model/FloatingObject.h"

#include <QRectF>

#include <vector>

namespace richedit {

// The floating objects placed on one page and the room they leave for text.
class PageObjects
{
public:
    struct Entry
    {
        int id = 0;
        QRectF rect;    // the object, page coordinates
        QRectF keepOut; // rect grown by the distance kept from text
        WrapType wrap = WrapType::Square;
        WrapSide side = WrapSide::Both;
    };

    void clear() { m_entries.clear(); }
    bool contains(int id) const;
    void add(const Entry &e) { m_entries.push_back(e); }
    const std::vector<Entry> &entries() const { return m_entries; }

    // Whether any text-wrapping object reaches into the band of the area.
    bool affects(qreal left, qreal right, qreal top, qreal bottom) const;
    // Room for a line at page band [top, top + height) within [left, right).
    LineSpan span(qreal left, qreal right, qreal top, qreal height) const;

    static bool wrapsText(WrapType w)
    {
        return w != WrapType::BehindText && w != WrapType::InFrontOfText;
    }

private:
    std::vector<Entry> m_entries;
};

} // namespace richedit
