#include "PlainTextFormat.h"

#include "PlainTextExport.h"

#include "richedit/model/RichEditDocument.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace formats {

QString PlainTextFormat::name() const
{
    return QCoreApplication::translate("formats", "Plain Text");
}

QStringList PlainTextFormat::extensions() const
{
    return {QStringLiteral("txt"), QStringLiteral("text")};
}

SniffResult PlainTextFormat::sniff(const QByteArray &head) const
{
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return SniffResult::Yes;
    // Text has no NUL bytes; almost every binary format does early on.
    return head.contains('\0') ? SniffResult::No : SniffResult::Maybe;
}

QString PlainTextFormat::decode(const QByteArray &bytes)
{
    if (auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom); // drops the byte order mark
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: the 8-bit code page Windows uses for Western text, which
    // also maps the bytes Latin-1 leaves as control characters.
    QStringDecoder legacy("windows-1252");
    if (legacy.isValid())
        return legacy.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool PlainTextFormat::read(QIODevice *device, richedit::RichEditDocument *document,
                           QString *error) const
{
    // Any byte sequence is some text; only a failing device is an error.
    const QByteArray bytes = device->readAll();
    if (bytes.isEmpty() && !device->atEnd()) {
        *error = device->errorString();
        return false;
    }
    QString text = decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    // A final line break ends the last paragraph; it starts no new one.
    if (text.endsWith(u'\n'))
        text.chop(1);
    document->clear();
    QTextDocument *story = document->mainStory();
    story->setUndoRedoEnabled(false);
    // One insert for the whole text: QTextCursor turns each '\n' into a
    // paragraph, keeping the Normal style's formats.
    QTextCursor(story).insertText(text);
    story->setUndoRedoEnabled(true);
    document->notifyReset();
    return true;
}

bool PlainTextFormat::write(const richedit::RichEditDocument &document, QIODevice *device,
                            QString *error) const
{
    QString text = PlainTextExport::text(document);
    text.replace(u'\n', QLatin1String("\r\n"));
    const QByteArray bytes = text.toUtf8();
    if (device->write(bytes) != bytes.size()) {
        *error = device->errorString();
        return false;
    }
    return true;
}

} // namespace formats
