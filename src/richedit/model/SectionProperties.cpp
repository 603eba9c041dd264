#include "SectionProperties.h"

#include <algorithm>

namespace richedit {

int SectionProperties::columnWidth(int index) const
{
    const int count = std::max(1, columns.count);
    if (!columns.equalWidth && index < columns.columns.size())
        return columns.columns[index].width;
    return std::max(1, (textWidth() - (count - 1) * columns.spacing) / count);
}

int SectionProperties::columnLeft(int index) const
{
    if (!columns.equalWidth && !columns.columns.isEmpty()) {
        int x = 0;
        for (int i = 0; i < index && i < columns.columns.size(); ++i)
            x += columns.columns[i].width + columns.columns[i].spacing;
        return x;
    }
    return index * (columnWidth(0) + columns.spacing);
}

} // namespace richedit
