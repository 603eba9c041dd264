#include "StoryUndoCommand.h"

#include <QTextDocument>

namespace richedit {

StoryUndoCommand::StoryUndoCommand(QTextDocument *story)
    : QUndoCommand(QStringLiteral("Edit")), m_story(story)
{
}

void StoryUndoCommand::undo()
{
    m_story->undo();
}

void StoryUndoCommand::redo()
{
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    m_story->redo();
}

} // namespace richedit
