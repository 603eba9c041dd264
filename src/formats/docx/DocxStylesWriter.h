#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace richedit {
class StyleSheet;
}

namespace formats {

// word/styles.xml: the document defaults and every style with only what
// the style itself sets.
class DocxStylesWriter
{
public:
    // A w:styleId for each style name: the name without spaces and
    // punctuation, made unique.
    static QHash<QString, QString> assignIds(const richedit::StyleSheet &styles);
    static QByteArray write(const richedit::StyleSheet &styles, const QHash<QString, QString> &ids);
};

} // namespace formats
