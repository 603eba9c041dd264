#pragma once

#include "FlowPosition.h"
#include "richedit/model/SectionProperties.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTextBlock>
#include <QTextTableCellFormat>

#include <vector>

namespace richedit {

// A run of one block's lines placed on a page. Page coordinates are twips
// from the page's top-left corner.
struct PlacedLines
{
    QTextBlock block;
    int firstLine = 0;
    int lineCount = 0;
    QPointF offset;   // added to the block's own line positions
    qreal top = 0;    // page y of the first line box
    qreal bottom = 0; // page y below the last line box
    qreal areaLeft = 0;
    qreal areaWidth = 0;
    QString label; // list label, on the page holding the first line
    bool inTable = false;
};

// A table cell's box on a page (a cell split over pages has one per page).
struct PlacedCell
{
    QRectF rect;
    QTextTableCellFormat format;
    bool continuesAbove = false;
    bool continuesBelow = false;
};

struct PlacedObject
{
    int objectId = 0;
    QRectF rect;
};

struct LineNumberMark
{
    qreal x = 0; // right edge of the number
    qreal baseline = 0;
    int number = 0;
};

// One laid-out page: its setup, where its text starts, and what is on it.
struct LayoutPage
{
    int section = 0;
    int pageNumber = 1; // the number PAGE fields show
    bool blank = false; // inserted by an even- or odd-page section break
    bool firstOfSection = false;
    bool parityCheck = false; // an even- or odd-page break is still to be honoured
    SectionProperties setup;
    FlowPosition start;      // main text position at the top of the page
    FlowPosition end;        // where the next page goes on
    int lineNumberStart = 1; // line number counter before this page
    int lineNumberEnd = 1;   // after it
    int headerStory = 0;
    int footerStory = 0;
    QRectF bodyRect;
    std::vector<PlacedLines> lines;
    std::vector<PlacedCell> cells;
    std::vector<PlacedObject> objects;
    std::vector<LineNumberMark> lineNumbers;

    QSizeF size() const { return QSizeF(setup.pageWidth, setup.pageHeight); }
};

} // namespace richedit
