#include "app/keytranslator.h"
#include "app/langugebox.h"
#include "app/mainwindow.h"
#include "app/russiancatalogues.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <QTimer>
#include <memory>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrevan"));
    QCoreApplication::setApplicationName(QStringLiteral("Setrovia+"));
    MainWindow::initResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/image/setrovia.png")));

    auto *keys = new KeyTranslator;
    app.installEventFilter(keys);

    auto settings = std::make_unique<QSettings>(QCoreApplication::organizationName(),
                                                QCoreApplication::applicationName());
    const int language = LangugeBox::languageForStart(*settings);
    if (language == LangugeBox::NotChosen)
        return 0;
    std::unique_ptr<RussianCatalogues> russian;
    if (language == LangugeBox::Russian)
        russian = std::make_unique<RussianCatalogues>();

    int code = 0;
    {
        MainWindow window;
        window.setTitle(QObject::tr("Setrovia+"));
        window.show();
        // Changes a crash left behind, asked about over the shown window, then
        // a project named on the command line (a double click on a .vtl file).
        const QStringList args = QCoreApplication::arguments().mid(1);
        const QString path = !args.isEmpty() && !args.first().startsWith(QLatin1Char('-'))
                                 ? args.first()
                                 : QString();
        QTimer::singleShot(0, &window, [&window, path] { window.startUp(path); });
        code = app.exec();
    }
    settings.reset();
    app.removeEventFilter(keys);
    delete keys;
    return code;
}
