#include "RichEditDocument.h"

#include "ModelProperty.h"
#include "StoryUndoCommand.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>

#include <algorithm>

namespace richedit {

static TrackedRange track(QTextDocument *doc, int storyId, DocumentRange range)
{
    TrackedRange t;
    t.story = storyId;
    t.cursor = QTextCursor(doc);
    const int last = doc->characterCount() - 1;
    t.cursor.setPosition(std::clamp(range.start, 0, last));
    t.cursor.setPosition(std::clamp(range.end(), 0, last), QTextCursor::KeepAnchor);
    return t;
}

RichEditDocument::RichEditDocument(QObject *parent) : QObject(parent)
{
    connect(&m_undo, &QUndoStack::indexChanged, this, [this](int index) {
        // Qt merges consecutive typing into a story's last step. Allow that
        // only for the story whose step is on top of the shared history and
        // only while it is not the saved state, so merged typing never hides
        // behind another step or behind the clean mark.
        // Undo and redo may bring section ends back.
        m_sectionCacheValid = false;
        const QUndoCommand *top = index > 0 ? m_undo.command(index - 1) : nullptr;
        const auto *storyTop = dynamic_cast<const StoryUndoCommand *>(top);
        const bool atClean = m_undo.isClean();
        for (auto &[id, entry] : m_stories) {
            Q_UNUSED(id);
            const bool mayMerge = !atClean && storyTop && storyTop->story() == entry.document.get();
            entry.document->setModified(mayMerge);
        }
        emitModifiedIfChanged();
    });
    connect(&m_undo, &QUndoStack::cleanChanged, this, [this] { emitModifiedIfChanged(); });
    clear();
}

RichEditDocument::~RichEditDocument() = default;

void RichEditDocument::clear()
{
    const bool wasModified = isModified();
    m_undo.clear();
    // The main story's QTextDocument lives as long as this object, so views
    // and layouts attached to it stay valid across New and Open.
    for (auto it = m_stories.begin(); it != m_stories.end();)
        it = it->first == MainStoryId ? std::next(it) : m_stories.erase(it);
    m_nextStoryId = 1;
    m_styles = StyleSheet();
    m_styles.addBuiltInStyles();
    if (m_stories.empty())
        attachStory(MainStoryId, StoryKind::Main);
    else
        initStory(mainStory(), StoryKind::Main);

    m_sectionProps.clear();
    m_nextSectionId = 1;
    m_finalSectionId = m_nextSectionId++;
    m_sectionProps.insert(m_finalSectionId, SectionProperties{});
    m_sectionCacheValid = false;

    m_lists.clear();
    m_images.clear();
    m_fields.clear();
    m_objects.clear();
    m_bookmarks.clear();
    m_permissions.clear();
    m_settings = DocumentSettings{};
    m_caretStory = MainStoryId;
    m_caret = QTextCursor(mainStory());
    m_selections.clear();

    m_undo.setClean();
    m_forcedModified = false;
    m_lastModified = wasModified;
    emitModifiedIfChanged();
    emit documentReset();
    emit selectionChanged();
}

void RichEditDocument::attachStory(int id, StoryKind kind)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    doc->setDocumentMargin(0);
    QTextDocument *raw = doc.get();
    initStory(raw, kind);
    connect(raw, &QTextDocument::undoCommandAdded, this,
            [this, raw] { m_undo.push(new StoryUndoCommand(raw)); });
    if (kind == StoryKind::Main) {
        connect(raw, &QTextDocument::contentsChange, this, [this](int, int removed, int) {
            // Only a removal can drop a section's end; new breaks come in
            // through insertSectionBreak and setSectionBreakBlock.
            if (removed > 0)
                m_sectionCacheValid = false;
        });
    }
    m_stories[id] = StoryEntry{kind, std::move(doc)};
}

void RichEditDocument::initStory(QTextDocument *doc, StoryKind kind)
{
    // New text starts in the Normal style; headers and footers without the
    // body's paragraph spacing. Setting this up is no edit to undo.
    doc->setUndoRedoEnabled(false);
    doc->clear();
    QTextCursor c(doc);
    QTextBlockFormat bf = m_styles.resolvedBlockFormat(StyleSheet::normalStyleName());
    bf.setProperty(ModelProperty::ParagraphStyle, StyleSheet::normalStyleName());
    if (kind == StoryKind::Header || kind == StoryKind::Footer)
        bf.setBottomMargin(0);
    c.setBlockFormat(bf);
    c.setBlockCharFormat(m_styles.resolvedCharFormat(StyleSheet::normalStyleName()));
    doc->setDefaultFont(m_styles.resolvedCharFormat(StyleSheet::normalStyleName()).font());
    doc->setUndoRedoEnabled(true);
}

QTextDocument *RichEditDocument::story(int id) const
{
    auto it = m_stories.find(id);
    return it == m_stories.end() ? nullptr : it->second.document.get();
}

StoryKind RichEditDocument::storyKind(int id) const
{
    auto it = m_stories.find(id);
    return it == m_stories.end() ? StoryKind::Main : it->second.kind;
}

int RichEditDocument::storyId(const QTextDocument *document) const
{
    for (const auto &[id, entry] : m_stories) {
        if (entry.document.get() == document)
            return id;
    }
    return -1;
}

QList<int> RichEditDocument::storyIds() const
{
    QList<int> ids;
    for (const auto &[id, entry] : m_stories) {
        Q_UNUSED(entry);
        ids.append(id);
    }
    return ids;
}

int RichEditDocument::createStory(StoryKind kind)
{
    const int id = m_nextStoryId++;
    attachStory(id, kind);
    emit storyCreated(id);
    return id;
}

// ---- sections

void RichEditDocument::rebuildSectionCache() const
{
    m_sectionEnds.clear();
    for (QTextBlock b = mainStory()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().hasProperty(ModelProperty::SectionBreak))
            m_sectionEnds.append(b);
    }
    // The very last block always ends the final section.
    if (!m_sectionEnds.isEmpty() && m_sectionEnds.last() == mainStory()->lastBlock())
        m_sectionEnds.removeLast();
    m_sectionCacheValid = true;
}

int RichEditDocument::sectionCount() const
{
    if (!m_sectionCacheValid)
        rebuildSectionCache();
    return int(m_sectionEnds.size()) + 1;
}

int RichEditDocument::sectionPropertiesId(int index) const
{
    if (!m_sectionCacheValid)
        rebuildSectionCache();
    if (index >= 0 && index < m_sectionEnds.size()) {
        const int id = m_sectionEnds[index].blockFormat().intProperty(ModelProperty::SectionBreak);
        if (m_sectionProps.contains(id))
            return id;
    }
    return m_finalSectionId;
}

SectionProperties RichEditDocument::sectionProperties(int index) const
{
    return m_sectionProps.value(sectionPropertiesId(index));
}

void RichEditDocument::applySectionProperties(int index, const SectionProperties &properties)
{
    m_sectionProps[sectionPropertiesId(index)] = properties;
    emit sectionsChanged();
}

void RichEditDocument::setSectionProperties(int index, const SectionProperties &properties)
{
    const int id = sectionPropertiesId(index);
    const SectionProperties old = m_sectionProps.value(id);
    if (old == properties)
        return;
    pushEdit(
        tr("Page setup"),
        [this, id, properties] {
            m_sectionProps[id] = properties;
            emit sectionsChanged();
        },
        [this, id, old] {
            m_sectionProps[id] = old;
            emit sectionsChanged();
        });
}

int RichEditDocument::sectionOfBlock(const QTextBlock &block) const
{
    if (!m_sectionCacheValid)
        rebuildSectionCache();
    const int pos = block.position();
    auto it = std::lower_bound(m_sectionEnds.cbegin(), m_sectionEnds.cend(), pos,
                               [](const QTextBlock &b, int p) { return b.position() < p; });
    return int(it - m_sectionEnds.cbegin());
}

QTextBlock RichEditDocument::sectionEndBlock(int index) const
{
    if (!m_sectionCacheValid)
        rebuildSectionCache();
    if (index >= 0 && index < m_sectionEnds.size())
        return m_sectionEnds[index];
    return mainStory()->lastBlock();
}

void RichEditDocument::insertSectionBreak(int position, SectionBreakType type)
{
    QTextCursor c(mainStory());
    c.setPosition(std::clamp(position, 0, mainStory()->characterCount() - 1));
    const int section = sectionOfBlock(c.block());
    SectionProperties current = sectionProperties(section);
    SectionProperties next = current;
    next.breakType = type;
    for (int i = 0; i < HeaderFooterTypeCount; ++i) {
        next.headers[i] = next.footers[i] = 0;
        next.headerLinkedToPrevious[i] = next.footerLinkedToPrevious[i] = true;
    }
    // The text before the break keeps the current properties under a new
    // id; the section after it (which keeps the old id) gets the break type.
    const int endId = m_nextSectionId++;
    const int oldId = sectionPropertiesId(section);
    m_undo.beginMacro(tr("Insert section break"));
    pushEdit(
        QString(),
        [this, endId, oldId, current, next] {
            m_sectionProps.insert(endId, current);
            m_sectionProps[oldId] = next;
        },
        [this, endId, oldId, current] {
            m_sectionProps.remove(endId);
            m_sectionProps[oldId] = current;
        });
    c.beginEditBlock();
    c.insertBlock();
    QTextCursor prev(c.block().previous());
    QTextBlockFormat f = prev.blockFormat();
    f.setProperty(ModelProperty::SectionBreak, endId);
    prev.setBlockFormat(f);
    QTextBlockFormat after = c.blockFormat();
    after.clearProperty(ModelProperty::SectionBreak);
    c.setBlockFormat(after);
    c.endEditBlock();
    m_undo.endMacro();
    m_sectionCacheValid = false;
    emit sectionsChanged();
}

void RichEditDocument::setSectionBreakBlock(const QTextBlock &block,
                                            const SectionProperties &properties)
{
    const int id = m_nextSectionId++;
    m_sectionProps.insert(id, properties);
    QTextCursor c(block);
    QTextBlockFormat f = block.blockFormat();
    f.setProperty(ModelProperty::SectionBreak, id);
    c.setBlockFormat(f);
    m_sectionCacheValid = false;
}

void RichEditDocument::setFinalSectionProperties(const SectionProperties &properties)
{
    m_sectionProps[m_finalSectionId] = properties;
    emit sectionsChanged();
}

int RichEditDocument::headerFooterStory(int section, StoryKind kind, HeaderFooterType type) const
{
    const int t = int(type);
    for (int s = std::min(section, sectionCount() - 1); s >= 0; --s) {
        const SectionProperties p = sectionProperties(s);
        const int id = kind == StoryKind::Header ? p.headers[t] : p.footers[t];
        if (id != 0)
            return id;
        const bool linked =
            kind == StoryKind::Header ? p.headerLinkedToPrevious[t] : p.footerLinkedToPrevious[t];
        if (!linked)
            return 0;
    }
    return 0;
}

int RichEditDocument::ensureHeaderFooter(int section, StoryKind kind, HeaderFooterType type)
{
    const int t = int(type);
    SectionProperties p = sectionProperties(section);
    int &slot = kind == StoryKind::Header ? p.headers[t] : p.footers[t];
    if (slot != 0)
        return slot;
    const int inherited = headerFooterStory(section, kind, type);
    if (inherited != 0)
        return inherited;
    slot = createStory(kind);
    setSectionProperties(section, p);
    return slot;
}

// ---- side tables

int RichEditDocument::addField(Field field)
{
    if (field.id == 0 || m_fields.contains(field.id))
        field.id = m_nextFieldId;
    m_nextFieldId = std::max(m_nextFieldId, field.id + 1);
    if (field.type == FieldType::Unknown)
        field.type = Field::parseType(field.instruction);
    m_fields.insert(field.id, field);
    return field.id;
}

const Field *RichEditDocument::field(int id) const
{
    auto it = m_fields.constFind(id);
    return it == m_fields.cend() ? nullptr : &it.value();
}

QTextCursor RichEditDocument::cursorAt(DocumentPosition position) const
{
    QTextDocument *doc = story(position.story);
    if (!doc)
        return QTextCursor();
    QTextCursor c(doc);
    c.setPosition(std::clamp(position.offset, 0, doc->characterCount() - 1));
    return c;
}

int RichEditDocument::insertField(DocumentPosition position, const QString &instruction,
                                  const QString &result)
{
    Field f;
    f.instruction = instruction;
    const int id = addField(f);
    QTextCursor c = cursorAt(position);
    if (c.isNull())
        return id;
    QTextCharFormat cf = c.charFormat();
    cf.setProperty(ModelProperty::FieldId, id);
    c.insertText(result, cf);
    return id;
}

int RichEditDocument::addFloatingObject(FloatingObject object)
{
    if (object.id == 0 || m_objects.contains(object.id))
        object.id = m_nextObjectId;
    m_nextObjectId = std::max(m_nextObjectId, object.id + 1);
    m_objects.insert(object.id, object);
    return object.id;
}

const FloatingObject *RichEditDocument::floatingObject(int id) const
{
    auto it = m_objects.constFind(id);
    return it == m_objects.cend() ? nullptr : &it.value();
}

void RichEditDocument::setFloatingObject(const FloatingObject &object)
{
    if (!m_objects.contains(object.id))
        return;
    const FloatingObject old = m_objects.value(object.id);
    pushEdit(
        tr("Object layout"),
        [this, object] {
            m_objects[object.id] = object;
            emit objectsChanged();
        },
        [this, old] {
            m_objects[old.id] = old;
            emit objectsChanged();
        });
}

int RichEditDocument::insertFloatingObject(DocumentPosition position, FloatingObject object)
{
    const int id = addFloatingObject(object);
    QTextCursor c = cursorAt(position);
    if (c.isNull())
        return id;
    QTextCharFormat cf = c.charFormat();
    cf.setObjectType(FloatingObjectTextFormat);
    cf.setProperty(ModelProperty::FloatingObjectId, id);
    c.insertText(QString(QChar::ObjectReplacementCharacter), cf);
    emit objectsChanged();
    return id;
}

void RichEditDocument::insertInlinePicture(DocumentPosition position, const QString &imageId,
                                           QSizeF size)
{
    QTextCursor c = cursorAt(position);
    if (c.isNull())
        return;
    QTextImageFormat f;
    f.merge(c.charFormat());
    f.setObjectType(QTextFormat::ImageObject);
    f.setName(imageId);
    f.setProperty(ModelProperty::ImageId, imageId);
    f.setWidth(size.width());
    f.setHeight(size.height());
    c.insertText(QString(QChar::ObjectReplacementCharacter), f);
}

void RichEditDocument::addBookmark(const QString &name, DocumentRange range)
{
    QTextDocument *doc = story(range.story);
    if (!doc || name.isEmpty())
        return;
    removeBookmark(name);
    m_bookmarks.append(Bookmark{name, track(doc, range.story, range)});
}

bool RichEditDocument::removeBookmark(const QString &name)
{
    for (qsizetype i = 0; i < m_bookmarks.size(); ++i) {
        if (m_bookmarks[i].name == name) {
            m_bookmarks.removeAt(i);
            return true;
        }
    }
    return false;
}

const Bookmark *RichEditDocument::bookmark(const QString &name) const
{
    for (const Bookmark &b : m_bookmarks) {
        if (b.name.compare(name, Qt::CaseInsensitive) == 0)
            return &b;
    }
    return nullptr;
}

void RichEditDocument::addPermission(const QString &id, const QString &editor, const QString &group,
                                     DocumentRange range)
{
    QTextDocument *doc = story(range.story);
    if (!doc)
        return;
    m_permissions.append(PermissionRange{id, editor, group, track(doc, range.story, range)});
}

void RichEditDocument::setSettings(const DocumentSettings &settings)
{
    const DocumentSettings old = m_settings;
    if (old == settings)
        return;
    pushEdit(
        tr("Document settings"), [this, settings] { applySettings(settings); },
        [this, old] { applySettings(old); });
}

void RichEditDocument::applySettings(const DocumentSettings &settings)
{
    m_settings = settings;
    emit settingsChanged();
}

// ---- undo history

void RichEditDocument::pushEdit(const QString &text, std::function<void()> apply,
                                std::function<void()> revert)
{
    m_undo.push(new ModelEditCommand(text, std::move(apply), std::move(revert)));
}

bool RichEditDocument::isModified() const
{
    return m_forcedModified || !m_undo.isClean();
}

void RichEditDocument::setModified(bool modified)
{
    if (modified) {
        m_forcedModified = true;
    } else {
        m_forcedModified = false;
        m_undo.setClean();
        for (auto &[id, entry] : m_stories) {
            Q_UNUSED(id);
            entry.document->setModified(false);
        }
    }
    emitModifiedIfChanged();
}

void RichEditDocument::emitModifiedIfChanged()
{
    const bool now = isModified();
    if (now != m_lastModified) {
        m_lastModified = now;
        emit modifiedChanged(now);
    }
}

// ---- document interface

DocumentPosition RichEditDocument::caretPosition() const
{
    return DocumentPosition{m_caretStory, m_caret.isNull() ? 0 : m_caret.position()};
}

QList<DocumentRange> RichEditDocument::selections() const
{
    QList<DocumentRange> out;
    for (const TrackedRange &r : m_selections)
        out.append(r.range());
    if (out.isEmpty())
        out.append(DocumentRange{m_caretStory, caretPosition().offset, 0});
    return out;
}

void RichEditDocument::setCaretPosition(DocumentPosition position)
{
    setSelections({DocumentRange{position.story, position.offset, 0}}, position);
}

void RichEditDocument::setSelections(const QList<DocumentRange> &ranges, DocumentPosition caret)
{
    QTextDocument *doc = story(caret.story);
    if (!doc) {
        caret = DocumentPosition{};
        doc = mainStory();
    }
    m_caretStory = caret.story;
    m_caret = QTextCursor(doc);
    m_caret.setPosition(std::clamp(caret.offset, 0, doc->characterCount() - 1));
    m_selections.clear();
    for (const DocumentRange &r : ranges) {
        if (QTextDocument *d = story(r.story))
            m_selections.append(track(d, r.story, r));
    }
    emit selectionChanged();
}

DocumentRange RichEditDocument::insertText(DocumentPosition position, const QString &text)
{
    QTextDocument *doc = story(position.story);
    if (!doc)
        return {position.story, position.offset, 0};
    QTextCursor c(doc);
    const int start = std::clamp(position.offset, 0, doc->characterCount() - 1);
    c.setPosition(start);
    c.insertText(text);
    return {position.story, start, c.position() - start};
}

void RichEditDocument::deleteRange(DocumentRange range)
{
    QTextDocument *doc = story(range.story);
    if (!doc || range.length <= 0)
        return;
    const int last = doc->characterCount() - 1;
    QTextCursor c(doc);
    c.setPosition(std::clamp(range.start, 0, last));
    c.setPosition(std::clamp(range.end(), 0, last), QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

bool RichEditDocument::isSelectionInTable() const
{
    return !m_caret.isNull() && m_caret.currentTable() != nullptr;
}

bool RichEditDocument::isSelectionInHeaderOrFooter() const
{
    const StoryKind k = storyKind(m_caretStory);
    return k == StoryKind::Header || k == StoryKind::Footer;
}

void RichEditDocument::notifyReset()
{
    m_sectionCacheValid = false;
    for (auto &[id, entry] : m_stories) {
        Q_UNUSED(id);
        entry.document->clearUndoRedoStacks();
    }
    m_undo.clear();
    m_undo.setClean();
    m_forcedModified = false;
    emitModifiedIfChanged();
    emit documentReset();
}

void RichEditDocument::takeContent(RichEditDocument &source)
{
    m_undo.clear();
    for (auto it = m_stories.begin(); it != m_stories.end();)
        it = it->first == MainStoryId ? std::next(it) : m_stories.erase(it);

    // The main story is copied; a fragment of the whole story is what
    // QTextDocument::clone uses, keeping tables, frames and user properties.
    QTextDocument *main = mainStory();
    const QTextDocument *from = source.mainStory();
    main->setUndoRedoEnabled(false);
    main->clear();
    main->setDefaultFont(from->defaultFont());
    main->rootFrame()->setFrameFormat(from->rootFrame()->frameFormat());
    QTextCursor c(main);
    c.insertFragment(QTextDocumentFragment(from));
    // insertFragment merges the first block into the existing empty one.
    QTextCursor first(main);
    first.setBlockFormat(from->begin().blockFormat());
    first.setBlockCharFormat(from->begin().charFormat());
    main->setUndoRedoEnabled(true);

    // Other stories move with their QTextDocument; their undo steps now feed
    // this document's history.
    for (auto it = source.m_stories.begin(); it != source.m_stories.end();) {
        if (it->first == MainStoryId) {
            ++it;
            continue;
        }
        QTextDocument *raw = it->second.document.get();
        disconnect(raw, nullptr, &source, nullptr);
        connect(raw, &QTextDocument::undoCommandAdded, this,
                [this, raw] { m_undo.push(new StoryUndoCommand(raw)); });
        m_stories[it->first] = std::move(it->second);
        it = source.m_stories.erase(it);
    }
    m_nextStoryId = source.m_nextStoryId;

    m_sectionProps = source.m_sectionProps;
    m_finalSectionId = source.m_finalSectionId;
    m_nextSectionId = source.m_nextSectionId;
    m_sectionCacheValid = false;
    m_styles = source.m_styles;
    m_lists = source.m_lists;
    m_images = source.m_images;
    m_fields = source.m_fields;
    m_nextFieldId = source.m_nextFieldId;
    m_objects = source.m_objects;
    m_nextObjectId = source.m_nextObjectId;
    m_settings = source.m_settings;
    // Ranges of the main story follow it into the copy.
    auto retarget = [this](TrackedRange r) {
        return r.story == MainStoryId ? track(mainStory(), MainStoryId, r.range()) : r;
    };
    m_bookmarks.clear();
    for (const Bookmark &b : std::as_const(source.m_bookmarks))
        m_bookmarks.append(Bookmark{b.name, retarget(b.range)});
    m_permissions.clear();
    for (const PermissionRange &p : std::as_const(source.m_permissions))
        m_permissions.append(PermissionRange{p.id, p.editor, p.group, retarget(p.range)});
    m_caretStory = MainStoryId;
    m_caret = QTextCursor(mainStory());
    m_selections.clear();
    source.clear();
    notifyReset();
    emit sectionsChanged();
    emit settingsChanged();
    emit objectsChanged();
    emit selectionChanged();
}

// ---- section handles

int SectionCollection::count() const
{
    return m_document->sectionCount();
}

float SectionMargins::get(int which) const
{
    const PageMargins m = m_document->sectionProperties(m_section).margins;
    const int twips = which == 0 ? m.left : which == 1 ? m.right : which == 2 ? m.top : m.bottom;
    return float(fromTwips(twips, m_document->measurementUnit()));
}

void SectionMargins::set(int which, float value)
{
    SectionProperties p = m_document->sectionProperties(m_section);
    const int twips = toTwips(value, m_document->measurementUnit());
    int &slot = which == 0   ? p.margins.left
                : which == 1 ? p.margins.right
                : which == 2 ? p.margins.top
                             : p.margins.bottom;
    slot = twips;
    m_document->applySectionProperties(m_section, p);
}

float SectionMargins::left() const
{
    return get(0);
}
float SectionMargins::right() const
{
    return get(1);
}
float SectionMargins::top() const
{
    return get(2);
}
float SectionMargins::bottom() const
{
    return get(3);
}
void SectionMargins::setLeft(float value)
{
    set(0, value);
}
void SectionMargins::setRight(float value)
{
    set(1, value);
}
void SectionMargins::setTop(float value)
{
    set(2, value);
}
void SectionMargins::setBottom(float value)
{
    set(3, value);
}

} // namespace richedit
