#pragma once

// Small helpers the format tests share: a picture to embed, and looking up
// what a read document holds.

#include "richedit/model/RichEditDocument.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

// A PNG of one colour.
inline QByteArray pngBytes(const QColor &colour, QSize size = QSize(4, 3))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The first main-story paragraph holding the text.
inline QTextBlock blockWith(const richedit::RichEditDocument &doc, const QString &text)
{
    for (QTextBlock b = doc.mainStory()->begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(text))
            return b;
    }
    return QTextBlock();
}

// The character format inside the first occurrence of the text.
inline QTextCharFormat formatAt(const richedit::RichEditDocument &doc, const QString &text)
{
    const QTextBlock b = blockWith(doc, text);
    QTextCursor c(b);
    c.setPosition(b.position() + int(b.text().indexOf(text)) + 1);
    return c.charFormat();
}
