#include "ResultRow.h"

#include "SqlRun.h"

QString ResultRow::insertSql() {
    return "INSERT INTO ProjectList (billid, expertID, expertName, TEL, Mobile, Employer, "
           "specialtyClass, state, ischeck, pf, dialcount, sms, ICNO, reType, reClass) SELECT ?, "
           "expertID, expertName, TEL, Mobile, Employer, ?, ?, 1, 1, 1, ?, ?, ?, ? FROM expert "
           "WHERE expertID = ?";
}

QVariantList ResultRow::insertValues() const {
    return {billID,          textValue(specialtyClass), kToBeContacted,     textValue(sms),
            textValue(icno), textValue(reType),         textValue(reClass), expert.expertID};
}
