#include "ResultRow.h"

#include "SqlRun.h"

QString ResultRow::insertSql() {
    return "INSERT INTO ProjectList (billid, expertID, expertName, TEL, Mobile, Employer, "
           "specialtyClass, state, ischeck, pf, dialcount, sms, ICNO, reType, reClass) VALUES "
           "(?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 1, ?, ?, ?, ?)";
}

QVariantList ResultRow::insertValues() const {
    auto copied = [](const QVariant& v) { return v.isNull() ? nullText() : v; };
    return {billID,
            expert.expertID,
            copied(expert.expertName),
            copied(expert.tel),
            copied(expert.mobile),
            copied(expert.employer),
            textValue(specialtyClass),
            kToBeContacted,
            textValue(sms),
            textValue(icno),
            textValue(reType),
            textValue(reClass)};
}
