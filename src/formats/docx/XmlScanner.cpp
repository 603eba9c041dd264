#include "XmlScanner.h"

#include <QCoreApplication>

namespace formats {

XmlScanner::XmlScanner(const QByteArray &bytes) : m_xml(bytes) {}

bool XmlScanner::read()
{
    switch (m_xml.readNext()) {
    case QXmlStreamReader::StartElement:
        if (++m_depth > MaxDepth) {
            m_xml.raiseError(
                QCoreApplication::translate("formats", "elements nested more than %1 deep")
                    .arg(MaxDepth));
            return false;
        }
        return true;
    case QXmlStreamReader::EndElement:
        --m_depth;
        return true;
    case QXmlStreamReader::DTD:
        m_xml.raiseError(
            QCoreApplication::translate("formats", "document type declarations are not allowed"));
        return false;
    case QXmlStreamReader::Invalid:
        return false;
    default:
        return true;
    }
}

bool XmlScanner::enterRoot()
{
    while (!m_xml.atEnd()) {
        if (!read())
            return false;
        if (m_xml.isStartElement())
            return true;
    }
    return false;
}

bool XmlScanner::nextChild(int parentDepth)
{
    // A child the caller looked at but did not consume is still open.
    while (m_depth > parentDepth + 1 || (m_depth == parentDepth + 1 && m_pending)) {
        m_pending = false;
        skip();
        if (hasError())
            return false;
    }
    while (!m_xml.atEnd()) {
        if (!read())
            return false;
        if (m_xml.isStartElement()) {
            if (m_depth == parentDepth + 1) {
                m_pending = true;
                return true;
            }
        } else if (m_xml.isEndElement() && m_depth < parentDepth) {
            return false;
        }
    }
    return false;
}

QStringView XmlScanner::attr(const char *localName) const
{
    for (const QXmlStreamAttribute &a : m_xml.attributes()) {
        if (a.name() == QLatin1String(localName))
            return a.value();
    }
    return {};
}

bool XmlScanner::hasAttr(const char *localName) const
{
    for (const QXmlStreamAttribute &a : m_xml.attributes()) {
        if (a.name() == QLatin1String(localName))
            return true;
    }
    return false;
}

int XmlScanner::intAttr(const char *localName, int fallback) const
{
    bool ok = false;
    const QStringView v = attr(localName);
    // Some producers write lengths as decimals ("1440.0").
    const double d = v.toDouble(&ok);
    return ok ? int(qBound(-2.0e9, d, 2.0e9)) : fallback;
}

bool XmlScanner::onOff(const char *localName) const
{
    if (!hasAttr(localName))
        return true;
    const QStringView v = attr(localName);
    return !(v == u"0" || v == u"false" || v == u"off" || v == u"none");
}

QString XmlScanner::text()
{
    m_pending = false;
    const int start = m_depth;
    QString result;
    while (!m_xml.atEnd() && read()) {
        if (m_xml.isCharacters())
            result += m_xml.text();
        else if (m_xml.isEndElement() && m_depth < start)
            break;
    }
    return result;
}

void XmlScanner::skip()
{
    m_pending = false;
    const int start = m_depth;
    while (!m_xml.atEnd() && read()) {
        if (m_xml.isEndElement() && m_depth < start)
            break;
    }
}

QString XmlScanner::errorString() const
{
    return QCoreApplication::translate("formats", "line %1, column %2: %3")
        .arg(m_xml.lineNumber())
        .arg(m_xml.columnNumber())
        .arg(m_xml.errorString());
}

} // namespace formats
