#pragma once

#include "DrawEngine.h"

#include <QList>
#include <QString>
#include <QVariant>

class DbContext;

// The draw window's two draw buttons without the window: the checks before
// an initial draw or a redraw, the project's registration date, the draw
// itself, and the result as it then stands. The window asks its questions
// first; panelpick-admin asks none.
class ProjectDraw {
public:
    struct ResultLine {
        QString expertID;
        QString specialtyClass;
        QString icno;
        QVariant employer;
    };

    ProjectDraw(const DbContext& db, DrawEngine& engine) : db_(db), engine_(engine) {}

    // "抽取专家": refused for an unknown or archived project, one without
    // demand rows, and one that already has a result.
    DrawEngine::Outcome initialDraw(const QString& billID);
    // "重新抽取": the result is emptied and drawn again. Refused for an
    // unknown or archived project and for one without demand rows, which
    // would only lose the result.
    DrawEngine::Outcome redraw(const QString& billID);

    // The project's result rows in the order they were written.
    bool result(const QString& billID, QList<ResultLine>* out, QString* error) const;

    static inline const QString kHasResult =
        QStringLiteral("请点击重新抽取专家进行抽取或进行补抽！");
    static inline const QString kNoDemand =
        QStringLiteral("必须设置对应的评标专业才能抽取，如有必要，应设置回避条件");
    static inline const QString kArchived = QStringLiteral("此项目已归档，无法再进行抽取！");
    static QString unknownProject(const QString& billID);

private:
    DrawEngine::Outcome check(const QString& billID, bool forRedraw);
    DrawEngine::Outcome stampAndDraw(const QString& billID);

    const DbContext& db_;
    DrawEngine& engine_;
};
