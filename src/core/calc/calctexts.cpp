#include "core/calc/calctexts.h"

namespace lir::calctexts {

const QStringList profilTypes = {QStringLiteral("ПВХ"), QStringLiteral("деревянный")};
const QStringList complektItems = {QStringLiteral("без верх. и ниж. прижимов"),
                                   QStringLiteral("с верх. и ниж. прижимами")};
const QStringList polStvorki = {QStringLiteral("Правое"), QStringLiteral("Левое")};
const QStringList systemProfiles = {QStringLiteral("12/20-9"), QStringLiteral("12/20-13"),
                                    QStringLiteral("12/21-13"), QStringLiteral("12/18-9")};
const QStringList ramaTypes = {QStringLiteral("Еврофальц 18/8"), QStringLiteral("Еврофальц 20/8")};
const QStringList tipRuchki = {QStringLiteral("ЛИР-0317.00"), QStringLiteral("ЛИР-1938.00")};
const QStringList weights = {QStringLiteral("до 100кг"), QStringLiteral("до 120кг")};
const QStringList weights6742 = {QStringLiteral("до 100 кг"), QStringLiteral("до 120 кг")};

const QStringList nazvTurn = {
    QStringLiteral("ARtec PAD"),        QStringLiteral("KBE AD"),     QStringLiteral("Montblanc"),
    QStringLiteral("Plustec"),          QStringLiteral("PROPLEX"),    QStringLiteral("Rehau S730 AD"),
    QStringLiteral("Salamander"),       QStringLiteral("Veka Softline AD"), QStringLiteral("Novotex"),
    QStringLiteral("Exprof"),           QStringLiteral("ВИЛАРТ-ЛИР"), QStringLiteral("COK"),
    QStringLiteral("PLAFEN"),           QStringLiteral("KBE Expert"), QStringLiteral("Thyssen")};
const QStringList nazvTiltTurn = [] {
    QStringList l = nazvTurn;
    l[10] = QStringLiteral("ВИЛАРТ ЛИР");
    return l;
}();
const QStringList nazvTilt = {
    QStringLiteral("ARtec PAD"),  QStringLiteral("KBE AD"),     QStringLiteral("Montblanc"),
    QStringLiteral("Plustec"),    QStringLiteral("PROPLEX"),    QStringLiteral("Rehau S730 AD"),
    QStringLiteral("Salamander"), QStringLiteral("Veka Softline AD"), QStringLiteral("Novotex"),
    QStringLiteral("Exprof"),     QStringLiteral("Thyssen"),    QStringLiteral("COK"),
    QStringLiteral("PLAFEN"),     QStringLiteral("KBE Expert")};

const QList<int> systemOfNazvTurn = {Sys20_13, Sys20_9,  Sys20_13, Sys20_13, Sys20_9,
                                     Sys20_13, Sys20_13, Sys20_9,  Sys20_9,  Sys20_9,
                                     Sys20_13, Sys20_13, Sys20_13, Sys20_13, Sys21_13};
const QList<int> systemOfNazvTilt = {Sys20_13, Sys20_9,  Sys20_13, Sys20_13, Sys20_9,
                                     Sys20_13, Sys20_13, Sys20_9,  Sys20_9,  Sys20_9,
                                     Sys21_13, Sys20_13, Sys20_13, Sys20_13};

const QString captionPrefix = QStringLiteral("Расчет комплектации пластиковых окон ООО \"Арвела\" ");
const QString caption6741 = captionPrefix + QStringLiteral("ЛИР-6741 M");
const QString caption6742 = captionPrefix + QStringLiteral("ЛИР-6742 M");
const QString caption6741otkid = captionPrefix + QStringLiteral("ЛИР-6741 М");

const QString groupCommon = QStringLiteral(" Общие параметры ");
const QString groupSizes = QStringLiteral(" Размеры створки (от фальца створки), mm ");
const QString groupExtra = QStringLiteral(" Дополнительные параметры ");
const QString lblKolKomlektov = QStringLiteral("Количество комплектов:");
const QString lblRal = QStringLiteral("Цвет (RAL):");
const QString lblProfil = QStringLiteral("Профиль ");
const QString lblComplekt = QStringLiteral("Комплект ");
const QString lblFFH = QStringLiteral("Высота створки:");
const QString lblFFB = QStringLiteral("Ширина створки:");
const QString lblGH = QStringLiteral("Высота установки ручки:");
const QString lblGHTilt = QStringLiteral("Установка ручки по ширине:");
const QString lblRuchkaVcentre = QStringLiteral("Ручка в центре");
const QString lblPolStvorki = QStringLiteral("Положение створки:");
const QString lblSystemProfiles = QStringLiteral("Система профилей:");
const QString lblNazvSystemProfiles = QStringLiteral("Название сис.профилей:");
const QString lblRamaType = QStringLiteral("Тип фальца рамы:");
const QString lblDopKomplektaciya = QStringLiteral("Долнительная комплектация:");
const QString lblRuchkaOkon = QStringLiteral("Ручка оконная");
const QString lblShow = QStringLiteral("показать");
const QString lblProvetrivatel = QStringLiteral("Проветриватель ступенчатый");
const QString lblBalkonnaya = QStringLiteral("Балконная защелка");
const QString lblBlokirator = QStringLiteral("Блокиратор (приподниматель)");
const QString lblPlankaMicrovent = QStringLiteral("Планка микровентиляции");
const QString lblZapor = QStringLiteral("Запор поворотно-откидной");
const QString lblScissors = QStringLiteral("Фрамужные ножницы 2шт");
const QString lblWeight = QStringLiteral("Вес створки");
const QString lblWeight6742 = QStringLiteral(" Вес створки ");
const QString lblLIRL = QStringLiteral("Обозначение комплекта:");
const QString btRashet = QStringLiteral("РАСЧЕТ");
const QString btSaveChanges = QStringLiteral("Сохранить изменения");
const QString btSaveChanges6742 = QStringLiteral(" Сохранить изменения");
const QString btExcel = QStringLiteral("EXCEL");
const QString btSum = QStringLiteral("В ЗАКАЗ");
const QString hintRashet = QStringLiteral("Рассчитать комплект (Enter в любом поле ввода)");
const QString hintSum = QStringLiteral("Добавить комплект в заказ (Ctrl+Enter)");
const QString btClose = QStringLiteral("ЗАКРЫТЬ");

const QStringList gridHeadersNarrow = {QStringLiteral("Обозначение ЛИР"), QStringLiteral("Наименование"),
                                       QStringLiteral("Маркировка"),      QStringLiteral("Кол-во"),
                                       QStringLiteral("Шурупы(4*25)"),    QStringLiteral("Шурупы(4*40)")};
const QStringList gridHeadersWide = {QStringLiteral("Обозначение ЛИР"),      QStringLiteral("Наименование"),
                                     QStringLiteral("Маркировка"),           QStringLiteral("Кол-во"),
                                     QStringLiteral("Кол-во шурупов(4*25)"), QStringLiteral("Кол-во шурупов(4*40)")};
const QList<int> gridWidthsNarrow = {95, 170, 68, 38, 70, 70};
const QList<int> gridWidthsWide = {100, 170, 75, 42, 110, 110};
const QString totalScrews25 = QStringLiteral("Общее кол-во шурупов(4*25)");
const QString totalScrews40 = QStringLiteral("Общее кол-во шурупов(4*40)");

const QString typeTurn = QStringLiteral("ПФ");
const QString typeTiltTurn = QStringLiteral("ПОФ ");
const QString typeTilt = QStringLiteral("ОФ");
const QString typeNoClamps = QStringLiteral("без прижимов");
const QString typeClamps = QStringLiteral("с прижимами");
const QString dopHandle = QStringLiteral("ручка ");
const QString dopComma = QStringLiteral(", ");
const QString dopVentilator = QStringLiteral("проветриватель, ");
const QString dopBalconyComma = QStringLiteral("балконная защелка, ");
const QString dopBalcony = QStringLiteral("балконная защелка");
const QString dopBlocker = QStringLiteral("блокиратор");
const QString dopMicrovent = QStringLiteral("планка микровентиляции, ");
const QString dopScissors = QStringLiteral("ножницы 2шт");
const QString dopLock = QStringLiteral("запор поворотно-откидной");
const QString dopSideRight = QStringLiteral("створка правая");
const QString dopSideLeft = QStringLiteral("створка левая");
const QString dopWeight100 = QStringLiteral("до 100 кг");
const QString dopWeight120 = QStringLiteral("до 120 кг");
const QString kitNonStandard = QStringLiteral("Нестандартный");

} // namespace lir::calctexts
