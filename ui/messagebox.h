#pragma once
// Every message the window shows goes through here, so tests can capture it instead of
// blocking on a dialog.

#include <QString>

#include <functional>

class QWidget;

namespace hmf::ui {

class MessageBox
{
  public:
    enum class Icon { None, Information, Warning };

    // Shows `text` modally with an OK button; with a hook installed, hands it to the hook instead.
    static void show(QWidget* parent, const QString& text, Icon icon = Icon::Information);

    // Test hook: receives each message instead of a dialog; pass an empty function to remove it.
    using Hook = std::function<void(const QString& text, Icon icon)>;
    static void setHook(Hook hook);

  private:
    static Hook& hook();
};

} // namespace hmf::ui
