#include "app/forms/AboutForm.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/BaseNames.h"
#include "base/DataFolder.h"
#include "base/IniFile.h"
#include "base/LanguageTable.h"
#include "base/Settings.h"
#include "ui/SvgIcons.h"

namespace norq::app {

namespace {
constexpr const char* kBuildText = "Build20131112";
}

TfrmAbout::TfrmAbout(std::string programFolder, std::string settingsFile, QWidget* parent)
    : QDialog(parent),
      programFolder_(std::move(programFolder)),
      settingsFile_(std::move(settingsFile)),
      lblProduct_(new QLabel(QStringLiteral("NORQ AIS Viewer"), this)),
      lblVersion_(new QLabel(QStringLiteral("Ver 3.5"), this)),
      lblBuild_(new QLabel(QString::fromLatin1(kBuildText), this)),
      pages_(new QTabWidget(this)),
      memoStatement_(new QPlainTextEdit(this)),
      btnOk_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    lblProduct_->setObjectName(QStringLiteral("lblProduct"));
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblBuild_->setObjectName(QStringLiteral("lblBuild"));
    memoStatement_->setObjectName(QStringLiteral("memoStatement"));
    btnOk_->setObjectName(QStringLiteral("btnOK"));

    QFont productFont = lblProduct_->font();
    productFont.setPointSize(productFont.pointSize() + 6);
    productFont.setBold(true);
    lblProduct_->setFont(productFont);
    auto* logo = new QLabel(this);
    logo->setPixmap(ui::SvgPixmap(QStringLiteral("logo"), 64, 64));

    memoStatement_->setReadOnly(true);
    pages_->addTab(memoStatement_, QStringLiteral("Statement"));
    pages_->tabBar()->hide();

    auto* heading = new QHBoxLayout;
    heading->addWidget(logo);
    auto* names = new QVBoxLayout;
    names->addWidget(lblProduct_);
    names->addWidget(lblVersion_);
    names->addWidget(lblBuild_);
    heading->addLayout(names, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    resize(520, 380);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmAbout::setOkVisible(bool visible) {
    btnOk_->setVisible(visible);
}

void TfrmAbout::loadLanguage(int index) {
    const LanguageFiles& files = LanguageFilesFor(index);
    LanguageTable table;
    if (table.load(ProgramFilePath(programFolder_, files.languageFile))) {
        auto read = [&](const char* key, const QString& current) {
            return QString::fromStdString(table.read("ABOUT", key, current.toStdString()));
        };
        lblProduct_->setText(read("Product_AIS", lblProduct_->text()));
        btnOk_->setText(read("OK", btnOk_->text()));
        setWindowTitle(read("About", windowTitle()));
        lblVersion_->setText(read("Version", lblVersion_->text()));
        pages_->setTabText(0, read("Statement", pages_->tabText(0)));
    }
    const std::string readMe = LoadReadMe(ProgramFilePath(programFolder_, files.readMeFile));
    if (!readMe.empty()) memoStatement_->setPlainText(QString::fromStdString(readMe));
}

void TfrmAbout::loadStoredLanguage() {
    IniFile file;
    file.load(settingsFile_);
    const int index = ReadAboutLanguage(file);
    if (index >= 0) loadLanguage(index);
}

QString TfrmAbout::statement() const {
    return memoStatement_->toPlainText();
}
QString TfrmAbout::productText() const {
    return lblProduct_->text();
}

void TfrmAbout::showEvent(QShowEvent* event) {
    loadStoredLanguage();
    QDialog::showEvent(event);
}

}  // namespace norq::app
