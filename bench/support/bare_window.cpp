// The anchor of the start-up benchmark: a bare Qt Widgets program that shows
// one window of the launcher's size, says so on standard output, and ends.
// With --text the window shows a line of text, so that fonts are set up too.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(472, 121);
    if (app.arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("ЛИР-Комплектация"), &w))->setGeometry(13, 81, 340, 25);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}
