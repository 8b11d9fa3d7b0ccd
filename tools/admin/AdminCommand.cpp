#include "AdminCommand.h"

#include "AppHome.h"
#include "ConfigIni.h"
#include "ConsolePrompt.h"
#include "DMsys.h"
#include "DrawAudit.h"
#include "DrawEngine.h"
#include "ProjectDraw.h"
#include "Services.h"
#include "Waiter.h"

namespace {

constexpr char kUsage[] = "usage: panelpick-admin draw BILLID [--redraw]\n"
                          "       panelpick-admin audit BILLID\n";

// The tool draws at once: the pacing is there for the eyes of a window's user.
class NoWait : public Waiter {
public:
    void wait(int) override {}
};

// Installs the tool's services for the length of one command.
class ToolServices {
public:
    explicit ToolServices(QString* err) : prompt_(err) {
        Services::setPrompt(&prompt_);
        Services::setWaiter(&noWait_);
    }
    ~ToolServices() {
        Services::setPrompt(nullptr);
        Services::setWaiter(nullptr);
    }

private:
    ConsolePrompt prompt_;
    NoWait noWait_;
};

// As the entry screen does: DBType "0" is the server named by conn.udl,
// anything else the desktop file.
bool openDatabase(TSysDM& dm, QString* err) {
    const QString type = ConfigIni::readString("Login", "DBType", "1");
    dm.setDbType(type == "0" ? "0" : "1");
    if (type != "0")
        return dm.OpenAccessDatabase("\\mdf\\db.sqlite");
    QString error;
    if (dm.OpenServerDatabase(AppHome::path("conn.udl"), &error))
        return true;
    *err += QStringLiteral("连接数据库失败：%1\n").arg(error);
    return false;
}

QString toolUser() {
    const QString login = qEnvironmentVariable("USER");
    return login.isEmpty() ? QStringLiteral("panelpick-admin")
                           : QStringLiteral("panelpick-admin (%1)").arg(login);
}

int draw(TSysDM& dm, const QString& billID, bool redraw, QString* out, QString* err) {
    ProjectDraw actions(dm.context(), dm.drawEngine());
    const DrawEngine::Outcome outcome =
        redraw ? actions.redraw(billID) : actions.initialDraw(billID);
    if (!outcome.ok()) {
        *err += outcome.message + "\n";
        return 1;
    }
    QList<ProjectDraw::ResultLine> lines;
    QString error;
    if (!actions.result(billID, &lines, &error)) {
        *err += error + "\n";
        return 1;
    }
    for (const auto& l : lines)
        *out +=
            QStringList{l.expertID, l.specialtyClass, l.icno, l.employer.toString()}.join('\t') +
            "\n";
    return 0;
}

int audit(TSysDM& dm, const QString& billID, QString* out, QString* err) {
    const DrawAudit::Report report = DrawAudit::verify(dm.context(), billID);
    if (!report.ok) {
        *err += report.failure + "\n";
        return 1;
    }
    *out += QStringLiteral("verified %1 picks\n").arg(report.picks);
    if (!report.projectHead.isEmpty())
        *out += QStringLiteral("chain head %1\n").arg(report.projectHead);
    return 0;
}

} // namespace

int runAdmin(const QStringList& arguments, QString* out, QString* err) {
    const QString command = arguments.value(0);
    QStringList rest = arguments.mid(1);
    if (command == "--help" || command == "-h") {
        *out += kUsage;
        return 0;
    }
    bool redraw = false;
    if (command == "draw" && rest.removeAll("--redraw") > 0)
        redraw = true;
    if ((command != "draw" && command != "audit") || rest.size() != 1 ||
        rest.first().startsWith("--")) {
        *err += kUsage;
        return 2;
    }
    const QString billID = rest.first();

    ToolServices services(err);
    TSysDM dm;
    if (!openDatabase(dm, err))
        return 1;
    dm.setCurrentUser(toolUser());
    return command == "draw" ? draw(dm, billID, redraw, out, err) : audit(dm, billID, out, err);
}
