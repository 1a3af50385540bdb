#include "ui/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

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

QFont interfaceFont(const QFont& desktop)
{
    QFont font = desktop;
    const QList<QFontDatabase::WritingSystem> systems =
        QFontDatabase::writingSystems(desktop.family());
    if (systems.contains(QFontDatabase::SimplifiedChinese))
        return font;
    // The desktop's family lacks Chinese: a sans-serif family that has it, at the desktop's size.
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    const QStringList preferred = {
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Source Han Sans SC"),
        QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("Microsoft YaHei"),
        QStringLiteral("微软雅黑"),
        QStringLiteral("SimSun"),
        QStringLiteral("宋体"),
    };
    for (const QString& family : preferred) {
        if (chinese.contains(family, Qt::CaseInsensitive)) {
            font.setFamilies({family});
            return font;
        }
    }
    if (!chinese.isEmpty())
        font.setFamilies({chinese.first()});
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
    font.setPointSizeF(QGuiApplication::font().pointSizeF());
    return font;
}

} // namespace hmf::ui
