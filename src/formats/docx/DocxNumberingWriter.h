#pragma once

#include <QByteArray>

namespace richedit {
class ListTable;
}

namespace formats {

// word/numbering.xml: every abstract list, then every list instance with
// its level overrides. Model ids are the w:abstractNumId and w:numId.
class DocxNumberingWriter
{
public:
    static QByteArray write(const richedit::ListTable &lists);
};

} // namespace formats
