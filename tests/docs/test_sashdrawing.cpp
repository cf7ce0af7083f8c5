// The sash drawing, read back from its SVG: the dimension texts, the handle's
// place on the outline, the hinge side, the opening symbol of each system,
// and a drawing that stays in its box whatever is typed.
#include "cli/kit/kitcli.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "docs/sashdrawing.h"
#include "support/testsupport.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QXmlStreamReader>

#include <cmath>
#include <optional>
#include <vector>

using namespace lir;
using In = KitCalculator::Input;

namespace {

const QSize Size(640, 480);

// The shapes of an SVG, each with the attributes it inherits from its groups.
struct Shape
{
    QString tag;
    QHash<QString, QString> attrs;
    QString text;
    double num(const char* name) const { return attrs.value(QLatin1String(name)).toDouble(); }
    QRectF rect() const { return {num("x"), num("y"), num("width"), num("height")}; }
    QVector<QPointF> points() const
    {
        QVector<QPointF> out;
        for (const QString& pair : attrs.value(QStringLiteral("points")).split(u' ', Qt::SkipEmptyParts)) {
            const QStringList xy = pair.split(u',');
            out.append({xy.value(0).toDouble(), xy.value(1).toDouble()});
        }
        return out;
    }
    QString fill() const { return attrs.value(QStringLiteral("fill")).toLower(); }
};

struct Svg
{
    std::vector<Shape> shapes;

    explicit Svg(const QByteArray& data)
    {
        QXmlStreamReader xml(data);
        std::vector<QHash<QString, QString>> groups{{}};
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                QHash<QString, QString> attrs = groups.back();
                for (const QXmlStreamAttribute& a : xml.attributes())
                    attrs.insert(a.name().toString(), a.value().toString());
                const QString tag = xml.name().toString();
                if (tag == QLatin1String("g")) {
                    groups.push_back(attrs);
                    continue;
                }
                if (tag == QLatin1String("svg") || tag == QLatin1String("title") || tag == QLatin1String("desc") ||
                    tag == QLatin1String("defs"))
                    continue;
                Shape s{tag, attrs, {}};
                if (tag == QLatin1String("text"))
                    s.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                shapes.push_back(s);
            } else if (xml.isEndElement() && xml.name() == QLatin1String("g")) {
                groups.pop_back();
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }

    // A painted text is written as one element per run of one script (the
    // Latin "R" of a kit designation is a run of its own): the runs of one
    // line, one after the other, are joined again.
    std::vector<Shape> lines() const
    {
        std::vector<Shape> out;
        const Shape* previous = nullptr;
        for (const Shape& s : shapes) {
            if (s.tag != QLatin1String("text")) {
                previous = nullptr;
                continue;
            }
            if (previous && previous->num("y") == s.num("y") && s.num("x") > previous->num("x")) {
                out.back().text += s.text;
            } else {
                out.push_back(s);
            }
            previous = &s;
        }
        return out;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Shape& s : lines())
            out << s.text;
        return out;
    }
    std::optional<Shape> text(const QString& t) const
    {
        for (const Shape& s : lines())
            if (s.text == t)
                return s;
        return std::nullopt;
    }
    std::vector<Shape> all(const char* tag) const
    {
        std::vector<Shape> out;
        for (const Shape& s : shapes)
            if (s.tag == QLatin1String(tag))
                out.push_back(s);
        return out;
    }
    // The sash's outline: the largest rectangle.
    QRectF outline() const
    {
        QRectF best;
        for (const Shape& s : all("rect"))
            if (s.rect().width() * s.rect().height() > best.width() * best.height())
                best = s.rect();
        return best;
    }
    // The lines of the opening symbol: each a polyline of three points, its
    // apex in the middle (the dimension lines are single lines).
    std::vector<Shape> symbol() const
    {
        std::vector<Shape> out;
        for (const Shape& s : all("polyline"))
            if (s.points().size() == 3)
                out.push_back(s);
        return out;
    }
    // The rectangles filled in a colour.
    std::vector<QRectF> filled(const QString& colour) const
    {
        std::vector<QRectF> out;
        for (const Shape& s : all("rect"))
            if (s.fill() == colour)
                out.push_back(s.rect());
        return out;
    }
};

Svg svgOf(const KitCalculator& k)
{
    return Svg(sashSvg(sashDrawingOf(k), Size));
}

bool isRed(const std::optional<Shape>& s)
{
    return s && s->fill() == QLatin1String("#d00000");
}

// The fittings (hinges, the handle in the kit) are the dark grey shapes.
const QString fittings = QStringLiteral("#555555");

} // namespace

TEST(SashDrawing, ShowsTheTypedSizesAndTheKitOnlyWhileItStandsForThem)
{
    TurnKit k;
    k.setFFH(400);
    k.setFFB(500);
    Svg svg = svgOf(k);
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("FFB 500"))) << svg.texts().join(u'|').toStdString();
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("FFH 400")));
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("GH 200"))); // centred: half of FFH
    EXPECT_FALSE(isRed(svg.text(QStringLiteral("FFB 500"))));
    EXPECT_EQ(svg.texts().filter(QStringLiteral("допустимо")), QStringList());
    EXPECT_FALSE(svg.texts().contains(QStringLiteral("ЛИР-6741-01МR100")));

    k.RashetButtonClick();
    EXPECT_TRUE(svgOf(k).texts().contains(QStringLiteral("ЛИР-6741-01МR100")));
    // To scale: the outline has the proportions of FFB x FFH.
    const QRectF o = svgOf(k).outline();
    EXPECT_NEAR(o.width() / o.height(), 500.0 / 400.0, 0.02);

    // A changed input: the kit no longer stands for the drawing.
    k.setFFB(600);
    svg = svgOf(k);
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("FFB 600")));
    EXPECT_FALSE(svg.texts().contains(QStringLiteral("ЛИР-6741-01МR100")));

    // A failed calculation shows no kit.
    k.setFFB(900);
    k.RashetButtonClick();
    EXPECT_FALSE(svgOf(k).texts().contains(QStringLiteral("ЛИР-6741-01МR100")));
}

TEST(SashDrawing, SizesTheRulesRefuseAreRedWithTheirRangeAndDrawnAtItsLimit)
{
    TurnKit turn; // without clamps: width 200-800, height 300-2300
    turn.setFFH(0);
    turn.setFFB(9999);
    Svg svg = svgOf(turn);
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("FFB 9999"))));
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 200–800"))));
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("FFH 0"))));
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 300–2300"))));
    QRectF o = svg.outline();
    EXPECT_NEAR(o.width() / o.height(), 800.0 / 300.0, 0.03);

    turn.setComplekt(1); // with clamps the ranges change with the rules
    svg = svgOf(turn);
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 650–1300"))));
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 440–2300"))));

    TiltTurnKit tiltTurn;
    tiltTurn.setFFH(1400);
    tiltTurn.setFFB(1500);
    svg = svgOf(tiltTurn);
    EXPECT_FALSE(isRed(svg.text(QStringLiteral("FFH 1400"))));
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 280–1300"))));

    // The tilt width depends on the height band.
    TiltKit tilt;
    tilt.setFFH(500);
    tilt.setFFB(100);
    EXPECT_TRUE(svgOf(tilt).texts().contains(QStringLiteral("допустимо 300–2300")));
    tilt.setFFH(1000);
    EXPECT_TRUE(svgOf(tilt).texts().contains(QStringLiteral("допустимо 440–2300")));
    EXPECT_EQ(svgOf(tilt).texts().filter(QStringLiteral("допустимо")).size(), 1);
}

TEST(SashDrawing, AHandleTheRulesRefuseIsRedWithTheNearestPlacesThatFit)
{
    TurnKit k; // without clamps, FFH 1000: within 100 mm of the middle
    k.setFFH(1000);
    k.setFFB(600);
    k.setRuchkaVcentre(false);
    k.setGH(3000); // above the sash
    Svg svg = svgOf(k);
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("GH 3000"))));
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 400–600"))));
    k.setGH(550);
    svg = svgOf(k);
    EXPECT_FALSE(isRed(svg.text(QStringLiteral("GH 550"))));
    EXPECT_EQ(svg.texts().filter(QStringLiteral("допустимо")), QStringList());

    // Off-centre on the tilt-turn bolts: separate stretches; the one nearest is named.
    TiltTurnKit tt;
    tt.setFFH(1400);
    tt.setFFB(700);
    tt.setRuchkaVcentre(false);
    tt.setGH(100);
    svg = svgOf(tt);
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("GH 100"))));
    // The bolt 620 with three extension steps: the longer distance 1060-1150.
    EXPECT_TRUE(isRed(svg.text(QStringLiteral("допустимо 311–340"))));
    // What the drawing refuses, the calculation refuses, and what it accepts, it accepts.
    tt.setGH(341);
    EXPECT_TRUE(isRed(svgOf(tt).text(QStringLiteral("GH 341"))));
    tt.RashetButtonClick();
    EXPECT_TRUE(tt.lastCalculationFailed());
    tt.setRuchkaVcentre(false);
    tt.setGH(340);
    EXPECT_FALSE(isRed(svgOf(tt).text(QStringLiteral("GH 340"))));
    tt.RashetButtonClick();
    EXPECT_FALSE(tt.lastCalculationFailed());
}

TEST(SashDrawing, TheHandleSitsAtGHOppositeTheHingesAndTheSideMirrors)
{
    TiltTurnKit k;
    k.setFFH(1400);
    k.setFFB(700);
    k.setRuchkaVcentre(false);
    k.setGH(500);
    k.setRuchkaOkon(true);

    for (int side : {0, 1}) { // "Правое": hinges on the right, seen from the room
        SCOPED_TRACE(side);
        k.setPolStvorki(side);
        const Svg svg = svgOf(k);
        const QRectF o = svg.outline();
        const auto dark = svg.filled(fittings);
        ASSERT_EQ(dark.size(), 3u); // two hinges and the handle
        const double hingeX = side == 0 ? o.right() : o.left();
        const double handleX = side == 0 ? o.left() : o.right();
        int hinges = 0;
        const QRectF* handle = nullptr;
        for (const QRectF& r : dark) {
            if (std::abs(r.center().x() - hingeX) < 2)
                ++hinges;
            else
                handle = &r;
        }
        EXPECT_EQ(hinges, 2);
        ASSERT_NE(handle, nullptr);
        EXPECT_LT(std::abs(handle->center().x() - handleX), o.width() * 0.1);
        EXPECT_NEAR((o.bottom() - handle->center().y()) / o.height(), 500.0 / 1400.0, 0.01);

        // The turn lines meet at the hinges, the tilt lines at the bottom.
        const auto lines = svg.symbol();
        ASSERT_EQ(lines.size(), 2u);
        const QPointF turnApex = lines[0].points().value(1);
        EXPECT_LT(std::abs(turnApex.x() - hingeX), o.width() * 0.1);
        EXPECT_NEAR(turnApex.y(), o.center().y(), 1);
        const QPointF tiltApex = lines[1].points().value(1);
        EXPECT_NEAR(tiltApex.x(), o.center().x(), 1);
        EXPECT_LT(std::abs(tiltApex.y() - o.bottom()), o.height() * 0.1);
    }

    // Without "Ручка оконная" only the handle's place shows, hollow.
    k.setRuchkaOkon(false);
    EXPECT_EQ(svgOf(k).filled(fittings).size(), 2u);
}

TEST(SashDrawing, EachSystemHasItsOwnSymbol)
{
    TurnKit turn;
    turn.setFFH(1000);
    turn.setFFB(600);
    turn.setPolStvorki(1); // "Левое"
    Svg svg = svgOf(turn);
    auto lines = svg.symbol();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LT(std::abs(lines[0].points().value(1).x() - svg.outline().left()), 20);

    TiltKit tilt; // hinged at the bottom, the handle on the top rail at GH from the left
    tilt.setFFH(600);
    tilt.setFFB(1200);
    svg = svgOf(tilt);
    lines = svg.symbol();
    ASSERT_EQ(lines.size(), 1u);
    const QRectF o = svg.outline();
    EXPECT_NEAR(lines[0].points().value(1).x(), o.center().x(), 1);
    EXPECT_LT(std::abs(lines[0].points().value(1).y() - o.bottom()), 20);
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("GH 600")));
    for (const QRectF& hinge : svg.filled(fittings))
        EXPECT_NEAR(hinge.center().y(), o.bottom(), 2);
}

TEST(SashDrawing, WhateverIsTypedTheDrawingStaysInItsBox)
{
    struct Case
    {
        const char* name;
        int ffh, ffb, gh;
        bool wooden;
    };
    const Case cases[] = {
        {"zero", 0, 0, 0, false},    {"one", 1, 1, 1, false},       {"huge", 9999, 9999, 9999, false},
        {"wide", 230, 2300, 100, false}, {"tall", 2300, 230, 100, false}, {"handle above", 800, 600, 5000, false},
        {"wooden", 800, 600, 300, true},
    };
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    for (KitCalculator* k : {static_cast<KitCalculator*>(&turn), static_cast<KitCalculator*>(&tiltTurn),
                             static_cast<KitCalculator*>(&tilt)}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(k->model().toStdString() + " " + c.name);
            k->setProfilType(c.wooden ? 1 : 0);
            k->setRuchkaOkon(false);
            k->setFFH(c.ffh);
            k->setFFB(c.ffb);
            if (k->kind() != KitCalculator::Kind::Tilt)
                k->setRuchkaVcentre(false);
            k->setGH(c.gh);
            const SashDrawingInput in = sashDrawingOf(*k);
            const Svg svg(sashSvg(in, Size));
            const QRectF box(QPointF(0, 0), Size);
            for (const Shape& s : svg.shapes) {
                if (s.tag == QLatin1String("rect")) {
                    EXPECT_TRUE(box.contains(s.rect())) << s.tag.toStdString();
                    EXPECT_GE(s.rect().width(), 0);
                    EXPECT_GE(s.rect().height(), 0);
                }
                for (const QPointF& p : s.points())
                    EXPECT_TRUE(box.contains(p));
                if (s.tag == QLatin1String("text")) {
                    EXPECT_TRUE(box.contains(QPointF(s.num("x"), s.num("y")))) << s.text.toStdString();
                }
            }
            EXPECT_GT(svg.outline().width(), 0);
            EXPECT_GT(svg.outline().height(), 0);

            // Painted into a part of a larger image, nothing lands outside the
            // part, in the window's size and in a quote's small one.
            for (const QRect part : {QRect(20, 20, 560, 400), QRect(20, 20, 60, 40), QRect(20, 20, 5, 5)}) {
                QImage image(part.size() + QSize(40, 40), QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
                {
                    QPainter p(&image);
                    paintSash(p, QRectF(part), in);
                }
                int outside = 0, inside = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        (part.contains(x, y) ? inside : outside) += qAlpha(image.pixel(x, y)) != 0;
                EXPECT_EQ(outside, 0) << part.width();
                if (part.width() > 5) {
                    EXPECT_GT(inside, 0) << part.width();
                }
            }
        }
    }
}

TEST(SashDrawing, TheCommandLineWritesTheDrawingOfTheStateAfterTheLine)
{
    test::ScopedWorkDir dir;
    cli::KitCli cli;
    auto send = [&](const QByteArray& line) {
        return QJsonDocument::fromJson(cli.processLine(line)).object();
    };
    // After a failed calculation too: the drawing shows what is wrong.
    QJsonObject o = send(R"({"calculator":"6742","FFH":1400,"FFB":5000,"PolStvorki":"Левое","export_svg":"a.svg"})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    QFile f(dir.file(QStringLiteral("a.svg")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const Svg svg(f.readAll());
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("FFB 5000")));
    EXPECT_TRUE(svg.texts().contains(QStringLiteral("допустимо 280–1300")));

    // A successful one names its kit.
    o = send(R"({"calculator":"6742","FFB":700,"export_svg":"b.svg"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    QFile b(dir.file(QStringLiteral("b.svg")));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Svg(b.readAll()).texts().contains(QStringLiteral("ЛИР-6742-33АМL100")));

    // A place that cannot be written, and the program's table: a message, no file.
    o = send(R"({"calculator":"6741","calculate":false,"export_svg":"/nonexistent-dir/x.svg"})");
    ASSERT_EQ(o.value(QStringLiteral("messages")).toArray().size(), 1);
    EXPECT_TRUE(o.value(QStringLiteral("messages")).toArray().at(0).toString().startsWith(
        QStringLiteral("Не удалось записать файл /nonexistent-dir/x.svg")));
    QFile zeni(dir.file(QStringLiteral("zeni.db")));
    ASSERT_TRUE(zeni.open(QIODevice::WriteOnly));
    zeni.write("SQLite format 3");
    zeni.write(QByteArray(100, '\0'));
    zeni.close();
    o = send(R"({"calculator":"6741","calculate":false,"export_svg":"zeni.db"})");
    EXPECT_EQ(o.value(QStringLiteral("messages")).toArray().size(), 1);
    ASSERT_TRUE(zeni.open(QIODevice::ReadOnly));
    EXPECT_TRUE(zeni.readAll().startsWith("SQLite format 3"));
    EXPECT_TRUE(send(R"({"calculator":"6741","export_svg":""})").contains(QStringLiteral("error")));
}
