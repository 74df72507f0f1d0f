// The route page of the navigation manager: the saved routes in a grid of six
// columns (number, name, depart, destination, created time, "V" when drawn)
// with "Locate", "Properties" and "Delete", a double click that locates, and a
// popup with "Visible" on the right button.
#pragma once

#include <QWidget>

#include "base/LanguageTable.h"
#include "nav/RouteStore.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace norq::nav {

class RouteManagerPage final : public QWidget {
    Q_OBJECT

  public:
    RouteManagerPage(const base::TextStore& texts, const RouteStore& store,
                     QWidget* parent = nullptr);
    void retranslate();
    // The grid from the store (one empty row for an empty list), then the buttons.
    void refill();
    void updateButtons();
    // The selected route, or -1.
    int selectedRow() const;
    void selectRow(int row);
    QTableWidget* grid() const { return grid_; }
    QPushButton* locateButton() const { return btnLocate_; }
    QPushButton* propertiesButton() const { return btnProperties_; }
    QPushButton* deleteButton() const { return btnDelete_; }
    // The popup's "Visible" for the row (what the right button runs).
    void toggleVisible(int row);

  Q_SIGNALS:
    void locateRequested(int row);
    void propertiesRequested(int row);
    void deleteRequested(int row);
    void visibleRequested(int row, bool visible);
    // The page was shown or hidden with the manager: the highlight goes.
    void pageShown();
    void pageHidden();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void showPopup(const QPoint& at);
    bool rowShowsV(int row) const;

    const base::TextStore& texts_;
    const RouteStore& store_;
    QLabel* title_;
    QTableWidget* grid_;
    QPushButton* btnLocate_;
    QPushButton* btnProperties_;
    QPushButton* btnDelete_;
};

}  // namespace norq::nav
