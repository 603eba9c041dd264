#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

namespace formats {

// A QXmlStreamReader for untrusted parts: it refuses document type
// declarations (and so every entity but the five predefined ones), limits
// the nesting depth, and walks elements by local name, so Transitional and
// Strict namespaces read the same.
class XmlScanner
{
public:
    static constexpr int MaxDepth = 256;

    explicit XmlScanner(const QByteArray &bytes);

    // Moves to the next start element inside the element at `parentDepth`
    // (depth() of the parent); false at the parent's end or on an error.
    // Children nobody consumed are skipped whole.
    bool nextChild(int parentDepth);
    // Moves to the root element; false when there is none.
    bool enterRoot();
    int depth() const { return m_depth; }
    QStringView name() const { return m_xml.name(); }
    bool is(const char *localName) const { return m_xml.name() == QLatin1String(localName); }
    QStringView prefix() const { return m_xml.prefix(); }
    // An attribute by local name ("val" finds w:val), empty when absent.
    QStringView attr(const char *localName) const;
    bool hasAttr(const char *localName) const;
    int intAttr(const char *localName, int fallback = 0) const;
    // ST_OnOff: present without w:val means on.
    bool onOff(const char *localName = "val") const;
    // The text content of the current element; leaves it.
    QString text();
    // Leaves the current element, skipping its content.
    void skip();

    bool hasError() const { return m_xml.hasError(); }
    void fail(const QString &message) { m_xml.raiseError(message); }
    // "line 3, column 7: Opening and ending tag mismatch."
    QString errorString() const;

private:
    bool read();
    QXmlStreamReader m_xml;
    int m_depth = 0;
    bool m_pending = false; // the current start element was not entered by nextChild
};

} // namespace formats
