#include "QtChinese.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(QtChinese, MessageBoxButtonsSpeakChinese) {
    ASSERT_TRUE(QtChinese::install(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, "提示", "?", QMessageBox::Yes | QMessageBox::No);
    box.show();
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("是"));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("否"));
}
