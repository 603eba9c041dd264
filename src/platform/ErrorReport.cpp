#include "platform/ErrorReport.h"

#include "platform/Exception.h"
#include "platform/MessageBoxes.h"

QString ErrorReport::displayText(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ErrorReport::show(const QString &message)
{
    MessageBoxes::error(displayText(message));
}

void ErrorReport::show(const std::exception &failure)
{
    if (const auto *exception = dynamic_cast<const Exception *>(&failure))
        show(exception->message());
    else
        show(QString::fromUtf8(failure.what()));
}
