// Moving through the rows of a list: a list box, a list view, the opened list of a combo box.
// Rows count from 0; -1 stands for no row. `page` is the number of rows the list shows.
#pragma once

#include <optional>

namespace platform::controls {

// The row a navigation key takes the user to from `current` (-1: none yet, when the arrows go to
// the first row): the arrows one row, Page Up / Down a page less one row (at least one), Home and
// End the first and last row; always within the `count` rows. nullopt for any other key and for
// an empty list.
[[nodiscard]] std::optional<int> RowAfterKey(int key, int current, int page, int count);

// The first row to show, moved from `top` just enough that `row` is in view; `top` itself when
// `row` is -1.
[[nodiscard]] int TopShowing(int row, int top, int page);

// `top` kept within 0 .. count - page, so that the last page is full where the rows allow.
[[nodiscard]] int ClampTop(int top, int count, int page);

// Keep `*row` (-1: none) on the same item when a row was inserted at `inserted` (-1: the insert
// failed) or when the row `removed` was deleted; the deleted row itself becomes -1.
void FollowInsert(int* row, int inserted);
void FollowRemove(int* row, int removed);

}  // namespace platform::controls
