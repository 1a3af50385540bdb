#include "ui/birthchoice.h"

#include "core/cities.h"
#include "ui/formparts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cmath>

namespace hmf::ui {

QString noBirthplace()
{
    return QStringLiteral("（不校正）");
}

BirthChoice::State BirthChoice::state() const
{
    return {calendar->currentIndex() == 1, leap->isChecked(), place->currentText()};
}

void BirthChoice::setState(const State& s)
{
    calendar->setCurrentIndex(s.lunar ? 1 : 0);
    leap->setChecked(s.leap);
    place->setCurrentText(s.place);
}

BirthChoice addBirthChoice(QWidget* parent, const core::CityTable& cities, const char* suffix,
                           int x, int y)
{
    const std::string s = suffix;
    BirthChoice c;
    c.calendar = combo(parent, ("组合框_历法" + s).c_str(),
                       {QStringLiteral("公历"), QStringLiteral("农历")}, 0, false, x, y, 52, 20);
    c.leap = place(new QCheckBox(QStringLiteral("闰月"), parent), ("选择框_闰月" + s).c_str(),
                   x + 58, y, 52, 20);
    c.leap->setEnabled(false);
    QObject::connect(c.calendar, &QComboBox::currentIndexChanged, c.leap,
                     [leap = c.leap](int index) {
                         leap->setEnabled(index == 1);
                         if (index != 1)
                             leap->setChecked(false);
                     });
    c.placeLabel = label(parent, ("标签_出生地" + s).c_str(), "出生地：", x + 114, y + 2, 48, 16);
    QStringList places{noBirthplace()};
    for (const core::City& city : cities.cities())
        places << QString::fromStdString(city.name);
    c.place = combo(parent, ("组合框_出生地" + s).c_str(), places, 0, true, x + 162, y, 104, 20);
    c.place->setToolTip(QStringLiteral("选城市或填东经度数，按真太阳时排\"八字旺衰\""));
    return c;
}

BirthReading readBirth(const BirthChoice& choice, const core::CityTable& cities,
                       const QLineEdit* year, const QLineEdit* month, const QLineEdit* day,
                       const QLineEdit* hour)
{
    BirthReading r;
    r.time = readBirth(year, month, day, hour);
    if (choice.calendar->currentIndex() == 1) {
        // The boxes hold a lunar date: year, month and day of the lunar calendar.
        const auto y = numberOf(year->text());
        const auto m = numberOf(month->text());
        const auto d = numberOf(day->text());
        calendar::LunarDate lunar{y.value_or(0), m.value_or(0), d.value_or(0),
                                  choice.leap->isChecked()};
        r.problem = calendar::checkLunarDate(lunar);
        if (!r.problem.empty())
            return r;
        r.time = *calendar::solarDate(lunar, r.time.hour);
        r.details.lunar = lunar;
    }
    r.problem = calendar::checkBirthTime(r.time);
    if (!r.problem.empty())
        return r;

    const QString placeText = choice.place->currentText().trimmed();
    if (placeText.isEmpty() || placeText == noBirthplace())
        return r;
    double longitude = 0;
    if (const core::City* city = cities.find(placeText.toStdString())) {
        r.details.place = city->name;
        longitude = city->longitude;
    } else {
        bool number = false;
        longitude = placeText.toDouble(&number);
        if (!number) {
            r.problem = "未知的出生地：" + placeText.toStdString();
            return r;
        }
        if (std::string problem = calendar::checkLongitude(longitude); !problem.empty()) {
            r.problem = problem;
            return r;
        }
    }
    r.details.solar = calendar::trueSolarTime(r.time, longitude);
    return r;
}

} // namespace hmf::ui
