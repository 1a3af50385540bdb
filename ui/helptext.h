#pragma once
// The help page of the program: every page, window and key, in our own words.

#include <QString>

namespace hmf::ui {

// The help as rich text for a QTextBrowser.
QString helpHtml();

} // namespace hmf::ui
