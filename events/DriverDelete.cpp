#include "DriverDelete.h"

#include "DriverDetails.h"
#include "MainContext.h"
#include "Platform.h"

#include <QAbstractItemView>
#include <QSqlQueryModel>
#include <QSqlRecord>

namespace kv {

void DeleteSelectedDriver(MainContext& main, QAbstractItemView& grid) {
    const auto* model = qobject_cast<const QSqlQueryModel*>(grid.model());
    const QModelIndex current = grid.currentIndex();
    if (!model || !current.isValid())
        return;
    const int column = model->record().indexOf(QStringLiteral("DriverID"));
    if (column < 0)
        return;
    const QVariant key = model->index(current.row(), column).data();
    if (key.isNull())
        return;
    if (MsgBox(QStringLiteral("Do you really want to delete this driver?"), MsgButtons::YesNo,
               MsgIcon::None, QStringLiteral("Delete driver")) != MsgResult::Yes)
        return;
    if (!MarkDriverDeleted(main.db(), key.toLongLong()))
        return;
    // The update is committed when Execute returns, so one fresh read of the
    // grid's own connection shows it.
    main.RefreshDriverGrid();
}

} // namespace kv
