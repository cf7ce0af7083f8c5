#pragma once

#include "core/export/companydetails.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace lir::gui {

// "Реквизиты": the company details that head every quote, read from and
// written to the section [company] of lircomplect.ini in the working folder.
class TCompanyDetails : public QDialog
{
    Q_OBJECT
public:
    TCompanyDetails(const QString& dir, QWidget* parent = nullptr);

    // Opens the dialog for the working folder; true when the details were saved.
    static bool edit(QWidget* parent);

    CompanyDetails details() const;
    void setDetails(const CompanyDetails& d);

    QLineEdit* field(const char* key) const;
    QPlainTextEdit* bank() const { return m_bank; }
    QComboBox* vat() const { return m_vat; }
    QLineEdit* vatRate() const { return m_vatRate; }
    QSpinBox* validDays() const { return m_validDays; }

    // "Сохранить": checks the logo and the rate, then writes the file; the
    // dialog stays open with the error box when something is wrong.
    bool save();

private:
    QString m_dir;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_inn = nullptr;
    QLineEdit* m_kpp = nullptr;
    QPlainTextEdit* m_bank = nullptr;
    QLineEdit* m_logo = nullptr;
    QLineEdit* m_signer = nullptr;
    QComboBox* m_vat = nullptr;
    QLineEdit* m_vatRate = nullptr;
    QSpinBox* m_validDays = nullptr;
};

} // namespace lir::gui
