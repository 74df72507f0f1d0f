// The detail pages below the ship list: the vessel's DYNAMIC and STATIC panes, the
// AtoN pane and the GPS pane, each a column of labelled read-only fields named
// after their components (lblEdtMMSI, ...).
#pragma once

#include <QString>
#include <vector>

#include "ais/TargetTexts.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace norq::app {

class ElidingField;

class DetailPanes {
  public:
    DetailPanes(const TextStore& texts, QWidget* parent);

    QWidget* dynamicPage() const { return dynamic_; }
    QWidget* staticPage() const { return static_; }
    QWidget* atonPage() const { return aton_; }
    QWidget* gpsPage() const { return gps_; }
    QPushButton* atonDetailButton() const { return atonDetail_; }

    void retranslate();
    void showDynamic(const ais::DynamicDetailTexts& t);
    void showStatic(const ais::StaticDetailTexts& t);
    void showAton(const ais::AtonDetailTexts& t);
    // The own ship's position, SOG and COG in the dynamic pane.
    void showOwnShip(const QString& lon, const QString& lat, const QString& sog,
                     const QString& cog);
    void showGps(const QString& utc, const QString& lat, const QString& lon, const QString& fixMode,
                 const QString& satellites, const QString& altitude);
    void showUtc(const QString& utc);

    // The text of a field by its component name ("lblEdtMMSI"); empty when unknown.
    QString fieldText(const QString& component) const;

  private:
    struct Row {
        QLabel* caption;
        QLineEdit* field;
        ais::LanguageText text;
    };
    QWidget* makePage(QWidget* parent, const char* name);
    QLineEdit* addRow(QWidget* page, const char* component, const ais::LanguageText& text);
    static void set(QLineEdit* field, std::string_view text);
    static void set(QLineEdit* field, const QString& text);

    const TextStore& texts_;
    std::vector<Row> rows_;
    QWidget* dynamic_;
    QWidget* static_;
    QWidget* aton_;
    QWidget* gps_;
    ElidingField* country_;
    QPushButton* atonDetail_;
};

// The catalogue text of a (section, key); its built-in text when the catalogue has
// no such key.
QString CatalogueText(const TextStore& texts, const ais::LanguageText& text);

}  // namespace norq::app
