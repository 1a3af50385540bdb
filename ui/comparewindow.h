#pragma once
// 名字比较: two to four kept names side by side — score, strokes, readings and tones, elements,
// the five grids with their verdicts, the three talents, the assessment, the source and the note.

#include "ui/shortlist.h"

#include <QDialog>

class QTextBrowser;
class QTextDocument;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

// The comparison as an HTML table, one column per name.
QString comparisonHtml(const core::Tables& tables, const QList<ShortlistEntry>& names);

class CompareWindow : public QDialog
{
    Q_OBJECT
  public:
    CompareWindow(const core::Tables& tables, const QList<ShortlistEntry>& names,
                  QWidget* parent = nullptr);

    const QTextDocument& document() const;

  private:
    QTextBrowser* m_view;
};

} // namespace hmf::ui
