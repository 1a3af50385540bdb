#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace hmf::ui {

MessageBox::Hook& MessageBox::hook()
{
    static Hook current;
    return current;
}

void MessageBox::setHook(Hook h)
{
    hook() = std::move(h);
}

void MessageBox::show(QWidget* parent, const QString& text, Icon icon)
{
    if (hook()) {
        hook()(text, icon);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("慧名坊"));
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
