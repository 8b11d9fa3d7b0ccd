#include "ComboFill.h"

#include "DMsys.h"
#include "PromptService.h"
#include "Services.h"

#include <QComboBox>

bool FillComboFromSql(const QString& sql, QComboBox* combo, bool clear,
                      const QVariantList& values) {
    QStringList items;
    QString error;
    if (!SysDM || !SysDM->FirstColumnValues(sql, values, &items, &error)) {
        Services::prompt().error(error);
        return false;
    }
    if (clear)
        combo->clear();
    combo->addItems(items);
    return true;
}
