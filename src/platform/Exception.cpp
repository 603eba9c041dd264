#include "platform/Exception.h"

#include <utility>

Exception::Exception(QString message) : m_message(std::move(message)), m_what(m_message.toUtf8()) {}

const char *Exception::what() const noexcept
{
    return m_what.constData();
}
