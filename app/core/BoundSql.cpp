#include "BoundSql.h"

BoundSql::BoundSql(QString text, QVariantList values)
    : text_(std::move(text)), values_(std::move(values)) {}

BoundSql& BoundSql::operator+=(const BoundSql& piece) {
    text_ += piece.text_;
    values_ += piece.values_;
    return *this;
}

QString BoundSql::displayText() const {
    QString out = text_;
    for (qsizetype i = 0; i < values_.size(); ++i) {
        const QVariant& v = values_[i];
        out += QStringLiteral("\n-- ?%1 = ").arg(i + 1);
        out += v.isNull() ? QStringLiteral("NULL") : "'" + v.toString() + "'";
    }
    return out;
}
