// The binary message windows: the test and confirmation window of area
// notices and routes (TfrmBinaryMsgAppData), the choice of what fairway to
// create (TfrmBinmsgFairwayCreation), the fairway list
// (TfrmBinmsgFairwayDataManagement) and one fairway's properties
// (TfrmBinmsgFairwayProperties).
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "base/LanguageTable.h"
#include "messaging/FairwayBroadcast.h"
#include "messaging/FairwayList.h"

class QButtonGroup;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace norq::messaging {

// Shows a problem to the operator (a message box in the viewer).
using BroadcastNotify = std::function<void(const std::string&)>;

class TfrmBinaryMsgAppData final : public QDialog {
    Q_OBJECT

  public:
    TfrmBinaryMsgAppData(const base::TextStore& texts, BinaryMessageSender& sender,
                         QWidget* parent = nullptr);
    // The "Check Tx Infomation" page for the fairway, modal; true when OK
    // broadcast it (its flag is then set).
    bool confirmBroadcast(Fairway& f);
    // The test page's "Send": the area notice or route of the typed values.
    void onSend();
    QTabWidget* pages() const { return pages_; }
    QPlainTextEdit* memo() const { return memo1_; }
    QTableWidget* pointGrid() const { return points_; }
    QComboBox* fiChoice() const { return cBoxFi_; }
    QComboBox* shapeChoice() const { return shape_; }
    void setNotify(BroadcastNotify notify) { notify_ = std::move(notify); }

  private:
    QWidget* buildTxPage();
    QWidget* buildCheckPage();
    void fillCheckPage(const Fairway& f);
    void setPointRows(int rows);
    NoticeHeader typedHeader() const;
    std::vector<Corner> typedPoints() const;
    void report(bool sent);
    QString text(base::TextId id) const;

    const base::TextStore& texts_;
    BinaryMessageSender& sender_;
    BroadcastNotify notify_;
    QTabWidget* pages_;
    QComboBox* cBoxFi_;
    QComboBox* shape_;
    QLineEdit* linkId_;
    QLineEdit* notice_;
    QLineEdit* month_;
    QLineEdit* day_;
    QLineEdit* hour_;
    QLineEdit* minute_;
    QLineEdit* duration_;
    QLineEdit* radius_;
    QSpinBox* pointCount_;
    QTableWidget* points_;
    QPlainTextEdit* memo1_;
    QLabel* checkInfo_;
    QTableWidget* checkGrid_;
    QComboBox* cbBoxTxChannel_;
};

// What "Start" chose.
struct FairwayChoice {
    int fi = 22;
    int noticeDescription = kNoticeFairwayClosed;
    int areaShape = 3;
    int maxPoints = 16;
    int routeIndex = -1;  // the stored route whose waypoints make the fairway
};

class TfrmBinmsgFairwayCreation final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmBinmsgFairwayCreation(const base::TextStore& texts, QWidget* parent = nullptr);
    // The stored routes to take the waypoints from.
    void setRoutes(const std::vector<std::string>& names);
    void setStartHandler(std::function<void(const FairwayChoice&)> h) { onStart_ = std::move(h); }
    FairwayChoice choice() const;
    void onStart();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const base::TextStore& texts_;
    QRadioButton* areaNotice_;
    QRadioButton* route_;
    QButtonGroup* functions_;
    QComboBox* routes_;
    std::function<void(const FairwayChoice&)> onStart_;
};

class TfrmBinmsgFairwayProperties final : public QDialog {
    Q_OBJECT

  public:
    TfrmBinmsgFairwayProperties(const base::TextStore& texts, FairwayList& list,
                                QWidget* parent = nullptr);
    // Shows the fairway at `index`; `isNew` offers the lowest free linkage ID.
    // True when OK stored the edits.
    bool edit(std::size_t index, bool isNew);
    bool okEnabled() const;
    void setLinkId(const QString& id);
    void setDurationText(const QString& minutes);
    QString durationText() const;
    QLabel* idMark() const { return idMark_; }
    // OK: the edits go into the fairway (a taken linkage ID keeps the window open).
    void accept() override;

  private:
    void checkId();
    void onDurationChoice(int item);

    const base::TextStore& texts_;
    FairwayList& list_;
    std::size_t index_ = 0;
    bool isNew_ = false;
    QLineEdit* name_;
    QLineEdit* linkId_;
    QLabel* idMark_;
    QLabel* kind_;
    QDateTimeEdit* start_;
    QComboBox* durationChoice_;
    QLineEdit* duration_;
    QTableWidget* strGridBinWaypointInfo_;
    QPushButton* ok_;
};

class TfrmBinmsgFairwayDataManagement final : public QDialog {
    Q_OBJECT

  public:
    struct Hooks {
        std::function<void(std::size_t)> properties;
        std::function<void(std::size_t)> broadcast;  // through the check page
        std::function<void(std::size_t)> locate;
        std::function<void()> changed;  // list edited: save and repaint
    };
    TfrmBinmsgFairwayDataManagement(const base::TextStore& texts, FairwayList& list,
                                    BinaryMessageSender& sender, QWidget* parent = nullptr);
    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    void setAskDelete(std::function<bool()> ask) { askDelete_ = std::move(ask); }
    void setNotify(BroadcastNotify notify) { notify_ = std::move(notify); }
    void refresh();
    void selectRow(int row);
    void onVisible();
    void onBroadcast();
    void onWithdraw();
    void onDelete();
    QTableWidget* grid() const { return grid_; }
    QPushButton* deleteButton() const { return delete_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void updateButtons();
    QString text(base::TextId id) const;

    const base::TextStore& texts_;
    FairwayList& list_;
    BinaryMessageSender& sender_;
    Hooks hooks_;
    std::function<bool()> askDelete_;
    BroadcastNotify notify_;
    QTableWidget* grid_;
    QPushButton* locate_;
    QPushButton* properties_;
    QPushButton* delete_;
    QPushButton* visible_;
    QPushButton* tx_;
    QPushButton* withdraw_;
};

// The list's texts of a fairway: type, shape and notice names.
QString FairwayTypeName(const base::TextStore& texts, const Fairway& f);
QString FairwayShapeName(const base::TextStore& texts, const Fairway& f);
QString FairwayNoticeName(const base::TextStore& texts, int notice);

}  // namespace norq::messaging
