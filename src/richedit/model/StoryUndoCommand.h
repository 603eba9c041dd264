#pragma once

#include <QUndoCommand>

#include <functional>

class QTextDocument;

namespace richedit {

// One undo step of a story, kept in the document's single history. The step
// itself lives in the story's own QTextDocument stack; this entry only says
// when to undo or redo it, so all stories share one order.
class StoryUndoCommand : public QUndoCommand
{
public:
    explicit StoryUndoCommand(QTextDocument *story);
    QTextDocument *story() const { return m_story; }
    void undo() override;
    void redo() override;

private:
    QTextDocument *m_story;
    bool m_pushed = false; // the first redo() happens inside push(): already done
};

// A change of the document's side tables as one undo step.
class ModelEditCommand : public QUndoCommand
{
public:
    ModelEditCommand(const QString &text, std::function<void()> apply, std::function<void()> revert)
        : QUndoCommand(text), m_apply(std::move(apply)), m_revert(std::move(revert))
    {
    }
    void undo() override { m_revert(); }
    void redo() override { m_apply(); }

private:
    std::function<void()> m_apply;
    std::function<void()> m_revert;
};

} // namespace richedit
