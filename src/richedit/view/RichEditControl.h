#pragma once

#include "PageStack.h"
#include "RichEditView.h"
#include "Ruler.h"
#include "richedit/layout/LayoutLocator.h"
#include "richedit/model/RichEditDocument.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QTextCursor>

#include <functional>
#include <memory>

class QMenu;
class QMimeData;

namespace richedit {

class PaginatedLayout;

// The rich-text editor: shows the document in the print layout, draft or
// simple view with each view's own zoom, and edits it with caret, one or
// more selected ranges, keyboard, mouse, input methods, drag and drop and
// the clipboard. Headers and footers are edited in place after a
// double-click in their area.
class RichEditControl : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit RichEditControl(QWidget *parent = nullptr);
    ~RichEditControl() override;

    // The control that editor commands act on: the focused one, else the
    // only one there is.
    static RichEditControl *focusedOrOnly();

    RichEditDocument *document() { return &m_document; }
    const RichEditDocument *document() const { return &m_document; }
    PaginatedLayout *layout() const { return m_layout; }

    MeasurementUnit measurementUnit() const { return m_document.measurementUnit(); }
    void setMeasurementUnit(MeasurementUnit unit);

    RichEditView *view(ViewType type) const;
    RichEditView *activeView() const { return view(m_activeView); }
    ViewType activeViewType() const { return m_activeView; }
    void setActiveViewType(ViewType type);

    bool isModified() const { return m_document.isModified(); }
    void setModified(bool modified) { m_document.setModified(modified); }
    DocumentSaveOptions &documentSaveOptions() { return m_saveOptions; }

    bool isSelectionInHeaderOrFooter() const;
    bool isSelectionInTable() const;

    bool overwriteMode() const { return m_overwrite; }
    void setOverwriteMode(bool on);

    bool isHorizontalRulerVisible() const { return m_rulerVisible[0]; }
    bool isVerticalRulerVisible() const { return m_rulerVisible[1]; }
    void setHorizontalRulerVisible(bool visible);
    void setVerticalRulerVisible(bool visible);

    // The active story's caret cursor, and every selected range with it.
    QTextCursor textCursor() const { return m_cursor; }
    void setTextCursor(const QTextCursor &cursor);
    QList<QTextCursor> selectionCursors() const;
    int activeStory() const { return m_story; }
    // Leaves the header, footer or text box being edited for the main text.
    void returnToMainText();
    // Starts editing the header or footer of a page.
    void editHeaderFooter(int page, StoryKind kind);
    // Starts editing a text box placed on a page.
    void editTextBox(int page, int objectId);

    // Applies character formatting to every selected range (or to the
    // word at the caret) as one undo step.
    void mergeCharFormat(const QTextCharFormat &format);

    void zoomIn();
    void zoomOut();
    bool canCopy() const { return m_cursor.hasSelection(); }
    bool canPaste() const;
    void copy();
    void cut();
    void paste();
    void selectAll();
    void undo() { m_document.undo(); }
    void redo() { m_document.redo(); }
    // Replaces the document with a new, empty one (no file name, clean).
    void newDocument();

    // Called whenever any editor's state changed (after stateChanged): the
    // command refresh hooks in here without the editor knowing commands.
    static void setStateObserver(std::function<void()> observer);

    // The editor's keys for the document commands (Ctrl+N, Ctrl+O, Ctrl+S,
    // Ctrl+Shift+S) go to this handler, so the window can ask before
    // discarding changes; without one they do nothing.
    enum class FileKey
    {
        New,
        Open,
        Save,
        SaveAs
    };
    void setFileKeyHandler(std::function<void(FileKey)> handler)
    {
        m_fileKeys = std::move(handler);
    }

    // Lets another component add entries (spelling) to the context menu.
    void setContextMenuExtender(std::function<void(QMenu *, const QTextCursor &)> extender)
    {
        m_menuExtender = std::move(extender);
    }

    // Where the caret is on screen, viewport coordinates (for tests too).
    QRectF caretViewportRect() const;
    // The viewport point showing a main-story position.
    QPointF viewportPointOf(int position) const;
    // The viewport point showing a point of a page (twips).
    QPointF viewportPointOnPage(int page, const QPointF &pagePoint) const;
    // Pixels per twip in the active view.
    qreal scale() const;

signals:
    void modifiedChanged(bool modified);
    void selectionChanged();
    void overwriteModeChanged(bool on);
    void activeViewChanged();
    void zoomChanged();
    void rulersChanged();
    // Anything commands read changed; emitted once per event-loop turn.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    struct Hit
    {
        int page = -1;
        QPointF pagePoint;
        enum Area
        {
            Body,
            Header,
            Footer
        } area = Body;
    };
    Hit hitAt(const QPointF &viewportPoint) const;
    int positionAt(const Hit &hit) const;
    void refreshGeometry();
    void updateScrollBars();
    void syncContinuousWidth();
    void cursorChanged(bool ensureVisible = true, bool repaintAll = true);
    // The viewport area a block's lines cover on the laid-out pages.
    QRectF blockViewportRect(const QTextBlock &block) const;
    void scheduleStateChanged();
    void ensureCaretVisible();
    void updateRulers();
    void applyRuler(RulerHandle handle, qreal twips, bool horizontal);
    void resetBlink();
    QRectF caretPageRect(int *page) const;
    std::shared_ptr<const class StoryBox> activeBox(int page, QPointF *origin) const;
    // The text box under a page point, or 0.
    int textBoxAt(int page, const QPointF &pagePoint, QRectF *rect = nullptr) const;

    void insertTyped(const QString &text);
    void insertParagraph();
    void insertPageBreak();
    bool moveInTable(bool forward);
    void deleteBackward(bool word);
    void deleteForward(bool word);
    void moveVertically(int lines, QTextCursor::MoveMode mode);
    void movePage(int direction, QTextCursor::MoveMode mode);
    QMimeData *mimeForSelection() const;
    void insertMime(QTextCursor &cursor, const QMimeData *mime);

    RichEditDocument m_document;
    PaginatedLayout *m_layout = nullptr;
    LayoutLocator m_locator;
    std::unique_ptr<RichEditView> m_views[3];
    ViewType m_activeView = ViewType::PrintLayout;
    PageStack m_stack;
    DocumentSaveOptions m_saveOptions;

    QTextCursor m_cursor;
    QList<QTextCursor> m_extraRanges;
    int m_story = MainStoryId;
    int m_storyPage = 0;
    int m_storyObject = 0; // the text box being edited
    qreal m_desiredX = -1;
    bool m_overwrite = false;
    bool m_caretOn = true;
    QBasicTimer m_blink;
    QString m_preedit;

    Ruler *m_rulers[2] = {nullptr, nullptr};
    bool m_rulerVisible[2] = {true, true};

    QPoint m_pressPoint;
    bool m_selecting = false;
    bool m_mayDrag = false;
    int m_clickCount = 0;
    QElapsedTimer m_lastClick;
    bool m_stateQueued = false;
    std::function<void(QMenu *, const QTextCursor &)> m_menuExtender;
    std::function<void(FileKey)> m_fileKeys;
};

} // namespace richedit
