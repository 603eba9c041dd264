#pragma once

#include "LayoutPage.h"
#include "ListNumbering.h"

#include <QAbstractTextDocumentLayout>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <memory>
#include <vector>

namespace richedit {

class RichEditDocument;
class StoryBox;

// Lays the main story out into pages. A page provider step decides each
// page's setup (section, size, first/odd/even header, blank pages for even-
// and odd-page breaks) and the area filler fills its columns from where the
// previous page stopped. After an edit, layout restarts at the page holding
// the change and stops as soon as a page starts where it started before;
// pages that nobody asked for yet are laid out when the event loop is idle.
class PaginatedLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT
public:
    explicit PaginatedLayout(RichEditDocument *model);
    ~PaginatedLayout() override;

    const RichEditDocument *model() const { return m_model; }

    // Continuous flow for the draft and simple views: text `width` twips
    // wide in tall strips without page setup, headers or page breaks; 0
    // returns to pages.
    void setContinuousWidth(int width);
    int continuousWidth() const { return m_continuousWidth; }
    // Height of one strip in continuous flow.
    static constexpr int StripHeight = 28800;

    // Pages laid out so far; all of them once isComplete().
    int laidOutPageCount() const { return int(m_pages.size()); }
    bool isComplete() const { return m_complete && m_dirtyFrom < 0; }
    // Lays out pending changes and the pages up to `index`.
    void ensurePage(int index);
    void layoutAll();
    const LayoutPage &page(int index) const { return m_pages.at(size_t(index)); }
    // Index of the page showing a main-story position (its first line).
    int pageOf(int position) const;

    // Which of its section's headers and footers a page shows.
    HeaderFooterType headerFooterType(const LayoutPage &page) const;

    // The header, footer or text box laid out for a page.
    std::shared_ptr<const StoryBox> storyBox(int storyId, qreal width, int pageNumber) const;

    // QAbstractTextDocumentLayout
    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override;
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

signals:
    // Pages from `firstPage` on were laid out anew (or removed).
    void pagesChanged(int firstPage);
    void layoutCompleted();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;
    void resizeInlineObject(QTextInlineObject item, int posInDocument,
                            const QTextFormat &format) override;
    void positionInlineObject(QTextInlineObject item, int posInDocument,
                              const QTextFormat &format) override;
    void drawInlineObject(QPainter *painter, const QRectF &rect, QTextInlineObject object,
                          int posInDocument, const QTextFormat &format) override;

private:
    struct PageState
    {
        FlowPosition position;
        int section = 0;
        int pageNumber = 1;
        bool sectionStart = true;
        bool parityCheck = false;
        int lineNumber = 1;
    };
    PageState initialState() const;
    static PageState stateOf(const LayoutPage &page);
    bool sameStart(const LayoutPage &page, const PageState &state) const;
    LayoutPage buildPage(const PageState &in, PageState *out);
    SectionProperties setupOf(int section) const;
    void appendPage();
    void relayoutDirty();
    void invalidateAll();
    void layoutWhileIdle();
    void watchStory(int storyId);
    int headerFooterFor(const LayoutPage &page, bool header) const;

    RichEditDocument *m_model;
    ListNumbering m_lists;
    std::vector<LayoutPage> m_pages;
    PageState m_next;
    bool m_complete = false;
    int m_dirtyFrom = -1;
    int m_dirtyTo = -1;
    int m_blockCount = 0;
    int m_continuousWidth = 0;
    QTimer m_idle;
    struct BoxKey
    {
        int story;
        qreal width;
        int pageNumber; // -1: the box shows no page numbers
        int pageCount;
        bool operator==(const BoxKey &) const = default;
        friend size_t qHash(const BoxKey &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.story, k.width, k.pageNumber, k.pageCount);
        }
    };
    mutable QHash<BoxKey, std::shared_ptr<StoryBox>> m_boxes;
    mutable QHash<int, bool> m_pageDependent; // by story
    QSet<const QTextDocument *> m_watched;
};

} // namespace richedit
