#include "RegisterGenerator.h"

#include "Clock.h"
#include "PinyinInitials.h"
#include "Services.h"
#include "SqlRun.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <random>

namespace {

const QStringList kSurnames{"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐",
                            "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗", "梁", "宋",
                            "郑", "谢", "韩", "唐", "冯", "于", "董", "萧", "程", "曹"};
const QStringList kGivenParts{"建", "国", "海", "燕", "志", "强", "丽", "华", "文", "杰",
                              "秀", "英", "平", "晓", "东", "明", "伟", "芳", "军", "敏",
                              "静", "磊", "洋", "勇", "艳", "涛", "超", "霞", "刚", "峰"};
const QStringList kCities{"南京", "苏州", "无锡", "常州", "镇江", "扬州",  "泰州",
                          "南通", "盐城", "淮安", "宿迁", "徐州", "连云港"};
const QStringList kIndustries{"建筑工程", "市政工程", "水利水电", "交通运输",
                              "信息技术", "医疗卫生", "环境保护", "电力能源",
                              "农业林业", "教育装备", "财务会计", "工程造价"};
const QStringList kRoots{"工程建设", "政府采购", "咨询服务", "机电设备"};
const QStringList kLeaves{"房屋建筑", "市政道路", "给排水",   "园林绿化", "计算机软件", "网络设备",
                          "医疗器械", "办公家具", "工程监理", "造价咨询", "招标代理",   "环境评估",
                          "电气设备", "暖通空调", "电梯",     "消防工程"};
const QStringList kEmployerKinds{
    "建筑设计研究院", "市政工程有限公司", "水利勘测设计院", "信息中心",       "人民医院",
    "会计师事务所",   "工程咨询有限公司", "交通规划设计院", "环境科学研究所", "电力设计院"};
const QStringList kClasses{"技术类", "经济类", "造价类"};
const QStringList kStates{"同意参加评标", "同意参加评标", "同意参加评标", "没时间", "联系不上"};

// Numbered names once the list of real ones is used up.
QString nameFrom(const QStringList& names, int n) {
    const qsizetype round = n / names.size();
    return names[n % names.size()] + (round ? QString::number(round + 1) : QString());
}

// Many rows per INSERT, every value bound. The statement for a full batch is
// prepared once; batches stay small because the SQLite driver looks up each
// placeholder by walking the list of all of them.
class BulkInsert {
public:
    BulkInsert(QSqlDatabase db, QString table, QStringList columns, QString* error)
        : db_(db), table_(std::move(table)), columns_(std::move(columns)), error_(error),
          full_(db) {}

    bool add(const QVariantList& row) {
        pending_ += row;
        if (++rows_ == kRowsPerStatement)
            return flush();
        return true;
    }

    bool flush() {
        if (rows_ == 0)
            return true;
        bool ok = true;
        QSqlQuery partial(db_);
        QSqlQuery* q = &partial;
        if (rows_ == kRowsPerStatement) {
            if (!fullPrepared_)
                fullPrepared_ = full_.prepare(statement(rows_));
            ok = fullPrepared_;
            q = &full_;
        } else {
            ok = partial.prepare(statement(rows_));
        }
        QString error;
        ok = ok && RunPrepared(*q, pending_, &error);
        if (!ok && error_)
            *error_ = (error.isEmpty() ? q->lastError().text() : error) + "\n" + table_;
        pending_.clear();
        rows_ = 0;
        return ok;
    }

private:
    static constexpr int kRowsPerStatement = 25;

    QString statement(int rows) const {
        const QString one = "(" + QStringList(columns_.size(), "?").join(", ") + ")";
        return "INSERT INTO " + table_ + " (" + columns_.join(", ") + ") VALUES " +
               QStringList(rows, one).join(", ");
    }

    QSqlDatabase db_;
    QString table_;
    QStringList columns_;
    QString* error_;
    QSqlQuery full_;
    bool fullPrepared_ = false;
    QVariantList pending_;
    int rows_ = 0;
};

} // namespace

RegisterGenerator::Shape RegisterGenerator::demo(const QDate& today) {
    Shape s;
    s.today = today;
    return s;
}

RegisterGenerator::Shape RegisterGenerator::benchmark(int experts, const QDate& today) {
    Shape s;
    s.experts = experts;
    s.industries = 200;
    s.specialtyRoots = 4;
    s.specialties = 500;
    s.employers = 5000;
    s.cities = 50;
    s.disabledPercent = 20;
    s.designatedPercent = 0;
    s.pastProjects = 2000;
    s.resultsPerPastProject = 10;
    s.upcomingProjects = 1;
    s.today = today;
    return s;
}

QString RegisterGenerator::upcomingBillID(int n) {
    return QStringLiteral("PRJ%1").arg(n + 1, 8, 10, QChar('0'));
}

QString RegisterGenerator::expertID(int n) {
    return QStringLiteral("%1").arg(n + 1, 4, 10, QChar('0'));
}

int RegisterGenerator::specialtyID(int n) {
    return 1000 + n;
}

QString RegisterGenerator::industryName(int n) {
    return nameFrom(kIndustries, n);
}

QString RegisterGenerator::employerName(int n) {
    const QString city = kCities[(n / kEmployerKinds.size()) % kCities.size()];
    const int round = n / static_cast<int>(kEmployerKinds.size() * kCities.size());
    return city + (round ? QStringLiteral("第%1").arg(round + 1) : QString()) +
           kEmployerKinds[n % kEmployerKinds.size()];
}

bool RegisterGenerator::fill(QSqlDatabase db, const Shape& shape, QString* error) {
    std::mt19937 gen(shape.seed);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    if (!BeginTransaction(db, error))
        return false;
    bool ok = true;

    BulkInsert tree(db, "SpecialityClass", {"pr_ID", "Pr_parent", "pr_name", "pr_code", "pr_info"},
                    error);
    for (int r = 0; r < shape.specialtyRoots && ok; ++r)
        ok = tree.add({r + 1, QVariant(QMetaType::fromType<int>()), nameFrom(kRoots, r),
                       QString::number(r + 1), QString()});
    for (int n = 0; n < shape.specialties && ok; ++n)
        ok = tree.add({specialtyID(n), n % shape.specialtyRoots + 1, nameFrom(kLeaves, n),
                       QString::number(specialtyID(n)), QString()});
    ok = ok && tree.flush();

    BulkInsert industries(db, "specialty", {"specialtyName", "specialtyNameNO"}, error);
    for (int n = 0; n < shape.industries && ok; ++n)
        ok = industries.add({industryName(n), QStringLiteral("%1").arg(n + 1, 4, 10, QChar('0'))});
    ok = ok && industries.flush();

    BulkInsert cities(db, "City", {"city"}, error);
    for (int n = 0; n < shape.cities && ok; ++n)
        ok = cities.add({nameFrom(kCities, n)});
    ok = ok && cities.flush();

    BulkInsert units(db, "Unit", {"unitCode", "UnitName", "UnitTel"}, error);
    for (int n = 0; n < shape.employers && ok; ++n)
        ok = units.add({QStringLiteral("%1").arg(n + 1, 5, 10, QChar('0')), employerName(n),
                        QStringLiteral("025-%1").arg(84000000 + n)});
    ok = ok && units.flush();

    BulkInsert experts(db, "expert",
                       {"expertID", "expertName", "PY", "sex", "birthday", "Employer", "Mobile",
                        "TEL", "specialty", "specialtyClass", "City", "enabled", "ischeck"},
                       error);
    BulkInsert links(db, "expertSpecialtyType", {"eid", "tid"}, error);
    for (int n = 0; n < shape.experts && ok; ++n) {
        const QString name = kSurnames[below(kSurnames.size())] +
                             kGivenParts[below(kGivenParts.size())] +
                             (below(3) ? kGivenParts[below(kGivenParts.size())] : QString());
        const int roll = below(100);
        const QString cls = kClasses[roll < 70 ? 0 : roll < 85 ? 1 : 2];
        ok = experts.add(
            {expertID(n), name, PinyinInitials(name), below(2) ? "女" : "男",
             QDateTime(QDate(1955 + below(40), 1 + below(12), 1 + below(28)), QTime(0, 0)),
             employerName(below(shape.employers)),
             QStringLiteral("139%1").arg(n, 8, 10, QChar('0')),
             QStringLiteral("025-%1").arg(83000000 + n), industryName(below(shape.industries)), cls,
             nameFrom(kCities, below(shape.cities)), below(100) >= shape.disabledPercent,
             below(100) < shape.designatedPercent ? 1 : 0});
        // Technical experts evaluate one to three specialties; a few of the
        // others also hold one.
        const int count = cls == kClasses[0] ? 1 + below(3) : (below(10) == 0 ? 1 : 0);
        int first = below(shape.specialties);
        for (int k = 0; k < count && ok; ++k)
            ok = links.add({expertID(n), specialtyID((first + k * 7) % shape.specialties)});
    }
    ok = ok && experts.flush() && links.flush();

    BulkInsert projects(db, "project",
                        {"BillID", "ProJectName", "ProjcetUnit", "EditDate", "PBBeginDate",
                         "PBENDDate", "KBDD", "city", "gap_day", "num3", "TypeName", "specialty",
                         "num", "num2", "IsSave"},
                        error);
    BulkInsert results(db, "ProjectList",
                       {"billid", "expertID", "expertName", "TEL", "Mobile", "Employer",
                        "specialtyClass", "state", "ischeck", "pf", "dialcount", "sms", "ICNO",
                        "reType", "reClass"},
                       error);
    const QTime nineOClock(9, 0);
    for (int p = 0; p < shape.pastProjects && ok; ++p) {
        const QString bill = QStringLiteral("HIS%1").arg(p + 1, 8, 10, QChar('0'));
        const QDate day = shape.today.addDays(-1 - below(365));
        ok = projects.add({bill, QStringLiteral("历史项目%1").arg(p + 1),
                           employerName(below(shape.employers)), QDateTime(day, nineOClock),
                           QDateTime(day, nineOClock), QDateTime(day, nineOClock),
                           QStringLiteral("开标室%1").arg(1 + below(5)), QString(), 0, 0, -1,
                           QString(), 0, 0, 1});
        for (int r = 0; r < shape.resultsPerPastProject && ok; ++r) {
            const int e = below(shape.experts);
            ok = results.add({bill, expertID(e), QString(), QString(),
                              QStringLiteral("139%1").arg(e, 8, 10, QChar('0')), QString(),
                              kClasses[0], kStates[below(kStates.size())], 1, 1, 1, QString(),
                              QString(), QString(), QString()});
        }
    }
    ok = ok && results.flush();

    BulkInsert demand(db, "ProjectSpeciality",
                      {"billID", "specialtyClass", "typeName", "typeNameText", "specialty", "num",
                       "AgreeNum", "finishNum"},
                      error);
    BulkInsert avoidedUnits(db, "projectHbdw", {"BillID", "bidderName"}, error);
    for (int p = 0; p < shape.upcomingProjects && ok; ++p) {
        const QString bill = upcomingBillID(p);
        const QDate day = shape.today.addDays(7 + p);
        ok = projects.add({bill, QStringLiteral("%1号楼工程评标").arg(p + 1),
                           employerName(below(shape.employers)), QDateTime(shape.today, nineOClock),
                           QDateTime(day, QTime(0, 0)), QDateTime(day, nineOClock),
                           QStringLiteral("开标一室"), QString(), 30, 2, -1, QString(), 0, 0, 0});
        const int leaf = below(shape.specialties);
        ok = ok && demand.add({bill, kClasses[0], specialtyID(leaf),
                               nameFrom(kRoots, leaf % shape.specialtyRoots) + "/" +
                                   nameFrom(kLeaves, leaf),
                               QString(), 3, 0, 0});
        ok = ok && demand.add({bill, kClasses[0], QVariant(QMetaType::fromType<int>()),
                               industryName(p), industryName(p), 2, 0, 0});
        ok = ok && demand.add({bill, kClasses[1], QVariant(QMetaType::fromType<int>()), kClasses[1],
                               QString(), 1, 0, 0});
        ok = ok && demand.add({bill, kClasses[2], QVariant(QMetaType::fromType<int>()), kClasses[2],
                               QString(), 1, 0, 0});
        ok = ok && avoidedUnits.add({bill, employerName(below(shape.employers))});
    }
    ok = ok && projects.flush() && demand.flush() && avoidedUnits.flush();

    return FinishTransaction(db, ok, error);
}

bool RegisterGenerator::fillDemo(QSqlDatabase db, QString* error) {
    return fill(db, demo(Services::clock().now().date()), error);
}
