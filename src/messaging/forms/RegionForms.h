// The region list (TfrmRegionList) and the traffic statistics window
// (TfrmTrafficFlowStatistics) with its small bar and line chart.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "base/LanguageTable.h"
#include "messaging/ChannelRegions.h"
#include "messaging/TrafficStatistics.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimeEdit;

namespace norq::messaging {

class TfrmRegionList final : public QDialog {
    Q_OBJECT

  public:
    // updateTime gives the main window's status-bar date and time; degree the
    // current language's degree text.
    TfrmRegionList(const base::TextStore& texts, ChannelRegionList& regions,
                   std::function<std::string()> updateTime, QWidget* parent = nullptr);
    void retranslate();
    void setDegree(std::string degree);
    // A region arrived: stored unless known, then the grid is rewritten.
    void AddChannelRegion(const ais::ChannelRegion& region);
    // Rewrites every row from the list.
    void refresh();
    void onRemove();
    // "Button1": a test region, shifted by one degree per earlier press.
    void onTestRegion();
    QTableWidget* grid() const { return grid_; }

  private:
    const base::TextStore& texts_;
    ChannelRegionList& regions_;
    std::function<std::string()> updateTime_;
    std::string degree_ = "\xC2\xB0";
    int testPresses_ = 0;
    QTableWidget* grid_;
    QPushButton* btnRemove_;
    QPushButton* btnClose_;
    QPushButton* btnTest_;
};

// Bars or a line of the inquiry's counts with their labels below.
class TrafficChart final : public QWidget {
    Q_OBJECT

  public:
    explicit TrafficChart(QWidget* parent = nullptr);
    void setPoints(std::vector<InquiryPoint> points);
    void setBars(bool bars);
    void setMarks(bool marks);
    const std::vector<InquiryPoint>& points() const { return points_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void drawAxes(QPainter& p, const QRect& plot, int top) const;
    void drawSeries(QPainter& p, const QRect& plot, int top) const;

    std::vector<InquiryPoint> points_;
    bool bars_ = true;
    bool marks_ = false;
};

class TfrmTrafficFlowStatistics final : public QDialog {
    Q_OBJECT

  public:
    TfrmTrafficFlowStatistics(const base::TextStore& texts, std::string folder,
                              QWidget* parent = nullptr);
    void retranslate();
    // "Inquire": reads the count files of the chosen period into the chart.
    void ShowTrafficStatistics();
    void setPeriod(const CivilDate& from, int fromMinute, const CivilDate& to, int toMinute,
                   int interval);
    TrafficChart* chart() const { return chart_; }
    QLabel* note() const { return lblNote_; }

  private:
    void applySeriesChoice();

    const base::TextStore& texts_;
    std::string folder_;
    QDateEdit* from_;
    QTimeEdit* fromTime_;
    QDateEdit* to_;
    QTimeEdit* toTime_;
    QSpinBox* interval_;
    QPushButton* btnInquire_;
    QRadioButton* rbBar_;
    QRadioButton* rbLine_;
    QCheckBox* cbxShowMarker_;
    QLabel* lblFrom_;
    QLabel* lblTo_;
    QLabel* lblInterval_;
    QLabel* lblSeriesType_;
    QLabel* lblNote_;
    TrafficChart* chart_;
};

}  // namespace norq::messaging
