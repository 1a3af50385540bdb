#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

namespace hmf::ui {

void showStatus(QWidget* widget, const QString& text)
{
    for (QWidget* up = widget; up; up = up->parentWidget()) {
        if (auto* window = qobject_cast<QMainWindow*>(up)) {
            window->statusBar()->showMessage(text, 5000);
            return;
        }
    }
}

MessageBox::Hook& MessageBox::hook()
{
    static Hook current;
    return current;
}

void MessageBox::setHook(Hook h)
{
    hook() = std::move(h);
}

MessageBox::AnswerHook& MessageBox::answerHook()
{
    static AnswerHook current;
    return current;
}

void MessageBox::setAnswerHook(AnswerHook h)
{
    answerHook() = std::move(h);
}

bool MessageBox::confirm(QWidget* parent, const QString& text, const QString& action)
{
    if (answerHook())
        return answerHook()(text);
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("慧名坊"));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    QPushButton* go = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == go;
}

void MessageBox::show(QWidget* parent, const QString& text, Icon icon)
{
    if (hook()) {
        hook()(text, icon);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("慧名坊"));
    // Messages quote names and paths from files; none of it is markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace hmf::ui
