#pragma once
// The program's pictures: the window icon, the eight tool-bar icons and the pictures of the five
// web-page buttons. Icons draw each size when it is first shown.

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace hmf::ui {

enum class ToolPicture {
    Naming,
    Analysis,
    Luck81,
    ThreeTalent,
    Element,
    StarSign,
    BirthChart,
    Help,
    Shortlist
};

QIcon toolIcon(ToolPicture picture);

// A seal-like 56 × 56 tile with four characters in two rows ("新华" over "字典").
QPixmap wordTile(const QString& words, const QColor& colour, int size = 56, qreal scale = 1.0);

// The program's icon: a red seal with the character 名.
QIcon windowIcon();

} // namespace hmf::ui
