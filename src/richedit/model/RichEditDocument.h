#pragma once

#include "DocumentPosition.h"
#include "DocumentSections.h"
#include "DocumentSettings.h"
#include "Field.h"
#include "FloatingObject.h"
#include "ImageStore.h"
#include "ListTable.h"
#include "SectionProperties.h"
#include "StyleSheet.h"
#include "TrackedRange.h"
#include "Units.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTextBlock>
#include <QUndoStack>

#include <functional>
#include <map>
#include <memory>

class QTextDocument;

namespace richedit {

// The document: its stories (each a QTextDocument), sections, styles, lists,
// fields, objects, pictures and settings, with one undo history for all.
//
// Sections are runs of the main story. The last block of each section but
// the final one carries ModelProperty::SectionBreak with the id of its
// properties; the final section's properties belong to the document.
class RichEditDocument : public QObject
{
    Q_OBJECT
public:
    explicit RichEditDocument(QObject *parent = nullptr);
    ~RichEditDocument() override;

    // An empty document with one section and the built-in styles; clean.
    void clear();

    // ---- stories
    QTextDocument *mainStory() const { return story(MainStoryId); }
    QTextDocument *story(int id) const;
    StoryKind storyKind(int id) const;
    int storyId(const QTextDocument *document) const;
    QList<int> storyIds() const;
    // A new empty story of the kind (header, footer or text box).
    int createStory(StoryKind kind);

    // ---- sections
    int sectionCount() const;
    SectionProperties sectionProperties(int index) const;
    // Undoable change of one section's properties.
    void setSectionProperties(int index, const SectionProperties &properties);
    // The same change outside the undo history, for programmatic set-up.
    void applySectionProperties(int index, const SectionProperties &properties);
    // The section holding a main-story block, and the block that ends a section.
    int sectionOfBlock(const QTextBlock &block) const;
    QTextBlock sectionEndBlock(int index) const;
    // Ends the current section at the paragraph holding `position`; the new
    // section that follows gets `type` and the current section's page setup.
    void insertSectionBreak(int position, SectionBreakType type);
    // Marks main-story blocks as section ends after a reader built them.
    void setSectionBreakBlock(const QTextBlock &block, const SectionProperties &properties);
    // Properties of the final section (the document's own).
    void setFinalSectionProperties(const SectionProperties &properties);

    // The header or footer story a section shows for `type`, following the
    // link to previous sections; 0 when there is none.
    int headerFooterStory(int section, StoryKind kind, HeaderFooterType type) const;
    // The section's own story for that kind and type, created when missing.
    int ensureHeaderFooter(int section, StoryKind kind, HeaderFooterType type);

    // ---- side tables
    StyleSheet &styles() { return m_styles; }
    const StyleSheet &styles() const { return m_styles; }
    ListTable &lists() { return m_lists; }
    const ListTable &lists() const { return m_lists; }
    ImageStore &images() { return m_images; }
    const ImageStore &images() const { return m_images; }

    int addField(Field field);
    const Field *field(int id) const;
    const QHash<int, Field> &fields() const { return m_fields; }
    // Inserts a field with its current result text at the position.
    int insertField(DocumentPosition position, const QString &instruction, const QString &result);

    int addFloatingObject(FloatingObject object);
    const FloatingObject *floatingObject(int id) const;
    const QHash<int, FloatingObject> &floatingObjects() const { return m_objects; }
    // Undoable change of an object's properties.
    void setFloatingObject(const FloatingObject &object);
    // Inserts the object's anchor character at the position.
    int insertFloatingObject(DocumentPosition position, FloatingObject object);
    // Inserts an inline picture of `size` twips.
    void insertInlinePicture(DocumentPosition position, const QString &imageId, QSizeF size);

    void addBookmark(const QString &name, DocumentRange range);
    bool removeBookmark(const QString &name);
    const QList<Bookmark> &bookmarks() const { return m_bookmarks; }
    const Bookmark *bookmark(const QString &name) const;

    void addPermission(const QString &id, const QString &editor, const QString &group,
                       DocumentRange range);
    const QList<PermissionRange> &permissions() const { return m_permissions; }

    const DocumentSettings &settings() const { return m_settings; }
    // Undoable.
    void setSettings(const DocumentSettings &settings);
    // Outside the undo history (readers).
    void applySettings(const DocumentSettings &settings);

    // ---- undo history and modified flag
    QUndoStack *undoStack() { return &m_undo; }
    // A change of side tables as one undo step; `apply` and `revert` make
    // the change and take it back.
    void pushEdit(const QString &text, std::function<void()> apply, std::function<void()> revert);
    bool isModified() const;
    void setModified(bool modified);
    void undo() { m_undo.undo(); }
    void redo() { m_undo.redo(); }

    // ---- document interface (lengths in measurementUnit())
    MeasurementUnit measurementUnit() const { return m_unit; }
    void setMeasurementUnit(MeasurementUnit unit) { m_unit = unit; }
    // The caret and the selections follow edits made after they were set.
    DocumentPosition caretPosition() const;
    void setCaretPosition(DocumentPosition position);
    // The selected ranges, at least one (empty at the caret).
    QList<DocumentRange> selections() const;
    void setSelections(const QList<DocumentRange> &ranges, DocumentPosition caret);
    DocumentRange insertText(DocumentPosition position, const QString &text);
    void deleteRange(DocumentRange range);
    SectionCollection sections() { return SectionCollection(this); }
    bool isSelectionInTable() const;
    bool isSelectionInHeaderOrFooter() const;

    // Raised after a reader replaced the whole content.
    void notifyReset();
    // Replaces this document's content with `source`'s (a reader's scratch
    // document), then notifyReset(). The main story object stays the same,
    // so views and layouts attached to it stay valid; `source` is left empty.
    void takeContent(RichEditDocument &source);

signals:
    void modifiedChanged(bool modified);
    void selectionChanged();
    void sectionsChanged();
    void settingsChanged();
    void objectsChanged();
    void storyCreated(int id);
    void documentReset();

private:
    struct StoryEntry
    {
        StoryKind kind;
        std::unique_ptr<QTextDocument> document;
    };
    // A cursor at a story position (clamped), null for an unknown story.
    QTextCursor cursorAt(DocumentPosition position) const;
    void attachStory(int id, StoryKind kind);
    void initStory(QTextDocument *doc, StoryKind kind);
    void rebuildSectionCache() const;
    int sectionPropertiesId(int index) const;
    void emitModifiedIfChanged();

    std::map<int, StoryEntry> m_stories;
    int m_nextStoryId = 1;

    QHash<int, SectionProperties> m_sectionProps; // by id
    int m_finalSectionId = 0;
    int m_nextSectionId = 1;
    mutable QList<QTextBlock> m_sectionEnds; // blocks carrying SectionBreak, in order
    mutable bool m_sectionCacheValid = false;

    StyleSheet m_styles;
    ListTable m_lists;
    ImageStore m_images;
    QHash<int, Field> m_fields;
    int m_nextFieldId = 1;
    QHash<int, FloatingObject> m_objects;
    int m_nextObjectId = 1;
    QList<Bookmark> m_bookmarks;
    QList<PermissionRange> m_permissions;
    DocumentSettings m_settings;

    QUndoStack m_undo;
    bool m_forcedModified = false;
    bool m_lastModified = false;

    MeasurementUnit m_unit = MeasurementUnit::Centimeter;
    int m_caretStory = MainStoryId;
    QTextCursor m_caret;              // position = the caret
    QList<TrackedRange> m_selections; // empty: the caret alone
};

} // namespace richedit
