// The printed quote read back from its PDF with poppler's pdftotext and
// pdfinfo: page size, page count, the texts and numbers, the amount in
// words, the logo and the refusals that leave no file behind.
#include "core/base/error.h"
#include "core/export/quote.h"
#include "docs/quotedocument.h"
#include "support/programs.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <algorithm>

using namespace lir;

namespace {

using test::runProgram;

// The text of a PDF as a reader copies it, the blanks of the layout folded.
QString pdfText(const QString& path)
{
    QString text =
        runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return text;
}

QString pdfInfo(const QString& path)
{
    return runProgram(QStringLiteral("pdfinfo"), {path});
}

int pageCount(const QString& info)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

Quote::Line line(const QString& designation, const QString& name, int quantity,
                 std::optional<money::Kopecks> price)
{
    Quote::Line l{designation, name, QString::number(quantity), QStringLiteral("шт."), price, {}, false, {}};
    if (price)
        l.sum = *price * quantity;
    return l;
}

// A known quote as orderQuote builds it, without the price table.
Quote knownQuote()
{
    Quote q;
    q.company.name = QStringLiteral("ООО «Окна & Двери» <Север>");
    q.company.address = QStringLiteral("г. Москва, ул. Ленина, д. 1");
    q.company.inn = QStringLiteral("7701234567");
    q.company.kpp = QStringLiteral("770101001");
    q.company.bank = QStringLiteral("р/с 40702810000000000001\nБИК 044525000");
    q.title = QStringLiteral("Коммерческое предложение № 12 от 03.02.2026");
    q.fileTitle = q.title;
    q.about << QStringLiteral("Заказчик: Дача на Истре");
    q.lines << line(QStringLiteral("6742.01.00-02"), QStringLiteral("Засов 800"), 3, 123456)
            << line(QStringLiteral("6742.02.00"), QStringLiteral("Угловой переключатель"), 2, std::nullopt)
            << line(QStringLiteral("DIN7982(4*25)"), QStringLiteral("Общее кол-во шурупов(4*25)"), 45, 35);
    q.total = 370368 + 1575;
    q.unpriced = 1;
    q.totals = {{QStringLiteral("Итого:"), money::format(q.total)},
                {QStringLiteral("В том числе НДС 20 %:"), money::format(money::vatIncluded(q.total, 2000))}};
    q.words = money::inWords(q.total);
    q.unpricedNote = QStringLiteral("Нет цены: 1 позиция");
    q.validity = QStringLiteral("Предложение действительно 30 дней");
    q.signature = QStringLiteral("Сметчик ____________________ /Иванов И. И./");
    return q;
}

// A word of a PDF with its box, in points from the top of its page.
struct Word
{
    QString text;
    int page = 0;
    QRectF box;
};

QVector<Word> pdfWords(const QString& path)
{
    const QString html =
        runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QVector<Word> out;
    int page = 0;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(5).isEmpty() && m.captured(1).isEmpty()) {
            ++page;
            continue;
        }
        out.append({m.captured(5), page,
                    QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return out;
}

SashDrawingInput sash(int ffb, int ffh, int gh)
{
    SashDrawingInput d;
    d.opening = SashDrawingInput::Opening::TiltTurn;
    d.ffb = {ffb, std::clamp(ffb, 1, 9999), true, 0, 0};
    d.ffh = {ffh, std::clamp(ffh, 1, 9999), true, 0, 0};
    d.gh = {gh, std::clamp(gh, 0, d.ffh.drawn), true, 0, 0};
    d.handleCentred = false;
    d.kitDesignation = QStringLiteral("ЛИР-6742-%1").arg(ffb);
    return d;
}

class QuotePdf : public ::testing::Test
{
protected:
    test::ScopedWorkDir work;
    QString file(const char* name) const { return work.file(QLatin1String(name)); }
};

} // namespace

TEST_F(QuotePdf, AnA4PageWithEveryTextAndNumberSearchable)
{
    const QString path = file("quote.pdf");
    Quote q = knownQuote();
    // Latin letters the font joins into ligatures read back as letters.
    q.about << QStringLiteral("Профиль: Office fine flow, baffle");
    docs::writeQuotePdf(path, q);
    const QString info = pdfInfo(path);
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
    EXPECT_EQ(pageCount(info), 1);
    EXPECT_TRUE(info.contains(QStringLiteral("Коммерческое предложение № 12 от 03.02.2026")))
        << info.toStdString();
    // The fonts are embedded: the file shows the same wherever it is opened.
    const QString fonts = runProgram(QStringLiteral("pdffonts"), {path});
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSans"))) << fonts.toStdString();
    EXPECT_EQ(fonts.count(QRegularExpression(QStringLiteral("Identity-H +yes "))), 2) << fonts.toStdString();

    const QString text = pdfText(path);
    for (const char* expected :
         {"ООО «Окна & Двери» <Север>", "Адрес: г. Москва, ул. Ленина, д. 1", "ИНН 7701234567, КПП 770101001",
          "р/с 40702810000000000001", "БИК 044525000", "Коммерческое предложение № 12 от 03.02.2026",
          "Заказчик: Дача на Истре", "Профиль: Office fine flow, baffle",
          "№ Обозначение Наименование Кол-во Ед. Цена Сумма",
          "1 6742.01.00-02 Засов 800 3 шт. 1 234,56 3 703,68", "2 6742.02.00 Угловой переключатель 2 шт. — —",
          "3 DIN7982(4*25) Общее кол-во шурупов(4*25) 45 шт. 0,35 15,75", "Итого: 3 719,43",
          "В том числе НДС 20 %: 619,91", "Три тысячи семьсот девятнадцать рублей 43 копейки",
          "Нет цены: 1 позиция", "Предложение действительно 30 дней",
          "Сметчик ____________________ /Иванов И. И./", "Стр. 1 из 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(QuotePdf, TheWordsOfTotals)
{
    const std::pair<money::Kopecks, const char*> totals[] = {
        {100, "Один рубль 00 копеек"},
        {200, "Два рубля 00 копеек"},
        {500, "Пять рублей 00 копеек"},
        {2100, "Двадцать один рубль 00 копеек"},
        {100000, "Одна тысяча рублей 00 копеек"},
        {200101, "Две тысячи один рубль 01 копейка"},
        {522, "Пять рублей 22 копейки"},
    };
    for (const auto& [amount, words] : totals) {
        Quote q;
        q.title = QStringLiteral("Коммерческое предложение от 03.02.2026");
        q.lines << line(QStringLiteral("A"), QStringLiteral("Деталь"), 1, amount);
        q.total = amount;
        q.totals = {{QStringLiteral("Итого:"), money::format(amount)}};
        q.words = money::inWords(amount);
        const QString path = file("words.pdf");
        docs::writeQuotePdf(path, q);
        const QString text = pdfText(path);
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words << "\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Итого: ") + money::format(amount))) << text.toStdString();
    }
}

TEST_F(QuotePdf, FiguresOfEveryLengthEndOnTheirColumnsRightEdge)
{
    // Prices of one to seven figures, so that each number starts elsewhere
    // on the page; their glyphs are placed on whole device pixels.
    Quote q = knownQuote();
    q.lines.clear();
    money::Kopecks price = 7;
    for (int i = 0; i < 7; ++i, price = price * 10 + 3)
        q.lines << line(QStringLiteral("A%1").arg(i), QStringLiteral("Деталь"), 1 + i % 3, price);
    const QString path = file("figures.pdf");
    docs::writeQuotePdf(path, q);
    // The right edges of the amounts (a word ",dd" ends each), apart by
    // more than a point between the columns, the table's sums and the totals.
    std::vector<qreal> edges;
    static const QRegularExpression amount(QStringLiteral("^\\d+,\\d\\d$"));
    for (const Word& w : pdfWords(path))
        if (amount.match(w.text).hasMatch())
            edges.push_back(w.box.right());
    ASSERT_GE(edges.size(), 16u);
    std::sort(edges.begin(), edges.end());
    int columns = 1;
    qreal first = edges.front();
    for (size_t i = 1; i < edges.size(); ++i) {
        if (edges[i] - edges[i - 1] > 1) {
            ++columns;
            first = edges[i];
        }
        // Within one column, less than a device pixel (0.24 pt) apart.
        EXPECT_LT(edges[i] - first, 0.25) << i;
    }
    EXPECT_EQ(columns, 3); // price, sum, the totals' amounts
}

TEST_F(QuotePdf, ALongQuoteNumbersEveryPageAndRepeatsTheHeaderRow)
{
    Quote q = knownQuote();
    q.lines.clear();
    for (int i = 0; i < 1001; ++i)
        q.lines << line(QStringLiteral("6742.%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Деталь"),
                        1, 100);
    // Details far longer than their box, and a designation without a blank.
    q.company.address = QString(2000, u'Ж');
    q.company.bank = QStringLiteral("банк ").repeated(400);
    q.lines[5].designation = QString(300, u'Щ');
    q.total = 60000;
    q.totals = {{QStringLiteral("Итого:"), money::format(q.total)}};
    const QString path = file("long.pdf");
    docs::writeQuotePdf(path, q);
    const int pages = pageCount(pdfInfo(path));
    ASSERT_GT(pages, 10);
    const QString text = pdfText(path);
    for (int k = 1; k <= pages; ++k)
        EXPECT_TRUE(text.contains(QStringLiteral("Стр. %1 из %2").arg(k).arg(pages))) << k;
    // pdftotext ends each page with a form feed: every page with rows of
    // the table starts them with its header row.
    const QStringList pageTexts = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pageTexts.size(), pages);
    for (int k = 0; k < pages; ++k) {
        if (pageTexts.at(k).contains(QStringLiteral(" шт. "))) {
            EXPECT_TRUE(
                pageTexts.at(k).contains(QStringLiteral("№ Обозначение Наименование Кол-во Ед. Цена Сумма")))
                << k + 1;
        }
    }
    for (int i : {0, 299, 599})
        EXPECT_TRUE(text.contains(QStringLiteral("6742.%1").arg(i, 3, 10, QLatin1Char('0')))) << i;
    EXPECT_TRUE(text.contains(QStringLiteral("Итого: 600,00")));
    // A running number of four figures stays on its row's line.
    EXPECT_TRUE(text.contains(QStringLiteral("1001 6742.1000 Деталь 1 шт. 1,00 1,00"))) << text.toStdString();
}

TEST_F(QuotePdf, EachSashStaysInItsBoxBesideTheKitOrInItsRow)
{
    // Sizes that would stretch a drawing: tiny, ten times wider than high,
    // huge with a value out of its range, a handle above the sash.
    Quote q = knownQuote();
    q.lines.clear();
    const SashDrawingInput sashes[] = {sash(1, 1, 0), sash(3000, 300, 150), sash(9999, 600, 300),
                                       sash(500, 800, 5000)};
    for (const SashDrawingInput& s : sashes) {
        Quote::Line l = line(s.kitDesignation, QStringLiteral("Комплект фурнитуры"), 1, 100);
        l.kit = true;
        l.drawing = s;
        q.lines << l << line(QStringLiteral("6742.01.00"), QStringLiteral("Засов"), 2, 100);
    }
    q.lines[4].drawing->ffb.accepted = false;
    q.lines[4].drawing->ffb.allowedLo = 300;
    q.lines[4].drawing->ffb.allowedHi = 2400;
    q.drawing = sash(700, 1200, 600);
    const QString path = file("sashes.pdf");
    docs::writeQuotePdf(path, q);
    const QVector<Word> words = pdfWords(path);
    ASSERT_FALSE(words.isEmpty());

    // Where each row starts: its number at the left edge; the table's header.
    QVector<std::pair<int, qreal>> rows; // page, top
    std::pair<int, qreal> header{-1, 0};
    for (const Word& w : words) {
        if (w.box.right() < 74 && w.text.toInt() > 0 && w.text.toInt() <= q.lines.size())
            rows.append({w.page, w.box.top()});
        if (w.text == QStringLiteral("Обозначение") && header.first < 0)
            header = {w.page, w.box.top()};
    }
    ASSERT_EQ(rows.size(), q.lines.size());
    rows.append({words.constLast().page + 1, 0});

    // The kit's sash: above the table, right of the lines about the kit.
    int dimensions = 0;
    for (const Word& w : words) {
        // The dimensions and the range beside a value out of it.
        if (w.text != QLatin1String("FFB") && w.text != QLatin1String("FFH") &&
            w.text != QLatin1String("GH") && w.text != QStringLiteral("допустимо"))
            continue;
        const std::pair<int, qreal> at{w.page, w.box.top()};
        if (at < rows.first()) {
            EXPECT_LT(at, header) << w.text.toStdString();
            EXPECT_GT(w.box.left(), 300) << w.text.toStdString();
            ++dimensions;
            continue;
        }
        // A row's sash: inside the name column (62 to 118 mm from the
        // edge), under the name of its own kit's row and above the next one.
        EXPECT_GT(w.box.left(), 175.7) << w.text.toStdString();
        EXPECT_LT(w.box.right(), 334.5) << w.text.toStdString();
        const auto next = std::upper_bound(rows.begin(), rows.end(), at);
        ASSERT_NE(next, rows.begin());
        EXPECT_EQ((next - rows.begin() - 1) % 2, 0) << "a sash in a part's row: " << w.text.toStdString();
    }
    EXPECT_EQ(dimensions, 3);
    const QString text = pdfText(path);
    for (const char* expected :
         {"FFB 9999", "допустимо 300–2400", "FFB 3000", "FFH 300", "GH 5000", "FFH 1200"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("FFB ")), 5);
}

TEST_F(QuotePdf, ALogoIsDrawnOrRefusedWithNothingWritten)
{
    QImage logo(400, 200, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    const QString png = file("logo.png");
    ASSERT_TRUE(logo.save(png));
    Quote q = knownQuote();
    q.company.logo = png;
    const QString path = file("logo.pdf");
    docs::writeQuotePdf(path, q);
    const QString images = runProgram(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
    // One row of type "image" (its encoding may say "image" too).
    static const QRegularExpression imageRow(QStringLiteral("^\\s*\\d+\\s+\\d+\\s+image\\s"),
                                             QRegularExpression::MultilineOption);
    EXPECT_EQ(images.count(imageRow), 1) << images.toStdString();

    QFile notPicture(file("text.png"));
    ASSERT_TRUE(notPicture.open(QIODevice::WriteOnly));
    notPicture.write("just some text\n");
    notPicture.close();
    QImage huge(7000, 1, QImage::Format_Mono);
    huge.fill(0);
    ASSERT_TRUE(huge.save(file("huge.png")));

    const std::pair<QString, QString> refused[] = {
        {file("none.png"),
         QStringLiteral("Логотип %1 не найден: исправьте путь в реквизитах или уберите логотип.")},
        {file("text.png"), QStringLiteral("Файл логотипа %1 — не картинка PNG, JPEG или SVG.")},
        {file("huge.png"),
         QStringLiteral("Логотип %1 слишком велик: возьмите картинку не больше 10 МБ и 6000 × 6000 точек.")},
    };
    for (const auto& [logoPath, message] : refused) {
        q.company.logo = logoPath;
        const QString target = file("refused.pdf");
        try {
            docs::writeQuotePdf(target, q);
            ADD_FAILURE() << "took " << logoPath.toStdString();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), message.arg(QDir::toNativeSeparators(logoPath)));
        }
        EXPECT_EQ(docs::logoProblem(logoPath), message.arg(QDir::toNativeSeparators(logoPath)));
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_TRUE(docs::logoProblem(png).isEmpty());
    EXPECT_TRUE(docs::logoProblem(QString()).isEmpty());
}

TEST_F(QuotePdf, AMissingFolderOrAProgramTableIsRefused)
{
    const QString missing = file("no-such-folder/quote.pdf");
    try {
        docs::writeQuotePdf(missing, knownQuote());
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Не удалось записать файл")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("нет такой папки"))) << e.message().toStdString();
    }
    EXPECT_FALSE(QDir(file("no-such-folder")).exists());

    const QString table = file("zeni.db");
    QFile f(table);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(100, '\0'));
    f.close();
    EXPECT_THROW(docs::writeQuotePdf(table, knownQuote()), Error);
    EXPECT_EQ(QFileInfo(table).size(), 116);
}

namespace {

// A page of a PDF as poppler renders it, in grey.
QImage rendered(const QString& pdf, int page, const QString& stem)
{
    runProgram(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-gray"), QStringLiteral("-f"),
                QString::number(page), QStringLiteral("-l"), QString::number(page),
                QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

} // namespace

TEST_F(QuotePdf, OurFileReadsAndLooksAsQtsWriterPaintsTheSameQuote)
{
    // Everything a quote paints: the logo, the company block, the kit's
    // sash, the rows' sashes with their dimensions in red and black, a name
    // wrapped over lines, a row cut at the foot of its page, the totals.
    // A drawn logo with a gradient, a shape half transparent and a word.
    QFile svg(file("logo.svg"));
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="120" viewBox="0 0 300 120">
<defs><linearGradient id="g" x1="0" x2="1"><stop offset="0" stop-color="#1040a0"/>
<stop offset="1" stop-color="#60c0f0"/></linearGradient></defs>
<rect x="10" y="10" width="280" height="100" rx="12" fill="url(#g)"/>
<circle cx="240" cy="60" r="45" fill="#ff8000" fill-opacity="0.6"/>
<text x="30" y="75" font-family="DejaVu Sans" font-size="40" fill="white">ОКНА</text></svg>)svg");
    svg.close();
    Quote q = knownQuote();
    q.company.logo = file("logo.svg");
    q.drawing = sash(700, 1200, 600);
    for (int i = 0; i < 40; ++i) {
        Quote::Line kit =
            line(QStringLiteral("ЛИР-6742-%1").arg(600 + i), QStringLiteral("Комплект фурнитуры"), 1, 100);
        kit.kit = true;
        kit.drawing = sash(600 + i * 37, 900 + i * 11, 450);
        if (i == 3) {
            kit.drawing->ffb.accepted = false;
            kit.drawing->ffb.allowedLo = 300;
            kit.drawing->ffb.allowedHi = 2400;
        }
        q.lines << kit
                << line(QStringLiteral("6742.01.00-%1").arg(i),
                        QStringLiteral("Засов с длинным наименованием, которое не помещается в одну строку"),
                        2, 1234 * i);
    }
    q.lines[9].name = QStringLiteral("Очень ").repeated(300); // longer than a page: cut at its foot

    const QString ours = file("ours.pdf");
    docs::writeQuotePdf(ours, q);
    const QString qts = file("qts.pdf");
    {
        QPdfWriter writer(qts);
        writer.setResolution(300);
        docs::setQuotePage(writer);
        docs::paintQuote(q, writer);
    }
    const QString info = pdfInfo(ours);
    EXPECT_TRUE(info.contains(QStringLiteral("595 x 842 pts (A4)"))) << info.toStdString();
    EXPECT_EQ(pageCount(info), pageCount(pdfInfo(qts)));
    ASSERT_GT(pageCount(info), 2);

    EXPECT_EQ(pdfText(ours), pdfText(qts));
    const QVector<Word> a = pdfWords(ours);
    const QVector<Word> b = pdfWords(qts);
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].text, b[i].text) << i;
        EXPECT_EQ(a[i].page, b[i].page) << a[i].text.toStdString();
        // Qt's own writer moves each glyph onto a whole device pixel.
        EXPECT_NEAR(a[i].box.left(), b[i].box.left(), 0.3) << a[i].text.toStdString();
        EXPECT_NEAR(a[i].box.top(), b[i].box.top(), 0.3) << a[i].text.toStdString();
        EXPECT_NEAR(a[i].box.right(), b[i].box.right(), 0.3) << a[i].text.toStdString();
    }

    // The pages look the same: lines, fills, the pictures, the glyphs.
    for (int page = 1; page <= 3; ++page) {
        const QImage x = rendered(ours, page, file("ours"));
        const QImage y = rendered(qts, page, file("qts"));
        ASSERT_EQ(x.size(), y.size());
        ASSERT_FALSE(x.isNull());
        int differing = 0;
        int inked = 0;
        for (int row = 0; row < x.height(); ++row) {
            const uchar* p = x.constScanLine(row);
            const uchar* r = y.constScanLine(row);
            for (int col = 0; col < x.width(); ++col) {
                differing += std::abs(int(p[col]) - int(r[col])) > 96;
                inked += r[col] < 128;
            }
        }
        EXPECT_GT(inked, 2000) << page;
        EXPECT_LT(differing, inked / 50) << "page " << page << ": " << differing << " of " << inked;
    }
}
