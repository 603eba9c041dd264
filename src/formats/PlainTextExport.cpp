#include "PlainTextExport.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QTextDocument>

namespace formats {

using namespace richedit;

QString PlainTextExport::text(const RichEditDocument &document, const LabelFunction &label)
{
    QString out;
    appendStory(document, MainStoryId, label, &out, 0);
    return out;
}

void PlainTextExport::appendStory(const RichEditDocument &document, int storyId,
                                  const LabelFunction &label, QString *out, int depth)
{
    const QTextDocument *story = document.story(storyId);
    if (!story)
        return;
    const QString separator = QStringLiteral("\n");
    for (QTextBlock block = story->begin(); block.isValid(); block = block.next()) {
        QString line;
        if (label)
            line = label(block);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.boolProperty(ModelProperty::Hidden))
                continue;
            QString text = fragment.text();
            if (format.isImageFormat())
                continue;
            if (format.objectType() == FloatingObjectTextFormat) {
                const FloatingObject *object =
                    document.floatingObject(format.intProperty(ModelProperty::FloatingObjectId));
                // Text boxes inside text boxes are rare; the depth stops a
                // damaged document's box that contains itself.
                if (object && object->kind == FloatingObject::Kind::TextBox && depth < 4)
                    appendStory(document, object->textBoxStory, label, out, depth + 1);
                continue;
            }
            text.remove(QChar::ObjectReplacementCharacter);
            text.replace(QChar::LineSeparator, u'\n');
            line += text;
        }
        *out += line;
        *out += separator;
    }
}

} // namespace formats
