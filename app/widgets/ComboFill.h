#pragma once

#include <QString>
#include <QVariantList>

class QComboBox;

// Fills a combo box with the first column of every row of a query on the
// shared connection, in row order; clear empties it first. Query errors are
// shown and give false.
bool FillComboFromSql(const QString& sql, QComboBox* combo, bool clear,
                      const QVariantList& values = {});
