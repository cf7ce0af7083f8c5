#include "cli/kit/kitcli.h"
#include "core/base/buildinfo.h"
#include "core/base/error.h"
#include "core/base/qttranslation.h"
#include "core/db/storesettings.h"

#include <QGuiApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

namespace {

// The usage text that --help prints; the manual page lircomplect-kit(1) says the same.
const char* const usage =
    "Использование: lircomplect-kit [--help | --version]\n"
    "\n"
    "Рассчитывает комплекты фурнитуры ЛИР-6741 и ЛИР-6742 теми же калькуляторами,\n"
    "что и окна программы LIRComplect. Читает со стандартного ввода строки JSON,\n"
    "по одному объекту в строке, и на каждую отвечает одной строкой JSON.\n"
    "Ключ \"calculator\" выбирает калькулятор: \"6741\" (поворотная фурнитура),\n"
    "\"6742\" (поворотно-откидная) или \"6741otkid\" (откидная); остальные ключи\n"
    "задают поля окна (FFH, FFB, GH, ProfilType, KolKomlektov, RAL и другие),\n"
    "export_html и export_xlsx записывают лист комплектации в файл, export_pdf —\n"
    "коммерческое предложение в PDF, export_svg — чертёж створки с размерами (SVG),\n"
    "add_to_order добавляет комплект в заказ; строки {\"order\": ...} работают\n"
    "с заказом, как окно «Суммирование заказов», и сохраняют его в zakaz.db\n"
    "текущего каталога. Реквизиты фирмы для PDF берутся из раздела [company]\n"
    "файла lircomplect.ini текущего каталога.\n"
    "Листы оцениваются по таблице цен zeni.db в текущем каталоге. Файл lircomplect.ini\n"
    "текущего каталога может назвать сервер PostgreSQL, на котором лежат обе таблицы.\n"
    "\n"
    "Пример:\n"
    "  echo '{\"calculator\":\"6741\",\"FFH\":400,\"FFB\":500}' | lircomplect-kit\n"
    "\n"
    "Ключи командной строки:\n"
    "  --help     показать эту справку и выйти\n"
    "  --version  показать версию и выйти\n"
    "\n"
    "Код возврата 0, когда весь ввод прочитан; 1, когда файл lircomplect.ini нельзя\n"
    "использовать; 2 при неверном ключе командной строки.\n"
    "Подробности: man lircomplect-kit\n";

} // namespace

int main(int argc, char** argv)
{
    // Options are read before anything else: --help and --version answer
    // without reading standard input, as every Debian command does.
    if (argc > 1) {
        const char* arg = argv[1];
        const bool help = std::strcmp(arg, "--help") == 0;
        const bool version = std::strcmp(arg, "--version") == 0;
        if (!help && !version) {
            std::fprintf(stderr, "lircomplect-kit: неизвестный ключ: %s\n", arg);
        } else if (argc > 2) {
            std::fprintf(stderr, "lircomplect-kit: лишний аргумент: %s\n", argv[2]);
        } else {
            std::fputs(help ? usage : "lircomplect-kit " LIR_VERSION "\n", stdout);
            return 0;
        }
        std::fputs("Справка: lircomplect-kit --help\n", stderr);
        return 2;
    }
    // The quote and the drawing of export_svg are painted, which takes a
    // QGuiApplication; without a named platform it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // That platform asks for the session's runtime folder, which a script,
    // a cron job or a root shell often lacks; Qt then uses a folder of its
    // own and says so on standard error, where it would read as a fault of
    // the line. Only that notice is left out, and only while the
    // application starts.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) && previous)
            previous(type, context, text);
    });
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(previous);
    // The storage driver's and the file layer's messages reach the answers.
    lir::installQtTranslation(app);
    // Where the tables are: the files here, or the server lircomplect.ini names.
    try {
        lir::db::useStoreOf(QDir::currentPath());
    } catch (const lir::Error& e) {
        QString text = e.message();
        text.replace(u'\r', u'\n');
        std::fprintf(stderr, "lircomplect-kit: %s\n", text.toUtf8().constData());
        return 1;
    }
    lir::cli::KitCli cli;
    return cli.run(stdin, stdout);
}
