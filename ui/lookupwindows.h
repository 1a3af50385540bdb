#pragma once
// The three small windows that the tool bar opens modally: the birth chart, the element of a
// character and the star sign of a day.

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

// 窗口_生辰八字: the lines of one birth chart, in blue.
class BirthChartWindow : public QDialog
{
    Q_OBJECT
  public:
    // `basis` names the date and hour the chart belongs to; it is shown under the chart.
    BirthChartWindow(const std::string& chartText, const QString& basis = {},
                     QWidget* parent = nullptr);

  private:
    QTextEdit* m_box;
};

// 窗口_汉字五行: the five-element class of one character.
class ElementWindow : public QDialog
{
    Q_OBJECT
  public:
    ElementWindow(const core::Tables& tables, QWidget* parent = nullptr);

  private:
    void query();

    const core::Tables& m_tables;
    QLineEdit* m_character;
    QLabel* m_result;
};

// 窗口_星座查询: the star sign of a month and day, opened on `month` and `day` (1月1日 when they
// are not a day of the year).
class StarSignWindow : public QDialog
{
    Q_OBJECT
  public:
    explicit StarSignWindow(int month = 1, int day = 1, QWidget* parent = nullptr);

  private:
    void query();

    QComboBox* m_month;
    QComboBox* m_day;
    QLabel* m_result;
};

} // namespace hmf::ui
