#pragma once

#include <QTextFormat>

namespace richedit {

// User properties of QTextFormat through which the text refers to the
// document's side tables (sections, styles, lists, fields, objects).
namespace ModelProperty {
enum : int
{
    // Block format
    SectionBreak = QTextFormat::UserProperty + 1, // int: SectionProperties id ending here
    ParagraphStyle,                               // QString: paragraph style name
    ListInstance,                                 // int: list instance id (0 = none)
    ListLevel,                                    // int: 0..8
    OutlineLevel,                                 // int: 0..8, direct outline level
    KeepWithNext,                                 // bool
    KeepLinesTogether,                            // bool
    WidowControl,                                 // bool
    LineSpacingRule,                              // int: LineSpacing (see SectionProperties.h)
    LineSpacingValue,                             // double: twips or fraction of a line
    SuppressLineNumbers,                          // bool
    ContextualSpacing,                            // bool: no spacing between same-style paragraphs
    ColumnBreakBefore,                            // bool: the paragraph starts a new column

    // Character format
    CharacterStyle = QTextFormat::UserProperty + 100, // QString: character style name
    FieldId,                                          // int: the run is (part of) a field's result
    FloatingObjectId,                                 // int: anchor character of a floating object
    ImageId,                                          // QString: image in the ImageStore
    Hidden,                                           // bool: hidden text (kept; still shown)

    // Table format
    TableStyleName = QTextFormat::UserProperty + 200, // QString
    TableAutoFit,                                     // int: TableAutoFit
    TableIndent,                                      // int: twips
    TableAlignment,                                   // int: Qt::Alignment of the table
    TableRowHeights,                                  // QVariantList of int twips (0 = auto)
    TableHeaderRows,                                  // int: rows repeated on each page
    TableRowCantSplit,                                // QVariantList of bool per row

    // Cell format
    CellVerticalMerge = QTextFormat::UserProperty + 300, // int: VerticalMerge (kept for writers)
};
} // namespace ModelProperty

// The object type of a floating object's anchor character.
constexpr int FloatingObjectTextFormat = QTextFormat::UserObject + 1;

enum class TableAutoFit
{
    Fixed,
    Contents,
    Window
};

// Paragraph line spacing; Multiple takes a factor, AtLeast and Exactly twips.
enum class LineSpacing
{
    Multiple,
    AtLeast,
    Exactly
};

} // namespace richedit
