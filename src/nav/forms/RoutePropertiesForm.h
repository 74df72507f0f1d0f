// The route properties window ("Route Properties"): name, depart and
// destination of a saved route, its waypoints with each leg's distance, bearing
// and time at the plan speed, and the route's total distance and time.
#pragma once

#include <QDialog>
#include <QString>

#include "base/LanguageTable.h"
#include "nav/RouteStore.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace norq::nav {

class TfrmRouteProperties final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmRouteProperties(const base::TextStore& texts, QWidget* parent = nullptr);
    void retranslate();
    // Fills the window from the route and runs "Cal".
    void showRoute(const Route& route);
    // "Cal": the route time and each leg's time at the plan speed.
    void calculate();

    QString name() const;
    QString depart() const;
    QString destination() const;
    QLineEdit* speedEdit() const { return edtSpeed_; }
    QTableWidget* grid() const { return grid_; }
    QString routeTimeText() const;
    QString totalDistanceText() const;

  Q_SIGNALS:
    // "Route Manager": the window closes and the manager opens on its route page.
    void managerRequested();

  private:
    const base::TextStore& texts_;
    Route route_;
    QLabel* lblName_;
    QLabel* lblDepart_;
    QLabel* lblDestination_;
    QLabel* lblSpeed_;
    QLabel* lblKnots_;
    QLabel* lblCreated_;
    QLabel* lblTotal_;
    QLabel* lblTime_;
    QLineEdit* edtName_;
    QLineEdit* edtDepart_;
    QLineEdit* edtDestination_;
    QLineEdit* edtSpeed_;
    QLabel* valCreated_;
    QLabel* valTotal_;
    QLabel* valTime_;
    QPushButton* btnCal_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    QPushButton* btnManager_;
    QTableWidget* grid_;
};

}  // namespace norq::nav
