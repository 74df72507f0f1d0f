// Small helpers shared by the navigation windows: texts of the language table
// as QString, UTF-8 in and out, the typing rule of an edit, and the windows'
// "Ok"/"Cancel" row.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>
#include <QValidator>
#include <functional>
#include <string>
#include <string_view>

#include "base/LanguageTable.h"

namespace norq::nav {

inline QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString Tx(const base::TextStore& texts, base::TextId id) {
    return Utf8(texts.text(id));
}

// An edit's rule while typing: text the rule does not keep is refused, so the
// edit keeps the text it had before.
class TypingRule final : public QValidator {
  public:
    using Keeps = std::function<bool(const std::string&)>;
    TypingRule(Keeps keeps, QObject* parent) : QValidator(parent), keeps_(std::move(keeps)) {}
    State validate(QString& input, int& /*pos*/) const override {
        return keeps_(input.toStdString()) ? Acceptable : Invalid;
    }

  private:
    Keeps keeps_;
};

// The "Ok" (default) and "Cancel" buttons of a window, right-aligned in one row;
// "Cancel" rejects the window. The caller connects "Ok" and adds the row.
struct OkCancelRow {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};
inline OkCancelRow MakeOkCancelRow(QDialog* dialog) {
    OkCancelRow r{new QPushButton(dialog), new QPushButton(dialog), new QHBoxLayout};
    r.ok->setObjectName(QStringLiteral("btnOk"));
    r.ok->setDefault(true);
    r.cancel->setObjectName(QStringLiteral("btnCancel"));
    r.row->addStretch();
    r.row->addWidget(r.ok);
    r.row->addWidget(r.cancel);
    QObject::connect(r.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return r;
}

}  // namespace norq::nav
