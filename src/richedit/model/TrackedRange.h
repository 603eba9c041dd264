#pragma once

#include "DocumentPosition.h"

#include <QString>
#include <QTextCursor>

namespace richedit {

// A range of a story that follows edits around it (QTextCursor keeps its
// anchor and position up to date as text is inserted and removed).
struct TrackedRange
{
    int story = MainStoryId;
    QTextCursor cursor; // anchor = start, position = end

    DocumentRange range() const
    {
        return {story, cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
    }
};

struct Bookmark
{
    QString name;
    TrackedRange range;
};

// A range that a user or group may edit while the document is protected.
struct PermissionRange
{
    QString id;
    QString editor; // user name, or empty with a group
    QString group;  // "everyone", ...
    TrackedRange range;
};

} // namespace richedit
