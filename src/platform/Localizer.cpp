#include "platform/Localizer.h"

#include "platform/Exception.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

Localizer *currentLocalizer = nullptr;

} // namespace

Localizer::Localizer(QObject *parent) : QObject(parent)
{
    if (!currentLocalizer)
        currentLocalizer = this;
}

Localizer::~Localizer()
{
    if (currentLocalizer == this)
        currentLocalizer = nullptr;
}

void Localizer::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    if (m_active)
        m_texts = read(fileName);
    m_fileName = fileName;
    if (m_active)
        emit changed();
}

void Localizer::setActive(bool active)
{
    if (active == m_active)
        return;
    m_texts = active ? read(m_fileName) : IniDocument();
    m_active = active;
    emit changed();
}

void Localizer::setLocale(int lcid)
{
    if (lcid == m_locale)
        return;
    m_locale = lcid;
    if (m_active)
        emit changed();
}

QString Localizer::text(const QString &key, const QString &englishText) const
{
    if (!m_active || m_locale == 0)
        return englishText;
    return m_texts.value(QString::number(m_locale), key).value_or(englishText);
}

Localizer *Localizer::current()
{
    return currentLocalizer;
}

QString Localizer::translate(const QString &key, const QString &englishText)
{
    return currentLocalizer ? currentLocalizer->text(key, englishText) : englishText;
}

IniDocument Localizer::read(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(u"Cannot open file \"%1\". %2"_s.arg(fileName, file.errorString()));
    return IniDocument::fromBytes(file.readAll());
}
