// Every page and window of the program at the text sizes a user may choose: no control cuts its
// text (its size below what its text needs) or covers another, and every control lies within
// its window. The window grows where its text needs more room and keeps the product's size where
// the text fits in it.
//
// With HMF_LAYOUT_SHOTS set to a directory, the test also saves a picture of every page and
// window at every size there, to look at.

#include "core/tables.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/startup.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

namespace fs = std::filesystem;
using hmf::ui::MainWindow;

namespace {

// The parts of a window a user reads or operates, without the inner parts of a list, a combo box
// or a tool bar (its scroll bars, its edit line, its overflow arrow).
bool isControl(const QWidget* widget, const QWidget* root)
{
    for (const QWidget* up = widget->parentWidget(); up && up != root; up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(up) || qobject_cast<const QComboBox*>(up))
            return false;
    if (widget->objectName().startsWith(QLatin1String("qt_")))
        return false;
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractScrollArea*>(widget);
}

QString nameOf(const QWidget* widget)
{
    QString name = widget->objectName();
    if (name.isEmpty())
        name = QString::fromUtf8(widget->metaObject()->className());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        name += QStringLiteral(" “%1”").arg(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        name += QStringLiteral(" “%1”").arg(button->text());
    return name;
}

// What is wrong with the visible controls under `root`, one line each; empty when nothing is.
QStringList layoutFaults(const QWidget* root)
{
    QStringList faults;
    QList<const QWidget*> controls;
    for (const QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(root) && isControl(widget, root))
            controls.append(widget);
    }
    const auto fault = [&faults](const QWidget* w, const QString& what) {
        faults.append(
            QStringLiteral("%1: %2 (%3×%4)").arg(nameOf(w), what).arg(w->width()).arg(w->height()));
    };
    for (const QWidget* w : controls) {
        const auto* label = qobject_cast<const QLabel*>(w);
        if (label && label->wordWrap()) {
            // A wrapped text needs the height of its lines at the width it has.
            if (w->height() < label->heightForWidth(w->width()))
                fault(w, QStringLiteral("wrapped text cut, needs height %1")
                             .arg(label->heightForWidth(w->width())));
        } else if (qobject_cast<const QAbstractScrollArea*>(w)) {
            const QSize least = w->minimumSizeHint();
            if (w->width() < least.width() || w->height() < least.height())
                fault(w, QStringLiteral("below its least size %1×%2")
                             .arg(least.width())
                             .arg(least.height()));
        } else {
            const QSize needed = w->sizeHint();
            if (w->width() < needed.width() || w->height() < needed.height())
                fault(w, QStringLiteral("text cut, needs %1×%2")
                             .arg(needed.width())
                             .arg(needed.height()));
        }
        // Within its parent, and so within the window.
        if (!w->parentWidget()->rect().contains(w->geometry()))
            fault(w, QStringLiteral("leaves its parent %1").arg(nameOf(w->parentWidget())));
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget* a = controls[i];
            const QWidget* b = controls[j];
            if (a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                faults.append(QStringLiteral("%1 covers %2").arg(nameOf(a), nameOf(b)));
        }
    }
    return faults;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanup();

    void everyPageFitsItsText_data();
    void everyPageFitsItsText();
    void windowKeepsItsSizeAtTheUsualText();
    void largerWindowGivesRoomToTheLists();
    void luckTableShowsWholeTexts();

  private:
    void openWindow(double scale);
    void shoot(const QWidget* widget, const QString& name);

    std::unique_ptr<hmf::core::Tables> m_tables;
    fs::path m_dataDir;
    QTemporaryDir m_dir;
    QFont m_baseFont;
    std::unique_ptr<MainWindow> m_window;
    QString m_shotName;
};

void TestLayout::initTestCase()
{
    hmf::ui::prepareApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
    m_baseFont = QApplication::font();
    QString error;
    m_tables = hmf::uitest::loadProgramTables(m_dataDir, error);
    QVERIFY2(m_tables, qPrintable(error));
    QVERIFY(m_dir.isValid());
    hmf::ui::MessageBox::setHook([](const QString&, hmf::ui::MessageBox::Icon) {});
}

void TestLayout::cleanup()
{
    m_window.reset();
    QApplication::setFont(m_baseFont);
}

void TestLayout::openWindow(double scale)
{
    QFont font = m_baseFont;
    font.setPointSizeF(m_baseFont.pointSizeF() * scale);
    QApplication::setFont(font);
    m_window = hmf::uitest::openWindow(*m_tables, m_dataDir,
                                       m_dir.filePath(QStringLiteral("shortlist.json")));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestLayout::shoot(const QWidget* widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("HMF_LAYOUT_SHOTS");
    if (!dir.isEmpty())
        const_cast<QWidget*>(widget)->grab().save(dir + QLatin1Char('/') + name +
                                                  QStringLiteral(".png"));
}

void TestLayout::everyPageFitsItsText_data()
{
    QTest::addColumn<double>("scale");
    for (double scale : {1.0, 1.25, 1.5, 2.0})
        QTest::addRow("%d%%", int(scale * 100)) << scale;
}

void TestLayout::everyPageFitsItsText()
{
    QFETCH(double, scale);
    openWindow(scale);
    const QString size = QString::number(int(scale * 100));
    const QList<QAction*> tools =
        hmf::uitest::findWidget<QToolBar>(m_window.get(), "工具条1")->actions();
    // The pages, each while it is shown: a hidden page is laid out when it shows.
    for (int tool : {0, 1, 2, 3, 7, 8}) {
        tools.at(tool)->trigger();
        QApplication::processEvents();
        const QStringList faults = layoutFaults(m_window.get());
        QVERIFY2(faults.isEmpty(),
                 qPrintable(tools.at(tool)->text() + QStringLiteral(" at ") + size +
                            QStringLiteral("%: ") + faults.join(QStringLiteral("; "))));
        shoot(m_window.get(), QStringLiteral("page%1-%2").arg(tool).arg(size));
    }
    // The lookup windows, while they are open.
    for (int tool : {4, 5, 6}) {
        QStringList faults;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            seen = dialog != nullptr;
            if (!dialog)
                return;
            QApplication::processEvents();
            faults = layoutFaults(dialog);
            shoot(dialog, QStringLiteral("window%1-%2").arg(tool).arg(size));
            dialog->close();
        });
        tools.at(tool)->trigger();
        QVERIFY2(seen, qPrintable(tools.at(tool)->text()));
        QVERIFY2(faults.isEmpty(),
                 qPrintable(tools.at(tool)->text() + QStringLiteral(" at ") + size +
                            QStringLiteral("%: ") + faults.join(QStringLiteral("; "))));
    }
}

void TestLayout::windowKeepsItsSizeAtTheUsualText()
{
    openWindow(1.0);
    QCOMPARE(m_window->size(), hmf::ui::kWindowDefaultSize);
    // Never smaller than its text needs.
    m_window->resize(300, 200);
    QTRY_VERIFY(m_window->width() > 600 && m_window->height() > 500);
    QVERIFY(layoutFaults(m_window.get()).isEmpty());
}

void TestLayout::largerWindowGivesRoomToTheLists()
{
    openWindow(1.0);
    const QList<QAction*> tools =
        hmf::uitest::findWidget<QToolBar>(m_window.get(), "工具条1")->actions();
    tools.at(2)->trigger(); // builds the 81-number page
    const char* grown[] = {"超级列表框1", "列表框1", "超级编辑框1", "超级列表框81", "表格_收藏"};
    const char* kept[] = {"按钮1", "编辑框_姓", "编辑框7"};
    const auto sizeOf = [this](const char* name) {
        return hmf::uitest::findWidget<QWidget>(m_window.get(), name)->size();
    };
    QList<QSize> before;
    for (const char* name : grown)
        before.append(sizeOf(name));
    QList<QSize> keptBefore;
    for (const char* name : kept)
        keptBefore.append(sizeOf(name));
    // Pages not shown are laid out when they show; every page is shown once at the new size.
    m_window->resize(1100, 820);
    QTRY_COMPARE(m_window->size(), QSize(1100, 820));
    for (int tool : {0, 1, 2, 8}) {
        tools.at(tool)->trigger();
        QApplication::processEvents();
    }
    for (int i = 0; i < int(std::size(grown)); ++i) {
        const QSize now = sizeOf(grown[i]);
        QVERIFY2(now.width() > before[i].width() && now.height() > before[i].height(), grown[i]);
    }
    for (int i = 0; i < int(std::size(kept)); ++i)
        QCOMPARE(sizeOf(kept[i]), keptBefore[i]);
}

// The 81-number table wraps its texts within their columns and makes every row as tall as its
// longest text, so nothing is cut with "…", at the usual and at a larger text size.
void TestLayout::luckTableShowsWholeTexts()
{
    for (double scale : {1.0, 1.5}) {
        openWindow(scale);
        hmf::uitest::findWidget<QToolBar>(m_window.get(), "工具条1")->actions().at(2)->trigger();
        QApplication::processEvents();
        auto* table = hmf::uitest::findWidget<QTableWidget>(m_window.get(), "超级列表框81");
        QCOMPARE(table->rowCount(), 81);
        QCOMPARE(table->textElideMode(), Qt::ElideNone);
        const QFontMetrics metrics = table->fontMetrics();
        for (int row = 0; row < 81; ++row) {
            for (int column = 0; column < 6; ++column) {
                // The text's lines at the column's width, less the cell's margins.
                const QTableWidgetItem* item = table->item(row, column);
                const QRect cell = table->visualItemRect(item);
                const int width = table->columnWidth(column) - 8;
                const int needed =
                    metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, item->text())
                        .height();
                QVERIFY2(cell.height() >= needed,
                         qPrintable(QStringLiteral("row %1 column %2 at %3: %4 < %5")
                                        .arg(row + 1)
                                        .arg(column)
                                        .arg(scale)
                                        .arg(cell.height())
                                        .arg(needed)));
            }
        }
        m_window.reset();
    }
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
