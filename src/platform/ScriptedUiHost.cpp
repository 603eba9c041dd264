#include "platform/ScriptedUiHost.h"

#include <QDebug>

ScriptedUiHost::ScriptedUiHost() : m_previous(UiHost::setCurrent(this)) {}

ScriptedUiHost::~ScriptedUiHost()
{
    UiHost::setCurrent(m_previous);
}

void ScriptedUiHost::answerButton(QMessageBox::StandardButton button)
{
    m_answers.emplace_back(button);
}

void ScriptedUiHost::answerFile(const QString &fileName, const QString &selectedFilter)
{
    m_answers.emplace_back(FileAnswer{fileName, selectedFilter});
}

void ScriptedUiHost::answerFileCancelled()
{
    m_answers.emplace_back(FileAnswer{});
}

void ScriptedUiHost::answerPassword(const QString &password)
{
    m_answers.emplace_back(std::optional<QString>(password));
}

void ScriptedUiHost::answerPasswordCancelled()
{
    m_answers.emplace_back(std::optional<QString>());
}

QList<UiHost::Message> ScriptedUiHost::messages() const
{
    QList<Message> result;
    for (const Question &question : m_questions) {
        if (question.kind == Kind::Message)
            result.append(question.message);
    }
    return result;
}

void ScriptedUiHost::clear()
{
    m_answers.clear();
    m_questions.clear();
    m_unexpected = 0;
}

template<typename T> std::optional<T> ScriptedUiHost::take()
{
    if (m_answers.empty() || !std::holds_alternative<T>(m_answers.front())) {
        ++m_unexpected;
        qWarning("ScriptedUiHost: a question came without a matching answer");
        return std::nullopt;
    }
    T answer = std::get<T>(m_answers.front());
    m_answers.pop_front();
    return answer;
}

QMessageBox::StandardButton ScriptedUiHost::message(QWidget *, const Message &message)
{
    m_questions.append({Kind::Message, message, {}, {}});
    // A single button is its own answer.
    const int buttons = message.buttons.toInt();
    if (buttons != 0 && (buttons & (buttons - 1)) == 0)
        return QMessageBox::StandardButton(buttons);
    return take<QMessageBox::StandardButton>().value_or(message.escapeButton);
}

UiHost::FileAnswer ScriptedUiHost::file(QWidget *, const FileQuestion &question)
{
    m_questions.append({Kind::File, {}, question, {}});
    return take<FileAnswer>().value_or(FileAnswer{});
}

std::optional<QString> ScriptedUiHost::password(QWidget *, const PasswordQuestion &question)
{
    m_questions.append({Kind::Password, {}, {}, question});
    return take<std::optional<QString>>().value_or(std::nullopt);
}
