#pragma once
// "Delete selected driver" under the driver grid of the Miscellaneous page:
// marks the driver of the grid's current row deleted.

class QAbstractItemView;

namespace kv {

class MainContext;

// Asks first; afterwards the grid is read again once. A grid without a current
// row deletes nothing.
void DeleteSelectedDriver(MainContext& main, QAbstractItemView& grid);

} // namespace kv
