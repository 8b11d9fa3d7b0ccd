#include "DMsys.h"

#include "AppHome.h"
#include "DataLink.h"
#include "PromptService.h"
#include "Services.h"
#include "SqlDialect.h"
#include "SqlRun.h"
#include "SqliteJournal.h"
#include "draw/DrawEngine.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>

TSysDM* SysDM = nullptr;

TSysDM::TSysDM(QObject* parent)
    : QObject(parent), qrysp_(new QSqlQueryModel(this)),
      draw_(std::make_unique<DrawEngine>(context_)) {
    SysDM = this;
}

TSysDM::~TSysDM() {
    CloseConnection();
    if (SysDM == this)
        SysDM = nullptr;
}

bool TSysDM::isConnected() const {
    return ADOCon().isOpen();
}

void TSysDM::CloseConnection() {
    qrysp_->setQuery(QSqlQuery());
    if (!QSqlDatabase::contains(kConnectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(kConnectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnectionName);
}

bool TSysDM::OpenDatabase(DbEngine engine, const std::function<void(QSqlDatabase&)>& configure,
                          QString* error) {
    CloseConnection();
    context_.setEngine(engine);
    QSqlDatabase db =
        QSqlDatabase::addDatabase(SqlDialect::forEngine(engine).qtDriver(), kConnectionName);
    if (!db.isValid()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    configure(db);
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    // The desktop file's journal depends on where the file lies.
    QStringList settings;
    if (engine == DbEngine::Sqlite)
        settings = SqliteJournal::settings(SqliteJournal::modeFor(db.databaseName()));
    ADOConAfterConnect(settings);
    return true;
}

bool TSysDM::OpenAccessDatabase(const QString& relativePath) {
    const QString file = AppHome::path(relativePath);
    QString error;
    bool ok = false;
    // SQLite would quietly create a missing file; the program never creates
    // its database.
    if (!QFileInfo(file).isFile()) {
        error = QStringLiteral("数据库文件不存在：%1").arg(file);
    } else {
        ok = OpenDatabase(
            DbEngine::Sqlite,
            [&](QSqlDatabase& db) {
                db.setDatabaseName(file);
                db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
            },
            &error);
        if (ok) {
            QSqlQuery probe(ADOCon());
            if (!probe.exec("SELECT COUNT(*) FROM UserName")) {
                error = probe.lastError().text();
                ok = false;
            }
        }
    }
    if (!ok) {
        CloseConnection();
        Services::prompt().error(QStringLiteral("无法打开数据库，请确定程序安装正确！") + error);
        return false;
    }
    announceMissingAuditTables();
    return true;
}

bool TSysDM::OpenServerDatabase(const QString& dataLinkPath, QString* error) {
    const auto link = DataLink::fromFile(dataLinkPath, error);
    if (!link) {
        CloseConnection();
        return false;
    }
    const bool ok = OpenDatabase(
        link->engine(), [&](QSqlDatabase& db) { link->configure(db); }, error);
    if (!ok) {
        CloseConnection();
        return false;
    }
    announceMissingAuditTables();
    return true;
}

void TSysDM::ADOConAfterConnect(const QStringList& settings) {
    for (const QString& setting : settings)
        QSqlQuery(ADOCon()).exec(setting);
    draw_->forgetAuditCheck();
    qrysp_->setQuery(QSqlQuery("select * from specialty", ADOCon()));
    emit connected();
}

void TSysDM::announceMissingAuditTables() {
    const QString missing = draw_->checkAuditTables();
    if (!missing.isEmpty())
        Services::prompt().warning(DrawEngine::missingAuditTablesMessage(missing));
}

QString TSysDM::missingAuditTables() const {
    return draw_->missingAuditTables();
}

bool TSysDM::isPlainIdentifier(const QString& name) {
    static const QRegularExpression re("^[A-Za-z_][A-Za-z0-9_]*$");
    return re.match(name).hasMatch();
}

QString TSysDM::NextSerialCode(const QString& table, const QString& column, const QString& prefix,
                               int width) {
    const QString pre = prefix.trimmed();
    QString sql = "SELECT " + column + " As A FROM " + table;
    if (!pre.isEmpty())
        sql += " WHERE " + column + " LIKE ? ESCAPE '\\'";
    sql += " ORDER BY " + column + " DESC";
    QVariantList values;
    if (!pre.isEmpty()) {
        QString pattern = pre;
        pattern.replace('\\', "\\\\").replace('%', "\\%").replace('_', "\\_");
        values << pattern + '%';
    }
    QSqlQuery q(ADOCon());
    q.setForwardOnly(true);
    if (!isPlainIdentifier(table) || !isPlainIdentifier(column) ||
        !RunBound(q, sql, values, nullptr)) {
        Services::prompt().error(QStringLiteral("SQL语句执行有错,请重试!") + sql);
        return {};
    }
    qlonglong number = 0;
    while (q.next()) {
        const QString v = q.value(0).toString().trimmed();
        if (v.size() != pre.size() + width)
            continue;
        const QString digits = v.right(width);
        bool allDigits = !digits.isEmpty();
        for (QChar c : digits)
            allDigits = allDigits && c >= '0' && c <= '9';
        if (!allDigits)
            continue;
        number = digits.toLongLong();
        break;
    }
    return pre + QStringLiteral("%1").arg(number + 1, width, 10, QChar('0'));
}

bool TSysDM::FirstColumnValues(const QString& sql, const QVariantList& values, QStringList* out,
                               QString* error) {
    QSqlQuery q(ADOCon());
    q.setForwardOnly(true);
    if (!RunBound(q, sql, values, error))
        return false;
    while (q.next())
        out->append(q.value(0).toString());
    return true;
}

bool TSysDM::UserHasRight(const QString& rightColumn) {
    if (!isPlainIdentifier(rightColumn))
        return false;
    QSqlQuery q(ADOCon());
    q.setForwardOnly(true);
    if (!RunBound(q, "Select * from userName where UserName = ?", {currentUser()}, nullptr) ||
        !q.next())
        return false;
    const int field = q.record().indexOf(rightColumn);
    return field >= 0 && q.value(field).toBool();
}

bool UserHasRight(const QString& rightColumn) {
    return SysDM && SysDM->UserHasRight(rightColumn);
}

namespace {

// Shows what a draw operation did not do: a refusal as a hint, an error as one.
bool shown(const DrawEngine::Outcome& outcome) {
    if (outcome.status == DrawEngine::Status::Refused)
        Services::prompt().warning(outcome.message);
    else if (outcome.status == DrawEngine::Status::Failed)
        Services::prompt().error(outcome.message);
    return outcome.ok();
}

} // namespace

bool TSysDM::RunDraw(const QString& billID) {
    return shown(draw_->runDraw(billID));
}

QString TSysDM::DrawReplacement(const QString& mobile, const QString& billID) {
    QString result;
    if (!shown(draw_->drawReplacement(mobile, billID, &result)))
        return {};
    return result;
}

bool TSysDM::HasDemand(const QString& billID) {
    bool has = false;
    return shown(draw_->hasDemand(billID, &has)) && has;
}

bool TSysDM::OpenClassPool(const QString& billID, const QString& specialtyClass) {
    return shown(draw_->openClassPool(billID, specialtyClass));
}

bool TSysDM::OpenSpecialtyPool(const QString& billID, const QString& typeName) {
    return shown(draw_->openSpecialtyPool(billID, typeName));
}

void TSysDM::RemoveCurrentCandidate() {
    draw_->removeCurrentCandidate();
}

CandidatePool& TSysDM::qryTypeSeek() {
    return draw_->qryTypeSeek();
}

void TSysDM::setDrawProgress(DrawProgress* progress) {
    draw_->setProgress(progress);
}
