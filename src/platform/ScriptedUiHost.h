#pragma once

#include "platform/UiHost.h"

#include <QList>

#include <deque>
#include <variant>

// UiHost for tests: answers questions from a queue, in order, and records every question
// asked, so a test drives dialogs without showing them. While it lives it is the current
// host; the one it replaced comes back when it is destroyed.
//
// A message box with a single button is answered with that button without taking an answer
// from the queue (error and plain boxes have nothing to choose). A question whose next answer
// is missing or of another kind counts as unexpected and is answered as if cancelled.
class ScriptedUiHost : public UiHost
{
public:
    enum class Kind
    {
        Message,
        File,
        Password
    };

    struct Question
    {
        Kind kind = Kind::Message;
        Message message;
        FileQuestion file;
        PasswordQuestion password;
    };

    ScriptedUiHost();
    ~ScriptedUiHost() override;

    void answerButton(QMessageBox::StandardButton button);
    void answerFile(const QString &fileName, const QString &selectedFilter = QString());
    void answerFileCancelled();
    void answerPassword(const QString &password);
    void answerPasswordCancelled();

    const QList<Question> &questions() const { return m_questions; }
    // The messages asked, in order; the commonest check in widget tests.
    QList<Message> messages() const;
    qsizetype pendingAnswers() const { return qsizetype(m_answers.size()); }
    int unexpectedQuestions() const { return m_unexpected; }
    void clear();

    QMessageBox::StandardButton message(QWidget *parent, const Message &message) override;
    FileAnswer file(QWidget *parent, const FileQuestion &question) override;
    std::optional<QString> password(QWidget *parent, const PasswordQuestion &question) override;

private:
    using Answer = std::variant<QMessageBox::StandardButton, FileAnswer, std::optional<QString>>;

    template<typename T> std::optional<T> take();

    std::deque<Answer> m_answers;
    QList<Question> m_questions;
    int m_unexpected = 0;
    UiHost *m_previous = nullptr;
};
