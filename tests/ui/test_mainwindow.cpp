#include "core/tables.h"
#include "ui/mainwindow.h"
#include "ui/startup.h"

#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
  private slots:
    void startState();
};

void TestMainWindow::startState() {}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
