#include "RichEditControl.h"

#include "richedit/layout/PagePainter.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/layout/StoryBox.h"
#include "richedit/model/ModelProperty.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDrag>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace richedit {

namespace {

QList<RichEditControl *> &instances()
{
    static QList<RichEditControl *> list;
    return list;
}

std::function<void()> &stateObserver()
{
    static std::function<void()> observer;
    return observer;
}

constexpr int BlinkMs = 530;
constexpr float ZoomStep = 0.1f;

} // namespace

RichEditControl::RichEditControl(QWidget *parent) : QAbstractScrollArea(parent), m_locator(nullptr)
{
    instances().append(this);
    m_layout = new PaginatedLayout(&m_document);
    m_locator = LayoutLocator(m_layout);
    m_views[int(ViewType::Simple)] = std::make_unique<RichEditView>(ViewType::Simple, 1.0f);
    m_views[int(ViewType::Draft)] = std::make_unique<RichEditView>(ViewType::Draft, 1.0f);
    m_views[int(ViewType::PrintLayout)] =
        std::make_unique<RichEditView>(ViewType::PrintLayout, 1.1f);
    for (auto &v : m_views) {
        connect(v.get(), &RichEditView::zoomFactorChanged, this, [this, view = v.get()] {
            if (view->type() == ViewType::Simple && m_activeView == ViewType::Simple)
                syncContinuousWidth();
            refreshGeometry();
            emit zoomChanged();
            scheduleStateChanged();
        });
    }
    m_document.setMeasurementUnit(MeasurementUnit::Centimeter);
    m_cursor = QTextCursor(m_document.mainStory());

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);

    for (int i = 0; i < 2; ++i) {
        const bool horizontal = i == 0;
        m_rulers[i] = new Ruler(horizontal ? Qt::Horizontal : Qt::Vertical, this);
        connect(m_rulers[i], &Ruler::handleMoved, this,
                [this, horizontal](RulerHandle h, qreal t) { applyRuler(h, t, horizontal); });
    }

    connect(m_layout, &PaginatedLayout::pagesChanged, this, [this] {
        refreshGeometry();
        updateRulers();
    });
    connect(&m_document, &RichEditDocument::modifiedChanged, this, [this](bool modified) {
        emit modifiedChanged(modified);
        scheduleStateChanged();
    });
    connect(m_document.undoStack(), &QUndoStack::indexChanged, this,
            [this] { scheduleStateChanged(); });
    connect(&m_document, &RichEditDocument::documentReset, this, [this] {
        m_story = MainStoryId;
        m_extraRanges.clear();
        m_cursor = QTextCursor(m_document.mainStory());
        if (m_activeView != ViewType::PrintLayout)
            syncContinuousWidth();
        cursorChanged(false);
        verticalScrollBar()->setValue(0);
    });
    refreshGeometry();
    updateRulers();
    resetBlink();
}

RichEditControl::~RichEditControl()
{
    instances().removeAll(this);
}

void RichEditControl::setStateObserver(std::function<void()> observer)
{
    stateObserver() = std::move(observer);
}

RichEditControl *RichEditControl::focusedOrOnly()
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (auto *c = qobject_cast<RichEditControl *>(w))
            return c;
    }
    return instances().size() == 1 ? instances().first() : nullptr;
}

// ---- properties

void RichEditControl::setMeasurementUnit(MeasurementUnit unit)
{
    m_document.setMeasurementUnit(unit);
    updateRulers();
}

RichEditView *RichEditControl::view(ViewType type) const
{
    return m_views[int(type)].get();
}

void RichEditControl::setActiveViewType(ViewType type)
{
    if (type == m_activeView)
        return;
    m_activeView = type;
    if (type != ViewType::PrintLayout && m_story != MainStoryId)
        returnToMainText();
    syncContinuousWidth();
    refreshGeometry();
    ensureCaretVisible();
    emit activeViewChanged();
    emit zoomChanged();
    scheduleStateChanged();
}

void RichEditControl::syncContinuousWidth()
{
    switch (m_activeView) {
    case ViewType::PrintLayout:
        m_layout->setContinuousWidth(0);
        break;
    case ViewType::Draft:
        m_layout->setContinuousWidth(m_document.sectionProperties(0).textWidth());
        break;
    case ViewType::Simple: {
        const qreal s = scale();
        const int width = int((viewport()->width() - 4) / s) - 288;
        m_layout->setContinuousWidth(std::max(1440, width));
        break;
    }
    }
}

qreal RichEditControl::scale() const
{
    return activeView()->zoomFactor() * logicalDpiX() / 1440.0;
}

bool RichEditControl::isSelectionInHeaderOrFooter() const
{
    const StoryKind k = m_document.storyKind(m_story);
    return k == StoryKind::Header || k == StoryKind::Footer;
}

bool RichEditControl::isSelectionInTable() const
{
    return m_cursor.currentTable() != nullptr;
}

void RichEditControl::setOverwriteMode(bool on)
{
    if (on == m_overwrite)
        return;
    m_overwrite = on;
    emit overwriteModeChanged(on);
    scheduleStateChanged();
    viewport()->update();
}

void RichEditControl::setHorizontalRulerVisible(bool visible)
{
    if (m_rulerVisible[0] == visible)
        return;
    m_rulerVisible[0] = visible;
    refreshGeometry();
    emit rulersChanged();
    scheduleStateChanged();
}

void RichEditControl::setVerticalRulerVisible(bool visible)
{
    if (m_rulerVisible[1] == visible)
        return;
    m_rulerVisible[1] = visible;
    refreshGeometry();
    emit rulersChanged();
    scheduleStateChanged();
}

void RichEditControl::setTextCursor(const QTextCursor &cursor)
{
    QTextDocument *doc = cursor.document();
    const int id = m_document.storyId(doc);
    if (id < 0)
        return;
    m_story = id;
    m_cursor = cursor;
    m_extraRanges.clear();
    cursorChanged();
}

QList<QTextCursor> RichEditControl::selectionCursors() const
{
    QList<QTextCursor> all = m_extraRanges;
    all.append(m_cursor);
    return all;
}

void RichEditControl::returnToMainText()
{
    if (m_story == MainStoryId)
        return;
    m_story = MainStoryId;
    m_cursor = QTextCursor(m_document.mainStory());
    if (m_layout->laidOutPageCount() > 0) {
        const int page = std::min(m_storyPage, m_layout->laidOutPageCount() - 1);
        m_cursor.setPosition(m_layout->page(page).start.position);
    }
    m_extraRanges.clear();
    cursorChanged();
}

void RichEditControl::editHeaderFooter(int page, StoryKind kind)
{
    if (page < 0 || page >= m_layout->laidOutPageCount())
        return;
    const LayoutPage &p = m_layout->page(page);
    int story = kind == StoryKind::Header ? p.headerStory : p.footerStory;
    if (story == 0) {
        story = m_document.ensureHeaderFooter(p.section, kind, m_layout->headerFooterType(p));
        m_layout->ensurePage(page);
    }
    m_story = story;
    m_storyPage = page;
    m_cursor = QTextCursor(m_document.story(story));
    m_cursor.movePosition(QTextCursor::End);
    m_extraRanges.clear();
    cursorChanged();
}

void RichEditControl::editTextBox(int page, int objectId)
{
    const FloatingObject *obj = m_document.floatingObject(objectId);
    if (!obj || obj->kind != FloatingObject::Kind::TextBox || !m_document.story(obj->textBoxStory))
        return;
    m_story = obj->textBoxStory;
    m_storyPage = page;
    m_storyObject = objectId;
    m_cursor = QTextCursor(m_document.story(m_story));
    m_cursor.movePosition(QTextCursor::End);
    m_extraRanges.clear();
    cursorChanged();
}

int RichEditControl::textBoxAt(int page, const QPointF &pagePoint, QRectF *rect) const
{
    if (page < 0 || page >= m_layout->laidOutPageCount())
        return 0;
    for (const PlacedObject &o : m_layout->page(page).objects) {
        const FloatingObject *obj = m_document.floatingObject(o.objectId);
        if (obj && obj->kind == FloatingObject::Kind::TextBox && o.rect.contains(pagePoint)) {
            if (rect)
                *rect = o.rect;
            return o.objectId;
        }
    }
    return 0;
}

// ---- geometry

void RichEditControl::refreshGeometry()
{
    const int rulerH = m_rulerVisible[0] ? Ruler::Thickness : 0;
    const int rulerV =
        m_rulerVisible[1] && m_activeView == ViewType::PrintLayout ? Ruler::Thickness : 0;
    setViewportMargins(rulerV, rulerH, 0, 0);
    const QRect vp = viewport()->geometry();
    m_rulers[0]->setVisible(rulerH > 0);
    m_rulers[1]->setVisible(rulerV > 0);
    m_rulers[0]->setGeometry(vp.left(), vp.top() - rulerH, vp.width(), rulerH);
    m_rulers[1]->setGeometry(vp.left() - rulerV, vp.top(), rulerV, vp.height());
    // Lay out enough pages to fill the visible part.
    const qreal s = scale();
    const int approxPage = std::max(1, int(15840 * s + PageStack::Gap));
    const int needed = (verticalScrollBar()->value() + viewport()->height()) / approxPage + 2;
    m_layout->ensurePage(needed);
    m_stack.rebuild(m_layout, s, m_activeView == ViewType::PrintLayout, viewport()->width());
    updateScrollBars();
    updateRulers();
    viewport()->update();
}

void RichEditControl::updateScrollBars()
{
    const QSizeF size = m_stack.contentSize();
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, int(size.height()) - viewport()->height()));
    horizontalScrollBar()->setRange(0, std::max(0, int(size.width()) - viewport()->width()));
}

void RichEditControl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_activeView == ViewType::Simple)
        syncContinuousWidth();
    refreshGeometry();
}

void RichEditControl::scrollContentsBy(int, int)
{
    const int before = m_stack.count();
    const qreal s = scale();
    const int approxPage = std::max(1, int(15840 * s + PageStack::Gap));
    m_layout->ensurePage((verticalScrollBar()->value() + viewport()->height()) / approxPage + 2);
    if (m_layout->laidOutPageCount() != before)
        refreshGeometry();
    updateRulers();
    viewport()->update();
}

RichEditControl::Hit RichEditControl::hitAt(const QPointF &vp) const
{
    Hit hit;
    const QPointF content =
        vp + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    hit.page = m_stack.pageAt(content);
    if (hit.page < 0)
        return hit;
    hit.pagePoint = m_stack.toPage(hit.page, content);
    if (m_activeView == ViewType::PrintLayout) {
        const LayoutPage &p = m_layout->page(hit.page);
        if (hit.pagePoint.y() < p.bodyRect.top())
            hit.area = Hit::Header;
        else if (hit.pagePoint.y() > p.bodyRect.bottom())
            hit.area = Hit::Footer;
    }
    return hit;
}

std::shared_ptr<const StoryBox> RichEditControl::activeBox(int page, QPointF *origin) const
{
    if (page < 0 || page >= m_layout->laidOutPageCount())
        return nullptr;
    const LayoutPage &p = m_layout->page(page);
    if (m_document.storyKind(m_story) == StoryKind::TextBox) {
        // The inset the page painter draws text boxes with.
        for (const PlacedObject &o : p.objects) {
            if (o.objectId != m_storyObject)
                continue;
            *origin = o.rect.topLeft() + QPointF(144, 72);
            return m_layout->storyBox(m_story, o.rect.width() - 288, p.pageNumber);
        }
        return nullptr;
    }
    auto box = m_layout->storyBox(m_story, p.setup.textWidth(), p.pageNumber);
    if (!box)
        return nullptr;
    const bool header = m_document.storyKind(m_story) == StoryKind::Header;
    *origin = QPointF(p.setup.margins.left,
                      header ? p.setup.headerDistance
                             : p.setup.pageHeight - p.setup.footerDistance - box->height());
    return box;
}

int RichEditControl::positionAt(const Hit &hit) const
{
    if (hit.page < 0)
        return 0;
    if (m_story != MainStoryId) {
        QPointF origin;
        if (auto box = activeBox(m_storyPage, &origin))
            return std::clamp(box->hitTest(hit.pagePoint - origin), 0,
                              m_document.story(m_story)->characterCount() - 1);
        return 0;
    }
    return std::clamp(m_locator.hitTest(hit.page, hit.pagePoint), 0,
                      m_document.mainStory()->characterCount() - 1);
}

QRectF RichEditControl::caretPageRect(int *page) const
{
    if (m_story != MainStoryId) {
        QPointF origin;
        auto box = activeBox(m_storyPage, &origin);
        *page = m_storyPage;
        return box ? box->caretRect(m_cursor.position()).translated(origin) : QRectF();
    }
    const LayoutLocator::Place place = m_locator.caret(m_cursor.position());
    *page = place.page;
    return place.rect;
}

QRectF RichEditControl::caretViewportRect() const
{
    int page = -1;
    const QRectF r = caretPageRect(&page);
    if (page < 0 || page >= m_stack.count() || r.isNull())
        return QRectF();
    const QPointF tl = m_stack.fromPage(page, r.topLeft());
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return QRectF(tl - scroll,
                  QSizeF(std::max<qreal>(1, r.width() * scale()), r.height() * scale()));
}

QPointF RichEditControl::viewportPointOf(int position) const
{
    const LayoutLocator::Place place = m_locator.caret(position);
    if (place.page < 0 || place.page >= m_stack.count())
        return QPointF();
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return m_stack.fromPage(place.page, place.rect.center()) - scroll;
}

QPointF RichEditControl::viewportPointOnPage(int page, const QPointF &pagePoint) const
{
    if (page < 0 || page >= m_stack.count())
        return QPointF();
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return m_stack.fromPage(page, pagePoint) - scroll;
}

void RichEditControl::ensureCaretVisible()
{
    int page = -1;
    const QRectF r = caretPageRect(&page);
    if (page < 0)
        return;
    if (page >= m_stack.count())
        refreshGeometry();
    if (page >= m_stack.count())
        return;
    const QPointF tl = m_stack.fromPage(page, r.topLeft());
    const qreal h = r.height() * scale();
    QScrollBar *v = verticalScrollBar();
    const int margin = 8;
    if (tl.y() < v->value() + margin)
        v->setValue(int(tl.y()) - margin);
    else if (tl.y() + h > v->value() + viewport()->height() - margin)
        v->setValue(int(tl.y() + h) - viewport()->height() + margin);
    QScrollBar *hs = horizontalScrollBar();
    if (tl.x() < hs->value())
        hs->setValue(int(tl.x()) - margin);
    else if (tl.x() > hs->value() + viewport()->width() - margin)
        hs->setValue(int(tl.x()) - viewport()->width() + 4 * margin);
}

// ---- state

QRectF RichEditControl::blockViewportRect(const QTextBlock &block) const
{
    QRectF r;
    if (!block.isValid() || block.document() != m_document.mainStory())
        return r;
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int first = std::max(0, m_layout->pageOf(block.position()) - 1);
    for (int p = first; p < std::min(first + 3, m_stack.count()); ++p) {
        for (const PlacedLines &l : m_layout->page(p).lines) {
            if (l.block != block)
                continue;
            const QRectF page(QPointF(0, l.top),
                              QPointF(m_layout->page(p).size().width(), l.bottom));
            r |= QRectF(m_stack.fromPage(p, page.topLeft()) - scroll,
                        m_stack.fromPage(p, page.bottomRight()) - scroll);
        }
    }
    return r;
}

void RichEditControl::cursorChanged(bool visible, bool repaintAll)
{
    QList<DocumentRange> ranges;
    for (const QTextCursor &c : selectionCursors()) {
        ranges.append(
            DocumentRange{m_story, c.selectionStart(), c.selectionEnd() - c.selectionStart()});
    }
    m_document.setSelections(ranges, DocumentPosition{m_story, m_cursor.position()});
    resetBlink();
    m_layout->ensurePage(m_layout->pageOf(m_cursor.position()) + 1);
    if (m_layout->laidOutPageCount() != m_stack.count())
        refreshGeometry();
    const int scrollBefore = verticalScrollBar()->value();
    if (visible)
        ensureCaretVisible();
    updateRulers();
    if (repaintAll || scrollBefore != verticalScrollBar()->value())
        viewport()->update();
    emit selectionChanged();
    scheduleStateChanged();
}

void RichEditControl::scheduleStateChanged()
{
    if (m_stateQueued)
        return;
    m_stateQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_stateQueued = false;
        emit stateChanged();
        if (stateObserver())
            stateObserver()();
    });
}

void RichEditControl::resetBlink()
{
    m_caretOn = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blink.start(flash > 0 ? flash / 2 : BlinkMs, this);
    else
        m_blink.stop();
}

void RichEditControl::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blink.timerId()) {
        m_caretOn = !m_caretOn;
        viewport()->update(caretViewportRect().toAlignedRect().adjusted(-2, -2, 2, 2));
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

void RichEditControl::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    resetBlink();
    viewport()->update();
    scheduleStateChanged();
}

void RichEditControl::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blink.stop();
    viewport()->update();
}

void RichEditControl::updateRulers()
{
    if (!m_rulers[0])
        return;
    int page = -1;
    if (m_story == MainStoryId)
        page = m_locator.caret(m_cursor.position()).page;
    else
        page = m_storyPage;
    RulerModel h;
    RulerModel v;
    if (page >= 0 && page < m_stack.count()) {
        const LayoutPage &p = m_layout->page(page);
        const QRectF r = m_stack.pageRect(page);
        const qreal s = m_stack.scale();
        h.valid = v.valid = true;
        h.scale = v.scale = s;
        h.unit = v.unit = measurementUnit();
        h.origin = r.left() - horizontalScrollBar()->value();
        v.origin = r.top() - verticalScrollBar()->value();
        h.length = int(p.setup.pageWidth);
        v.length = int(p.setup.pageHeight);
        h.marginStart = p.setup.margins.left;
        h.marginEnd = p.setup.margins.right;
        v.marginStart = int(p.bodyRect.top());
        v.marginEnd = int(p.setup.pageHeight - p.bodyRect.bottom());
        const QTextBlockFormat bf = m_cursor.blockFormat();
        const bool list = bf.intProperty(ModelProperty::ListInstance) > 0;
        h.leftIndent = bf.leftMargin();
        h.firstIndent = bf.leftMargin() + bf.textIndent();
        if (list)
            h.firstIndent = bf.leftMargin() + bf.textIndent();
        h.rightIndent = bf.rightMargin();
        for (const QTextOption::Tab &t : bf.tabPositions())
            h.tabs.append(t.position);
    }
    m_rulers[0]->setModel(h);
    m_rulers[1]->setModel(v);
}

void RichEditControl::applyRuler(RulerHandle handle, qreal twips, bool horizontal)
{
    if (handle == RulerHandle::MarginStart || handle == RulerHandle::MarginEnd) {
        int page = m_story == MainStoryId ? m_locator.caret(m_cursor.position()).page : m_storyPage;
        if (page < 0)
            return;
        const int section = m_layout->page(page).section;
        SectionProperties p = m_document.sectionProperties(section);
        const int value = int(std::lround(twips));
        if (horizontal) {
            if (handle == RulerHandle::MarginStart)
                p.margins.left = std::clamp(value, 0, p.pageWidth - p.margins.right - 720);
            else
                p.margins.right =
                    std::clamp(p.pageWidth - value, 0, p.pageWidth - p.margins.left - 720);
        } else {
            if (handle == RulerHandle::MarginStart)
                p.margins.top = std::clamp(value, 0, p.pageHeight - p.margins.bottom - 720);
            else
                p.margins.bottom =
                    std::clamp(p.pageHeight - value, 0, p.pageHeight - p.margins.top - 720);
        }
        m_document.setSectionProperties(section, p);
        return;
    }
    const qreal textStart = m_rulers[0]->model().marginStart;
    const qreal textEnd = m_rulers[0]->model().length - m_rulers[0]->model().marginEnd;
    QTextCursor c = m_cursor;
    c.beginEditBlock();
    for (QTextCursor r : selectionCursors()) {
        const int start = r.selectionStart();
        const int end = r.selectionEnd();
        QTextBlock b = r.document()->findBlock(start);
        while (b.isValid() && b.position() <= end) {
            QTextBlockFormat f = b.blockFormat();
            const qreal first = f.leftMargin() + f.textIndent();
            if (handle == RulerHandle::FirstIndent) {
                f.setTextIndent(twips - textStart - f.leftMargin());
            } else if (handle == RulerHandle::LeftIndent) {
                f.setLeftMargin(std::max<qreal>(0, twips - textStart));
                f.setTextIndent(first - f.leftMargin());
            } else if (handle == RulerHandle::RightIndent) {
                f.setRightMargin(std::max<qreal>(0, textEnd - twips));
            }
            QTextCursor(b).setBlockFormat(f);
            b = b.next();
        }
    }
    c.endEditBlock();
    updateRulers();
}

// ---- painting

void RichEditControl::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const bool paged = m_activeView == ViewType::PrintLayout;
    painter.fillRect(event->rect(), paged ? QColor(0xE3E5E8) : QColor(Qt::white));
    painter.setClipRect(event->rect());
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRectF visible = QRectF(event->rect()).translated(scroll);

    PagePainter::Options options;
    options.activeStory = m_story;
    for (const QTextCursor &c : selectionCursors()) {
        if (c.hasSelection() && m_story == MainStoryId)
            options.selections.append(DocumentRange{MainStoryId, c.selectionStart(),
                                                    c.selectionEnd() - c.selectionStart()});
    }
    const PagePainter pagePainter(m_layout);
    const qreal s = m_stack.scale();
    const int first = std::max(0, m_stack.pageAt(visible.topLeft()));
    for (int i = first; i < m_stack.count(); ++i) {
        const QRectF r = m_stack.pageRect(i);
        if (r.top() > visible.bottom())
            break;
        if (!r.intersects(visible))
            continue;
        const QRectF onScreen = r.translated(-scroll);
        if (paged) {
            painter.fillRect(onScreen.translated(2, 2), QColor(0, 0, 0, 40));
        }
        painter.save();
        painter.translate(onScreen.topLeft());
        painter.scale(s, s);
        painter.setClipRect(QRectF(QPointF(0, 0), m_layout->page(i).size()));
        options.area =
            QRectF(m_stack.toPage(i, visible.topLeft()), m_stack.toPage(i, visible.bottomRight()));
        pagePainter.paint(&painter, m_layout->page(i), options);
        if (m_story != MainStoryId && i == m_storyPage) {
            // The header or footer being edited, with its selection.
            QPointF origin;
            const bool textBox = m_document.storyKind(m_story) == StoryKind::TextBox;
            if (auto box = activeBox(i, &origin); box && textBox) {
                QList<std::pair<int, int>> ranges;
                if (m_cursor.hasSelection())
                    ranges.append({m_cursor.selectionStart(), m_cursor.selectionEnd()});
                // The box being edited: framed, with its selection.
                for (const PlacedObject &o : m_layout->page(i).objects) {
                    if (o.objectId != m_storyObject)
                        continue;
                    painter.fillRect(o.rect, Qt::white);
                    painter.setPen(QPen(QColor(0x2B579A), 15));
                    painter.drawRect(o.rect);
                }
                box->draw(&painter, origin, ranges, options.selectionColor);
            } else if (box) {
                const QRectF area(0, origin.y() - 120, m_layout->page(i).size().width(),
                                  box->height() + 240);
                painter.setPen(QPen(QColor(0x2B579A), 12, Qt::DashLine));
                painter.drawLine(area.bottomLeft(), area.bottomRight());
                QList<std::pair<int, int>> ranges;
                if (m_cursor.hasSelection())
                    ranges.append({m_cursor.selectionStart(), m_cursor.selectionEnd()});
                painter.fillRect(
                    QRectF(origin, QSizeF(m_layout->page(i).setup.textWidth(), box->height())),
                    Qt::white);
                box->draw(&painter, origin, ranges, options.selectionColor);
            }
        }
        painter.restore();
    }

    if (hasFocus() && m_caretOn && !m_cursor.hasSelection()) {
        QRectF caret = caretViewportRect();
        if (!caret.isNull()) {
            caret.setWidth(m_overwrite ? std::max<qreal>(2, caret.height() * 0.45)
                                       : std::max<qreal>(1.5, scale() * 20));
            QColor color = palette().text().color();
            if (m_overwrite)
                color.setAlpha(120);
            // An italic caret leans with the text.
            if (m_cursor.charFormat().fontItalic() && !m_overwrite) {
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(QPen(color, caret.width()));
                const qreal lean = caret.height() * 0.2;
                painter.drawLine(QPointF(caret.left() + lean, caret.top()),
                                 QPointF(caret.left(), caret.bottom()));
            } else {
                painter.fillRect(caret, color);
            }
        }
    }
    if (!m_preedit.isEmpty()) {
        const QRectF caret = caretViewportRect();
        QFont f = m_cursor.charFormat().font();
        f.setPixelSize(std::max(6, int(caret.height() * 0.75)));
        f.setUnderline(true);
        painter.setFont(f);
        painter.setPen(palette().text().color());
        painter.drawText(caret.bottomLeft() - QPointF(0, caret.height() * 0.22), m_preedit);
    }
}

// ---- keyboard

void RichEditControl::insertTyped(const QString &text)
{
    QTextCursor &c = m_cursor;
    c.beginEditBlock();
    if (m_overwrite && !c.hasSelection() && !c.atBlockEnd())
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, int(text.size()));
    c.insertText(text);
    c.endEditBlock();
}

void RichEditControl::insertParagraph()
{
    QTextCursor &c = m_cursor;
    c.beginEditBlock();
    c.removeSelectedText();
    const QTextBlockFormat current = c.blockFormat();
    QTextBlockFormat next = current;
    next.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    next.clearProperty(ModelProperty::ColumnBreakBefore);
    QTextCharFormat nextChar = c.charFormat();
    // A heading is followed by the style its definition names.
    const QString styleName = current.stringProperty(ModelProperty::ParagraphStyle);
    const Style *style = m_document.styles().find(styleName);
    if (c.atBlockEnd() && style && !style->next.isEmpty() && style->next != styleName) {
        next = m_document.styles().resolvedBlockFormat(style->next);
        next.setProperty(ModelProperty::ParagraphStyle, style->next);
        nextChar = m_document.styles().resolvedCharFormat(style->next);
    }
    c.insertBlock(next, nextChar);
    // A section ends with its last paragraph: the break mark moves on.
    if (current.hasProperty(ModelProperty::SectionBreak)) {
        QTextCursor prev(c.block().previous());
        QTextBlockFormat pf = prev.blockFormat();
        pf.clearProperty(ModelProperty::SectionBreak);
        prev.setBlockFormat(pf);
        QTextBlockFormat nf = c.blockFormat();
        nf.setProperty(ModelProperty::SectionBreak,
                       current.intProperty(ModelProperty::SectionBreak));
        c.setBlockFormat(nf);
    }
    c.endEditBlock();
}

void RichEditControl::insertPageBreak()
{
    if (m_story != MainStoryId)
        return;
    m_cursor.beginEditBlock();
    insertParagraph();
    QTextBlockFormat f = m_cursor.blockFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_cursor.setBlockFormat(f);
    m_cursor.endEditBlock();
}

bool RichEditControl::moveInTable(bool forward)
{
    QTextTable *table = m_cursor.currentTable();
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(m_cursor);
    int row = cell.row();
    int col = cell.column();
    if (forward) {
        col += cell.columnSpan();
        if (col >= table->columns()) {
            col = 0;
            row += cell.rowSpan();
        }
        if (row >= table->rows()) {
            table->appendRows(1);
            row = table->rows() - 1;
            col = 0;
        }
    } else {
        --col;
        if (col < 0) {
            col = table->columns() - 1;
            --row;
        }
        if (row < 0)
            return true;
    }
    const QTextTableCell target = table->cellAt(row, col);
    m_cursor.setPosition(target.firstCursorPosition().position());
    m_cursor.setPosition(target.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return true;
}

void RichEditControl::deleteBackward(bool word)
{
    if (!m_cursor.hasSelection() && word)
        m_cursor.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    if (m_cursor.hasSelection())
        m_cursor.removeSelectedText();
    else
        m_cursor.deletePreviousChar();
}

void RichEditControl::deleteForward(bool word)
{
    if (!m_cursor.hasSelection() && word)
        m_cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    if (m_cursor.hasSelection())
        m_cursor.removeSelectedText();
    else
        m_cursor.deleteChar();
}

void RichEditControl::moveVertically(int lines, QTextCursor::MoveMode mode)
{
    if (m_story != MainStoryId) {
        m_cursor.movePosition(lines < 0 ? QTextCursor::Up : QTextCursor::Down, mode);
        return;
    }
    int page = -1;
    const QRectF r = caretPageRect(&page);
    if (page < 0)
        return;
    if (m_desiredX < 0)
        m_desiredX = r.left();
    const int direction = lines < 0 ? -1 : 1;
    int pos =
        m_locator.lineBeyond(page, m_desiredX, direction > 0 ? r.bottom() : r.top(), direction);
    // Off the page's last or first line: the next or previous page.
    for (int next = page + direction; pos < 0 && next >= 0; next += direction) {
        m_layout->ensurePage(next);
        if (next >= m_layout->laidOutPageCount())
            break;
        const LayoutPage &np = m_layout->page(next);
        pos = m_locator.lineBeyond(next, m_desiredX,
                                   direction > 0 ? np.bodyRect.top() - 1 : np.bodyRect.bottom() + 1,
                                   direction);
        if (std::abs(next - page) > 2)
            break;
    }
    if (pos < 0)
        m_cursor.movePosition(direction < 0 ? QTextCursor::Start : QTextCursor::End, mode);
    else
        m_cursor.setPosition(pos, mode);
}

void RichEditControl::movePage(int direction, QTextCursor::MoveMode mode)
{
    const QRectF caret = caretViewportRect();
    const int step = viewport()->height() - 20;
    QScrollBar *v = verticalScrollBar();
    v->setValue(v->value() + direction * step);
    refreshGeometry();
    const QPointF at = caret.isNull() ? QPointF(viewport()->width() / 2.0, direction > 0 ? 20 : 0)
                                      : caret.center();
    const Hit hit = hitAt(QPointF(at.x(), std::clamp<qreal>(at.y(), 0, viewport()->height())));
    if (hit.page >= 0)
        m_cursor.setPosition(positionAt(hit), mode);
}

void RichEditControl::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const QTextCursor::MoveMode mode = shift ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (!vertical)
        m_desiredX = -1;
    if (!shift && !(ctrl && event->key() == Qt::Key_C))
        m_extraRanges.clear();
    // Typing that keeps the paragraph's line count repaints that paragraph
    // only; anything else repaints the view.
    const QTextBlock blockBefore = m_cursor.block();
    const int linesBefore = blockBefore.layout() ? blockBefore.layout()->lineCount() : -1;
    const int blocksBefore = m_cursor.document()->blockCount();
    const QRectF areaBefore = m_story == MainStoryId ? blockViewportRect(blockBefore) : QRectF();
    const bool hadSelection = m_cursor.hasSelection() || !m_extraRanges.isEmpty();

    const QKeyCombination chord(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier),
                                Qt::Key(event->key()));
    const struct
    {
        QKeyCombination chord;
        FileKey key;
    } fileKeys[] = {{Qt::ControlModifier | Qt::Key_N, FileKey::New},
                    {Qt::ControlModifier | Qt::Key_O, FileKey::Open},
                    {Qt::ControlModifier | Qt::Key_S, FileKey::Save},
                    {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_S, FileKey::SaveAs}};
    for (const auto &k : fileKeys) {
        if (chord == k.chord) {
            event->accept();
            if (m_fileKeys)
                m_fileKeys(k.key);
            return;
        }
    }

    if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::Cut) {
        cut();
    } else if (event == QKeySequence::Paste) {
        paste();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    } else if (event == QKeySequence::Undo) {
        undo();
    } else if (event == QKeySequence::Redo) {
        redo();
    } else {
        switch (event->key()) {
        case Qt::Key_Left:
            m_cursor.movePosition(ctrl ? QTextCursor::WordLeft : QTextCursor::Left, mode);
            break;
        case Qt::Key_Right:
            m_cursor.movePosition(ctrl ? QTextCursor::WordRight : QTextCursor::Right, mode);
            break;
        case Qt::Key_Up:
            if (ctrl)
                m_cursor.movePosition(QTextCursor::PreviousBlock, mode);
            else
                moveVertically(-1, mode);
            break;
        case Qt::Key_Down:
            if (ctrl)
                m_cursor.movePosition(QTextCursor::NextBlock, mode);
            else
                moveVertically(1, mode);
            break;
        case Qt::Key_Home:
            m_cursor.movePosition(ctrl ? QTextCursor::Start : QTextCursor::StartOfLine, mode);
            break;
        case Qt::Key_End:
            m_cursor.movePosition(ctrl ? QTextCursor::End : QTextCursor::EndOfLine, mode);
            break;
        case Qt::Key_PageUp:
            movePage(-1, mode);
            break;
        case Qt::Key_PageDown:
            movePage(1, mode);
            break;
        case Qt::Key_Insert:
            if (event->modifiers() == Qt::NoModifier)
                setOverwriteMode(!m_overwrite);
            break;
        case Qt::Key_Backspace:
            deleteBackward(ctrl);
            break;
        case Qt::Key_Delete:
            deleteForward(ctrl);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (ctrl)
                insertPageBreak();
            else if (shift)
                insertTyped(QString(QChar::LineSeparator));
            else
                insertParagraph();
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (!moveInTable(event->key() == Qt::Key_Tab && !shift))
                insertTyped(QStringLiteral("\t"));
            break;
        case Qt::Key_Escape:
            if (m_story != MainStoryId)
                returnToMainText();
            else
                event->ignore();
            return;
        default: {
            const QString text = event->text();
            if (!text.isEmpty() && !ctrl && text.at(0).isPrint()) {
                insertTyped(text);
                break;
            }
            event->ignore();
            return;
        }
        }
    }
    event->accept();
    const QTextBlock blockAfter = m_cursor.block();
    const bool local = m_story == MainStoryId && !hadSelection && !m_cursor.hasSelection() &&
                       blockAfter == blockBefore && !areaBefore.isNull() &&
                       m_cursor.document()->blockCount() == blocksBefore;
    cursorChanged(true, !local);
    if (local) {
        QRectF dirty = areaBefore | blockViewportRect(blockAfter);
        if (blockAfter.layout()->lineCount() != linesBefore)
            dirty.setBottom(viewport()->height());
        viewport()->update(dirty.toAlignedRect().adjusted(-2, -2, 2, 2));
    }
}

// ---- mouse

void RichEditControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const bool quick = m_lastClick.isValid() &&
                       m_lastClick.elapsed() < QApplication::doubleClickInterval() &&
                       (event->position().toPoint() - m_pressPoint).manhattanLength() < 5;
    m_clickCount = quick ? m_clickCount + 1 : 1;
    m_lastClick.start();
    m_pressPoint = event->position().toPoint();
    const Hit hit = hitAt(event->position());
    if (hit.page < 0)
        return;
    const bool editingBox = m_document.storyKind(m_story) == StoryKind::TextBox;
    const bool inStory =
        m_story == MainStoryId ? hit.area == Hit::Body && !textBoxAt(hit.page, hit.pagePoint)
        : editingBox
            ? textBoxAt(hit.page, hit.pagePoint) == m_storyObject && hit.page == m_storyPage
            : hit.area != Hit::Body && hit.page == m_storyPage;
    if (!inStory)
        return;
    const int pos = positionAt(hit);
    if (m_clickCount >= 3) {
        m_cursor.movePosition(QTextCursor::StartOfBlock);
        m_cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursorChanged(false);
        return;
    }
    const bool insideSelection = m_cursor.hasSelection() && pos >= m_cursor.selectionStart() &&
                                 pos < m_cursor.selectionEnd();
    if (insideSelection && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        m_mayDrag = true;
        return;
    }
    if (event->modifiers() & Qt::ControlModifier && m_story == MainStoryId) {
        if (m_cursor.hasSelection())
            m_extraRanges.append(m_cursor);
        m_cursor = QTextCursor(m_document.mainStory());
        m_cursor.setPosition(pos);
    } else if (event->modifiers() & Qt::ShiftModifier) {
        m_cursor.setPosition(pos, QTextCursor::KeepAnchor);
    } else {
        m_extraRanges.clear();
        m_cursor.setPosition(pos);
    }
    m_selecting = true;
    m_desiredX = -1;
    cursorChanged(false);
}

void RichEditControl::mouseMoveEvent(QMouseEvent *event)
{
    if (m_mayDrag && (event->position().toPoint() - m_pressPoint).manhattanLength() >=
                         QApplication::startDragDistance()) {
        m_mayDrag = false;
        auto *drag = new QDrag(this);
        drag->setMimeData(mimeForSelection());
        const QTextCursor source = m_cursor;
        if (drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction) == Qt::MoveAction &&
            drag->target() != viewport()) {
            QTextCursor(source).removeSelectedText();
        }
        cursorChanged();
        return;
    }
    if (!m_selecting || !(event->buttons() & Qt::LeftButton))
        return;
    const Hit hit = hitAt(event->position());
    if (hit.page < 0)
        return;
    m_cursor.setPosition(positionAt(hit), QTextCursor::KeepAnchor);
    if (m_clickCount == 2) {
        // Word-by-word extension after a double-click.
        m_cursor.movePosition(m_cursor.position() >= m_cursor.anchor() ? QTextCursor::EndOfWord
                                                                       : QTextCursor::StartOfWord,
                              QTextCursor::KeepAnchor);
    }
    cursorChanged();
}

void RichEditControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_mayDrag) {
        m_mayDrag = false;
        const Hit hit = hitAt(event->position());
        if (hit.page >= 0) {
            m_cursor.setPosition(positionAt(hit));
            cursorChanged(false);
        }
    }
    m_selecting = false;
}

void RichEditControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Hit hit = hitAt(event->position());
    if (hit.page < 0)
        return;
    if (m_activeView == ViewType::PrintLayout) {
        if (const int box = textBoxAt(hit.page, hit.pagePoint)) {
            if (m_story != m_document.floatingObject(box)->textBoxStory)
                editTextBox(hit.page, box);
            return;
        }
        if (m_document.storyKind(m_story) == StoryKind::TextBox) {
            returnToMainText();
            m_cursor.setPosition(positionAt(hit));
            cursorChanged(false);
            return;
        }
        if (m_story == MainStoryId && hit.area != Hit::Body) {
            editHeaderFooter(hit.page,
                             hit.area == Hit::Header ? StoryKind::Header : StoryKind::Footer);
            return;
        }
        if (m_story != MainStoryId && hit.area == Hit::Body) {
            returnToMainText();
            m_cursor.setPosition(positionAt(hit));
            cursorChanged(false);
            return;
        }
    }
    m_clickCount = 2;
    m_lastClick.start();
    m_pressPoint = event->position().toPoint();
    m_cursor.setPosition(positionAt(hit));
    m_cursor.select(QTextCursor::WordUnderCursor);
    m_selecting = true;
    cursorChanged(false);
}

void RichEditControl::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() > 0)
            zoomIn();
        else if (event->angleDelta().y() < 0)
            zoomOut();
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void RichEditControl::mergeCharFormat(const QTextCharFormat &format)
{
    QTextCursor edit = m_cursor;
    edit.beginEditBlock();
    for (QTextCursor c : selectionCursors()) {
        if (!c.hasSelection())
            c.select(QTextCursor::WordUnderCursor);
        c.mergeCharFormat(format);
    }
    m_cursor.mergeCharFormat(format);
    edit.endEditBlock();
    cursorChanged(false);
}

void RichEditControl::zoomIn()
{
    const float z = activeView()->zoomFactor();
    activeView()->setZoomFactor(std::round((z + ZoomStep) * 10.0f) / 10.0f);
}

void RichEditControl::zoomOut()
{
    const float z = activeView()->zoomFactor();
    activeView()->setZoomFactor(std::round((z - ZoomStep) * 10.0f) / 10.0f);
}

// ---- context menu, clipboard, drag and drop

void RichEditControl::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *cutAction = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-cut")), tr("Cu&t"),
                                        this, &RichEditControl::cut);
    cutAction->setEnabled(m_cursor.hasSelection());
    QAction *copyAction = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-copy")), tr("&Copy"),
                                         this, &RichEditControl::copy);
    copyAction->setEnabled(m_cursor.hasSelection());
    QAction *pasteAction = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-paste")),
                                          tr("&Paste"), this, &RichEditControl::paste);
    pasteAction->setEnabled(canPaste());
    menu.addSeparator();
    // The font, paragraph and hyperlink dialogs are not built yet.
    menu.addAction(tr("&Font..."))->setEnabled(false);
    menu.addAction(tr("P&aragraph..."))->setEnabled(false);
    menu.addAction(tr("&Hyperlink..."))->setEnabled(false);
    if (m_menuExtender)
        m_menuExtender(&menu, m_cursor);
    menu.exec(event->globalPos());
}

bool RichEditControl::canPaste() const
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    return mime && (mime->hasText() || mime->hasHtml() || mime->hasImage());
}

QMimeData *RichEditControl::mimeForSelection() const
{
    auto *mime = new QMimeData;
    const QTextDocumentFragment fragment(m_cursor);
    QString text = m_cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    mime->setText(text);
    mime->setHtml(fragment.toHtml());
    // A selected picture goes along as an image too.
    if (m_cursor.selectionEnd() - m_cursor.selectionStart() == 1) {
        QTextCursor c(m_cursor.document());
        c.setPosition(m_cursor.selectionEnd());
        const QTextCharFormat f = c.charFormat();
        if (f.isImageFormat()) {
            const QImage image =
                m_document.images().image(f.stringProperty(ModelProperty::ImageId));
            if (!image.isNull())
                mime->setImageData(image);
        }
    }
    return mime;
}

void RichEditControl::insertMime(QTextCursor &cursor, const QMimeData *mime)
{
    cursor.beginEditBlock();
    if (mime->hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        if (!image.isNull()) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            const QString id = m_document.images().add(png, QStringLiteral("png"));
            cursor.removeSelectedText();
            // Pixels at the screen's 96 dots per inch: 15 twips each.
            m_document.insertInlinePicture({m_story, cursor.position()}, id,
                                           QSizeF(image.width() * 15.0, image.height() * 15.0));
            cursor.endEditBlock();
            return;
        }
    }
    if (mime->hasHtml()) {
        cursor.insertFragment(QTextDocumentFragment::fromHtml(mime->html()));
    } else if (mime->hasText()) {
        cursor.insertText(mime->text());
    }
    cursor.endEditBlock();
}

void RichEditControl::copy()
{
    if (m_cursor.hasSelection())
        QApplication::clipboard()->setMimeData(mimeForSelection());
}

void RichEditControl::cut()
{
    if (!m_cursor.hasSelection())
        return;
    copy();
    m_cursor.removeSelectedText();
    cursorChanged();
}

void RichEditControl::paste()
{
    if (const QMimeData *mime = QApplication::clipboard()->mimeData()) {
        insertMime(m_cursor, mime);
        cursorChanged();
    }
}

void RichEditControl::selectAll()
{
    m_extraRanges.clear();
    m_cursor.select(QTextCursor::Document);
    cursorChanged(false);
}

void RichEditControl::newDocument()
{
    m_document.clear();
    m_saveOptions.currentFileName.clear();
    m_saveOptions.currentFormat = m_saveOptions.defaultFormat;
    cursorChanged(false);
}

void RichEditControl::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *m = event->mimeData();
    if (m->hasText() || m->hasHtml() || m->hasImage())
        event->acceptProposedAction();
}

void RichEditControl::dragMoveEvent(QDragMoveEvent *event)
{
    const Hit hit = hitAt(event->position());
    if (hit.page >= 0 && hit.area == Hit::Body && m_story == MainStoryId) {
        m_cursor.setPosition(positionAt(hit));
        viewport()->update();
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void RichEditControl::dropEvent(QDropEvent *event)
{
    const Hit hit = hitAt(event->position());
    if (hit.page < 0)
        return;
    QTextCursor target(m_document.mainStory());
    target.setPosition(positionAt(hit));
    const bool internalMove = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (internalMove) {
        // Moving inside the document: one undo step takes it back.
        QTextCursor source = m_cursor;
        if (target.position() >= source.selectionStart() &&
            target.position() <= source.selectionEnd())
            return;
        target.beginEditBlock();
        insertMime(target, event->mimeData());
        source.removeSelectedText();
        target.endEditBlock();
        event->setDropAction(Qt::CopyAction); // the source is already removed
    } else {
        insertMime(target, event->mimeData());
    }
    event->accept();
    m_cursor = target;
    cursorChanged();
}

// ---- input methods

void RichEditControl::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty())
        insertTyped(event->commitString());
    m_preedit = event->preeditString();
    event->accept();
    cursorChanged();
}

QVariant RichEditControl::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImCursorRectangle:
        return caretViewportRect().toAlignedRect().translated(viewport()->pos());
    case Qt::ImFont:
        return m_cursor.charFormat().font();
    case Qt::ImCursorPosition:
        return m_cursor.positionInBlock();
    case Qt::ImSurroundingText:
        return m_cursor.block().text();
    case Qt::ImCurrentSelection:
        return m_cursor.selectedText();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace richedit
