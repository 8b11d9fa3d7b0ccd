// Times the initial draw (pacing off) on a generated register, one line per
// case: "draw engine=sqlite experts=100000 draw_ms=123.4 pool_ms=5.6".
//   bench_draw            10 000, 100 000 and 1 000 000 experts on SQLite and,
//                         when PANELPICK_TEST_PG names a server, PostgreSQL
//   bench_draw --quick    only 100 000 experts on SQLite
//   bench_draw --experts 10000,100000 [--engine sqlite|postgres]
#include "CandidatePool.h"
#include "CandidateRules.h"
#include "DMsys.h"
#include "DemandRow.h"
#include "DrawProject.h"
#include "RegisterGenerator.h"
#include "Services.h"
#include "TestDatabase.h"
#include "Waiter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class NoWait : public Waiter {
public:
    void wait(int) override {}
};

const QString kBill = QStringLiteral("BENCH0001");
const QDate kToday(2026, 1, 5);

struct Figures {
    double drawMs = 0;
    double poolMs = 0;
    double fillS = 0;
};

bool exec(QSqlDatabase db, const QString& sql, const QVariantList& values) {
    QSqlQuery q(db);
    if (!q.prepare(sql))
        return false;
    for (const QVariant& v : values)
        q.addBindValue(v);
    return q.exec();
}

// 10 demand rows, 60 experts: six by specialty, two by industry, one each of
// the two other classes; gap_day 30, num3 2 and 20 avoided units.
std::vector<DemandRow> addDrawProject(QSqlDatabase db) {
    exec(db,
         "insert into project (BillID, ProJectName, PBBeginDate, PBENDDate, city, gap_day, num3, "
         "TypeName, IsSave) values (?, ?, ?, ?, '', 30, 2, -1, 0)",
         {kBill, "基准项目", QDateTime(kToday.addDays(3), QTime(9, 0)),
          QDateTime(kToday.addDays(3), QTime(9, 0))});
    for (int u = 0; u < 20; ++u)
        exec(db, "insert into projectHbdw (BillID, bidderName) values (?, ?)",
             {kBill, RegisterGenerator::employerName(u * 97)});
    std::vector<DemandRow> rows;
    for (int r = 0; r < 6; ++r)
        rows.push_back({0, "技术类", RegisterGenerator::specialtyID(r * 41), "专业", "", 6});
    for (int r = 0; r < 2; ++r)
        rows.push_back(
            {0, "技术类", QVariant(), "行业", RegisterGenerator::industryName(r * 13), 6});
    rows.push_back({0, "经济类", QVariant(), "经济类", "", 6});
    rows.push_back({0, "造价类", QVariant(), "造价类", "", 6});
    for (const DemandRow& d : rows)
        exec(db,
             "insert into ProjectSpeciality (billID, specialtyClass, typeName, typeNameText, "
             "specialty, num, AgreeNum, finishNum) values (?, ?, ?, ?, ?, ?, 0, 0)",
             {kBill, d.specialtyClass,
              d.typeName.isValid() ? d.typeName : QVariant(QMetaType::fromType<int>()),
              d.typeNameText, d.specialty, d.num});
    return rows;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool runCase(DbEngine engine, int experts, Figures* out) {
    TestDatabase db(engine);
    if (!db.ok()) {
        std::fprintf(stderr, "cannot create the database: %s\n", qPrintable(db.error()));
        return false;
    }
    QSqlDatabase con = db.dm().ADOCon();
    QElapsedTimer t;
    t.start();
    QString error;
    if (!RegisterGenerator::fill(con, RegisterGenerator::benchmark(experts, kToday), &error)) {
        std::fprintf(stderr, "cannot fill the register: %s\n", qPrintable(error));
        return false;
    }
    const std::vector<DemandRow> rows = addDrawProject(con);
    if (engine == DbEngine::Postgres)
        QSqlQuery(con).exec("ANALYZE"); // a statement no server prepares
    out->fillS = t.elapsed() / 1000.0;

    std::vector<double> pools;
    for (int round = 0; round < 3; ++round) {
        DrawProject project;
        DrawProject::OpenProject(con, kBill, &project, &error);
        const CandidateRules rules(db.dm().dialect());
        const BoundSql exclusion = rules.BuildExclusionClause(project);
        for (const DemandRow& d : rows) {
            t.restart();
            const auto demand = rules.forDemandRow(d, kBill);
            CandidatePool pool;
            if (!pool.open(con, CandidateRules::fullQuery(demand.head, demand.clause, exclusion),
                           &error)) {
                std::fprintf(stderr, "pool failed: %s\n", qPrintable(error));
                return false;
            }
            pools.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    std::vector<double> draws;
    for (int round = 0; round < 5; ++round) {
        exec(con, "delete from ProjectList where billid = ?", {kBill});
        t.restart();
        if (!db.dm().RunDraw(kBill))
            return false;
        draws.push_back(t.nsecsElapsed() / 1e6);
    }
    QSqlQuery q(con);
    q.prepare("select COUNT(*) from ProjectList where billid = ?");
    q.addBindValue(kBill);
    if (q.exec() && q.next() && q.value(0).toInt() != 60)
        std::fprintf(stderr, "note: the draw found %d of 60 experts\n", q.value(0).toInt());
    out->drawMs = median(draws);
    double sum = 0;
    for (double p : pools)
        sum += p;
    out->poolMs = sum / pools.size();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    NoWait noWait;
    Services::setWaiter(&noWait);

    QList<int> sizes{10000, 100000, 1000000};
    QList<DbEngine> engines{DbEngine::Sqlite};
    if (TestDatabase::postgresAvailable())
        engines << DbEngine::Postgres;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--quick") {
            sizes = {100000};
            engines = {DbEngine::Sqlite};
        } else if (args[i] == "--experts" && i + 1 < args.size()) {
            sizes.clear();
            for (const QString& n : args[++i].split(','))
                sizes << n.toInt();
        } else if (args[i] == "--engine" && i + 1 < args.size()) {
            engines = {args[++i] == "postgres" ? DbEngine::Postgres : DbEngine::Sqlite};
        } else {
            std::fprintf(stderr, "usage: bench_draw [--quick] [--experts N,N] [--engine E]\n");
            return 2;
        }
    }
    int failures = 0;
    for (DbEngine engine : engines) {
        for (int experts : sizes) {
            Figures f;
            if (!runCase(engine, experts, &f)) {
                ++failures;
                continue;
            }
            std::printf("draw engine=%s experts=%d draw_ms=%.1f pool_ms=%.1f fill_s=%.1f\n",
                        engine == DbEngine::Postgres ? "postgres" : "sqlite", experts, f.drawMs,
                        f.poolMs, f.fillS);
            std::fflush(stdout);
        }
    }
    return failures ? 1 : 0;
}
