#include "ui/fonts.h"

#include <QFontDatabase>

namespace hmf::ui {

QString firstInstalledFamily(const QStringList& preferred)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : preferred) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return preferred.value(0);
}

QFont interfaceFont()
{
    const QStringList preferred = {
        QStringLiteral("宋体"),
        QStringLiteral("SimSun"),
        QStringLiteral("NSimSun"),
        QStringLiteral("Noto Sans Mono CJK SC"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Source Han Sans SC"),
        QStringLiteral("WenQuanYi Zen Hei Mono"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("WenQuanYi Micro Hei"),
    };
    QFont font(firstInstalledFamily(preferred));
    font.setPointSize(9);
    return font;
}

QFont reportFont()
{
    const QStringList preferred = {
        QStringLiteral("宋体"),
        QStringLiteral("SimSun"),
        QStringLiteral("Noto Serif CJK SC"),
        QStringLiteral("Source Han Serif SC"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Source Han Sans SC"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("WenQuanYi Micro Hei"),
    };
    QFont font(firstInstalledFamily(preferred));
    font.setPointSize(9);
    return font;
}

} // namespace hmf::ui
