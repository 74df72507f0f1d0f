// A page control whose tab headers can be hidden one by one while their pages
// stay selectable: a page can be the active one with its header hidden (the
// viewer's detail pages work that way). With no header visible the tab row is
// not shown at all.
#pragma once

#include <QWidget>
#include <vector>

class QStackedWidget;
class QTabBar;

namespace norq::ui {

class PageControl : public QWidget {
    Q_OBJECT

  public:
    explicit PageControl(QWidget* parent = nullptr);

    int addPage(QWidget* page, const QString& caption);
    int count() const { return static_cast<int>(pages_.size()); }
    QWidget* page(int index) const;
    void setPageCaption(int index, const QString& caption);
    QString pageCaption(int index) const;

    void setTabVisible(int index, bool visible);
    bool isTabVisible(int index) const;
    // True when the tab row is shown (some header is visible).
    bool tabRowVisible() const;

    void setActivePage(int index);
    int activePage() const { return active_; }

  Q_SIGNALS:
    // The user chose a page by its header, or setActivePage changed it.
    void activePageChanged(int index);

  private:
    struct Page {
        QWidget* widget;
        QString caption;
        bool tabVisible;
    };
    void rebuildTabs();
    void selectActiveTab();

    QTabBar* tabs_;
    QStackedWidget* stack_;
    std::vector<Page> pages_;
    int active_ = -1;
    bool rebuilding_ = false;
};

}  // namespace norq::ui
