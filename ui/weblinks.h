#pragma once
// The five web pages of the picture buttons on the page "宝宝取名"; the addresses live here only.

#include <QColor>
#include <QString>
#include <QUrl>

#include <array>

namespace hmf::ui {

struct WebLink
{
    const char* objectName; // the button's product name
    const char* words;      // the four characters on its picture
    const char* address;
    QColor colour;
};

// In the order the buttons stand from top to bottom.
const std::array<WebLink, 5>& webLinks();

// Opens the address in the user's default browser; false when the platform refused.
bool openWebPage(const QUrl& address);

} // namespace hmf::ui
