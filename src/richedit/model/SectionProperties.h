#pragma once

#include <QList>

namespace richedit {

enum class SectionBreakType
{
    NextPage,
    EvenPage,
    OddPage,
    Continuous,
    Column
};
enum class PageOrientation
{
    Portrait,
    Landscape
};
enum class LineNumberRestart
{
    None,
    Continuous,
    EachPage,
    EachSection
};
enum class HeaderFooterType
{
    First = 0,
    Odd = 1,
    Even = 2
};
constexpr int HeaderFooterTypeCount = 3;

struct ColumnDefinition
{
    int width = 0;   // twips
    int spacing = 0; // twips after this column
    bool operator==(const ColumnDefinition &) const = default;
};

struct SectionColumns
{
    int count = 1;
    int spacing = 720; // twips between equal columns
    bool equalWidth = true;
    bool separatorLine = false;
    QList<ColumnDefinition> columns; // used when !equalWidth
    bool operator==(const SectionColumns &) const = default;
};

struct LineNumbering
{
    LineNumberRestart restart = LineNumberRestart::None;
    int start = 1;
    int countBy = 1;
    int distance = 360; // twips from the text
    bool operator==(const LineNumbering &) const = default;
};

struct PageMargins
{
    int left = 1800;
    int right = 1800;
    int top = 1440;
    int bottom = 1440;
    int gutter = 0;
    bool operator==(const PageMargins &) const = default;
};

// One section's page setup. Header and footer stories are named by story id;
// 0 means the section has none of that kind and, when linked to the previous
// section, shows the previous section's.
struct SectionProperties
{
    int pageWidth = 12240;  // twips (US Letter)
    int pageHeight = 15840; // twips
    PageOrientation orientation = PageOrientation::Portrait;
    PageMargins margins;
    int headerDistance = 720;
    int footerDistance = 720;
    SectionColumns columns;
    LineNumbering lineNumbering;
    bool differentFirstPage = false;
    bool differentOddEven = false;
    SectionBreakType breakType = SectionBreakType::NextPage;
    int pageNumberStart = -1; // -1: continue from the previous section
    int headers[HeaderFooterTypeCount] = {0, 0, 0};
    int footers[HeaderFooterTypeCount] = {0, 0, 0};
    bool headerLinkedToPrevious[HeaderFooterTypeCount] = {true, true, true};
    bool footerLinkedToPrevious[HeaderFooterTypeCount] = {true, true, true};

    bool operator==(const SectionProperties &) const = default;

    int textWidth() const { return pageWidth - margins.left - margins.right - margins.gutter; }
    int textHeight() const { return pageHeight - margins.top - margins.bottom; }
    // Left edge and width of column `index` relative to the left margin.
    int columnLeft(int index) const;
    int columnWidth(int index) const;
};

} // namespace richedit
