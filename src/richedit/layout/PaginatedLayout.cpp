#include "PaginatedLayout.h"

#include "FlowFiller.h"
#include "LayoutDevice.h"
#include "PageObjects.h"
#include "StoryBox.h"
#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include <algorithm>

namespace richedit {

namespace {
constexpr int ContinuousPadding = 144;
// Pages laid out at once after an edit before the rest is left to idle time.
constexpr int MaxPagesPerEdit = 40;
constexpr int IdleSliceMs = 12;
} // namespace

PaginatedLayout::PaginatedLayout(RichEditDocument *model)
    : QAbstractTextDocumentLayout(model->mainStory()), m_model(model), m_lists(model)
{
    setPaintDevice(layoutDevice());
    m_idle.setSingleShot(true);
    m_idle.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, &PaginatedLayout::layoutWhileIdle);
    connect(model, &RichEditDocument::sectionsChanged, this, &PaginatedLayout::invalidateAll);
    connect(model, &RichEditDocument::objectsChanged, this, &PaginatedLayout::invalidateAll);
    connect(model, &RichEditDocument::settingsChanged, this, &PaginatedLayout::invalidateAll);
    connect(model, &RichEditDocument::documentReset, this, [this] {
        // A reader may have brought in stories of its own.
        for (int id : m_model->storyIds())
            watchStory(id);
        invalidateAll();
    });
    connect(model, &RichEditDocument::storyCreated, this, &PaginatedLayout::watchStory);
    for (int id : m_model->storyIds())
        watchStory(id);
    model->mainStory()->setDocumentLayout(this);
    invalidateAll();
}

PaginatedLayout::~PaginatedLayout() = default;

void PaginatedLayout::watchStory(int storyId)
{
    if (storyId == MainStoryId)
        return;
    QTextDocument *story = m_model->story(storyId);
    if (!story || m_watched.contains(story))
        return;
    m_watched.insert(story);
    connect(story, &QObject::destroyed, this, [this, story] { m_watched.remove(story); });
    story->documentLayout()->setPaintDevice(layoutDevice());
    // A header or footer edit changes its boxes; the body moves only when
    // the box height changes, which a full pass settles.
    connect(story, &QTextDocument::contentsChanged, this, [this, storyId] {
        m_pageDependent.remove(storyId);
        for (auto it = m_boxes.begin(); it != m_boxes.end();)
            it = it.key().story == storyId ? m_boxes.erase(it) : std::next(it);
        emit pagesChanged(0);
    });
}

// ---- states

PaginatedLayout::PageState PaginatedLayout::initialState() const
{
    PageState s;
    const SectionProperties first = m_model->sectionProperties(0);
    s.pageNumber = first.pageNumberStart >= 0 ? first.pageNumberStart : 1;
    s.lineNumber = first.lineNumbering.start;
    return s;
}

PaginatedLayout::PageState PaginatedLayout::stateOf(const LayoutPage &page)
{
    PageState s;
    s.position = page.start;
    s.section = page.section;
    s.pageNumber = page.pageNumber;
    s.sectionStart = page.firstOfSection;
    s.parityCheck = page.parityCheck;
    s.lineNumber = page.lineNumberStart;
    return s;
}

bool PaginatedLayout::sameStart(const LayoutPage &page, const PageState &s) const
{
    if (!(page.start == s.position) || page.section != s.section ||
        page.firstOfSection != s.sectionStart || page.parityCheck != s.parityCheck)
        return false;
    if (page.setup.lineNumbering.restart != LineNumberRestart::None &&
        page.lineNumberStart != s.lineNumber)
        return false;
    if (m_model->settings().evenAndOddHeaders && (page.pageNumber - s.pageNumber) % 2 != 0)
        return false;
    return true;
}

HeaderFooterType PaginatedLayout::headerFooterType(const LayoutPage &page) const
{
    if (page.firstOfSection && page.setup.differentFirstPage)
        return HeaderFooterType::First;
    if ((m_model->settings().evenAndOddHeaders || page.setup.differentOddEven) &&
        page.pageNumber % 2 == 0)
        return HeaderFooterType::Even;
    return HeaderFooterType::Odd;
}

int PaginatedLayout::headerFooterFor(const LayoutPage &page, bool header) const
{
    return m_model->headerFooterStory(page.section, header ? StoryKind::Header : StoryKind::Footer,
                                      headerFooterType(page));
}

std::shared_ptr<const StoryBox> PaginatedLayout::storyBox(int storyId, qreal width,
                                                          int pageNumber) const
{
    const QTextDocument *story = storyId == MainStoryId ? nullptr : m_model->story(storyId);
    if (!story)
        return nullptr;
    // Whether the story shows page numbers is known until it changes; a box
    // that shows none serves every page.
    auto dependent = m_pageDependent.constFind(storyId);
    if (dependent == m_pageDependent.cend())
        dependent = m_pageDependent.insert(storyId, StoryBox::dependsOnPage(m_model, story));
    const bool perPage = *dependent;
    const int pages = int(m_pages.size());
    const BoxKey key{storyId, width, perPage ? pageNumber : -1, perPage ? pages : -1};
    auto it = m_boxes.constFind(key);
    if (it != m_boxes.cend())
        return *it;
    if (m_boxes.size() > 512)
        m_boxes.clear();
    auto box = std::make_shared<StoryBox>(m_model, story, width, pageNumber, pages);
    m_boxes.insert(key, box);
    return box;
}

// ---- the page provider

void PaginatedLayout::setContinuousWidth(int width)
{
    if (width == m_continuousWidth)
        return;
    m_continuousWidth = width;
    invalidateAll();
}

SectionProperties PaginatedLayout::setupOf(int section) const
{
    SectionProperties s = m_model->sectionProperties(section);
    if (m_continuousWidth <= 0)
        return s;
    SectionProperties strip;
    strip.pageWidth = m_continuousWidth + 2 * ContinuousPadding;
    strip.pageHeight = StripHeight;
    strip.margins = PageMargins{ContinuousPadding, ContinuousPadding, 0, 0, 0};
    strip.breakType = SectionBreakType::Continuous;
    strip.pageNumberStart = s.pageNumberStart;
    return strip;
}

LayoutPage PaginatedLayout::buildPage(const PageState &in, PageState *out)
{
    LayoutPage page;
    page.section = in.section;
    page.setup = setupOf(in.section);
    page.pageNumber = in.pageNumber;
    page.firstOfSection = in.sectionStart;
    page.parityCheck = in.parityCheck;
    page.start = in.position;
    page.lineNumberStart = in.lineNumber;
    *out = in;
    out->pageNumber = in.pageNumber + 1;

    // An even- or odd-page section break that lands on the wrong parity
    // leaves a blank page first.
    if (in.parityCheck) {
        out->parityCheck = false;
        const SectionBreakType bt = page.setup.breakType;
        const bool odd = in.pageNumber % 2 == 1;
        if ((bt == SectionBreakType::EvenPage && odd) ||
            (bt == SectionBreakType::OddPage && !odd)) {
            page.blank = true;
            page.firstOfSection = false;
            page.end = in.position;
            page.lineNumberEnd = in.lineNumber;
            page.bodyRect = QRectF(page.setup.margins.left, page.setup.margins.top,
                                   page.setup.textWidth(), page.setup.textHeight());
            return page;
        }
    }

    const SectionProperties &setup = page.setup;
    const bool paged = m_continuousWidth <= 0;
    page.headerStory = paged ? headerFooterFor(page, true) : 0;
    page.footerStory = paged ? headerFooterFor(page, false) : 0;
    qreal bodyTop = setup.margins.top;
    qreal bodyBottom = setup.pageHeight - setup.margins.bottom;
    if (auto box = storyBox(page.headerStory, setup.textWidth(), page.pageNumber))
        bodyTop = std::max(bodyTop, setup.headerDistance + box->height());
    if (auto box = storyBox(page.footerStory, setup.textWidth(), page.pageNumber))
        bodyBottom = std::min(bodyBottom, setup.pageHeight - setup.footerDistance - box->height());
    bodyBottom = std::max(bodyBottom, bodyTop + 720);
    page.bodyRect = QRectF(setup.margins.left, bodyTop, setup.textWidth(), bodyBottom - bodyTop);

    LineCounter counter;
    counter.setup = setup.lineNumbering;
    counter.next = in.lineNumber;
    if (setup.lineNumbering.restart == LineNumberRestart::EachPage ||
        (setup.lineNumbering.restart == LineNumberRestart::EachSection && in.sectionStart))
        counter.next = setup.lineNumbering.start;

    PageObjects known;
    PageState result;
    for (int pass = 0; pass < 3; ++pass) {
        page.lines.clear();
        page.cells.clear();
        page.objects.clear();
        page.lineNumbers.clear();
        PageObjects objects = known;
        for (const PageObjects::Entry &e : known.entries())
            page.objects.push_back(PlacedObject{e.id, e.rect});
        LineCounter passCounter = counter;
        FlowFiller filler(m_model, &m_lists, &page, &objects, paged);

        result = *out;
        result.sectionStart = false;
        FlowPosition pos = in.position;
        int section = in.section;
        qreal regionTop = bodyTop;
        bool pageTop = true;
        while (true) {
            const SectionProperties region = section == in.section ? setup : setupOf(section);
            const int columns = std::max(1, region.columns.count);
            qreal regionBottom = regionTop;
            FillResult r;
            for (int col = 0; col < columns; ++col) {
                const FillArea area{qreal(setup.margins.left + region.columnLeft(col)),
                                    qreal(region.columnWidth(col)), regionTop, bodyBottom};
                r = filler.fill(pos, area, pageTop && col == 0, &passCounter);
                pos = r.next;
                regionBottom = std::max(regionBottom, r.y);
                if (r.stop != FillStop::AreaFull && r.stop != FillStop::ColumnBreak)
                    break;
            }
            if (r.stop == FillStop::SectionEnd) {
                const int next = section + 1;
                const SectionProperties ns = setupOf(next);
                const bool samePage =
                    ns.pageWidth == setup.pageWidth && ns.pageHeight == setup.pageHeight;
                const bool sameFlow = ns.breakType == SectionBreakType::Continuous ||
                                      ns.breakType == SectionBreakType::Column;
                if (!paged || (sameFlow && samePage && regionBottom < bodyBottom - 240)) {
                    section = next;
                    regionTop = regionBottom;
                    pageTop = false;
                    if (ns.lineNumbering.restart == LineNumberRestart::EachSection)
                        passCounter.next = ns.lineNumbering.start;
                    continue;
                }
                result.section = next;
                result.sectionStart = true;
                result.parityCheck = ns.breakType == SectionBreakType::EvenPage ||
                                     ns.breakType == SectionBreakType::OddPage;
                if (ns.pageNumberStart >= 0)
                    result.pageNumber = ns.pageNumberStart;
                if (ns.lineNumbering.restart == LineNumberRestart::EachSection)
                    passCounter.next = ns.lineNumbering.start;
            } else {
                result.section = section;
            }
            break;
        }
        result.position = pos;
        result.lineNumber = passCounter.next;
        if (!filler.needsRefill())
            break;
        known = objects;
    }
    page.end = result.position;
    page.lineNumberEnd = result.lineNumber;
    *out = result;
    return page;
}

// ---- incremental layout

void PaginatedLayout::invalidateAll()
{
    QTextOption option = m_model->mainStory()->defaultTextOption();
    if (option.tabStopDistance() != m_model->settings().defaultTabStop) {
        option.setTabStopDistance(m_model->settings().defaultTabStop);
        m_model->mainStory()->setDefaultTextOption(option);
    }
    m_pages.clear();
    m_next = initialState();
    m_complete = false;
    m_dirtyFrom = m_dirtyTo = -1;
    m_lists.invalidate();
    m_boxes.clear();
    m_pageDependent.clear();
    m_blockCount = m_model->mainStory()->blockCount();
    m_idle.start();
    emit pagesChanged(0);
}

void PaginatedLayout::appendPage()
{
    if (m_complete)
        return;
    if (m_next.position.finished && !m_pages.empty()) {
        m_complete = true;
        emit layoutCompleted();
        return;
    }
    PageState next;
    m_pages.push_back(buildPage(m_next, &next));
    m_next = next;
    if (m_next.position.finished && !m_next.parityCheck) {
        m_complete = true;
        emit layoutCompleted();
    }
}

void PaginatedLayout::ensurePage(int index)
{
    relayoutDirty();
    while (!m_complete && int(m_pages.size()) <= index)
        appendPage();
}

void PaginatedLayout::layoutAll()
{
    relayoutDirty();
    while (!m_complete)
        appendPage();
}

void PaginatedLayout::layoutWhileIdle()
{
    relayoutDirty();
    if (m_complete)
        return;
    const int first = int(m_pages.size());
    QElapsedTimer t;
    t.start();
    while (!m_complete && t.elapsed() < IdleSliceMs)
        appendPage();
    emit pagesChanged(first);
    if (!m_complete)
        m_idle.start();
}

int PaginatedLayout::pageOf(int position) const
{
    // The last page starting at or before the position.
    auto it =
        std::upper_bound(m_pages.cbegin(), m_pages.cend(), position,
                         [](int p, const LayoutPage &page) { return p < page.start.position; });
    return std::max(0, int(it - m_pages.cbegin()) - 1);
}

void PaginatedLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    for (LayoutPage &p : m_pages) {
        p.start.shift(from, charsRemoved, charsAdded);
        p.end.shift(from, charsRemoved, charsAdded);
    }
    m_next.position.shift(from, charsRemoved, charsAdded);
    if (m_dirtyFrom >= 0) {
        FlowPosition a;
        a.position = m_dirtyFrom;
        a.shift(from, charsRemoved, charsAdded);
        FlowPosition b;
        b.position = m_dirtyTo;
        b.shift(from, charsRemoved, charsAdded);
        m_dirtyFrom = std::min(a.position, from);
        m_dirtyTo = std::max(b.position, from + charsAdded);
    } else {
        m_dirtyFrom = from;
        m_dirtyTo = from + charsAdded;
    }
    const int blocks = m_model->mainStory()->blockCount();
    if (charsRemoved == charsAdded || blocks != m_blockCount)
        m_lists.invalidate();
    m_blockCount = blocks;
    m_idle.start();
}

void PaginatedLayout::relayoutDirty()
{
    if (m_dirtyFrom < 0)
        return;
    const int from = m_dirtyFrom;
    const int to = m_dirtyTo;
    m_dirtyFrom = m_dirtyTo = -1;
    if (m_pages.empty())
        return;

    // Restart one page before the one holding the change: keep-with-next
    // and widow control can pull lines back onto it.
    const int k = std::max(0, pageOf(from) - 1);
    std::vector<LayoutPage> old = std::move(m_pages);
    const bool oldComplete = m_complete;
    const PageState oldNext = m_next;
    m_pages.assign(std::make_move_iterator(old.begin()), std::make_move_iterator(old.begin() + k));
    PageState state = stateOf(old[size_t(k)]);
    m_complete = false;
    size_t j = size_t(k);
    int built = 0;
    while (true) {
        if (state.position.finished && !state.parityCheck && !m_pages.empty()) {
            m_complete = true;
            m_next = state;
            break;
        }
        PageState next;
        m_pages.push_back(buildPage(state, &next));
        state = next;
        ++built;
        // Converged: an old page starts from the same point, past the change.
        while (j < old.size() && old[j].start.position < state.position.position)
            ++j;
        bool spliced = false;
        for (size_t m = j; m < old.size() && old[m].start.position == state.position.position;
             ++m) {
            if (m <= size_t(k) || old[m].start.position <= to || !sameStart(old[m], state))
                continue;
            const int delta = state.pageNumber - old[m].pageNumber;
            for (size_t i = m; i < old.size(); ++i) {
                LayoutPage &p = old[i];
                if (i > m && p.firstOfSection && p.setup.pageNumberStart >= 0)
                    break;
                p.pageNumber += delta;
            }
            m_pages.insert(m_pages.end(), std::make_move_iterator(old.begin() + long(m)),
                           std::make_move_iterator(old.end()));
            m_complete = oldComplete;
            m_next = oldNext;
            m_next.pageNumber += delta;
            spliced = true;
            break;
        }
        if (spliced)
            break;
        if (built >= MaxPagesPerEdit) {
            m_next = state;
            m_idle.start();
            break;
        }
    }
    emit pagesChanged(k);
}

// ---- QAbstractTextDocumentLayout

void PaginatedLayout::draw(QPainter *, const PaintContext &)
{
    // Pages are painted by PagePainter, one page at a time.
}

int PaginatedLayout::hitTest(const QPointF &, Qt::HitTestAccuracy) const
{
    return -1;
}

int PaginatedLayout::pageCount() const
{
    return int(m_pages.size());
}

QSizeF PaginatedLayout::documentSize() const
{
    qreal w = 0;
    qreal h = 0;
    for (const LayoutPage &p : m_pages) {
        w = std::max<qreal>(w, p.setup.pageWidth);
        h += p.setup.pageHeight;
    }
    return QSizeF(w, h);
}

QRectF PaginatedLayout::frameBoundingRect(QTextFrame *) const
{
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF PaginatedLayout::blockBoundingRect(const QTextBlock &block) const
{
    // The block's first placed lines, with pages stacked one below another.
    const int index = pageOf(block.position());
    qreal y = 0;
    for (int i = 0; i < index && i < int(m_pages.size()); ++i)
        y += m_pages[size_t(i)].setup.pageHeight;
    for (int i = index; i < int(m_pages.size()) && i <= index + 1; ++i) {
        for (const PlacedLines &l : m_pages[size_t(i)].lines) {
            if (l.block == block)
                return QRectF(l.areaLeft, y + l.top, l.areaWidth, l.bottom - l.top);
        }
        y += m_pages[size_t(i)].setup.pageHeight;
    }
    return QRectF();
}

void PaginatedLayout::resizeInlineObject(QTextInlineObject item, int, const QTextFormat &format)
{
    const QTextCharFormat cf = format.toCharFormat();
    if (cf.objectType() == QTextFormat::ImageObject) {
        const QTextImageFormat img = format.toImageFormat();
        item.setWidth(img.width());
        item.setAscent(img.height());
        item.setDescent(0);
        return;
    }
    // Floating objects' anchors take no room in the line.
    item.setWidth(0);
    item.setAscent(0);
    item.setDescent(0);
}

void PaginatedLayout::positionInlineObject(QTextInlineObject, int, const QTextFormat &) {}

void PaginatedLayout::drawInlineObject(QPainter *painter, const QRectF &rect, QTextInlineObject,
                                       int, const QTextFormat &format)
{
    if (format.toCharFormat().objectType() != QTextFormat::ImageObject)
        return;
    const QString id = format.stringProperty(ModelProperty::ImageId);
    const QImage image = m_model->images().image(id);
    if (image.isNull())
        painter->fillRect(rect, QColor(230, 230, 230));
    else
        painter->drawImage(rect, image);
}

} // namespace richedit
