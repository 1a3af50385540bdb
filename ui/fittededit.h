#pragma once
// An edit box as wide as the text it is made for ("0000" for a year, "林" for a surname) in the
// font it has now, so it never cuts its text and never takes a whole row: QLineEdit's own size
// hint is some seventeen Latin letters whatever the box holds.

#include <QLineEdit>

namespace hmf::ui {

class FittedEdit : public QLineEdit
{
    Q_OBJECT
    // The widest text the box is meant to show; set in the pages' .ui files.
    Q_PROPERTY(QString sampleText READ sampleText WRITE setSampleText)
  public:
    explicit FittedEdit(QWidget* parent = nullptr);

    QString sampleText() const { return m_sample; }
    void setSampleText(const QString& sample);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  private:
    QString m_sample = QStringLiteral("00");
};

} // namespace hmf::ui
