#pragma once

#include <vector>

namespace richedit {

// Where filling a flow (the main text, or a table cell's content) goes on:
// the item at `position` (a block, or a table starting there), the lines of
// that block already placed, or the table row and each cell's own resume
// point when a row continues on the next page.
struct FlowPosition
{
    int position = 0;
    int line = 0;
    int row = -1;                    // >= 0: inside the table at `position`
    std::vector<FlowPosition> cells; // per cell of `row` that continues; empty: row starts fresh
    bool finished = false;           // nothing left in the flow

    bool operator==(const FlowPosition &) const = default;

    // Keeps the position valid across an edit of the story.
    void shift(int from, int removed, int added)
    {
        if (position > from)
            position = position >= from + removed ? position - removed + added : from;
        for (FlowPosition &c : cells)
            c.shift(from, removed, added);
    }
};

} // namespace richedit
