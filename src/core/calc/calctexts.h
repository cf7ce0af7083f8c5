#pragma once

#include <QString>
#include <QStringList>

// The texts of the calculator frame: labels, list items and the pieces from
// which order entries are built. Other code reads them from here only.
namespace lir::calctexts {

// List items
extern const QStringList profilTypes;      // "ПВХ", "деревянный"
extern const QStringList complektItems;    // turn window kit variants
extern const QStringList polStvorki;       // "Правое", "Левое"
extern const QStringList systemProfiles;   // rebate systems, index 0..3
extern const QStringList ramaTypes;        // "Еврофальц 18/8", "Еврофальц 20/8"
extern const QStringList tipRuchki;        // "ЛИР-0317.00", "ЛИР-1938.00"
extern const QStringList weights;          // turn and tilt windows
extern const QStringList weights6742;      // tilt-turn window ("до 100 кг")
extern const QStringList nazvTurn;         // 15 profile-system names
extern const QStringList nazvTiltTurn;     // 15 names, "ВИЛАРТ ЛИР"
extern const QStringList nazvTilt;         // 14 names, "Thyssen" at 10

// System selected by each profile-system name, per list (index into systemProfiles).
extern const QList<int> systemOfNazvTurn;
extern const QList<int> systemOfNazvTilt;

enum SystemIndex { Sys20_9 = 0, Sys20_13 = 1, Sys21_13 = 2, Sys18_9 = 3 };

// Window captions and labels
extern const QString captionPrefix;        // Расчет комплектации пластиковых окон ООО "Арвела"
extern const QString caption6741;
extern const QString caption6742;
extern const QString caption6741otkid;

extern const QString groupCommon;
extern const QString groupSizes;
extern const QString groupExtra;
extern const QString lblKolKomlektov;
extern const QString lblRal;
extern const QString lblProfil;
extern const QString lblComplekt;
extern const QString lblFFH;
extern const QString lblFFB;
extern const QString lblGH;
extern const QString lblGHTilt;
extern const QString lblRuchkaVcentre;
extern const QString lblPolStvorki;
extern const QString lblSystemProfiles;
extern const QString lblNazvSystemProfiles;
extern const QString lblRamaType;
extern const QString lblDopKomplektaciya;
extern const QString lblRuchkaOkon;
extern const QString lblShow;
extern const QString lblProvetrivatel;
extern const QString lblBalkonnaya;
extern const QString lblBlokirator;
extern const QString lblPlankaMicrovent;
extern const QString lblZapor;
extern const QString lblScissors;
extern const QString lblWeight;
extern const QString lblWeight6742;
extern const QString lblLIRL;
extern const QString btRashet;
extern const QString btSaveChanges;
extern const QString btSaveChanges6742;
extern const QString btExcel;
extern const QString btSum;
// Tooltips of the two commands that have keys.
extern const QString hintRashet;
extern const QString hintSum;
extern const QString btClose;

// Result grid
extern const QStringList gridHeadersNarrow;
extern const QStringList gridHeadersWide;
extern const QList<int> gridWidthsNarrow;
extern const QList<int> gridWidthsWide;
extern const QString totalScrews25;        // "Общее кол-во шурупов(4*25)"
extern const QString totalScrews40;        // "Общее кол-во шурупов(4*40)"

// Order entry pieces
extern const QString typeTurn;             // "ПФ"
extern const QString typeTiltTurn;         // "ПОФ "
extern const QString typeTilt;             // "ОФ"
extern const QString typeNoClamps;         // "без прижимов"
extern const QString typeClamps;           // "с прижимами"
extern const QString dopHandle;            // "ручка "
extern const QString dopComma;             // ", "
extern const QString dopVentilator;        // "проветриватель, "
extern const QString dopBalconyComma;      // "балконная защелка, "
extern const QString dopBalcony;           // "балконная защелка"
extern const QString dopBlocker;           // "блокиратор"
extern const QString dopMicrovent;         // "планка микровентиляции, "
extern const QString dopScissors;          // "ножницы 2шт"
// Pieces that let the order restore exactly the kit that was added
extern const QString dopLock;              // "запор поворотно-откидной"
extern const QString dopSideRight;         // "створка правая"
extern const QString dopSideLeft;          // "створка левая"
extern const QString dopWeight100;         // "до 100 кг"
extern const QString dopWeight120;         // "до 120 кг"
extern const QString kitNonStandard;       // "Нестандартный"

} // namespace lir::calctexts
