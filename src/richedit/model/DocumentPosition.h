#pragma once

#include <QtGlobal>

namespace richedit {

// Story ids: the main text is 0; headers, footers and text boxes get their
// own ids from the document.
constexpr int MainStoryId = 0;

enum class StoryKind
{
    Main,
    Header,
    Footer,
    TextBox
};

// A position in one of the document's stories.
struct DocumentPosition
{
    int story = MainStoryId;
    int offset = 0;
    bool operator==(const DocumentPosition &) const = default;
};

struct DocumentRange
{
    int story = MainStoryId;
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    bool operator==(const DocumentRange &) const = default;
};

} // namespace richedit
