#pragma once

namespace richedit {

class RichEditDocument;

// Handles to a section's margins, in the document's measurement unit.
class SectionMargins
{
public:
    SectionMargins(RichEditDocument *document, int section)
        : m_document(document), m_section(section)
    {
    }
    float left() const;
    float right() const;
    float top() const;
    float bottom() const;
    void setLeft(float value);
    void setRight(float value);
    void setTop(float value);
    void setBottom(float value);

private:
    float get(int which) const;
    void set(int which, float value);
    RichEditDocument *m_document;
    int m_section;
};

class Section
{
public:
    Section(RichEditDocument *document, int index) : m_document(document), m_index(index) {}
    int index() const { return m_index; }
    SectionMargins margins() const { return SectionMargins(m_document, m_index); }

private:
    RichEditDocument *m_document;
    int m_index;
};

class SectionCollection
{
public:
    explicit SectionCollection(RichEditDocument *document) : m_document(document) {}
    int count() const;
    Section item(int index) const { return Section(m_document, index); }

private:
    RichEditDocument *m_document;
};

} // namespace richedit
