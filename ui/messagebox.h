#pragma once
// Every message the window shows goes through here, so tests can capture it instead of
// blocking on a dialog.

#include <QString>

#include <functional>

class QWidget;

namespace hmf::ui {

// Shows `text` for a few seconds in the status bar of the window that holds `widget`; a widget
// outside a main window shows nothing.
void showStatus(QWidget* widget, const QString& text);

class MessageBox
{
  public:
    enum class Icon { None, Information, Warning };

    // Shows `text` (plain text, never markup) modally with an OK button; with a hook installed,
    // hands it to the hook instead.
    static void show(QWidget* parent, const QString& text, Icon icon = Icon::Information);

    // Asks before something that cannot be taken back: `action` names the button that does it,
    // 取消 declines (and is the default). True when the user goes ahead. With an answer hook
    // installed, asks the hook instead.
    static bool confirm(QWidget* parent, const QString& text, const QString& action);

    // Test hook: receives each message instead of a dialog; pass an empty function to remove it.
    using Hook = std::function<void(const QString& text, Icon icon)>;
    static void setHook(Hook hook);
    // Test hook: answers each confirm() instead of a dialog.
    using AnswerHook = std::function<bool(const QString& text)>;
    static void setAnswerHook(AnswerHook hook);

  private:
    static Hook& hook();
    static AnswerHook& answerHook();
};

} // namespace hmf::ui
