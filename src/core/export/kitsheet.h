#pragma once

#include "core/calc/kitcalculator.h"
#include "core/prices/pricelookup.h"

#include <QLocale>
#include <QString>
#include <QVector>

namespace lir {

// What a kit sheet shows: the Last calculation with the header items read from
// the window's inputs at the moment of the export.
struct KitSheet
{
    struct Line
    {
        QString designation;
        QString name;
        QString marking;
        int quantity = 0;
        QString screws25; // result grid text, blank where zero
        QString screws40;
    };
    struct ScrewRow
    {
        QString label; // "Общее кол-во шурупов(4*25)", or blank
        QString count; // number of screws as text, or blank
    };

    QString kitDesignation;
    int ffh = 0;
    int ffb = 0;
    int gh = 0;
    bool handleAlongWidth = false; // tilt window: "Ширина ручки"
    bool quantityAsNumber = false; // tilt-turn window marks the quantity x:num
    QString profileSystem;
    QString profileSystemName;
    int ral = 0;
    int kitCount = 0;
    QVector<Line> lines;
    ScrewRow screws25;
    ScrewRow screws40;

    static KitSheet fromCalculator(const KitCalculator& calc);
};

// Screw designations under which the screw rows are priced.
QString screwDesignation25();
QString screwDesignation40();

} // namespace lir
