#include "ui/PageControl.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace norq::ui {

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), stack_(new QStackedWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(stack_, 1);
    tabs_->setDrawBase(true);
    tabs_->setExpanding(false);
    tabs_->hide();
    // A click on a header activates its page even when that header already
    // looks current (the active page may be one whose header is hidden).
    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int tab) {
        if (rebuilding_ || tab < 0) return;
        setActivePage(tabs_->tabData(tab).toInt());
    });
}

int PageControl::addPage(QWidget* page, const QString& caption) {
    pages_.push_back({page, caption, true});
    stack_->addWidget(page);
    if (active_ < 0) active_ = 0;
    rebuildTabs();
    return count() - 1;
}

QWidget* PageControl::page(int index) const {
    return index >= 0 && index < count() ? pages_[index].widget : nullptr;
}

void PageControl::setPageCaption(int index, const QString& caption) {
    if (index < 0 || index >= count() || pages_[index].caption == caption) return;
    pages_[index].caption = caption;
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        if (tabs_->tabData(tab).toInt() == index) tabs_->setTabText(tab, caption);
    }
}

QString PageControl::pageCaption(int index) const {
    return index >= 0 && index < count() ? pages_[index].caption : QString();
}

void PageControl::setTabVisible(int index, bool visible) {
    if (index < 0 || index >= count() || pages_[index].tabVisible == visible) return;
    pages_[index].tabVisible = visible;
    rebuildTabs();
}

bool PageControl::isTabVisible(int index) const {
    return index >= 0 && index < count() && pages_[index].tabVisible;
}

bool PageControl::tabRowVisible() const {
    return tabs_->count() > 0;
}

void PageControl::setActivePage(int index) {
    if (index < 0 || index >= count()) return;
    const bool changed = index != active_;
    active_ = index;
    stack_->setCurrentWidget(pages_[index].widget);
    selectActiveTab();
    if (changed) Q_EMIT activePageChanged(index);
}

void PageControl::rebuildTabs() {
    rebuilding_ = true;
    while (tabs_->count() > 0)
        tabs_->removeTab(tabs_->count() - 1);
    for (int i = 0; i < count(); ++i) {
        if (!pages_[i].tabVisible) continue;
        const int tab = tabs_->addTab(pages_[i].caption);
        tabs_->setTabData(tab, i);
    }
    tabs_->setVisible(tabs_->count() > 0);
    rebuilding_ = false;
    selectActiveTab();
}

void PageControl::selectActiveTab() {
    rebuilding_ = true;
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        if (tabs_->tabData(tab).toInt() == active_) tabs_->setCurrentIndex(tab);
    }
    rebuilding_ = false;
}

}  // namespace norq::ui
