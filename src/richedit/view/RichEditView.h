#pragma once

#include <QObject>

namespace richedit {

enum class ViewType
{
    Simple,
    Draft,
    PrintLayout
};

// One of the editor's views with its own zoom factor (1 = 100 %).
class RichEditView : public QObject
{
    Q_OBJECT
public:
    static constexpr float MinimumZoom = 0.1f;
    static constexpr float MaximumZoom = 5.0f;

    RichEditView(ViewType type, float zoom, QObject *parent = nullptr)
        : QObject(parent), m_type(type), m_zoom(zoom)
    {
    }
    ViewType type() const { return m_type; }
    float zoomFactor() const { return m_zoom; }
    // Clamped to 10 % .. 500 %.
    void setZoomFactor(float zoom);

signals:
    void zoomFactorChanged(float zoom);

private:
    ViewType m_type;
    float m_zoom;
};

// Where the document was last read from or written to, and in which format.
struct DocumentSaveOptions
{
    QString currentFileName;
    QString currentFormat = QStringLiteral("OpenXml");
    QString defaultFormat = QStringLiteral("OpenXml");
};

} // namespace richedit
