#pragma once

#include <QString>
#include <QVariantList>

// SQL text with positional placeholders and the values bound to them, in the
// order the placeholders appear. Pieces are joined like text, so a query can be
// assembled from head, demand and exclusion pieces while no value ever becomes
// part of the text.
class BoundSql {
public:
    BoundSql() = default;
    explicit BoundSql(QString text, QVariantList values = {});

    const QString& text() const { return text_; }
    const QVariantList& values() const { return values_; }
    bool isEmpty() const { return text_.isEmpty(); }

    BoundSql& operator+=(const BoundSql& piece);
    friend BoundSql operator+(BoundSql left, const BoundSql& right) { return left += right; }

    // The text followed by one line per bound value, for error logs and the
    // draw check window.
    QString displayText() const;

private:
    QString text_;
    QVariantList values_;
};
