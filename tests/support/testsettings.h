#ifndef TESTSETTINGS_H
#define TESTSETTINGS_H

// The application's settings in a private, empty folder while the object lives.
// On Windows they live in the registry, which no folder redirects: there
// the key is emptied now and when the object goes (the Windows stage runs
// its tests one at a time).

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

class TestSettings {
public:
    TestSettings() {
        QCoreApplication::setOrganizationName(QStringLiteral("Ostrevan"));
        QCoreApplication::setApplicationName(QStringLiteral("Setrovia+"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        clearRegistry();
    }
    ~TestSettings() { clearRegistry(); }
    TestSettings(const TestSettings &) = delete;
    TestSettings &operator=(const TestSettings &) = delete;
    QString path() const { return dir_.path(); }
    QString file() const { return dir_.path() + QStringLiteral("/Ostrevan/Setrovia+.conf"); }

private:
    static void clearRegistry() {
#ifdef Q_OS_WIN
        QSettings(QStringLiteral("Ostrevan"), QStringLiteral("Setrovia+")).clear();
#endif
    }

    QTemporaryDir dir_;
};

#endif // TESTSETTINGS_H
