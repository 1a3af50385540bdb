#pragma once
// The birth-date row that both pages share: how the date is meant (公历 or 农历, with 闰月), the
// year, month, day, hour and minute boxes with their units, and the birthplace for true solar
// time (a city of the list, a longitude typed in, or none). Its controls keep the names each
// page has always given them.

#include "calendar/birthinput.h"
#include "calendar/strength.h"
#include "ui/formparts.h"

#include <QString>
#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace hmf::core {
class CityTable;
}

namespace hmf::ui {

// The first item of the birthplace list: no correction.
QString noBirthplace();

// The birth time of the row read as its choice says. `problem` is empty when the time can be
// used, else the message for the user: an impossible lunar date ("农历2023年没有闰三月"), an
// unknown place, or whatever calendar::checkBirthTime says of the time.
struct BirthReading
{
    calendar::BirthTime time;
    calendar::BirthDetails details;
    std::string problem;
};

class BirthInput : public QWidget
{
    Q_OBJECT
  public:
    // The names of the controls, in the row's order.
    struct Names
    {
        const char* calendar;
        const char* leap;
        const char* boxes[5];  // year, month, day, hour, minute
        const char* units[5];  // 年 月 日 时 分
        const char* kindLabel; // "（阳历）" / "（农历）" after the minute; null for none
        const char* placeLabel;
        const char* place;
    };

    explicit BirthInput(QWidget* parent = nullptr);
    // Names the controls and fills the birthplace list; called once by the page.
    void setUp(const core::CityTable& cities, const Names& names);

    BirthBoxes boxes() const
    {
        return {m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3], m_boxes[4]};
    }
    BirthTexts texts() const;
    void setTexts(const BirthTexts& texts);

    // How the date is meant, to carry it from one page to another.
    struct Choice
    {
        bool lunar = false;
        bool leap = false;
        QString place;
    };
    Choice choice() const;
    void setChoice(const Choice& choice);
    bool lunar() const;

    BirthReading read() const;

    QComboBox* calendarBox() const { return m_calendar; }
    QComboBox* placeBox() const { return m_place; }
    // The controls that take the keyboard, in the row's order, for the page's Tab order.
    QList<QWidget*> tabOrder() const;

  private:
    const core::CityTable* m_cities = nullptr;
    QComboBox* m_calendar;
    QCheckBox* m_leap;
    QLineEdit* m_boxes[5];
    QLabel* m_units[5];
    QLabel* m_kind;
    QLabel* m_placeLabel;
    QComboBox* m_place;
};

} // namespace hmf::ui
