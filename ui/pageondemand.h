#pragma once
// A tab page that builds its content the first time it is shown. The reference pages (81数理表,
// 三才表, 使用帮助) are read rarely, and laying out their long texts at start-up cost the window a
// tenth of its start; built on demand, they cost nothing until the tool bar brings them up.

#include <QWidget>

#include <functional>

namespace hmf::ui {

class PageOnDemand : public QWidget
{
    Q_OBJECT
  public:
    using Builder = std::function<QWidget*()>;
    explicit PageOnDemand(Builder build, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Builder m_build;
    QWidget* m_content = nullptr;
};

} // namespace hmf::ui
