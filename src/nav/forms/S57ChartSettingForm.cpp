#include "nav/forms/S57ChartSettingForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "nav/ChartCalibration.h"
#include "nav/forms/NavFormTexts.h"

namespace norq::nav {

namespace {

QComboBox* Choice(QWidget* parent, const char* name, std::initializer_list<const char*> items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    return box;
}

int Metres(const QLineEdit* edit) {
    bool ok = false;
    const double value = edit->text().toDouble(&ok);
    return ok && std::isfinite(value) && std::fabs(value) < 1e6
               ? static_cast<int>(std::trunc(value))
               : 0;
}

}  // namespace

bool SameEncRecord(const base::EncSettings& a, const base::EncSettings& b) {
    return a.colourScheme == b.colourScheme && a.displayCategory == b.displayCategory &&
           a.shallowDepth == b.shallowDepth && a.safetyDepth == b.safetyDepth &&
           a.deepDepth == b.deepDepth && a.pointSymbols == b.pointSymbols &&
           a.lineStyle == b.lineStyle && a.waterDepthColours == b.waterDepthColours &&
           a.showText == b.showText && a.textLanguage == b.textLanguage &&
           a.showSoundings == b.showSoundings && a.showLights == b.showLights &&
           a.useScamin == b.useScamin && a.orientation == b.orientation;
}

TfrmS57ChartSetting::TfrmS57ChartSetting(const base::TextStore& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("frmS57ChartSetting"));
    tabs_ = new QTabWidget(this);
    QTabWidget* tabs = tabs_;
    auto* page = new QWidget(tabs);
    page->setObjectName(QStringLiteral("EncSetting"));
    tabs->addTab(page, QStringLiteral("EncSetting"));

    scheme_ =
        Choice(page, "cbxColorScheme", {"Day Bright", "Day Wihte", "Day Black", "Dusk", "Night"});
    // Items in the order of the record's values.
    symbol_ = Choice(page, "cbxSymbol", {"Paper Chart", "Simplified"});
    lineStyle_ = Choice(page, "cbxLineStyle", {"Symbolized", "Plain"});
    category_ = Choice(page, "cbxDisplayCategory", {"Base", "Standard", "Other"});
    orientation_ = Choice(page, "cbxChartOrientation", {"North-up", "Head-up", "Course-up"});
    soundings_ = new QCheckBox(QStringLiteral("Show Soundings"), page);
    lights_ = new QCheckBox(QStringLiteral("Show Lights"), page);
    scamin_ = new QCheckBox(QStringLiteral("Use SCAMIN"), page);

    auto* style = new QGroupBox(QStringLiteral("Display Style"), page);
    auto* styleForm = new QFormLayout(style);
    styleForm->addRow(QStringLiteral("Symbol"), symbol_);
    styleForm->addRow(QStringLiteral("Line Style"), lineStyle_);

    QGroupBox* depth = depthGroup(page, "edtDepth", depths_);

    auto* text = new QGroupBox(QStringLiteral("ENC Text"), page);
    auto* textRow = new QHBoxLayout(text);
    showText_ = new QCheckBox(QStringLiteral("Show Text"), text);
    english_ = new QRadioButton(QStringLiteral("English"), text);
    national_ = new QRadioButton(QStringLiteral("National Language"), text);
    textRow->addWidget(showText_);
    textRow->addWidget(english_);
    textRow->addWidget(national_);
    connect(showText_, &QCheckBox::toggled, english_, &QWidget::setEnabled);
    connect(showText_, &QCheckBox::toggled, national_, &QWidget::setEnabled);

    auto* water = new QGroupBox(QStringLiteral("Water Depth Color"), page);
    auto* waterRow = new QHBoxLayout(water);
    twoColours_ = new QRadioButton(QStringLiteral("Two color"), water);
    fourColours_ = new QRadioButton(QStringLiteral("Four color"), water);
    waterRow->addWidget(twoColours_);
    waterRow->addWidget(fourColours_);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Color Scheme"), scheme_);
    form->addRow(QStringLiteral("Display Category"), category_);
    form->addRow(QStringLiteral("Chart Orientation"), orientation_);
    auto* checks = new QHBoxLayout;
    checks->addWidget(soundings_);
    checks->addWidget(lights_);
    checks->addWidget(scamin_);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(form);
    pageLayout->addWidget(style);
    pageLayout->addLayout(checks);
    pageLayout->addWidget(depth);
    pageLayout->addWidget(text);
    pageLayout->addWidget(water);

    tabs->addTab(buildOptionPage(tabs), QStringLiteral("Option"));

    btnOk_ = new QPushButton(QStringLiteral("OK"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnDefault_ = new QPushButton(QStringLiteral("Defult"), this);
    btnDefault_->setObjectName(QStringLiteral("btnDefault"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnDefault_);
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnDefault_, &QPushButton::clicked, this, [this] {
        base::EncSettings defaults;
        defaults.markersShown = shown_.markersShown;
        defaults.routesShown = shown_.routesShown;
        defaults.tracksShown = shown_.tracksShown;
        const base::EncSettings kept = shown_;
        setRecord(defaults);
        shown_ = kept;  // the defaults are shown, not stored
    });
    retranslate();
    setRecord(base::EncSettings{});
}

QGroupBox* TfrmS57ChartSetting::depthGroup(QWidget* page, const char* name, QLineEdit* edits[3]) {
    auto* depth = new QGroupBox(QStringLiteral("Depth Setting"), page);
    auto* depthGrid = new QGridLayout(depth);
    const char* depthNames[3] = {"Shallow Depth", "Safety Depth", "Deep Depth"};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* edit = new QLineEdit(depth);
        edits[i] = edit;
        edit->setObjectName(QString::fromLatin1(name) + QString::number(i));
        edit->setMaximumWidth(70);
        depthGrid->addWidget(new QLabel(QString::fromLatin1(depthNames[i]), depth), i, 0);
        depthGrid->addWidget(edit, i, 1);
        depthGrid->addWidget(new QLabel(QStringLiteral("m"), depth), i, 2);
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { onDepthEdited(edit); });
    }
    return depth;
}

QWidget* TfrmS57ChartSetting::buildOptionPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("Option"));
    auto* schemes = new QGroupBox(QStringLiteral("Color Scheme"), page);
    auto* schemeRow = new QHBoxLayout(schemes);
    const char* names[3] = {"Day", "Dusk", "Night"};
    for (int i = 0; i < 3; ++i) {
        optionSchemes_[i] = new QRadioButton(QString::fromLatin1(names[i]), schemes);
        schemeRow->addWidget(optionSchemes_[i]);
        connect(optionSchemes_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            // Day keeps whichever day scheme the first page has.
            const int scheme =
                i == 0 ? (scheme_->currentIndex() <= 2 ? scheme_->currentIndex() : 0) : i + 2;
            if (scheme_->currentIndex() != scheme) scheme_->setCurrentIndex(scheme);
        });
    }
    connect(scheme_, &QComboBox::currentIndexChanged, this, [this] { mirrorScheme(); });

    optionSoundings_ = new QCheckBox(QStringLiteral("Show Soundings"), page);
    optionShowText_ = new QCheckBox(QStringLiteral("Show Text"), page);
    // Each check box and its twin on the first page follow each other.
    for (auto [a, b] : {std::pair{optionSoundings_, soundings_}, {optionShowText_, showText_}}) {
        connect(a, &QCheckBox::toggled, b, &QCheckBox::setChecked);
        connect(b, &QCheckBox::toggled, a, &QCheckBox::setChecked);
    }

    QGroupBox* depth = depthGroup(page, "edtOptionDepth", optionDepths_);
    for (int i = 0; i < 3; ++i) {
        QLineEdit* mine = optionDepths_[i];
        QLineEdit* twin = depths_[i];
        // setText does not emit textEdited, so the two never loop. The edit's
        // text is read when the signal arrives: a filtered edit may already
        // hold less than the signal's argument.
        connect(mine, &QLineEdit::textChanged, twin, [mine, twin] {
            if (twin->text() != mine->text()) twin->setText(mine->text());
        });
        connect(twin, &QLineEdit::textChanged, mine, [mine, twin] {
            if (mine->text() != twin->text()) mine->setText(twin->text());
        });
    }

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(schemes);
    auto* checks = new QHBoxLayout;
    checks->addWidget(optionSoundings_);
    checks->addWidget(optionShowText_);
    checks->addStretch();
    layout->addLayout(checks);
    layout->addWidget(depth);
    layout->addStretch();
    return page;
}

void TfrmS57ChartSetting::mirrorScheme() {
    const int scheme = scheme_->currentIndex();
    const int button = scheme <= 2 ? 0 : scheme - 2;
    if (button >= 0 && button < 3 && !optionSchemes_[button]->isChecked())
        optionSchemes_[button]->setChecked(true);
}

void TfrmS57ChartSetting::retranslate() {
    setWindowTitle(Tx(texts_, base::TextId::MenuConfigS57ChartOption));
}

void TfrmS57ChartSetting::setRecord(const base::EncSettings& r) {
    shown_ = r;
    scheme_->setCurrentIndex(std::clamp(r.colourScheme, 0, 4));
    category_->setCurrentIndex(std::clamp(r.displayCategory, 0, 2));
    depths_[0]->setText(QString::number(r.shallowDepth));
    depths_[1]->setText(QString::number(r.safetyDepth));
    depths_[2]->setText(QString::number(r.deepDepth));
    symbol_->setCurrentIndex(std::clamp(r.pointSymbols, 0, 1));
    lineStyle_->setCurrentIndex(std::clamp(r.lineStyle, 0, 1));
    (r.waterDepthColours == 0 ? twoColours_ : fourColours_)->setChecked(true);
    showText_->setChecked(r.showText);
    english_->setEnabled(r.showText);
    national_->setEnabled(r.showText);
    (r.textLanguage == 1 ? national_ : english_)->setChecked(true);
    soundings_->setChecked(r.showSoundings);
    lights_->setChecked(r.showLights);
    scamin_->setChecked(r.useScamin);
    orientation_->setCurrentIndex(std::clamp(r.orientation, 0, 2));
    mirrorScheme();
}

base::EncSettings TfrmS57ChartSetting::record() const {
    base::EncSettings r = shown_;
    r.colourScheme = scheme_->currentIndex();
    r.displayCategory = category_->currentIndex();
    r.shallowDepth = Metres(depths_[0]);
    r.safetyDepth = Metres(depths_[1]);
    r.deepDepth = Metres(depths_[2]);
    r.pointSymbols = symbol_->currentIndex();
    r.lineStyle = lineStyle_->currentIndex();
    r.waterDepthColours = fourColours_->isChecked() ? 1 : 0;
    r.showText = showText_->isChecked();
    r.textLanguage = national_->isChecked() ? 1 : 0;
    r.showSoundings = soundings_->isChecked();
    r.showLights = lights_->isChecked();
    r.useScamin = scamin_->isChecked();
    r.orientation = orientation_->currentIndex();
    return r;
}

void TfrmS57ChartSetting::onDepthEdited(QLineEdit* edit) {
    int caret = edit->cursorPosition();
    const QString kept = Utf8(FilterDepthText(edit->text().toStdString(), &caret));
    if (kept != edit->text()) {
        edit->setText(kept);
        edit->setCursorPosition(std::max(0, caret));
    }
}

}  // namespace norq::nav
