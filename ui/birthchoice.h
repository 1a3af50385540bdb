#pragma once
// The controls beside a page's date boxes that say how the date is meant: 公历 or 农历 (with 闰月),
// and the birthplace for true solar time (a city of the list, a longitude typed in, or none).

#include "calendar/strength.h"

#include <QString>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace hmf::core {
class CityTable;
}

namespace hmf::ui {

struct BirthChoice
{
    QComboBox* calendar = nullptr; // 公历 / 农历
    QCheckBox* leap = nullptr;     // 闰月, only with 农历
    QComboBox* place = nullptr;    // editable: 不校正, the cities, or a longitude
    QLabel* placeLabel = nullptr;  // 出生地：

    // How the choice stands, to carry it from one page to another.
    struct State
    {
        bool lunar = false;
        bool leap = false;
        QString place;
    };
    State state() const;
    void setState(const State& state);
};

// Creates the controls on `parent` in a row from (x, y), named 组合框_历法, 选择框_闰月 and
// 组合框_出生地 followed by `suffix` ("" on page 宝宝取名, "2" on page 姓名评测).
BirthChoice addBirthChoice(QWidget* parent, const core::CityTable& cities, const char* suffix,
                           int x, int y);

// The first item of the birthplace list: no correction.
QString noBirthplace();

// The birth time of four date boxes read as the choice says. `problem` is empty when the time
// can be used, else the message for the user: an impossible lunar date ("农历2023年没有闰三月"),
// an unknown place, or whatever calendar::checkBirthTime says of the time.
struct BirthReading
{
    calendar::BirthTime time;
    calendar::BirthDetails details;
    std::string problem;
};
BirthReading readBirth(const BirthChoice& choice, const core::CityTable& cities,
                       const QLineEdit* year, const QLineEdit* month, const QLineEdit* day,
                       const QLineEdit* hour);

} // namespace hmf::ui
