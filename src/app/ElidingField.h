// A read-only field that shows as much of a long text as fits, ending in "…",
// with the whole text as its tooltip (the country of an MMSI can be 70
// characters long).
#pragma once

#include <QLineEdit>
#include <QString>

namespace norq::app {

class ElidingField final : public QLineEdit {
    Q_OBJECT

  public:
    explicit ElidingField(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void elide();

    QString full_;
};

}  // namespace norq::app
