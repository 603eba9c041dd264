#pragma once

#include <QAction>

namespace richedit {

class RichEditControl;

// An editor command: a QAction with its caption and description from the
// localizer's resource strings, whose state (enabled, checked) is refreshed
// from the editor and whose trigger runs execute(). A command finds the
// editor it acts on itself: the focused one, else the only one.
class RichEditCommand : public QAction
{
    Q_OBJECT
public:
    RichEditCommand(const QString &captionKey, const QString &caption,
                    const QString &descriptionKey, const QString &description, QObject *parent);
    ~RichEditCommand() override;

    RichEditControl *control() const;
    // Reads enabled, checked and visible from the editor's state.
    virtual void update();
    virtual void execute() = 0;
    // Whether the command can run on this editor right now.
    virtual bool isEnabledFor(RichEditControl *control) const;

    // Every command alive, for the once-per-event-loop refresh.
    static const QList<RichEditCommand *> &all();

private:
    void retranslate();
    QString m_captionKey;
    QString m_caption;
    QString m_descriptionKey;
    QString m_description;
};

} // namespace richedit
