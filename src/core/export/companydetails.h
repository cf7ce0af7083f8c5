#pragma once

#include <QString>

// The company's details that head a quote, kept in the section [company] of
// lircomplect.ini (UTF-8), so that an office can copy one file to every
// workstation:
//
//   [company]
//   name=ООО "Окна"
//   address=г. Москва, ул. Ленина, 1
//   phone=+7 495 123-45-67
//   email=info@okna.ru
//   inn=7701234567
//   kpp=770101001
//   bank=р/с 40702810000000000001\nАО "Банк", БИК 044525000
//   logo=/home/smeta/logo.png
//   signer=Иванов И. И.
//   vat=included          ; none, included or on_top
//   vat_rate=20
//   valid_days=30
//
// A missing file, section or key gives a quote without that line; a value
// the program cannot use counts as missing. Never an error.
namespace lir {

struct CompanyDetails
{
    enum class Vat { None, Included, OnTop };

    QString name;
    QString address;
    QString phone;
    QString email;
    QString inn;
    QString kpp;
    QString bank;   // several lines
    QString logo;   // a path to a PNG, JPEG or SVG picture
    QString signer; // the estimator who signs the quote
    Vat vat = Vat::None;
    int vatRate = 2000;  // hundredths of a percent: 20 %
    int validDays = 0;   // 0: the quote names no validity

    bool operator==(const CompanyDetails&) const = default;
};

// The details of lircomplect.ini in `dir`.
CompanyDetails readCompanyDetails(const QString& dir);
// Writes the section [company] of lircomplect.ini in `dir`, replacing the one
// there and keeping every other line of the file as it was. The file is
// replaced whole or not at all; a failure throws lir::Error naming it.
void writeCompanyDetails(const QString& dir, const CompanyDetails& details);

// The text of a rate as typed: "20", "12,5" or "12.5", 0 to 100 %; false for
// anything else.
bool parseVatRate(const QString& text, int* hundredths);

} // namespace lir
