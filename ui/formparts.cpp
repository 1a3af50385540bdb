#include "ui/formparts.h"

#include "core/text.h"

#include <QSettings>

#include <array>
#include <utility>

namespace hmf::ui {

namespace {

// The settings key of each birth box.
std::array<std::pair<const char*, QLineEdit*>, 5> keyed(const BirthBoxes& b)
{
    return {{{"year", b.year},
             {"month", b.month},
             {"day", b.day},
             {"hour", b.hour},
             {"minute", b.minute}}};
}

} // namespace

void saveBirthBoxes(QSettings& settings, const QString& group, const BirthBoxes& boxes)
{
    for (const auto& [key, box] : keyed(boxes))
        settings.setValue(group + QLatin1Char('/') + QLatin1String(key), box->text());
}

void restoreBirthBoxes(const QSettings& settings, const QString& group, const BirthBoxes& boxes)
{
    for (const auto& [key, box] : keyed(boxes)) {
        const QVariant v = settings.value(group + QLatin1Char('/') + QLatin1String(key));
        if (v.isValid())
            box->setText(v.toString());
    }
}

std::string textOf(const QLineEdit* box)
{
    return box->text().toStdString();
}

std::optional<int> numberOf(const QString& text)
{
    return core::parseInt(text.toStdString());
}

calendar::BirthTime readBirth(const QLineEdit* year, const QLineEdit* month, const QLineEdit* day,
                              const QLineEdit* hour)
{
    const auto y = numberOf(year->text());
    const auto m = numberOf(month->text());
    const auto d = numberOf(day->text());
    const auto h = numberOf(hour->text());
    if (!y || !m || !d)
        return {2001, 2, 30, h.value_or(0)};
    return {*y, *m, *d, h.value_or(-1)};
}

} // namespace hmf::ui
