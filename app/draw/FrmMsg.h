#pragma once

#include "DrawProgress.h"

#include <QWidget>

class QLabel;
class QProgressBar;

// The initial draw's progress window: borderless, on top of everything and
// centred, with a bar that moves one step per expert.
class TFormMsg : public QWidget, public DrawProgress {
    Q_OBJECT
public:
    explicit TFormMsg(QWidget* parent = nullptr);

    void begin() override;
    void setMaximum(int maximum) override;
    void step() override;
    void end() override;

    QLabel* lblMsg;
    QProgressBar* pb1;

    static inline const QString kInitialCaption = QStringLiteral("正在随机抽取专家");
};
