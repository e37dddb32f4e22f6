#include "controls/ListValues.h"

#include "controls/DataSource.h"
#include "store/Log.h"

namespace controls {

bool appendListValue(DataSource& source, const QString& field, const QString& text)
{
    store::Recordset* list = source.recordset();
    if (!list)
        return false;
    try {
        list->addNew();
        list->setValue(field, text);
        list->update();
    } catch (const store::StoreError&) {
        try {
            if (list->editMode() != store::EditMode::None)
                list->cancelUpdate();
        } catch (const store::StoreError& ignored) {
            store::logIgnored("cancelling a refused list value", ignored);
        }
        return false;
    }
    source.resync();
    return true;
}

}  // namespace controls
