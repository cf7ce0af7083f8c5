#include "gui/app/form_company.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/db/storesettings.h"
#include "core/export/money.h"
#include "docs/quotedocument.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lir::gui {

namespace {

QLineEdit* lineEdit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMinimumWidth(360);
    return e;
}

} // namespace

TCompanyDetails::TCompanyDetails(const QString& dir, QWidget* parent) : QDialog(parent), m_dir(dir)
{
    setObjectName(QStringLiteral("CompanyDetails"));
    setWindowTitle(QStringLiteral("Реквизиты"));

    auto* form = new QFormLayout;
    m_name = lineEdit("name", this);
    m_address = lineEdit("address", this);
    m_phone = lineEdit("phone", this);
    m_email = lineEdit("email", this);
    m_inn = lineEdit("inn", this);
    m_kpp = lineEdit("kpp", this);
    m_bank = new QPlainTextEdit(this);
    m_bank->setObjectName(QStringLiteral("bank"));
    m_bank->setTabChangesFocus(true);
    m_bank->setFixedHeight(72);
    m_logo = lineEdit("logo", this);
    m_signer = lineEdit("signer", this);
    m_vat = new QComboBox(this);
    m_vat->setObjectName(QStringLiteral("vat"));
    m_vat->addItems({QStringLiteral("без НДС"), QStringLiteral("НДС в том числе"), QStringLiteral("НДС сверху")});
    m_vatRate = lineEdit("vat_rate", this);
    m_vatRate->setMinimumWidth(60);
    m_vatRate->setMaximumWidth(80);
    m_validDays = new QSpinBox(this);
    m_validDays->setObjectName(QStringLiteral("valid_days"));
    m_validDays->setRange(0, 3650);
    m_validDays->setSpecialValueText(QStringLiteral("не указан"));
    m_validDays->setSuffix(QStringLiteral(" дн."));

    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(m_logo, 1);
    auto* choose = new QPushButton(QStringLiteral("Выбрать..."), this);
    choose->setObjectName(QStringLiteral("chooseLogo"));
    auto* remove = new QPushButton(QStringLiteral("Убрать"), this);
    remove->setObjectName(QStringLiteral("removeLogo"));
    logoRow->addWidget(choose);
    logoRow->addWidget(remove);
    auto* vatRow = new QHBoxLayout;
    vatRow->addWidget(m_vat, 1);
    vatRow->addWidget(new QLabel(QStringLiteral("ставка, %:"), this));
    vatRow->addWidget(m_vatRate);

    form->addRow(QStringLiteral("Название организации:"), m_name);
    form->addRow(QStringLiteral("Адрес:"), m_address);
    form->addRow(QStringLiteral("Телефон:"), m_phone);
    form->addRow(QStringLiteral("E-mail:"), m_email);
    form->addRow(QStringLiteral("ИНН:"), m_inn);
    form->addRow(QStringLiteral("КПП:"), m_kpp);
    form->addRow(QStringLiteral("Банковские реквизиты:"), m_bank);
    form->addRow(QStringLiteral("Логотип (PNG, JPEG, SVG):"), logoRow);
    form->addRow(QStringLiteral("Сметчик (подпись):"), m_signer);
    form->addRow(QStringLiteral("НДС:"), vatRow);
    form->addRow(QStringLiteral("Срок действия предложения:"), m_validDays);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("Сохранить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    auto* note = new QLabel(QStringLiteral("Реквизиты хранятся в разделе [company] файла %1 рабочей папки.")
                                .arg(QDir::toNativeSeparators(QDir(dir).filePath(db::settingsFileName()))),
                            this);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Логотип"), m_logo->text(),
                                                          QStringLiteral("Картинки (*.png *.jpg *.jpeg *.svg)"));
        if (!file.isEmpty())
            m_logo->setText(file);
    });
    connect(remove, &QPushButton::clicked, m_logo, &QLineEdit::clear);

    setDetails(readCompanyDetails(dir));
}

bool TCompanyDetails::edit(QWidget* parent)
{
    TCompanyDetails dialog(QDir::currentPath(), parent);
    return dialog.exec() == QDialog::Accepted;
}

QLineEdit* TCompanyDetails::field(const char* key) const
{
    return findChild<QLineEdit*>(QLatin1String(key));
}

void TCompanyDetails::setDetails(const CompanyDetails& d)
{
    m_name->setText(d.name);
    m_address->setText(d.address);
    m_phone->setText(d.phone);
    m_email->setText(d.email);
    m_inn->setText(d.inn);
    m_kpp->setText(d.kpp);
    m_bank->setPlainText(d.bank);
    m_logo->setText(d.logo);
    m_signer->setText(d.signer);
    m_vat->setCurrentIndex(int(d.vat));
    m_vatRate->setText(money::rateText(d.vatRate));
    m_validDays->setValue(d.validDays);
}

CompanyDetails TCompanyDetails::details() const
{
    CompanyDetails d;
    d.name = m_name->text().trimmed();
    d.address = m_address->text().trimmed();
    d.phone = m_phone->text().trimmed();
    d.email = m_email->text().trimmed();
    d.inn = m_inn->text().trimmed();
    d.kpp = m_kpp->text().trimmed();
    d.bank = m_bank->toPlainText().trimmed();
    d.logo = m_logo->text().trimmed();
    d.signer = m_signer->text().trimmed();
    d.vat = CompanyDetails::Vat(m_vat->currentIndex());
    int rate = d.vatRate;
    parseVatRate(m_vatRate->text(), &rate);
    d.vatRate = rate;
    d.validDays = m_validDays->value();
    return d;
}

bool TCompanyDetails::save()
{
    return runGuarded([this] {
        int rate = 0;
        if (!parseVatRate(m_vatRate->text(), &rate))
            throw Error(QStringLiteral("Ставка НДС «%1» — не число от 0 до 100.").arg(m_vatRate->text()));
        const CompanyDetails d = details();
        if (const QString problem = docs::logoProblem(d.logo); !problem.isEmpty())
            throw Error(problem);
        writeCompanyDetails(m_dir, d);
    });
}

} // namespace lir::gui
